#!/bin/sh
# Answers one item, then hangs and ignores the polite termination signal.
cat >/dev/null
printf '{"fields":{"n":"1"}}\n'
trap "" TERM
exec sleep 1000
