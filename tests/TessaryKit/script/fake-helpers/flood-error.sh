#!/bin/sh
# Writes 100,000 bytes on standard error before it exits, answering nothing.
cat >/dev/null
head -c 100000 /dev/zero | tr '\000' x >&2
exit 2
