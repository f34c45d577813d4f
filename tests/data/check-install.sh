#!/usr/bin/env bash
# Checks the desktop integration: the desktop entry validates, the man page renders without
# a warning and documents zuvconv's options, and `cmake --install` puts every file in place.
# Usage: check-install.sh CMAKE SOURCE_DIR BUILD_DIR [PROGRAM...]   (PROGRAMs: the ones built)
set -uo pipefail
cmake=$1 src=$2 build=$3
shift 3
programs=("$@")
data=$src/data
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Prints "WIDTH HEIGHT BIT_DEPTH COLOUR_TYPE" from a PNG's IHDR chunk.
png_header() {
  local b
  read -ra b < <(od -An -v -tu1 -j16 -N10 "$1")
  [ ${#b[@]} -eq 10 ] || return 1
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))" \
    "$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))" "${b[8]}" "${b[9]}"
}

check_desktop_entry() {
  local file=$data/zuvedit.desktop out line
  out=$(desktop-file-validate "$file" 2>&1) || fail "desktop-file-validate rejects $file"
  [ -z "$out" ] || fail "desktop-file-validate reports: $out"
  for line in 'Type=Application' 'Name=ZuvEdit' 'Name[ja]=Z.U.V.Editorちゃん' \
    'GenericName[ja]=テキストエディタ' 'Exec=zuvedit %f' 'Icon=zuvedit' 'Terminal=false' \
    'MimeType=text/plain;' 'Categories=Utility;TextEditor;' 'StartupWMClass=zuvedit'; do
    grep -qxF -- "$line" "$file" || fail "zuvedit.desktop lacks the line '$line'"
  done
}

check_man_page() {
  local page=$data/zuvconv.1 out
  out=$(groff -man -Tutf8 -ww -z "$page" 2>&1) || fail "groff fails on $page"
  [ -z "$out" ] || fail "groff warns on $page: $out"
}

# The options a text names, one a line: the long ones and -o.
options_in() {
  grep -oE -- '--[a-z]+|\B-o\b' <<<"$1" | sort -u
}

# The man page and `zuvconv --help` must name the same options.
check_man_page_options() {
  local help man
  help=$("$build/bin/zuvconv" --help) || fail "zuvconv --help exits with status $?"
  man=$(groff -man -Tutf8 -P-c -P-b -P-u "$data/zuvconv.1" 2>/dev/null)
  diff <(options_in "$help") <(options_in "$man") >&2 ||
    fail "options of zuvconv --help (<) and of zuvconv.1 (>) differ"
}

check_about_picture() {
  local header
  header=$(png_header "$data/icons/zuvedit-about.png") || fail "zuvedit-about.png is no PNG"
  # 64 x 56, a palette (colour type 3) of at most 4 bits: no more than 16 colours.
  case $header in
    "64 56 "[124]" 3") ;;
    *) fail "zuvedit-about.png is '$header', not a 64 x 56 picture of 16 colours" ;;
  esac
  for file in $(sed -n 's:.*<file[^>]*>\(.*\)</file>.*:\1:p' "$data/zuvedit.qrc"); do
    [ -f "$data/$file" ] || fail "zuvedit.qrc lists the missing file $file"
  done
}

# Every :/zuvedit/ picture the editor's code loads must be a name zuvedit.qrc gives.
check_resource_names() {
  local names used
  names=$(sed -n -e 's:.*<file alias="\([^"]*\)">.*:\1:p' -e 's:.*<file>\(.*\)</file>.*:\1:p' \
    "$data/zuvedit.qrc")
  for used in $(grep -rhoE '":/zuvedit/[^"]+"' "$src/app" "$src/ui" | tr -d '"' | sort -u); do
    grep -qxF -- "${used#:/zuvedit/}" <<<"$names" || fail "$used is not in zuvedit.qrc"
  done
}

check_installed() {
  local prefix=$1 program size header icon
  "$cmake" --install "$build" --prefix "$prefix" >/dev/null || {
    fail "cmake --install fails"
    return
  }
  for program in "${programs[@]}"; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
  done
  cmp -s "$data/zuvedit.desktop" "$prefix/share/applications/zuvedit.desktop" ||
    fail "share/applications/zuvedit.desktop is missing or differs"
  cmp -s "$data/zuvconv.1" "$prefix/share/man/man1/zuvconv.1" ||
    fail "share/man/man1/zuvconv.1 is missing or differs"
  icon=$(sed -n 's/^Icon=//p' "$data/zuvedit.desktop")
  for size in 16 32 48 64 128 256; do
    header=$(png_header "$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png")
    [ "${header% * *}" = "$size $size" ] ||
      fail "hicolor/${size}x${size}/apps/$icon.png is missing or not $size x $size ('$header')"
  done
  cmp -s "$data/icons/zuvedit.svg" "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ||
    fail "hicolor/scalable/apps/$icon.svg is missing or differs"
}

check_desktop_entry
check_man_page
case " ${programs[*]} " in *" zuvconv "*) check_man_page_options ;; esac
check_about_picture
check_resource_names
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
check_installed "$prefix"

[ "$failures" -eq 0 ] || {
  echo "$failures check(s) failed" >&2
  exit 1
}
echo "desktop integration: all checks passed"
