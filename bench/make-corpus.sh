#!/usr/bin/env bash
# Builds the benchmark corpus in bench/corpus/ from the Japanese man pages of
# the Debian package manpages-ja. Quick when the corpus is there already.
#
#   corpus-sjis.txt        the pages as CP932, CR LF line ends, ten times over
#   corpus-euc.txt         the same text as EUC-JP      (glibc iconv from the SJIS file)
#   corpus-jis.txt         the same text as ISO-2022-JP (glibc iconv from the SJIS file)
#   corpus-10mb-*.txt      the first ~10 MB of the SJIS file, cut at a line end, in all three codes
#
# Only characters that CP932, EUC-JP and ISO-2022-JP all hold under glibc's
# mappings are kept, so every peer converts every file without an error and
# the codes agree on what each character is (the few hundred characters of the
# pages outside JIS X 0208, and the wave dash that CP932 and JIS X 0208 map to
# different code points, are dropped). CR LF is used because it is the line end
# that Japanese text files of this kind carry, and every tool keeps it as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

corpus=bench/corpus
copies=10
small_bytes=$((10 * 1024 * 1024))
pages=/usr/share/man/ja
files=(sjis euc jis 10mb-sjis 10mb-euc 10mb-jis)
stamp="$corpus/.stamp"
stamp_text="manpages-ja $(dpkg-query -W -f='${Version}' manpages-ja 2>/dev/null || echo none) copies $copies small $small_bytes"

corpus_is_current() {
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_text" ] || return 1
  local name
  for name in "${files[@]}"; do
    [ -s "$corpus/corpus-$name.txt" ] || return 1
  done
}

# One copy of every page, decoded, reduced to the shared character set, as CP932 with CR LF.
make_base() {
  local base=$1
  [ -d "$pages" ] || { echo "make-corpus: $pages is missing" >&2; exit 1; }
  find "$pages" -type f -name '*.gz' -print0 | sort -z | xargs -0 zcat \
    | iconv -c -f UTF-8 -t CP932 | iconv -f CP932 -t UTF-8 \
    | iconv -c -f UTF-8 -t ISO-2022-JP | iconv -f ISO-2022-JP -t CP932 \
    | sed 's/$/\r/' > "$base"
}

repeat_file() {
  local source=$1 target=$2 i
  : > "$target"
  for ((i = 0; i < copies; i++)); do
    cat "$source" >> "$target"
  done
}

# The first bytes of a file up to and including the last complete line among them.
cut_at_line_end() {
  head -c "$small_bytes" "$1" | sed '$d' > "$2"
}

# EUC and JIS forms of an SJIS file; iconv fails loudly on anything it cannot convert.
derive_codes() {
  local prefix=$1
  iconv -f CP932 -t EUC-JP "$prefix-sjis.txt" > "$prefix-euc.txt"
  iconv -f CP932 -t ISO-2022-JP "$prefix-sjis.txt" > "$prefix-jis.txt"
}

main() {
  if corpus_is_current; then
    exit 0
  fi
  scripts/install-deps.sh bench/packages.txt
  mkdir -p "$corpus"
  rm -f "$stamp"
  echo "make-corpus: building $corpus from $pages" >&2
  local base="$corpus/base-sjis.txt"
  make_base "$base"
  repeat_file "$base" "$corpus/corpus-sjis.txt"
  cut_at_line_end "$corpus/corpus-sjis.txt" "$corpus/corpus-10mb-sjis.txt"
  rm -f "$base"
  derive_codes "$corpus/corpus"
  derive_codes "$corpus/corpus-10mb"
  echo "$stamp_text" > "$stamp"
  ls -l "$corpus"/corpus-*.txt >&2
}

main
