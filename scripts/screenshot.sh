#!/usr/bin/env bash
# Makes docs/screenshot.png: the real zuvedit under Xvfb with the sample file open.
# Needs xvfb, xdotool and ImageMagick's import (Debian: imagemagick, not in
# packages.txt because no test uses it). Usage: scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if [ -z "${ZUV_INSIDE_XVFB:-}" ]; then
  [ -x "$build/bin/zuvedit" ] || scripts/build.sh "$build" > /dev/null
  exec env ZUV_INSIDE_XVFB=1 QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 800x700x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
file=samples/neko-sjis.txt

"$build/bin/zuvedit" "$file" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Z.U.V.Editorちゃん  $file\$" |
  head -n 1)
# Let the first paint finish.
xdotool sleep 1
import -window "$window" docs/screenshot.png
echo "wrote docs/screenshot.png"
