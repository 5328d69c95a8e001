#!/usr/bin/env bash
# Renders the same input, settings and block sizes with the Linux module and, under wine, with
# a Windows DLL, and compares the samples.
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

# The engine computes in 32-bit floats except where it calls sin, pow and atan, which come
# from each platform's C library (glibc on Linux, the Windows C runtime under wine) and may
# differ in the last bit; the feedback paths carry such a difference on. Anything beyond this
# is a real difference between the builds.
tolerance=1e-6

paths=$linux_build/linux-render-reference.sh
if [ ! -f "$paths" ]; then
    echo "cross-check.sh: $paths is missing; configure the Linux build first" >&2
    exit 1
fi
# shellcheck source=/dev/null
source "$paths" # sets linux_render, linux_module, linux_compare
for program in "$linux_render" "$linux_module" "$linux_compare"; do
    if [ ! -f "$program" ]; then
        echo "cross-check.sh: $program is missing; build the Linux build first" >&2
        exit 1
    fi
done
mkdir -p "$work"
linux_output=$work/linux.f32
windows_output=$work/windows-$architecture.f32
rm -f "$linux_output" "$windows_output"

"$linux_render" "$linux_module" "$linux_output" > "$work/linux.txt" || {
    cat "$work/linux.txt"
    echo "cross-check.sh: the Linux render failed" >&2
    exit 1
}
# Wine maps the Unix root to drive Z:.
"$run_under_wine" "$architecture" "$prefix" "$windows_render" "Z:${dll//\//\\}" \
    "Z:${windows_output//\//\\}" > "$work/windows-$architecture.txt"
status=$?
if [ "$status" != 0 ]; then
    cat "$work/windows-$architecture.txt"
    exit "$status" # 77: wine cannot run this architecture here
fi
"$linux_compare" "$linux_output" "$windows_output" "$tolerance"
