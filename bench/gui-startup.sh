#!/usr/bin/env bash
# Start-up and save times of the real zuvedit under Xvfb.
#
# For no file, the 10 MB and the 100 MB corpus file (bench/make-corpus.sh):
# the time from launch until the window shows the file's title, which the
# editor sets once the text is in the edit control, and the peak memory of the
# whole run (/usr/bin/time). For the 100 MB file also the time of File > Save
# until the file has been replaced. Each figure is the best of RUNS runs.
#
# Usage: bench/gui-startup.sh [BUILD_DIR [RUNS]]   (results in bench/results/gui-startup-latest.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-3}

if [ -z "${ZUV_INSIDE_XVFB:-}" ]; then
  [ -x "$build/bin/zuvedit" ] || scripts/build.sh "$build" > /dev/null
  bench/make-corpus.sh > /dev/null
  mkdir -p bench/results
  env ZUV_INSIDE_XVFB=1 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    "$0" "$@" | tee bench/results/gui-startup-latest.txt
  exit "${PIPESTATUS[0]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }

# The id of the window with exactly this title, polled (xdotool --sync fails
# when a window vanishes during the search); fails when the editor has ended
# or nothing shows within two minutes, instead of waiting for ever.
wait_window() {
  local id deadline=$((SECONDS + 120))
  while kill -0 "$2" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return; }
  done
  echo "no window titled $1 appeared" >&2
  return 1
}

quit() {
  xdotool windowfocus --sync "$1"
  xdotool key --delay 50 alt+f x
}

# One run: prints "startup_seconds peak_kb [save_seconds]".
run_once() {
  local file=$1 save=$2 title start shown window saved inode=""
  if [ -n "$file" ]; then
    cp "$file" "$work/doc.txt"
    file=$work/doc.txt
    title="Z\\.U\\.V\\.Editorちゃん  $file"
  else
    title="Z\\.U\\.V\\.Editorちゃん  \\(新規ファイル\\)"
  fi
  start=$(now)
  /usr/bin/time -f "%M" -o "$work/time" "$build/bin/zuvedit" ${file:+"$file"} 2> /dev/null &
  local pid=$!
  window=$(wait_window "$title" "$pid")
  shown=$(now)
  saved=""
  if [ "$save" = yes ]; then
    inode=$(stat -c %i "$file")
    xdotool windowfocus --sync "$window"
    local before
    before=$(now)
    xdotool key alt+f s
    while [ "$(stat -c %i "$file")" = "$inode" ]; do :; done
    saved=$(elapsed "$before" "$(now)")
  fi
  quit "$window"
  wait "$pid"
  echo "$(elapsed "$start" "$shown") $(tail -n 1 "$work/time") $saved"
}

best() { # the lowest figure in this column over the runs
  awk -v c="$1" 'NF >= c { print $c }' | sort -n | head -n 1
}

measure() {
  local label=$1 file=$2 save=$3 results=""
  for _ in $(seq "$runs"); do
    results+="$(run_once "$file" "$save")"$'\n'
  done
  local startup memory saving
  startup=$(best 1 <<< "$results")
  memory=$(best 2 <<< "$results")
  printf '%-22s start-up %6.3f s  peak memory %5d MB' "$label" "$startup" "$((memory / 1024))"
  if [ "$save" = yes ]; then
    saving=$(best 3 <<< "$results")
    printf '  save %6.3f s' "$saving"
  fi
  echo
}

echo "zuvedit start-up under Xvfb, best of $runs runs, $(nproc) cores, $(date -u +%F)"
measure "no file" "" no
measure "10 MB (SJIS)" bench/corpus/corpus-10mb-sjis.txt no
measure "10 MB (EUC)" bench/corpus/corpus-10mb-euc.txt no
measure "91 MB (SJIS)" bench/corpus/corpus-sjis.txt yes
measure "91 MB (EUC)" bench/corpus/corpus-euc.txt no
