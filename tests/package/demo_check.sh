#!/usr/bin/env bash
# The demo as a new user starts it: scripts/run on a display comes up to the main menu, with
# the logger simulator started and linked at COM1. Leaves a screenshot, then closes the
# program, which ends the demo and its simulator.
#   demo_check.sh [screenshot.png]    (starts its own Xvfb unless DISPLAY is set)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/../.." && pwd)"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
source "$here/../support/xdisplay.sh"
unset QT_QPA_PLATFORM
shot="${1:-$(mktemp -d)/demo.png}"
fail() { echo "demo check: $*" >&2; cat "$log" >&2; exit 1; }

log="$(mktemp)"
"$top/scripts/run" >"$log" 2>&1 &
demo=$!
trap 'kill $demo 2>/dev/null || true' EXIT

# The demo builds first when the build is not up to date: wait as long as it is still busy.
menu=""
while [ -z "$menu" ] && kill -0 "$demo" 2>/dev/null; do
  menu=$(window_titled "^ (Main Menu|メインメニュー) " 10) || true
done
[ -n "$menu" ] || fail "the demo ended without showing the main menu"
grep -q '^run: logger simulator on /dev/pts/' "$log" || fail "the demo did not start the simulator"
link=$(sed -n 's/^run: logger simulator on .*, linked at //p' "$log")
[ -L "$link" ] && [ -e "$link" ] || fail "COM1 ($link) does not lead to the simulator"
wait_until 10 painted "$menu" || fail "the main menu does not paint"
screenshot "$shot"
echo "demo check: the main menu shows with the simulator at $link ($shot)"

kill "$(xdotool getwindowpid "$menu")"
wait "$demo" || true
trap - EXIT
[ ! -e "$link" ] || fail "the simulator's link is left after the demo: $link"
echo "demo check: the demo ended with the program, and its simulator with it"
