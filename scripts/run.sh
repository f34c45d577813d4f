#!/usr/bin/env bash
# Builds the programs and starts the editor, with an optional file to open.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build > /dev/null
exec build/bin/zuvedit "$@"
