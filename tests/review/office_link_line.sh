#!/usr/bin/env bash
# The office program is built without the field's serial line: its link line names none of
# the libraries that drive the logger or the receiver, nor Qt SerialPort or Qt Network.
#   office_link_line.sh BUILD_DIR
set -euo pipefail
build="$1"
if [ -f "$build/build.ninja" ]; then
  line=$(awk '/^build bin\/vx2968-review:/ { found = 1 } found && /LINK_LIBRARIES/ { print; exit }' \
    "$build/build.ninja")
else
  line=$(cat "$build/src/review/CMakeFiles/vx2968-review.dir/link.txt" 2>/dev/null || true)
fi
[ -n "$line" ] || { echo "no link line for vx2968-review under $build"; exit 1; }
case "$line" in *libvx_record.a*) ;; *) echo "link line not recognised: $line"; exit 1 ;; esac
found=$(grep -oE 'libvx_(serial|logger|results|positions|screens)[a-z_]*\.a|Qt6(SerialPort|Network)' \
  <<<"$line" | sort -u || true)
if [ -n "$found" ]; then
  echo "vx2968-review links the field's line: $(echo $found)"
  exit 1
fi
echo "vx2968-review links no serial, logger, positions, Qt SerialPort or Qt Network"
