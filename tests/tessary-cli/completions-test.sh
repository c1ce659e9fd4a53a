#!/usr/bin/env bash
# The shell completions offer every subcommand and option that `tessary-cli --help` names.
#   completions-test.sh TESSARY_CLI BASH_COMPLETION ZSH_COMPLETION FISH_COMPLETION
# bash and fish are asked as a user's Tab would ask them; zsh, which completes only in an interactive
# shell, is parsed and read for every name.
set -euo pipefail
cli=$1 bash_file=$2 zsh_file=$3 fish_file=$4
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

help=$("$cli" --help)
commands=$(sed -n 's/^  tessary-cli \([a-z]*\).*/\1/p' <<<"$help" | sort -u)
options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
rename_options=$(grep -vxE -- '--(forward|help|version)' <<<"$options")
[ -n "$commands" ] && [ -n "$rename_options" ] || { echo "could not read the help" >&2; exit 1; }

# What bash's Tab offers for the words typed so far, the last one being completed.
bash_offers() {
  bash -c 'source "$0"; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tessary_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    "$bash_file" tessary-cli "$@"
}
fish_offers() {
  fish -c "source $fish_file; complete -C '$1'" | cut -f1
}
expect() { # what, offered, wanted...
  local what=$1 offered=$2
  shift 2
  for wanted in "$@"; do
    grep -qxF -- "$wanted" <<<"$offered" || fail "$what: $wanted not offered"
  done
}

expect "bash, first word" "$(bash_offers '')" $commands --help --version
expect "bash, plan options" "$(bash_offers plan --)" $rename_options
expect "fish, first word" "$(fish_offers 'tessary-cli ')" $commands
expect "fish, first word's options" "$(fish_offers 'tessary-cli --')" --help --version
for command in plan rename; do
  expect "fish, $command options" "$(fish_offers "tessary-cli $command --")" $rename_options
done
for command in history undo redo; do
  expect "fish, $command options" "$(fish_offers "tessary-cli $command --")" --json
done
expect "fish, recover options" "$(fish_offers 'tessary-cli recover --')" --forward

# The IDs of the history, from a rename in a state folder of the test's own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME="$work/state" PATH="$(dirname "$cli"):$PATH"
touch "$work/a.txt"
"$cli" rename --pattern b "$work/a.txt" >/dev/null
id=$("$cli" history | awk '/^[0-9a-f]+  /{print $1; exit}')
[ -n "$id" ] || fail "no rename in the history"
expect "bash, undo's IDs" "$(bash_offers undo '')" "$id"
expect "fish, undo's IDs" "$(fish_offers 'tessary-cli undo ')" "$id"

zsh -n "$zsh_file" || fail "zsh: the completion does not parse"
for name in $commands $options; do
  grep -qF -- "$name" "$zsh_file" || fail "zsh: $name is missing"
done

[ "$failed" -eq 0 ] && echo "bash, zsh and fish offer every subcommand and option"
exit "$failed"
