#!/usr/bin/env bash
# Renders the fixed cases with the Linux module, runs a command that renders the same cases
# into OUTPUT on another platform or architecture, and compares the samples.
# Usage: compare-with-linux-render.sh <Linux build folder> <OUTPUT> <command...>
# The command's exit status 77 (the platform cannot run here) passes through as a skip.
set -uo pipefail

linux_build=$1
output=$2
shift 2
work=$(dirname "$output")
name=$(basename "$output" .f32)

# The engine computes in 32-bit floats except where it calls sin, pow and atan. Those come from
# each platform's C library (glibc on Linux, the Windows C runtime under wine, glibc's x87 code
# on 32-bit x86) and may differ in the last bit of the double; the feedback paths carry such a
# difference on, should it survive the rounding to float. Anything beyond this is a real
# difference between the builds.
tolerance=1e-6

paths=$linux_build/linux-render-reference.sh
if [ ! -f "$paths" ]; then
    echo "compare-with-linux-render.sh: $paths is missing; configure the Linux build first" >&2
    exit 1
fi
# shellcheck source=/dev/null
source "$paths" # sets linux_render, linux_module, linux_compare
for program in "$linux_render" "$linux_module" "$linux_compare"; do
    if [ ! -f "$program" ]; then
        echo "compare-with-linux-render.sh: $program is missing; build the Linux build first" >&2
        exit 1
    fi
done
mkdir -p "$work"
linux_output=$work/linux.f32
rm -f "$linux_output" "$output"

"$linux_render" "$linux_module" "$linux_output" > "$work/linux.txt" || {
    cat "$work/linux.txt"
    echo "compare-with-linux-render.sh: the Linux render failed" >&2
    exit 1
}
"$@" > "$work/$name.txt"
status=$?
if [ "$status" != 0 ]; then
    cat "$work/$name.txt"
    [ "$status" = 77 ] || echo "compare-with-linux-render.sh: the $name render failed" >&2
    exit "$status"
fi
"$linux_compare" "$linux_output" "$output" "$tolerance"
