#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the Release build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, the module under ThreadSanitizer through the
# validation battery, a Clang build, the Windows DLLs under wine, and a 32-bit x86 Linux render
# under user-mode emulation. Every build is a preset of CMakePresets.json; each runs the
# validation battery (veltrane-validate) on the module it builds.
# Usage: test.sh [--quick]
#   --quick  the Release build and its tests only, for development
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
for argument in "$@"; do
    case "$argument" in
        --quick) quick=1 ;;
        *) echo "test.sh: unknown option $argument" >&2; exit 2 ;;
    esac
done

if [ "$quick" = 1 ]; then
    scripts/install-dependencies.sh
else
    scripts/install-dependencies.sh --full
fi

# As many jobs as the machine has cores, unless the caller says otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}

run_preset() { # preset
    local log=build-$1.configure.log
    cmake --preset "$1" > "$log" || { cat "$log"; return 1; }
    cmake --build --preset "$1"
    ctest --preset "$1"
}

# Machines that cannot run an architecture under wine skip its tests; say so plainly.
report_wine_skip() { # build folder
    if [ -f "$1/wineprefix.unusable" ] && [ "$(head -n 1 "$1/wineprefix.unusable")" \
            = "$(cat /proc/sys/kernel/random/boot_id)" ]; then
        echo "NOTE: the tests of $1 under wine were skipped: $(tail -n +2 "$1/wineprefix.unusable")"
    fi
}

echo "== Release build"
run_preset linux
[ "$quick" = 1 ] && exit 0

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build"
run_preset linux-sanitize
echo "== ThreadSanitizer: the module and the validation battery"
run_preset linux-tsan
echo "== Clang build"
run_preset linux-clang

# The Windows and emulated builds compare their renders with the Release build's.
echo "== Windows DLLs, cross-built with MinGW-w64 and tested under wine"
for preset in windows-x86 windows-x64; do
    run_preset "$preset"
    report_wine_skip "build-$preset"
done
echo "== 32-bit x86 Linux build under user-mode emulation"
run_preset linux-i686
