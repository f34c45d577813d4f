# Helpers of the Xvfb tests; expect_clean_exit needs zuvedit's process id in $pid.

fail() { echo "$*" >&2; exit 1; }

# The first visible window whose title matches; searched again and again rather
# than with --sync, which fails when a window vanishes during the search.
window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    xdotool sleep 0.1
  done
  return 1
}

# Menu keys go to the focused window; there is no window manager to give focus.
keys() {
  xdotool windowfocus --sync "$1"
  shift
  xdotool key --delay 100 "$@"
}

# Waits for zuvedit to end and fails unless its status is 0: a crash or a
# sanitizer finding at exit gives another.
expect_clean_exit() {
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    xdotool sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "zuvedit did not end"
  local status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "zuvedit ended with status $status"
}
