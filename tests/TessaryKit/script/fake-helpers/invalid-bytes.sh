#!/bin/sh
# Invalid UTF-8 in line 1, a NUL byte after line 2, a good line 3.
cat >/dev/null
printf '{"fields":{"a":"\377"}}\n{"fields":{"a":"x"}}\000\n{"error":"fine"}\n'
