#!/usr/bin/env bash
# Plays the effect for a long time, as a session left running overnight: random automation,
# block sizes and program changes through veltrane-validate's soak check. Reports the samples
# processed, the peak level and any non-finite or subnormal sample; exit status 1 if there was
# one. Not part of CI.
# Usage: soak.sh [--minutes N] [--seed N] [--module PATH]
#   --minutes N    how long to play (default 60)
#   --seed N       seed of the random choices (default: one from the clock, printed)
#   --module PATH  another VST 2.x plug-in (default: the Release build's veltrane module)
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=60
seed=$(date +%s)
module=""
while [ "$#" -gt 0 ]; do
    case "$1" in
        --minutes|--seed|--module)
            [ "$#" -ge 2 ] || { echo "soak.sh: $1 needs a value" >&2; exit 2; }
            case "$1" in
                --minutes) minutes=$2 ;;
                --seed) seed=$2 ;;
                --module) module=$2 ;;
            esac
            shift 2 ;;
        *) echo "soak.sh: unknown option $1 (see the comment at the top)" >&2; exit 2 ;;
    esac
done

scripts/install-dependencies.sh
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
log=build-linux.configure.log
cmake --preset linux > "$log" || { cat "$log"; exit 1; }
cmake --build --preset linux --target veltrane veltrane-validate
[ -n "$module" ] || module=build/veltrane.so

echo "soak: $module for $minutes minutes, seed $seed"
exec build/tools/validator/veltrane-validate --check soak --minutes "$minutes" --seed "$seed" \
    "$module"
