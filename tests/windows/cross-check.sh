#!/usr/bin/env bash
# Compares a Windows DLL's render under wine with the Linux module's.
# Usage: cross-check.sh <Linux build folder> <work folder> <run-under-wine.sh> <x86|x64>
#                       <wine prefix> <Windows render program> <DLL>
set -uo pipefail

linux_build=$1
work=$2
run_under_wine=$3
architecture=$4
prefix=$5
windows_render=$6
dll=$7

output=$work/windows-$architecture.f32
# Wine maps the Unix root to drive Z:.
exec "$(dirname "$0")/compare-with-linux-render.sh" "$linux_build" "$output" \
    "$run_under_wine" "$architecture" "$prefix" "$windows_render" "Z:${dll//\//\\}" \
    "Z:${output//\//\\}"
