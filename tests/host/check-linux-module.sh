#!/usr/bin/env bash
# The Linux module needs nothing a user installs: its dynamic dependencies (readelf -d) are only
# the C library with its maths library and loader, libX11 and libXext; and it names no font
# file of the machine, since it carries its fonts.
# Usage: check-linux-module.sh <readelf> <module>
set -u
readelf=$1
module=$2
allowed=" libc.so.6 libm.so.6 libX11.so.6 libXext.so.6 ld-linux-x86-64.so.2 ld-linux.so.2 "
needed=$("$readelf" -d "$module" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
status=0
echo "NEEDED: $(echo $needed)"
for library in $needed; do
    if [[ "$allowed" != *" $library "* ]]; then
        echo "check-linux-module.sh: $module needs $library" >&2
        status=1
    fi
done
for library in libX11.so.6 libc.so.6; do
    if [[ " $(echo $needed) " != *" $library "* ]]; then
        echo "check-linux-module.sh: $module does not link $library" >&2
        status=1
    fi
done
if grep -aq -e /usr/share/fonts -e '\.ttf' "$module"; then
    echo "check-linux-module.sh: $module names a font file" >&2
    status=1
fi
exit "$status"
