#!/usr/bin/env bash
# Draws the named drawing sequences through the Win32 backend under wine, then has the Linux
# build's toolkit tests compare them with the software backend's pictures.
# Usage: compare-win32-drawing.sh <run-under-wine.sh> <x86|x64> <wine prefix>
#                                 <Windows render program> <work folder> <Linux build folder>
set -uo pipefail

run_under_wine=$1
architecture=$2
prefix=$3
render=$4
work=$5
linux_build=$6

linux_tests=$linux_build/tests/gui/veltrane_gui_tests
if [ ! -x "$linux_tests" ]; then
    echo "compare-win32-drawing.sh: $linux_tests is missing; build the Linux build first" >&2
    exit 1
fi
rm -rf "$work"
mkdir -p "$work"
"$run_under_wine" "$architecture" "$prefix" "$render" "Z:${work//\//\\}"
status=$?
if [ "$status" = 77 ]; then
    exit 77
fi
if [ "$status" != 0 ]; then
    echo "compare-win32-drawing.sh: the Windows render program failed ($status)" >&2
    exit 1
fi
VELTRANE_WIN32_RENDERS=$work "$linux_tests" --gtest_filter='Win32AgreementTest.*'
