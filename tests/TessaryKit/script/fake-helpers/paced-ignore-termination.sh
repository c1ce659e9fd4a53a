#!/bin/sh
# Answers one item, then hangs, ignoring the polite termination signal, while the clock runs past every limit.
exec "$TESSARY_PACED_HELPER" 1 0 hang-ignoring-term
