#!/usr/bin/env bash
# Starts the real Tessary under Xvfb and waits for its main window.
#   smoke-test.sh PROGRAM                 the program as built
#   smoke-test.sh --installed BUILD_DIR   installs BUILD_DIR into a temporary prefix and starts it from there;
#                                         its tessary-cli must find the script helper and the
#                                         reader modules there too
set -euo pipefail

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The desktop's ways in: the D-Bus service starts the installed program, Dolphin's service menu is
# executable, and the per-user file-manager files are there to copy.
check_integration() {
  local prefix=$1 share=$1/share
  grep -qx "Exec=$prefix/bin/Tessary" "$share/dbus-1/services/org.tessary.Tessary.service" ||
    { echo "the D-Bus service does not start $prefix/bin/Tessary" >&2; return 1; }
  local menu=$share/kio/servicemenus/org.tessary.Tessary.servicemenu.desktop
  [ -x "$menu" ] && grep -q '^Exec=Tessary %F$' "$menu" ||
    { echo "Dolphin's service menu is missing, not executable or runs something else" >&2; return 1; }
  local script="$share/tessary/integration/Rename with Tessary"
  [ -x "$script" ] && sh -n "$script" || { echo "the Nautilus script is missing or broken" >&2; return 1; }
  python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' \
    "$share/tessary/integration/thunar-uca.xml" || { echo "the Thunar action does not parse" >&2; return 1; }
  for page in Tessary tessary-cli; do
    [ -f "$share/man/man1/$page.1" ] || { echo "no man page for $page" >&2; return 1; }
  done
  [ -f "$share/zsh/vendor-completions/_tessary-cli" ] && [ -f "$share/fish/vendor_completions.d/tessary-cli.fish" ] ||
    { echo "the zsh or fish completion is missing" >&2; return 1; }
}

if [ "$1" = "--installed" ]; then
  cmake --install "$2" --prefix "$work/prefix" >/dev/null
  program="$work/prefix/bin/Tessary"
  check_integration "$work/prefix"
  cp "$(dirname "$0")/../TessaryKit/metadata/fixtures/photo.jpg" "$work/a.jpg"
  planned=$(env -u TESSARY_READER_MODULES "$work/prefix/bin/tessary-cli" plan \
    --script 'fields.n = "ok"' --pattern '{n}-{image.width}' "$work/a.jpg" 2>&1)
  if ! grep -q 'ok-[0-9]\+\.jpg' <<<"$planned"; then
    echo "the installed tessary-cli did not run the script or read the image: $planned" >&2
    exit 1
  fi
else
  program=$1
fi

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
# A loaded machine can take seconds to start it: wait up to 30 s, and never go on without a display.
for _ in $(seq 1 300); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
display=":$(cat "$work/display")"

export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
QT_QPA_PLATFORM=xcb DISPLAY=$display "$program" >"$work/log" 2>&1 &
app=$!
for _ in $(seq 1 150); do
  if xwininfo -display "$display" -root -tree 2>/dev/null | grep -q '"Tessary"'; then
    echo "found the window \"Tessary\""
    exit 0
  fi
  if ! kill -0 "$app" 2>/dev/null; then
    echo "Tessary exited:" >&2
    cat "$work/log" >&2
    exit 1
  fi
  sleep 0.2
done
echo "no window \"Tessary\" appeared" >&2
cat "$work/log" >&2
exit 1
