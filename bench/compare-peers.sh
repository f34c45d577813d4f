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
# Prints a table of median wall times, peak RSS and the ratios peer/zuvconv,
# and writes it with the raw timings to bench/results/.
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

# Median of column 4 (wall) or 5 (peak RSS) of one tool's runs of one direction.
stat_of() {
  local direction=$1 tool=$2 column=$3
  awk -F'\t' -v d="$direction" -v t="$tool" -v c="$column" '$1 == d && $2 == t && $3 > 0 { print $c }' "$raw" | median
}

measure() {
  local rep entry tool from to
  printf 'direction\ttool\trun\twall_s\tpeak_rss_kb\tuser_s\tsys_s\n' > "$raw"
  for ((rep = 0; rep <= reps; rep++)); do
    for entry in "${directions[@]}"; do
      read -r from to _ <<< "$entry"
      for tool in "${tools[@]}"; do
        # run 0 is the warm-up: it fills the page cache and is not counted
        run_tool "$tool" $entry > "$out/run.txt"
        printf '%s\t%s\t%d\t%s\n' "$from-$to" "$tool" "$rep" "$(tr ' ' '\t' < "$out/run.txt")" >> "$raw"
      done
    done
    echo "compare-peers: run $rep of $reps done" >&2
  done
}

row='%-9s | %-21s | %-16s | %-21s | %-21s | %-6s | %-10s | %s\n'

report() {
  local entry from to direction bytes zuv zuv_out nkf iconv nkf_ratio iconv_ratio goal round_trip versus_iconv all_met=yes
  {
    echo "zuvconv against nkf and glibc iconv: median of $reps runs, warm page cache, $(nproc) cores"
    echo "zuvconv $(git log -1 --format='%h %cd' --date=short -- codec cli 2>/dev/null), $(nkf --version 2>&1 | head -1), $(iconv --version | head -1)"
    for entry in "${directions[@]}"; do
      read -r from to _ <<< "$entry"
      echo "input $from: $(input_file "$from") ($(stat -c %s "$(input_file "$from")") bytes)"
    done
    echo
    printf "$row" direction "zuvconv -o (MB/s)" "zuvconv >stdout" "nkf (ratio)" "iconv (ratio)" goal "round trip" "text vs iconv"
    printf "$row" "" "s / RSS MB" "s / RSS MB" "s / RSS MB" "s / RSS MB" "" "" ""
    for entry in "${directions[@]}"; do
      read -r from to _ <<< "$entry"
      direction="$from-$to"
      bytes=$(stat -c %s "$(input_file "$from")")
      zuv=$(stat_of "$direction" zuvconv 4)
      zuv_out=$(stat_of "$direction" zuvconv-stdout 4)
      nkf=$(stat_of "$direction" nkf 4)
      iconv=$(stat_of "$direction" iconv 4)
      nkf_ratio=$(awk -v p="$nkf" -v z="$zuv" 'BEGIN { printf "%.1f", p / z }')
      iconv_ratio=$(awk -v p="$iconv" -v z="$zuv" 'BEGIN { printf "%.1f", p / z }')
      goal=$(awk -v a="$nkf_ratio" -v b="$iconv_ratio" 'BEGIN { print (a >= 10 && b >= 10) ? "met" : "MISSED" }')
      [ "$goal" = met ] || all_met=no
      round_trip=$(check_round_trip "$from" "$to")
      [ "$round_trip" = ok ] || all_met=no
      versus_iconv=$(check_against_iconv "$from" "$to")
      printf "$row" "$direction" \
        "$(fmt_run "$direction" zuvconv) ($(awk -v b="$bytes" -v s="$zuv" 'BEGIN { printf "%.0f", b / 1e6 / s }'))" \
        "$(fmt_run "$direction" zuvconv-stdout)" \
        "$(fmt_run "$direction" nkf) (${nkf_ratio}x)" \
        "$(fmt_run "$direction" iconv) (${iconv_ratio}x)" \
        "$goal" "$round_trip" "$versus_iconv"
    done
    echo
    echo "goal (zuvconv -o at least 10x faster than both peers, round trips intact) on every direction: $all_met"
  } | tee "$table"
  cp "$table" "$results/peers-latest.txt"
  cp "$raw" "$results/peers-latest.tsv"
}

# "seconds / RSS MB" of one tool's median run
fmt_run() {
  local wall rss
  wall=$(stat_of "$1" "$2" 4)
  rss=$(stat_of "$1" "$2" 5)
  awk -v w="$wall" -v r="$rss" 'BEGIN { printf "%.3f / %.0f", w, r / 1024 }'
}

prepare
measure
report
rm -rf "$out"
