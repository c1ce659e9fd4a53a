#!/bin/sh
# Answers two items, then hangs while the clock runs past every limit.
exec "$TESSARY_PACED_HELPER" 2 0 hang
