#!/usr/bin/env bash
# Compares the render of a cross-built program with the effect linked in, run under a user-mode
# emulator, with the Linux module's. So far the 32-bit x86 render has been identical to the bit
# (Debian 12, glibc 2.36, qemu 7.2).
# Usage: emulated-cross-check.sh <Linux build folder> <work folder> <architecture>
#                                <emulator> <render program>
set -uo pipefail

linux_build=$1
work=$2
architecture=$3
emulator=$4
emulated_render=$5

output=$work/$architecture.f32
exec "$(dirname "$0")/compare-with-linux-render.sh" "$linux_build" "$output" \
    "$emulator" "$emulated_render" "$output"
