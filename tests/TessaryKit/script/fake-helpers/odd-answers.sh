#!/bin/sh
# Three lines the real engine never writes: no fields and no error; fields and an error; an error with logs.
cat >/dev/null
printf '{}\n{"fields":{"x":"1"},"error":"ignored"}\n{"error":"e","logs":["l"]}\n'
