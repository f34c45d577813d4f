#!/usr/bin/env bash
# Starts the real zuvedit under Xvfb with a Japanese file named on the command
# line and checks the title its window shows.
# Usage: xvfb-open-title.sh ZUVEDIT SOURCE_DIR
set -euo pipefail
zuvedit=$1
source_dir=$2

if [ -z "${ZUV_INSIDE_XVFB:-}" ]; then
  exec env ZUV_INSIDE_XVFB=1 QT_QPA_PLATFORM=xcb xvfb-run -a "$0" "$@"
fi

source "$(dirname "$0")/xvfb-common.sh"
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
file=$work/吾輩は猫である.txt
cp "$source_dir/samples/neko-sjis.txt" "$file"

"$zuvedit" "$file" &
pid=$!
title="Z.U.V.Editorちゃん  $file"
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) ||
  fail "no window titled '$title' appeared"
shown=$(xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
[ "$shown" = "$title" ] || fail "window title is '$shown', expected '$title'"

# Unmodified, so the exit menu closes without a question.
keys "$window" alt+f x
expect_clean_exit
echo "ok: $shown"
