#!/usr/bin/env bash
# Renders the same input, settings and block sizes with the Linux module and, under a user-mode
# emulator, with a cross-built render program that has the effect linked in, and compares the
# samples.
# Usage: emulated-cross-check.sh <Linux build folder> <work folder> <architecture>
#                                <emulator> <render program>
set -uo pipefail

linux_build=$1
work=$2
architecture=$3
emulator=$4
emulated_render=$5

# Both sides use glibc's sin, pow and atan, but not the same code: x86-64 picks FMA variants
# where the processor has them, and i386 computes pow and atan on the x87 unit. For about one
# argument in a thousand they differ in the last bit of the double. The engine rounds those
# results to 32-bit floats, and the renders have so far been identical to the bit (Debian 12,
# glibc 2.36, qemu 7.2), yet a last-bit difference may survive the rounding and the feedback
# paths carry it on; hence the Windows cross-check's tolerance. Anything beyond it is a real
# difference between 32- and 64-bit code.
tolerance=1e-6

paths=$linux_build/linux-render-reference.sh
if [ ! -f "$paths" ]; then
    echo "emulated-cross-check.sh: $paths is missing; configure the Linux build first" >&2
    exit 1
fi
# shellcheck source=/dev/null
source "$paths" # sets linux_render, linux_module, linux_compare
for program in "$linux_render" "$linux_module" "$linux_compare"; do
    if [ ! -f "$program" ]; then
        echo "emulated-cross-check.sh: $program is missing; build the Linux build first" >&2
        exit 1
    fi
done
mkdir -p "$work"
linux_output=$work/linux.f32
emulated_output=$work/$architecture.f32
rm -f "$linux_output" "$emulated_output"

"$linux_render" "$linux_module" "$linux_output" > "$work/linux.txt" || {
    cat "$work/linux.txt"
    echo "emulated-cross-check.sh: the Linux render failed" >&2
    exit 1
}
"$emulator" "$emulated_render" "$emulated_output" > "$work/$architecture.txt" || {
    cat "$work/$architecture.txt"
    echo "emulated-cross-check.sh: the $architecture render under $emulator failed" >&2
    exit 1
}
"$linux_compare" "$linux_output" "$emulated_output" "$tolerance"
