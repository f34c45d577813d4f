#!/usr/bin/env bash
# Installs the Debian packages listed in the given files (default: packages.txt)
# that are not installed yet; quick when everything is there.
set -euo pipefail
here=$(dirname "$0")
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=("$here/packages.txt")
missing=()
for pkg in $(grep -hv '^#' "${lists[@]}"); do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
