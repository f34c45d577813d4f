#!/usr/bin/env bash
# Times zuvconv against nkf and glibc iconv on the man-page corpus, each tool
# converting the same input file to an output file, in one interleaved run.
#
#   bench/compare-peers.sh [--reps N] [--small] [--no-build]
#
#   --reps N     timed runs per tool and direction after one warm-up run (default 5)
#   --small      use the 10 MB corpus instead of the ~90 MB one
#   --no-build   time the zuvconv that build-bench holds now
#
# Prints a table of median wall and CPU times, peak RSS and the ratios
# peer/zuvconv, and writes it with the raw timings to bench/results/.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

reps=5
size=""
build_zuvconv=yes
while [ $# -gt 0 ]; do
  case $1 in
    --reps) reps=${2:?--reps needs a number}; shift 2 ;;
    --small) size="10mb-"; shift ;;
    --no-build) build_zuvconv=no; shift ;;
    *) echo "usage: bench/compare-peers.sh [--reps N] [--small] [--no-build]" >&2; exit 2 ;;
  esac
done

build=build-bench
zuvconv=$build/bin/zuvconv
corpus=bench/corpus
results=bench/results
out=$results/out
stamp=$(date +%Y%m%d-%H%M%S)
raw=$results/peers-$stamp.tsv
table=$results/peers-$stamp.txt

# source code, target code, nkf's input and output code letters, iconv's code names
directions=(
  "sjis euc S e CP932 EUC-JP"
  "euc sjis E s EUC-JP CP932"
  "sjis jis S j CP932 ISO-2022-JP"
  "jis sjis J s ISO-2022-JP CP932"
)
# zuvconv-stdout is zuvconv writing to a redirected standard output: the same
# conversion without the temporary file, fsync and rename of a file OUTPUT.
tools=(zuvconv zuvconv-stdout nkf iconv)

prepare() {
  scripts/install-deps.sh bench/packages.txt
  if [ "$build_zuvconv" = yes ]; then
    scripts/build.sh "$build" -DZUV_BUILD_GUI=OFF -DZUV_BUILD_TESTS=OFF -DZUV_BUILD_BENCH=ON > /dev/null
  fi
  [ -x "$zuvconv" ] || { echo "compare-peers: $zuvconv is missing" >&2; exit 1; }
  bench/make-corpus.sh
  mkdir -p "$out"
}

input_file() { echo "$corpus/corpus-$size$1.txt"; }

# Runs one tool once and fails when the tool fails; prints "wall_seconds peak_rss_kb user_seconds system_seconds".
run_tool() {
  local tool=$1 from=$2 to=$3 nkf_from=$4 nkf_to=$5 iconv_from=$6 iconv_to=$7
  local input output timing start end
  input=$(input_file "$from")
  output="$out/$tool-$from-$to.txt"
  timing="$out/time.txt"
  rm -f "$output"
  start=$EPOCHREALTIME
  case $tool in
    zuvconv)
      /usr/bin/time -f "%M %U %S" -o "$timing" "$zuvconv" --from "$from" --to "$to" -o "$output" "$input" ;;
    zuvconv-stdout)
      /usr/bin/time -f "%M %U %S" -o "$timing" "$zuvconv" --from "$from" --to "$to" "$input" > "$output" ;;
    nkf)
      # no MIME decoding, no half-width to full-width kana, line ends kept
      /usr/bin/time -f "%M %U %S" -o "$timing" nkf -"$nkf_from" -"$nkf_to" -x -m0 "$input" > "$output" ;;
    iconv)
      /usr/bin/time -f "%M %U %S" -o "$timing" iconv -f "$iconv_from" -t "$iconv_to" "$input" > "$output" ;;
  esac
  end=$EPOCHREALTIME
  echo "$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }') $(cat "$timing")"
}

# Two files hold the same text; JIS files are compared through nkf, since
# equal text may differ in its escape sequences (ESC ( J against ESC ( B).
same_text() {
  local code=$1 a=$2 b=$3
  if [ "$code" = jis ]; then
    cmp -s <(nkf -J -s -x -m0 "$a") <(nkf -J -s -x -m0 "$b")
  else
    cmp -s "$a" "$b"
  fi
}

# zuvconv's output converted back by zuvconv gives the input again.
check_round_trip() {
  local from=$1 to=$2 input output back
  input=$(input_file "$from")
  output="$out/zuvconv-$from-$to.txt"
  back="$out/back-$from-$to.txt"
  "$zuvconv" --from "$to" --to "$from" -o "$back" "$output"
  if same_text "$from" "$back" "$input"; then
    echo ok
  else
    echo FAILED
  fi
  rm -f "$back"
}

# zuvconv's output holds the same text as iconv's.
check_against_iconv() {
  local from=$1 to=$2
  if same_text "$to" "$out/zuvconv-$from-$to.txt" "$out/iconv-$from-$to.txt"; then
    echo same
  else
    echo DIFFERS
  fi
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Median over the counted runs of one tool and direction of a column of the raw
# table: 4 wall seconds, 5 CPU seconds (user + system), 6 peak RSS in KB.
stat_of() {
  local direction=$1 tool=$2 column=$3
  awk -F'\t' -v d="$direction" -v t="$tool" -v c="$column" '$1 == d && $2 == t && $3 > 0 { print $c }' "$raw" | median
}

load_average() { cut -d' ' -f1-3 /proc/loadavg; }

measure() {
  local rep entry tool from to wall rss user sys
  printf 'direction\ttool\trun\twall_s\tcpu_s\tpeak_rss_kb\tuser_s\tsys_s\n' > "$raw"
  for ((rep = 0; rep <= reps; rep++)); do
    for entry in "${directions[@]}"; do
      read -r from to _ <<< "$entry"
      for tool in "${tools[@]}"; do
        # run 0 is the warm-up: it fills the page cache and is not counted
        run_tool "$tool" $entry > "$out/run.txt"
        read -r wall rss user sys < "$out/run.txt"
        printf '%s\t%s\t%d\t%s\t%s\t%s\t%s\t%s\n' "$from-$to" "$tool" "$rep" "$wall" \
          "$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')" "$rss" "$user" "$sys" >> "$raw"
      done
    done
    echo "compare-peers: run $rep of $reps done" >&2
  done
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1fx", a / b }'; }

row='%-9s  %-15s  %7s  %6s  %11s  %5s  %10s  %9s\n'

# One line per tool: its medians and its times as a multiple of zuvconv -o's.
report_direction() {
  local from=$1 to=$2 direction="$1-$2" bytes tool wall cpu rss zuv_wall zuv_cpu
  bytes=$(stat -c %s "$(input_file "$from")")
  zuv_wall=$(stat_of "$direction" zuvconv 4)
  zuv_cpu=$(stat_of "$direction" zuvconv 5)
  for tool in "${tools[@]}"; do
    wall=$(stat_of "$direction" "$tool" 4)
    cpu=$(stat_of "$direction" "$tool" 5)
    rss=$(stat_of "$direction" "$tool" 6)
    printf "$row" "$direction" "$tool" "$(printf %.3f "$wall")" "$(printf %.2f "$cpu")" \
      "$(awk -v r="$rss" 'BEGIN { printf "%.0f", r / 1024 }')" \
      "$(awk -v b="$bytes" -v w="$wall" 'BEGIN { printf "%.0f", b / 1e6 / w }')" \
      "$(ratio "$wall" "$zuv_wall")" "$(ratio "$cpu" "$zuv_cpu")"
  done
}

# "met" when both peers take at least ten times zuvconv -o's wall time.
goal_of() {
  local direction=$1 zuv_wall
  zuv_wall=$(stat_of "$direction" zuvconv 4)
  awk -v z="$zuv_wall" -v n="$(stat_of "$direction" nkf 4)" -v i="$(stat_of "$direction" iconv 4)" \
    'BEGIN { print (n >= 10 * z && i >= 10 * z) ? "met" : "MISSED" }'
}

report() {
  local entry from to direction goal round_trip versus_iconv all_met=yes
  {
    echo "zuvconv against nkf and glibc iconv: median of $reps runs after a warm-up, warm page cache"
    echo "$(nproc) cores; load average before the runs $load_before, after $(load_average)"
    echo "zuvconv $(git log -1 --format='%h %cd' --date=short -- codec cli), $(nkf --version 2>&1 | head -1), $(iconv --version | head -1)"
    for entry in "${directions[@]}"; do
      read -r from to _ <<< "$entry"
      echo "input $from-$to: $(input_file "$from") ($(stat -c %s "$(input_file "$from")") bytes)"
    done
    echo
    printf "$row" direction tool "wall s" "cpu s" "peak RSS MB" "MB/s" "wall ratio" "cpu ratio"
    for entry in "${directions[@]}"; do
      read -r from to _ <<< "$entry"
      report_direction "$from" "$to"
    done
    echo
    for entry in "${directions[@]}"; do
      read -r from to _ <<< "$entry"
      direction="$from-$to"
      goal=$(goal_of "$direction")
      round_trip=$(check_round_trip "$from" "$to")
      versus_iconv=$(check_against_iconv "$from" "$to")
      [ "$goal" = met ] && [ "$round_trip" = ok ] || all_met=no
      echo "$direction: 10x goal $goal, round trip through zuvconv $round_trip, text against iconv's $versus_iconv"
    done
    echo "goal (zuvconv -o at least 10x faster than both peers in wall time, round trips intact) on every direction: $all_met"
  } | tee "$table"
  cp "$table" "$results/peers-latest.txt"
  cp "$raw" "$results/peers-latest.tsv"
}

prepare
load_before=$(load_average)
measure
report
rm -rf "$out"
