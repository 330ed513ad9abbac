# Sourced by the shell tests: counts checks and closes with the summary line.
#   check DESCRIPTION COMMAND...   runs COMMAND, prints ok or FAILED
#   check_summary                  prints "N passed, N failed"; fails on any failure
passes=0
failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        passes=$((passes + 1))
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
check_summary() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
