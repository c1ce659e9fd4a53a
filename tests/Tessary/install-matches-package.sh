#!/usr/bin/env bash
# What `cmake --install` lays out under /usr is what the Debian package installs, once scripts/build-package.sh
# has built one into dist/. Without a package the test is skipped (exit 77).
#   install-matches-package.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
package="$source/dist/tessary_${version}_amd64.deb"
if [ ! -f "$package" ]; then
  echo "no $package: build one with scripts/build-package.sh"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/staging" cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/staging" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/installed"
# The package adds its documentation and lintian's overrides, and compresses the man pages.
dpkg-deb -c "$package" | grep -v '^d' | sed -E 's/^([^ ]+ +){5}\.\///' |
  grep -vE '^usr/share/(doc|lintian)/' | sed -E 's|^(usr/share/man/.*)\.gz$|\1|' | sort >"$work/packaged"
if ! diff -u "$work/packaged" "$work/installed"; then
  echo "cmake --install (+) and the package (-) differ" >&2
  exit 1
fi
echo "cmake --install and $package lay out the same $(wc -l <"$work/installed") files"
