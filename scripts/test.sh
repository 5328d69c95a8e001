#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: a plain build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows DLLs under wine, and a 32-bit x86
# Linux render under user-mode emulation.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh --windows

jobs=$(nproc)

run_suite() { # build-folder, extra cmake arguments...
    local folder=$1
    shift
    cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$folder.configure.log" \
        || { cat "$folder.configure.log"; return 1; }
    cmake --build "$folder" -j "$jobs"
    ctest --test-dir "$folder" --output-on-failure -j "$jobs"
}

echo "== Plain build"
run_suite build
echo "== AddressSanitizer and UndefinedBehaviorSanitizer build"
run_suite build-sanitize -DVELTRANE_SANITIZE=ON -DVELTRANE_BUILD_BENCH=OFF

echo "== Windows DLLs, cross-built with MinGW-w64 and tested under wine"
# Needs the plain build above: its module and render program are the cross-check's reference.
run_windows() { # preset
    local folder=build-$1
    cmake --preset "$1" -DVELTRANE_LINUX_BUILD="$PWD/build" > "$folder.configure.log" \
        || { cat "$folder.configure.log"; return 1; }
    cmake --build "$folder" -j "$jobs"
    ctest --test-dir "$folder" --output-on-failure
    # Machines that cannot run an architecture under wine skip its tests; say so plainly.
    if [ -f "$folder/wineprefix.unusable" ] && [ "$(head -n 1 "$folder/wineprefix.unusable")" \
            = "$(cat /proc/sys/kernel/random/boot_id)" ]; then
        echo "NOTE: the tests of $folder under wine were skipped:" \
             "$(tail -n +2 "$folder/wineprefix.unusable")"
    fi
}
run_windows windows-x86
run_windows windows-x64

echo "== 32-bit x86 Linux build under user-mode emulation"
# Where wine cannot run 32-bit code this is what compares 32-bit x86 samples with the plain
# build's; it runs the render program under qemu-i386-static, so the kernel need not run it.
cmake --preset linux-i686 -DVELTRANE_LINUX_BUILD="$PWD/build" > build-linux-i686.configure.log \
    || { cat build-linux-i686.configure.log; exit 1; }
cmake --build build-linux-i686 -j "$jobs"
ctest --test-dir build-linux-i686 --output-on-failure --no-tests=error
