#!/bin/sh
# Exits without reading its input.
exit 3
