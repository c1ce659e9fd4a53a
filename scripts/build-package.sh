#!/usr/bin/env bash
# Builds tessary_<version>_amd64.deb from a clean clone of this repository, offline, and runs lintian on
# it. The package and lintian's report end up in dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh
tools=(dpkg-dev debhelper fakeroot lintian)
missing=()
for tool in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$tool" 2>/dev/null | grep -q 'install ok installed' || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q . "$work/tessary"
(cd "$work/tessary" && dpkg-buildpackage -us -uc -b)
mkdir -p dist
cp "$work"/tessary_*.deb "$work"/tessary_*.buildinfo "$work"/tessary_*.changes dist/
deb=$(ls dist/tessary_*_amd64.deb | tail -n 1)
echo "Built $deb"
lintian --info --display-info "$deb" | tee dist/lintian.txt
! grep -qE '^(E|W): ' dist/lintian.txt
