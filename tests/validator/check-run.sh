#!/usr/bin/env bash
# Runs veltrane-validate and checks what its user sees.
# Usage: check-run.sh passes -- COMMAND...        every check that ran passed, exit status 0
#        check-run.sh completes -- COMMAND...     it got to its closing count (0 or 1)
#        check-run.sh fails CHECK [--replay] -- COMMAND...
#            exit status 1, the check's FAIL line with its seed, the closing count; with
#            --replay, a second run with the same seed fails with the same line
#        check-run.sh exits STATUS TEXT -- COMMAND...
#            exit status STATUS and TEXT in what it printed, no closing count
# COMMAND runs the validator (possibly through run-under-wine.sh, whose 77 means skipped).
set -uo pipefail

mode=$1
shift
check=""
replay=0
expected_status=""
while [ "$1" != "--" ]; do
    case "$1" in
        --replay) replay=1 ;;
        *) if [ "$mode" = exits ] && [ -z "$expected_status" ]; then
               expected_status=$1
           else
               check=$1
           fi ;;
    esac
    shift
done
shift

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
run() { # standard output without carriage returns in $output, standard error in $messages
    output=$("$@" 2> "$errors" | tr -d '\r')
    status=${PIPESTATUS[0]}
    messages=$(tr -d '\r' < "$errors")
}
fail() {
    echo "$output"
    echo "$messages" >&2
    echo "check-run.sh: $1"
    exit 1
}

run "$@"
if [ "$status" = 77 ]; then
    echo "$output"
    exit 77
fi
# The closing count is the last line of standard output.
if [ "$mode" = exits ]; then
    [ "$status" = "$expected_status" ] || fail "exit status $status, not $expected_status"
    grep -qF -- "$check" <<< "$output$messages" || fail "it did not say: $check"
    grep -Eq '^[0-9]+ passed, [0-9]+ failed$' <<< "$output" && fail "it ran checks"
    echo "$output"
    exit 0
fi
summary=$(tail -n 1 <<< "$output")
grep -Eq '^[0-9]+ passed, [0-9]+ failed$' <<< "$summary" || fail "no closing count"
case "$mode" in
    passes)
        [ "$status" = 0 ] || fail "exit status $status, not 0"
        ;;
    completes)
        [ "$status" = 0 ] || [ "$status" = 1 ] || fail "exit status $status, not 0 or 1"
        ;;
    fails)
        [ "$status" = 1 ] || fail "exit status $status, not 1"
        line=$(grep -E "^FAIL  $check +seed [0-9]+: " <<< "$output") ||
            fail "no FAIL line naming $check and its seed"
        if [ "$replay" = 1 ]; then
            first=$output
            run "$@"
            grep -qxF -- "$line" <<< "$output" ||
                fail "the same seed did not fail the same way; the first run said: $line"
            output=$first
        fi
        ;;
    *)
        echo "check-run.sh: unknown mode $mode" >&2
        exit 2
        ;;
esac
echo "$output"
