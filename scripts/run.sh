#!/usr/bin/env bash
# Builds the programs and starts the editor, with an optional file to open.
# Until the editor is built, converts the sample file with zuvconv and shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build > /dev/null
if [ -x build/bin/zuvedit ]; then
  exec build/bin/zuvedit "$@"
fi
build/bin/zuvconv --guess "${1:-samples/neko-sjis.txt}"
build/bin/zuvconv --to euc --newline lf "${1:-samples/neko-sjis.txt}" | iconv -f EUC-JP -t UTF-8
