#!/bin/sh
# Answers two items, then ends with a text and a line break on standard error.
cat >/dev/null
printf '{"fields":{"n":"1"}}\n{"fields":{"n":"2"}}\n'
printf 'engine broke\n' >&2
exit 1
