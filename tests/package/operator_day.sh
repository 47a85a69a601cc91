#!/usr/bin/env bash
# An operator's day on a real X display: the installed program against the installed logger
# simulator, driven only by xdotool mouse presses and keys, once in English and once in
# Japanese. Every step checks what reached the logger (the simulator's transcript), the files
# and the windows (found by their titles), and leaves a screenshot. Then "Start" and
# "Balance" are pressed with 2, 3 and 6 channels in both languages.
#
# Usage: operator_day.sh [screenshot folder]   (or VX_DAY_SHOTS; default: a new temporary folder)
#   VX_PROGRAM, VX_SIMULATOR   other executables than /usr/bin/vx2968 and /usr/bin/vx-logger-sim,
#                              for instance a build tree's bin/ (the program then runs from a copy,
#                              so that a fwd.rs beside the original is not read)
#   VX_DAY_ONLY=clicks|day     only the one part
# Starts its own Xvfb unless DISPLAY is set; -noreset keeps the display up between sessions,
# when no client is connected (a reset then refused the next program for a moment).
#
# Presses land where the program's layout puts the controls: twips from each window's client
# area (window sizes from xdotool getwindowgeometry), converted at the display's DPI by
# tests/support/xdisplay.sh; the dialogs that Qt lays out are pressed from their own layout
# margins (frmInitial.cpp, frmNo.cpp).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi
program="${VX_PROGRAM:-/usr/bin/vx2968}"
simulator="${VX_SIMULATOR:-/usr/bin/vx-logger-sim}"
shots="${1:-${VX_DAY_SHOTS:-}}"
[ -n "$shots" ] || shots="$(mktemp -d)"
mkdir -p "$shots"
source "$here/../support/xdisplay.sh"
unset QT_QPA_PLATFORM

# ---- one session: a fresh user, the simulator on COM1 and the program -----------------------

lang="" folder="" work="" transcript="" prog="" sim="" step=0
fail() {
  echo "operator day [$lang]: $*" >&2
  [ -f "$transcript" ] && tail -n 25 "$transcript" >&2
  screenshot "$shots/FAILED.png" || true
  exit 1
}
stop_session() {
  kill $prog $sim 2>/dev/null || true
  wait $prog $sim 2>/dev/null || true
  prog="" sim=""
  rm -rf "$work"
}
trap stop_session EXIT
# The window titled so (an extended regular expression), or a failure with `what`; used as
# x=$(win ...), where the failure ends the script through set -e.
win() { window_titled "$1" || fail "$2"; }
gone() { wait_until 10 no_window_titled "$1" || fail "$2"; }
# (Not SCREEN: window_size sets that, as xdotool --shell names it.)
T_MENU="^ (Main Menu|メインメニュー) " T_SCREEN="^ (Measure|計測) " T_PORT="^(Setting RS-232C|RS-232C設定)\$"

start_session() { # language (en|ja), channels, what the screenshots are of (the day: nothing)
  lang=$1 step=0 work="$(mktemp -d)"
  export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/home/.local/share"
  folder="$shots/$lang${3:+-$3}" transcript="$work/transcript.txt"
  mkdir -p "$HOME/Documents/VX-2968" "$XDG_RUNTIME_DIR" "$folder"
  chmod 700 "$XDG_RUNTIME_DIR"
  [ "$lang" = ja ] && printf J >"$HOME/Documents/VX-2968/fwdstr.ini"
  "$simulator" --com 1 --channels "$2" --drop-after 1500 --no-stdin --transcript "$transcript" \
    </dev/null >"$work/sim.out" &
  sim=$!
  wait_until 10 grep -qs '^PTY ' "$work/sim.out" || fail "the simulator did not start"
  exe="$program"
  if [ -n "${VX_PROGRAM:-}" ]; then
    mkdir -p "$work/bin" && cp "$program" "$work/bin/" && exe="$work/bin/$(basename "$program")"
  fi
  "$exe" &
  prog=$!
  menu=$(win "$T_MENU" "the main menu did not appear")
  window_size "$menu" # 3100 twips wide: a check of the display's DPI
  [ $((WIDTH - $(px 3100))) -le 1 ] && [ $(($(px 3100) - WIDTH)) -le 1 ] ||
    fail "the main menu is $WIDTH pixels wide, not $(px 3100): the display is not at $VX_DPI DPI"
}

shot() { # name, window: the screen as the operator sees it once that window has painted
  step=$((step + 1))
  wait_until 10 painted "$2" || fail "the window of step $1 shows nothing"
  screenshot "$folder/$(printf %02d $step)-$1.png"
}
sent() { grep -c "^> $1\$" "$transcript" || true; }
sent_more_than() { [ "$(sent "$1")" -gt "$2" ]; }

# ---- the windows, and where their controls are (twips, from the client area) ---------------

# Main menu: three buttons 2500 x 495 at left 300, tops 480, 1080, 1680 (frmMainMenu.cpp).
menu_button() { press_twips "$menu" 1550 $((727 + $1 * 600)); }
# Measurement screen (MeasurementLayout.cpp): the upper row's top is 1185 twips and the lower
# row's 645 twips above the client area's bottom edge (H - 1470 - C and H - 930 - C of a window
# H high with a 285-twip title bar and C); buttons are 450 high.
# The screen takes its size when it has found the logger's channels: measured at each press.
upper_row() { window_size "$screen" && press_twips "$screen" "$1" $((HT - 960)); }
lower_row() { window_size "$screen" && press_twips "$screen" "$1" $((HT - 420)); }
press_start() { lower_row 1020; }              # left 120, 1800 wide
press_balance() { lower_row 2940; }            # left 2040
press_main_menu() { window_size "$screen" && lower_row $((WT - 1180)); } # left W - 2080
press_setting() { upper_row 1020; }
press_print() { upper_row 2940; }
press_meas_no() { window_size "$screen" && upper_row $((WT - 840)); } # left W - 1440, 1200 wide

open_measurement() { # and wait until it is connected: connection check, settings, live values
  menu_button 0
  screen=$(win "$T_SCREEN" "the measurement screen did not open")
  wait_until 30 eval '[ "$(sent MDT)" -ge 2 ]' || fail "no live values: the monitor does not poll"
  grep -q '^> RES' "$transcript" || fail "the connection was not checked"
  grep -q '^> CLK?' "$transcript" || fail "the logger's settings were not read"
}

balance_ok() {
  before=$(sent BAL)
  press_balance
  dialog=$(win "^(Balancing|初期値計測)\$" "\"Balance\" did not ask")
  shot balance "$dialog"
  window_size "$dialog" # "OK" is the right-hand button: margins 24 and 16, at least 110 wide
  press_pixels "$dialog" $((WIDTH - 79)) $((HEIGHT - 28))
  gone "^(Balancing|初期値計測)\$" "\"OK\" did not close the question"
  wait_until 10 sent_more_than BAL "$before" || fail "\"OK\" sent no BAL"
}

start_run() {
  before=$(sent 'ANS?')
  press_start
  form=$(win "^(VX-2968|QL-860H用データ収録ソフトウェア  VX-2968)\$" "\"Start\" did not open the run")
  wait_until 10 grep -q '^> DTG' "$transcript" || fail "the run did not arm the logger"
  shot run "$form"
  wait_until 30 sent_more_than 'ANS?' "$before" || fail "the drop was not fetched"
  screen=$(win "$T_SCREEN" "the screen did not come back after the run")
}

leave_screen() {
  press_main_menu
  gone "$T_SCREEN" "\"Main Menu\" did not leave the screen"
  menu=$(win "$T_MENU" "the main menu did not return")
}

end_program() { # from the main menu
  menu_button 2
  wait_until 10 eval '! kill -0 $prog 2>/dev/null' || fail "\"End Program\" did not end it"
  wait $prog || fail "the program ended with a failure"
  prog=""
  stop_session
}

# ---- the day ------------------------------------------------------------------------------

day() {
  start_session "$1" 1,2,4
  today="$HOME/Documents/VX-2968/data/$(date +%Y%m%d).csv"
  open_measurement
  shot measure "$screen"
  balance_ok

  press_meas_no
  dialog=$(win "^(Change Measure No\.|計測No\. 変更)\$" "\"Meas. No.\" did not open")
  keys_to "$dialog" type 25 # the proposal is selected: typing replaces it
  shot number "$dialog"
  window_size "$dialog" # "OK" is left of "Cancel": margins 20 and 14, both at least 110 wide
  press_pixels "$dialog" $((WIDTH - 182)) $((HEIGHT - 26))
  wait_until 10 eval '[ "$(sent MNO25)" -eq 3 ]' || fail "MNO25 did not reach CH1, CH2 and CH4"
  screen=$(win "$T_SCREEN" "the screen did not come back")

  start_run
  wait_until 10 grep -q '^00025,' "$today" 2>/dev/null || fail "no line 00025 in $today"
  shot result "$screen"

  press_setting
  list=$(win "^ (Display Setting|設定値表示)\$" "\"Setting\" did not open")
  shot settings "$list"
  window_size "$list" # the return button: left W - 1635, 1455 x 495, 190 above the bottom
  press_twips "$list" $((WT - 1635 + 727)) $((HT - 190 - 247))
  gone "^ (Display Setting|設定値表示)\$" "the settings did not close"
  screen=$(win "$T_SCREEN" "the screen did not come back")

  press_print
  message=$(win "^(Print|印刷)\$" "\"Print\" said nothing")
  ls "$HOME"/Documents/VX-2968/Report_*.pdf >/dev/null 2>&1 || fail "no PDF in the user folder"
  shot print "$message" # the message names the file; the window tests check its text
  keys_to "$message" key Return
  gone "^(Print|印刷)\$" "the message did not close"

  press_twips "$screen" 720 510 # a cell of the results grid (left 120, top 360)
  keys_to "$screen" key c
  wait_until 5 eval 'xclip -o -selection clipboard 2>/dev/null | grep -q "^00025"' ||
    fail "the clipboard does not hold the results"
  shot copy "$screen"

  leave_screen
  menu_button 1
  port=$(win "$T_PORT" "\"Setting RS-232C\" did not open")
  shot rs232c "$port"
  # Shift + right press on the note line (left 360, top 3960, 6800 x 450; frmRS232C.cpp).
  press_twips "$port" 3760 4185 3 shift
  terminal=$(win '^RS-232C Test$' "the gesture did not open the terminal")
  # The field takes typing once the line check (SET1 to SET6, each with RES) is over; the
  # transcript shows the last reply a moment before the program has read it, so a command
  # typed too early is typed again.
  wait_until 15 grep -q '^> SET6' "$transcript" || fail "the terminal did not check the line"
  for _ in 1 2 3; do
    press_twips "$terminal" 3730 315 # the command field: left 1150, top 120, 5160 x 390
    keys_to "$terminal" key ctrl+a type bdt10
    keys_to "$terminal" key Return
    wait_until 3 grep -q '^> BDT10' "$transcript" && break
  done
  grep -q '^> BDT10' "$transcript" || fail "bdt10 did not reach the logger"
  wait_until 10 awk '/^> BDT10/ { sent = 1; next } sent && /^</ { got = 1 } END { exit !got }' \
    "$transcript" || fail "the logger did not answer BDT10"
  sleep 1 # the answer is in; the picture, for a person to look at, shows what the area made of it
  shot terminal "$terminal"
  press_twips "$terminal" 5830 4305 # "End": left 5350, top 4080, 960 x 450 (frmRSTest.cpp)
  gone '^RS-232C Test$' "\"End\" did not close the terminal"
  port=$(win "$T_PORT" "the settings did not come back")
  press_twips "$port" 3750 4890 # "Main Menu": left 2450, top 4620, 2600 x 540
  menu=$(win "$T_MENU" "the main menu did not return")
  [ -f "$HOME/.local/share/VX-2968/fwd.rs" ] || [ -f "$work/bin/fwd.rs" ] ||
    fail "leaving the port settings wrote no fwd.rs"
  shot menu "$menu"
  end_program
  echo "operator day [$lang]: all steps passed; screenshots in $folder"
}

# "Start" and "Balance" answer a real press with this many channels.
clicks() { # language, channels
  start_session "$1" "$2" "channels-${2//,/}"
  open_measurement
  balance_ok
  start_run
  shot result "$screen"
  leave_screen
  end_program
  echo "real presses [$lang, channels $2]: \"Balance\" sent BAL, \"Start\" fetched a drop"
}

if [ "${VX_DAY_ONLY:-day}" != clicks ]; then
  day en
  day ja
fi
if [ "${VX_DAY_ONLY:-clicks}" != day ]; then
  for l in en ja; do
    for channels in 1,2 1,2,3 1,2,3,4,5,6; do clicks "$l" "$channels"; done
  done
fi
echo "screenshots: $shots"
