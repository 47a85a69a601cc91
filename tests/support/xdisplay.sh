# Shell helpers for driving the program on a real X display as an operator's hand does:
# windows found by their title, presses by xdotool at places the program's own layout gives.
# Source it; it needs DISPLAY, xdotool and imagemagick's import.
#
# Places: the windows are laid out in twips (1/1440 inch) from their client area's top-left
# corner. Qt takes the display's logical DPI from the Xft.dpi resource, else 96, so a pixel
# is 1440 / DPI twips (15 at 96 DPI). Nothing here knows a fixed screen position.

VX_DPI=""
command -v xrdb >/dev/null && VX_DPI=$(xrdb -query 2>/dev/null | awk '/^Xft.dpi:/ {print int($2)}')
VX_DPI=${VX_DPI:-96}

px() { echo $((($1 * VX_DPI + 720) / 1440)); } # twips to pixels, rounded
tw() { echo $(($1 * 1440 / VX_DPI)); }         # pixels to twips

# Polls `command...` until it succeeds, for at most `seconds`.
wait_until() {
  local seconds=$1
  shift
  local i
  for ((i = 0; i < seconds * 10; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The id of the visible window whose title matches the extended regular expression, waiting
# for it to appear; fails after `seconds` (default 20).
window_titled() {
  local title=$1 id=""
  wait_until "${2:-20}" eval 'id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | tail -n1); [ -n "$id" ]' &&
    echo "$id"
}

no_window_titled() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# Sets WIDTH and HEIGHT (pixels) and WT and HT (twips) of a window's client area.
window_size() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  WT=$(tw "$WIDTH") HT=$(tw "$HEIGHT")
}

# Presses a mouse button at (x, y) twips of the window's client area, optionally with keys
# held (xdotool key names, e.g. shift).
press_twips() {
  local window=$1 x=$2 y=$3 button=${4:-1} held=${5:-}
  xdotool mousemove --window "$window" "$(px "$x")" "$(px "$y")"
  [ -n "$held" ] && xdotool keydown "$held"
  xdotool click "$button"
  [ -n "$held" ] && xdotool keyup "$held"
  return 0
}

# The same at (x, y) pixels of the window.
press_pixels() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; }

# Gives the window the keyboard, as the operator's click into it would, and types keys.
keys_to() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool "$@"
}

screenshot() { import -window root "$1"; }

# True once the window shows more than black: a window is mapped a moment before it paints.
painted() {
  [ "$(import -window "$1" png:- 2>/dev/null | convert - -format '%[fx:mean > 0.05]' info: 2>/dev/null)" = 1 ]
}
