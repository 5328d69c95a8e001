#!/usr/bin/env bash
# Installs what is missing, builds the plug-in and the command-line host, renders the built-in
# demo phrase through each factory preset into out/demo/ and draws the editor of the default
# program into out/editor.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
cmake --preset linux > build-linux.configure.log || { cat build-linux.configure.log; exit 1; }
cmake --build --preset linux --target veltrane veltrane-host
build/tools/veltrane-host --output out/demo
build/tools/veltrane-host --editor-png out/editor.png
