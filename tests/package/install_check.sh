#!/usr/bin/env bash
# Builds the Debian package, has lintian judge it, installs it as an operator's machine
# would, checks what it put where (AppStream, desktop entry, manual pages, font alias), runs
# an operator's day on the installed program and simulator (operator_day.sh), and removes it.
# Usage: install_check.sh <build folder>   (needs root or sudo, and xvfb-run)
set -euo pipefail
build="$(cd "$1" && pwd)"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
fail() { echo "install check: $*" >&2; exit 1; }

# The package holds release binaries: a debug or sanitizer build would ship slow,
# instrumented programs under the same name. (No type given is the project's RelWithDebInfo.)
grep -Eq '^CMAKE_BUILD_TYPE:STRING=(|Release|RelWithDebInfo|MinSizeRel)$' "$build/CMakeCache.txt" &&
  ! grep -Eq '^VX_SANITIZE:BOOL=(ON|TRUE|1)$' "$build/CMakeCache.txt" || fail "$build is not a release build"
rm -f "$build"/vx2968_*_amd64.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/vx2968_*_amd64.deb | head -n1)
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) kB)"
# Debian's own judgement of the package: no error and no warning (information is shown).
lintian --fail-on error,warning --display-info "$deb" || fail "lintian complains about $(basename "$deb")"
echo "lintian: no errors, no warnings"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >/dev/null
trap '"${sudo_cmd[@]}" apt-get remove -y -qq vx2968 >/dev/null || true' EXIT

for f in /usr/bin/vx2968 /usr/bin/vx-logger-sim /usr/share/applications/vx2968.desktop \
         /usr/share/metainfo/vx2968.metainfo.xml /usr/share/doc/vx2968/copyright \
         /usr/share/doc/vx2968/changelog.gz /usr/share/icons/hicolor/256x256/apps/vx2968.png \
         /usr/share/fontconfig/conf.avail/65-vx2968-fonts.conf /etc/fonts/conf.d/65-vx2968-fonts.conf; do
  [ -e "$f" ] || fail "missing $f"
done
[ "$(readlink /etc/fonts/conf.d/65-vx2968-fonts.conf)" = /usr/share/fontconfig/conf.avail/65-vx2968-fonts.conf ] ||
  fail "the font alias link is not absolute"
# Every desktop entry and AppStream file the package installs, and a manual page for every
# program it puts on the path.
while read -r f; do
  case "$f" in
    /usr/share/applications/*.desktop) desktop-file-validate "$f" || fail "desktop entry invalid: $f" ;;
    /usr/share/metainfo/*.xml)
      report=$(appstreamcli validate --no-net --pedantic "$f" 2>&1) &&
        ! grep -Eq '^[EWIP]: ' <<<"$report" || { echo "$report" >&2; fail "AppStream complains about $f"; }
      echo "appstreamcli: $(basename "$f") validates" ;;
    /usr/bin/*) man -w "$(basename "$f")" >/dev/null || fail "no manual page for $f" ;;
  esac
done < <(dpkg -L vx2968)
fc-match "ＭＳ 明朝" | grep -q IPAMincho || fail "ＭＳ 明朝 is not mapped to IPAMincho"
fc-match "Times New Roman" | grep -q "Liberation Serif" || fail "Times New Roman is not mapped"
grep -qx 'Exec=vx2968 --service-report-dialog' /usr/share/applications/vx2968.desktop ||
  fail "the desktop entry has no Save Service Report action"
report="$(mktemp -d)/report.tar.gz"
HOME="$(dirname "$report")" vx2968 --service-report "$report" && tar -xzOf "$report" README.txt |
  grep -q 'service report' || fail "the installed program writes no service report"

bash "$(dirname "$0")/operator_day.sh" "$build/operator-day"
"${sudo_cmd[@]}" apt-get remove -y -qq vx2968 >/dev/null
trap - EXIT
for f in /usr/bin/vx2968 /usr/bin/vx-logger-sim /usr/share/applications/vx2968.desktop \
         /usr/share/metainfo/vx2968.metainfo.xml /etc/fonts/conf.d/65-vx2968-fonts.conf; do
  if [ -e "$f" ] || [ -L "$f" ]; then fail "still there after removal: $f"; fi
done
echo "package removed cleanly"
