#!/bin/sh
# Answers nothing; its text on standard error holds an invalid byte between blanks and line breaks.
cat >/dev/null
printf ' \n bad \377 text \n\n' >&2
exit 1
