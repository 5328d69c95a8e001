#!/usr/bin/env bash
# Installs what is missing, builds the plug-in and the command-line host, and renders the
# built-in demo phrase through each factory preset into out/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > build.configure.log \
    || { cat build.configure.log; exit 1; }
cmake --build build -j "$(nproc)" --target veltrane veltrane-host
build/tools/veltrane-host --output out/demo
