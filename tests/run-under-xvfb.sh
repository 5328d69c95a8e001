#!/usr/bin/env bash
# Runs a program on a virtual X display of its own: Xvfb picks a free display number itself
# (-displayfd), so tests running side by side never share or race for one. It never resets,
# which would refuse connections for a moment whenever the last client has gone.
# Usage: run-under-xvfb.sh PROGRAM [ARGUMENTS...]; exit status 77 (skipped) without Xvfb.
set -u
if ! command -v Xvfb > /dev/null; then
    echo "run-under-xvfb.sh: SKIPPED, Xvfb is not installed (scripts/install-dependencies.sh" \
         "installs it)" >&2
    exit 77
fi
number_file=$(mktemp)
log=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$number_file" 2> "$log" &
server=$!
cleanup() {
    kill "$server" 2> /dev/null
    wait "$server" 2> /dev/null
    rm -f "$number_file" "$log"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$server" 2> /dev/null || break
    sleep 0.1
done
if [ ! -s "$number_file" ]; then
    echo "run-under-xvfb.sh: Xvfb did not start:" >&2
    cat "$log" >&2
    exit 1
fi
DISPLAY=:$(head -n 1 "$number_file") "$@"
