#!/usr/bin/env bash
# A second copy of the program is refused with its message in the language that copy
# read, opens no window, and leaves the first copy running.
# Usage: second_instance.sh <folder with vx2968>
set -euo pipefail
bin="$1/vx2968"
work="$(mktemp -d)"
trap 'kill ${first:-} 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME="$work" XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/share"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME/Documents/VX-2968"
chmod 700 "$XDG_RUNTIME_DIR"
printf 'J' > "$HOME/Documents/VX-2968/fwdstr.ini"
unset QT_QPA_PLATFORM

if [ -z "${VX_IN_XVFB:-}" ]; then
  VX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$@"
fi

# shellcheck source=../support/xdisplay.sh
. "$(dirname "$0")/../support/xdisplay.sh"

"$bin" & first=$!
window_titled "メインメニュー" >/dev/null || { echo "no main menu" >&2; exit 1; }

"$bin" & second=$!
window_titled "二重起動" >/dev/null || { echo "no refusal box" >&2; exit 1; }
# The second copy opened no main menu of its own: still exactly one.
test "$(xdotool search --onlyvisible --name "メインメニュー" | wc -l)" -eq 1
xdotool key Return # the box has the keyboard focus: no window manager here
if ! wait_until 10 eval '! kill -0 "$second" 2>/dev/null'; then echo "second copy did not end" >&2; exit 1; fi
wait "$second"
kill -0 "$first" # the first copy is unaffected
echo "second copy refused"
