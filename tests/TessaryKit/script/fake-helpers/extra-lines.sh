#!/bin/sh
# Writes five lines whatever the number of items.
cat >/dev/null
printf '{"fields":{"n":"1"}}\n{"fields":{"n":"2"}}\n{"fields":{"n":"3"}}\n{"fields":{"n":"4"}}\n{"fields":{"n":"5"}}\n'
