#!/usr/bin/env bash
# The one list of Debian packages Tessary needs to build, run, test and benchmark.
# Installs only what is missing, so a second run costs a few dpkg queries.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git
  # Qt 6: Core, Concurrent, Gui, Widgets, Sql, DBus, Network, Test; SQLite driver; Linguist; platform plugins
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-qpa-plugins libgl-dev
  # Qt's own texts (file dialogs, standard buttons, key names) in the user's language
  qt6-translations-l10n
  # script engine and its system-call fence, regular expressions, Unicode
  libjavascriptcoregtk-4.1-dev libseccomp-dev libpcre2-dev libicu-dev
  # metadata readers
  libexiv2-dev libheif-dev libtag1-dev libavformat-dev libavcodec-dev libavutil-dev libpoppler-cpp-dev libpoppler-dev libzip-dev libgsf-1-dev
  # running the window headless and taking screenshots
  xvfb xauth x11-utils imagemagick fonts-dejavu-core
  # a private session bus for the tests that talk to the desktop, and a client that activates Tessary on it
  dbus-daemon libglib2.0-bin
  # the validators of the desktop entry and the AppStream metadata
  desktop-file-utils appstream
  # the shells whose completions the tests ask
  zsh fish
  # benchmark peers
  libimage-exiftool-perl ffmpeg rename bc
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
