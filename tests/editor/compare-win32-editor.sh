#!/usr/bin/env bash
# Paints the editor's states in a real window under wine, then has the Linux build's editor
# tests compare them with the software backend's pictures.
# Usage: compare-win32-editor.sh <run-under-wine.sh> <x86|x64> <wine prefix>
#                                <Windows editor test program> <work folder> <Linux build folder>
set -uo pipefail

run_under_wine=$1
architecture=$2
prefix=$3
program=$4
work=$5
linux_build=$6

linux_tests=$linux_build/tests/editor/veltrane_editor_tests
if [ ! -x "$linux_tests" ]; then
    echo "compare-win32-editor.sh: $linux_tests is missing; build the Linux build first" >&2
    exit 1
fi
rm -rf "$work"
mkdir -p "$work"
VELTRANE_EDITOR_PICTURES="Z:${work//\//\\}" "$run_under_wine" "$architecture" "$prefix" \
    "$program" --gtest_brief=1 --gtest_filter='*PaintedStates*'
status=$?
if [ "$status" = 77 ]; then
    exit 77
fi
if [ "$status" != 0 ]; then
    echo "compare-win32-editor.sh: the Windows editor test failed ($status)" >&2
    exit 1
fi
VELTRANE_WIN32_EDITOR_PICTURES=$work "$linux_tests" --gtest_filter='EditorWin32AgreementTest.*'
