#!/usr/bin/env bash
# Builds the Debian package, has lintian judge it, installs it as an operator's machine
# would, checks what it put where (AppStream, desktop entry, manual pages, font alias),
# starts the installed program against the installed simulator, presses "Measure" as a
# user would and watches the logger's side of the line; then removes it.
# Usage: install_check.sh <build folder>   (needs root or sudo, and a display or xvfb-run)
set -euo pipefail
build="$(cd "$1" && pwd)"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ -z "${VX_IN_XVFB:-}" ]; then
  # The package holds release binaries: a debug or sanitizer build would ship slow,
  # instrumented programs under the same name. (No type given is the project's RelWithDebInfo.)
  grep -Eq '^CMAKE_BUILD_TYPE:STRING=(|Release|RelWithDebInfo|MinSizeRel)$' "$build/CMakeCache.txt" &&
    ! grep -Eq '^VX_SANITIZE:BOOL=(ON|TRUE|1)$' "$build/CMakeCache.txt" ||
    { echo "install check: $build is not a release build" >&2; exit 1; }
  rm -f "$build"/vx2968_*_amd64.deb
  (cd "$build" && cpack -G DEB >/dev/null)
  deb=$(ls -t "$build"/vx2968_*_amd64.deb | head -n1)
  echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) kB)"
  # Debian's own judgement of the package: no error and no warning (information is shown).
  lintian --fail-on error,warning --display-info "$deb" ||
    { echo "install check: lintian complains about $(basename "$deb")" >&2; exit 1; }
  echo "lintian: no errors, no warnings"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >/dev/null
  trap '"${sudo_cmd[@]}" apt-get remove -y -qq vx2968 >/dev/null || true' EXIT
  VX_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
  bash "$(dirname "$0")/operator_day.sh" "$build/operator-day"
  "${sudo_cmd[@]}" apt-get remove -y -qq vx2968 >/dev/null
  trap - EXIT
  for f in /usr/bin/vx2968 /usr/bin/vx-logger-sim /usr/share/applications/vx2968.desktop \
           /usr/share/metainfo/vx2968.metainfo.xml /etc/fonts/conf.d/65-vx2968-fonts.conf; do
    if [ -e "$f" ] || [ -L "$f" ]; then echo "still there after removal: $f" >&2; exit 1; fi
  done
  echo "package removed cleanly"
  exit 0
fi

fail() { echo "install check: $*" >&2; exit 1; }
for f in /usr/bin/vx2968 /usr/bin/vx-logger-sim \
         /usr/share/applications/vx2968.desktop \
         /usr/share/metainfo/vx2968.metainfo.xml \
         /usr/share/doc/vx2968/copyright /usr/share/doc/vx2968/changelog.gz \
         /usr/share/icons/hicolor/256x256/apps/vx2968.png \
         /usr/share/fontconfig/conf.avail/65-vx2968-fonts.conf \
         /etc/fonts/conf.d/65-vx2968-fonts.conf; do
  [ -e "$f" ] || fail "missing $f"
done
[ "$(readlink /etc/fonts/conf.d/65-vx2968-fonts.conf)" = /usr/share/fontconfig/conf.avail/65-vx2968-fonts.conf ] ||
  fail "the font alias link is not absolute"
# Every desktop entry and AppStream file the package installs, and a manual page for every
# program it puts on the path.
while read -r f; do
  case "$f" in
    /usr/share/applications/*.desktop)
      desktop-file-validate "$f" || fail "desktop entry invalid: $f" ;;
    /usr/share/metainfo/*.xml)
      report=$(appstreamcli validate --no-net --pedantic "$f" 2>&1) &&
        ! grep -Eq '^[EWIP]: ' <<<"$report" || { echo "$report" >&2; fail "AppStream complains about $f"; }
      echo "appstreamcli: $(basename "$f") validates" ;;
    /usr/bin/*)
      man -w "$(basename "$f")" >/dev/null || fail "no manual page for $f" ;;
  esac
done < <(dpkg -L vx2968)
for name in "ＭＳ 明朝" "ＭＳ Ｐ明朝" "Times New Roman"; do
  echo "fc-match $name: $(fc-match "$name")"
done
fc-match "ＭＳ 明朝" | grep -q IPAMincho || fail "ＭＳ 明朝 is not mapped to IPAMincho"
fc-match "Times New Roman" | grep -q "Liberation Serif" || fail "Times New Roman is not mapped"

work="$(mktemp -d)"
cleanup() { kill ${prog:-} ${sim:-} 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME/Documents/VX-2968" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
[ -n "${VX_JAPANESE:-}" ] && printf J > "$HOME/Documents/VX-2968/fwdstr.ini"
unset QT_QPA_PLATFORM

transcript="$work/transcript.txt"
/usr/bin/vx-logger-sim --com 1 --channels 1,2,4 --no-stdin --transcript "$transcript" < /dev/null > "$work/sim.out" &
sim=$!
for _ in $(seq 1 100); do grep -q '^PTY ' "$work/sim.out" 2>/dev/null && break; sleep 0.1; done
grep -q '^PTY ' "$work/sim.out" || fail "simulator did not start"

/usr/bin/vx2968 & prog=$!
menu=""
for _ in $(seq 1 200); do
  menu=$(xdotool search --onlyvisible --name "Main Menu|メインメニュー" 2>/dev/null | head -n1) && [ -n "$menu" ] && break
  sleep 0.1
done
[ -n "$menu" ] || fail "the main menu did not appear"
# "Measure" is the first of the three buttons (300 twips from the left, 480 from the top).
xdotool mousemove --window "$menu" 100 48 click 1

ok=""
for _ in $(seq 1 300); do
  if grep -q '^> RES' "$transcript" 2>/dev/null && grep -q '^> CLK?' "$transcript" &&
     [ "$(grep -c '^> MDT' "$transcript")" -ge 2 ]; then ok=1; break; fi
  sleep 0.1
done
[ -n "$ok" ] || { cat "$transcript" >&2 || true; fail "no connection check, settings read and monitor on the line"; }
echo "transcript: $(grep -c '^> ' "$transcript") commands; first $(grep -m1 '^> ' "$transcript"), then settings ($(grep -c '^> EPD?' "$transcript") parameter reads), $(grep -c '^> MDT' "$transcript") MDT polls"
[ -f "$HOME/.local/share/VX-2968/fwd.rs" ] && echo "fwd.rs kept per user" || true
if [ -n "${VX_SHOT:-}" ]; then import -window root "$VX_SHOT"; fi
echo "installed program measured against the installed simulator"
