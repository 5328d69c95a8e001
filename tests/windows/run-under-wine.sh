#!/usr/bin/env bash
# Runs a Windows program under wine, headless, in a wine prefix of the build's own that is
# created on first use without any dialog.
# Usage: run-under-wine.sh <x86|x64> <prefix folder> <program> [arguments...]
# The program's own output passes through; wine's messages go to <prefix folder>.log and are
# printed only when the program fails. Exits 77 (skipped) when this machine cannot run the
# architecture's programs, e.g. a kernel without 32-bit support.
set -uo pipefail

architecture=$1
prefix=$2
shift 2

case "$architecture" in
    x86) loader=/usr/lib/wine/wine; export WINEARCH=win32 ;;
    x64) loader=/usr/lib/wine/wine64; export WINEARCH=win64 ;;
    *) echo "run-under-wine.sh: unknown architecture $architecture" >&2; exit 2 ;;
esac
# Some machines cannot run one of the architectures at all (a kernel without 32-bit support,
# or one where 32-bit wine cannot map its fixed addresses). That is found once per boot and
# remembered, as finding it out can take a minute.
unusable=$prefix.unusable
boot=$(cat /proc/sys/kernel/random/boot_id 2>/dev/null || echo unknown)
if [ -f "$unusable" ] && [ "$(head -n 1 "$unusable")" = "$boot" ]; then
    echo "SKIPPED: $(tail -n +2 "$unusable")"
    exit 77
fi
skip_architecture() { # reason
    printf '%s\n%s\n' "$boot" "$1" > "$unusable"
    echo "SKIPPED: $1"
    exit 77
}
if ! "$loader" --version > /dev/null 2>&1; then
    skip_architecture "$loader cannot run on this machine (kernel without 32-bit support?)"
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko installation prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The module under test as a Windows path: wine maps the Unix root to drive Z:.
if [[ "${VELTRANE_MODULE:-}" == /* ]]; then
    export VELTRANE_MODULE="Z:${VELTRANE_MODULE//\//\\}"
fi
log=$prefix.log
: > "$log"

# Two tests of one build may start at once; the first creates the prefix.
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        WINEDEBUG=err+all "$loader" wineboot --init >> "$log" 2>&1 && wineserver -w
    fi
) 9> "$prefix.lock"
if [ ! -f "$prefix/system.reg" ]; then
    if grep -Eq "failed to map the shared user data|Exec format error" "$log"; then
        skip_architecture "wine ($architecture) cannot start on this machine: $(grep -Em 1 \
            "failed to map the shared user data|Exec format error" "$log")"
    fi
    echo "run-under-wine.sh: could not create the wine prefix $prefix" >&2
    cat "$log" >&2
    exit 1
fi

# A display for anything that opens a window; xvfb-run's own messages join wine's.
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" --error-file="$log.xvfb" \
    "$loader" "$@" 2>> "$log"
status=$?
if [ "$status" != 0 ]; then
    echo "--- $* exited with $status; wine's messages:" >&2
    cat "$log" "$log.xvfb" >&2 2>/dev/null
fi
exit "$status"
