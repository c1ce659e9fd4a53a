#!/bin/sh
# Answers one item, then hangs while the clock runs past every limit.
exec "$TESSARY_PACED_HELPER" 1 0 hang
