#!/bin/sh
# Answers two items, then exits with status 1 and no text.
cat >/dev/null
printf '{"fields":{"n":"1"}}\n{"fields":{"n":"2"}}\n'
exit 1
