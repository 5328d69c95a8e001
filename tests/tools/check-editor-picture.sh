#!/usr/bin/env bash
# Draws the editor with veltrane-host --editor-png and compares the file byte for byte with a
# golden image of the editor's tests (both are written by the same PNG writer).
# Usage: check-editor-picture.sh <veltrane-host> <golden png> <output png> [options...]
set -euo pipefail
host=$1
golden=$2
output=$3
shift 3
"$host" --editor-png "$output" "$@"
if ! cmp -s "$golden" "$output"; then
    echo "check-editor-picture.sh: $output differs from $golden." >&2
    echo "The golden images are updated through the editor's tests:" >&2
    echo "  VELTRANE_UPDATE_GOLDEN=1 ./veltrane_editor_tests --gtest_filter='*Golden*'" >&2
    exit 1
fi
