#!/usr/bin/env bash
# D-Bus activation as a desktop does it for an entry with DBusActivatable=true: on a private session bus
# that knows Tessary only from its service file, an Open call starts Tessary and its files reach the list.
#   dbus-activation-test.sh TESSARY SERVICE_FILE_TEMPLATE
set -euo pipefail
program=$1 template=$2
work=$(mktemp -d)
cleanup() {
  [ -s "$work/pid" ] && kill "$(cat "$work/pid")" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/services" "$work/home"
touch "$work/photo.jpg"
# The service file as installed, with Exec pointing at a wrapper that starts the built program headless.
cat >"$work/run-tessary" <<WRAPPER
#!/bin/sh
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state"
export XDG_DATA_HOME="$work/home/data" QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="org.tessary.Tessary.App.info=true"
echo \$\$ >"$work/pid" # the bus starts it in the background; the test stops it
exec "$program" >"$work/log" 2>&1
WRAPPER
chmod +x "$work/run-tessary"
sed "s|^Exec=.*|Exec=$work/run-tessary|" "$template" >"$work/services/org.tessary.Tessary.service"
grep -q '^Name=org.tessary.Tessary$' "$work/services/org.tessary.Tessary.service"
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$work</listen>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF

dbus-run-session --config-file="$work/bus.conf" -- sh -c "
  gdbus call --session --timeout 60 --dest org.tessary.Tessary --object-path /org/tessary/Tessary \
    --method org.freedesktop.Application.Open \"['file://$work/photo.jpg']\" '{}' >/dev/null &&
  for i in \$(seq 1 100); do grep -q 'Added 1 files' '$work/log' && exit 0; sleep 0.1; done; exit 1
" || {
  echo "the activated Tessary did not list the file:" >&2
  cat "$work/log" >&2 2>/dev/null || true
  exit 1
}
echo "an Open call started Tessary and listed the file"
