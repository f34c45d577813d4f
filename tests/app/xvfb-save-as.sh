#!/usr/bin/env bash
# Drives the real zuvedit under Xvfb as a user would: opens a Shift_JIS file
# with the File menu, types at the start of the text, saves it as EUC with LF
# line ends, and checks the bytes written.
# Usage: xvfb-save-as.sh ZUVEDIT
set -euo pipefail
zuvedit=$1

if [ -z "${ZUV_INSIDE_XVFB:-}" ]; then
  exec env ZUV_INSIDE_XVFB=1 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

source "$(dirname "$0")/xvfb-common.sh"
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
# abc / 日本語 in Shift_JIS with CR LF
printf 'abc\r\n\x93\xfa\x96\x7b\x8c\xea\r\n' > "$work/in.txt"

# Waits until a window other than the main one has the focus: a dialog is up.
dialog_focused() {
  for _ in $(seq 100); do
    [ "$(xdotool getwindowfocus)" != "$main" ] && return 0
    xdotool sleep 0.1
  done
  fail "no dialog took the focus"
}

"$zuvedit" &
pid=$!
main=$(window '^Z\.U\.V\.Editorちゃん  \(新規ファイル\)$') || fail "no main window"

keys "$main" alt+f o
dialog_focused
xdotool type --delay 20 "$work/in.txt"
xdotool key Return
window "^Z\\.U\\.V\\.Editorちゃん  $work/in.txt\$" > /dev/null || fail "in.txt was not opened"

xdotool windowfocus --sync "$main"
xdotool type --delay 20 "Hello "

keys "$main" alt+f a
dialog_focused
xdotool type --delay 20 "$work/out.txt"
xdotool key Return
codes=$(window '^Z\.U\.V\.Editorちゃん コード確認$') || fail "no code dialog"
# The code dialog's EUC and LF buttons and its "うん" button, by their places in the dialog.
xdotool mousemove --window "$codes" 232 64 click 1 sleep 0.2
xdotool mousemove --window "$codes" 232 92 click 1 sleep 0.2
xdotool mousemove --window "$codes" 125 124 click 1
window "^Z\\.U\\.V\\.Editorちゃん  $work/out.txt\$" > /dev/null || fail "out.txt was not saved"

expected=$(printf 'Hello abc\n\xc6\xfc\xcb\xdc\xb8\xec\n' | od -An -tx1)
written=$(od -An -tx1 "$work/out.txt")
[ "$written" = "$expected" ] || fail "out.txt holds$written, expected$expected"

# Saved, so the exit menu closes without a question.
keys "$main" alt+f x
expect_clean_exit
echo "ok: out.txt in EUC with LF"
