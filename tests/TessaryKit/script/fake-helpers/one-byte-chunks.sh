#!/bin/sh
# Answers two items one byte at a time, a two-byte letter split across writes.
cat >/dev/null
for line in '{"fields":{"name":"café"}}' '{"error":"no"}'; do
  { printf '%s' "$line" | fold -b -w1; echo; } | while IFS= read -r byte; do printf '%s' "$byte"; sleep 0.001; done
  printf '\n'
done
