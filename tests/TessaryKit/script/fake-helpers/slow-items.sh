#!/bin/sh
# Answers six items, each after half a second.
cat >/dev/null
for n in 1 2 3 4 5 6; do sleep 0.5; printf '{"fields":{"n":"%s"}}\n' "$n"; done
