#!/usr/bin/env bash
# The package on a clean laptop: run as root in a fresh Debian root that holds nothing but
# this folder (the built package, a day file and a GPS track). Installs the package with apt,
# so that its Depends come from the archive, and tries what an operator and an engineer do
# first: a service report, the points of a day placed in site coordinates from the track,
# the simulator, and the main menu on a display.
#   clean_laptop.sh            (beside vx2968_*_amd64.deb, 20240506.csv, track.gpx, xdisplay.sh)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
fail() { echo "clean laptop: $*" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive

deb=$(ls "$here"/vx2968_*_amd64.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no package beside this script"
apt-get update -qq
apt-get install -y -qq --no-install-recommends "$deb" >/dev/null || fail "$(basename "$deb") does not install"
echo "clean laptop: $(basename "$deb") installed with $(dpkg-query -W -f='${Depends}' vx2968 | tr ',' '\n' | wc -l) Depends"

work="$(mktemp -d)"
export HOME="$work/home"
mkdir -p "$HOME"

vx2968 --service-report - >"$work/report.tar.gz" || fail "vx2968 --service-report - failed"
# Each output is read whole before it is searched: a grep -q that stops early would end its
# writer with SIGPIPE, a failure under pipefail.
readme=$(tar -xzOf "$work/report.tar.gz" README.txt) && grep -q 'service report' <<<"$readme" ||
  fail "the service report written to standard output holds no README.txt"
echo "clean laptop: service report written ($(wc -c <"$work/report.tar.gz") bytes)"

# 08:00 at +09:00 is 23:00 UTC the day before; the track is at 35° N, 139.8333333° E, the
# origin's meridian of EPSG:6677, 111 km south of its origin.
cp "$here/20240506.csv" "$here/track.gpx" "$work/"
vx2968-review --points - --crs EPSG:6677 --utc-offset +09:00 --track "$work/track.gpx" \
  "$work/20240506.csv" >"$work/points.csv" || fail "vx2968-review --points failed"
grep -q ',Northing(m),Easting(m)$' <(head -n1 "$work/points.csv") || fail "no northing and easting columns"
point=$(sed -n 2p "$work/points.csv")
grep -q ',35.0000000,139.8333333,-110938.674,-0.003$' <<<"$point" ||
  fail "the point is not placed in EPSG:6677: $point"
echo "clean laptop: the point placed at northing -110938.674, easting -0.003 (EPSG:6677)"

help=$(vx-logger-sim --help 2>&1) || fail "vx-logger-sim --help failed"
grep -q -- '--com' <<<"$help" || fail "vx-logger-sim --help says nothing of --com"
echo "clean laptop: vx-logger-sim --help answers"

# The display is the check's own, not the package's.
apt-get install -y -qq --no-install-recommends xvfb xauth xdotool >/dev/null
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source "$1"
  vx2968 >"$2/program.out" 2>&1 &
  program=$!
  menu=$(window_titled "^ (Main Menu|メインメニュー) " 30) || { cat "$2/program.out" >&2; exit 1; }
  window_size "$menu"
  echo "clean laptop: the main menu shows, ${WIDTH}x${HEIGHT} pixels"
  kill "$program"
' bash "$here/xdisplay.sh" "$work" || fail "the installed vx2968 shows no main menu"
rm -rf "$work"
