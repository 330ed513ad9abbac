# shellcheck shell=bash
# Sourced by the scripts and tests that need a virtual X display of their own:
#   start_xvfb DIR [XVFB_ARGS...]
# starts Xvfb, keeping its log and display number in DIR, sets xvfb to its
# process id (the caller stops it) and exports DISPLAY. It fails, showing the
# log, when no display is up within 20 seconds.
start_xvfb() {
    local dir=$1
    shift
    # -displayfd picks a free display number without the race two xvfb-run -a
    # started together can lose.
    Xvfb -displayfd 3 "$@" -nolisten tcp 3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    # shellcheck disable=SC2034 # the caller's
    xvfb=$!
    local _
    for _ in $(seq 200); do
        [ ! -s "$dir/display" ] || break
        sleep 0.1
    done
    [ -s "$dir/display" ] || { cat "$dir/xvfb.log" >&2; return 1; }
    DISPLAY=":$(head -n 1 "$dir/display")"
    export DISPLAY
}
