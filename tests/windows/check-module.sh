#!/usr/bin/env bash
# Checks a built plug-in DLL: it exports exactly one function, main, and imports only from
# system DLLs, so that nothing of the toolchain's runtime has to be installed beside it.
# Usage: check-module.sh <objdump> <dll>
set -euo pipefail

objdump=$1
module=$2
allowed='^(kernel32|user32|gdi32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'

headers=$("$objdump" -p "$module")
exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<< "$headers" \
    | sed -n 's/^\s*\[ *[0-9]*\] //p')
imports=$(sed -n 's/^\s*DLL Name: //p' <<< "$headers")

status=0
if [ "$exports" != "main" ]; then
    echo "exports should be just main, are: $(tr '\n' ' ' <<< "$exports")"
    status=1
fi
while read -r library; do
    if ! tr '[:upper:]' '[:lower:]' <<< "$library" | grep -Eq "$allowed"; then
        echo "imports from $library, which is not a system DLL"
        status=1
    fi
done <<< "$imports"
echo "$(basename "$module"): exports $(tr '\n' ' ' <<< "$exports"); imports from" \
     "$(tr '\n' ' ' <<< "$imports")"
exit "$status"
