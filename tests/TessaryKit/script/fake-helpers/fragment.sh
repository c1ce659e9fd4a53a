#!/bin/sh
# Answers one item, then ends on a fragment without a line feed.
cat >/dev/null
printf '{"fields":{"n":"1"}}\n{"fields":{"n":"2"}}'
