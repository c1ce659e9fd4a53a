#!/usr/bin/env bash
# tessary-cli rename against Debian's perl rename doing the same renames, in one run, at 10,000 and
# 100,000 empty files in one folder. Paths go to both on standard input, NUL-separated, from a list that
# find made before the clock starts: the figures are the renamers' own, not find's walk of the folder. A bare
# renameat2 loop doing the same renames shows the folder's own limit, which no renamer can pass. The same
# loop with a journal, each file's identity and paths synced before it moves, shows the limit of a renamer
# that can put things right after a crash; with a check of every target before the first move as well, the
# limit of one that also shows every clash before it touches a file.
set -euo pipefail
cli=${1:?the path of tessary-cli}
bare_loop=${2:?the path of bare_rename_loop}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME="$work/state"

make_files() { # folder count: the files, and the list of their paths beside the folder
    mkdir -p "$1"
    (cd "$1" && seq 1 "$2" | sed 's/^/file-/' | xargs touch)
    find "$1" -type f -print0 >"$1.list"
}

# The shell's own clock, in microseconds without its decimal point: reading it starts no program, so no
# peer's time holds the start of a clock program.
seconds() { # command...
    local start end
    start=${EPOCHREALTIME/[^0-9]/}
    "$@" >/dev/null
    end=${EPOCHREALTIME/[^0-9]/}
    echo "scale=3; ($end - $start) / 1000000" | bc
}

tessary() { "$cli" rename --regex '(?P<n>.*)-(?P<i>\d+)' --pattern '{i}_{n}' - <"$1.list"; }
perl_rename() { rename -0 's{([^/]*)-(\d+)$}{$2_$1}' <"$1.list"; }
bare_renames() { "$bare_loop" <"$1.list"; }
journaled_renames() { "$bare_loop" "$work/journal" <"$1.list"; }
checked_renames() { "$bare_loop" --checked "$work/checked-journal" <"$1.list"; }

# The median of a few rounds: one run of a hundred thousand renames swings by a tenth with the disk's
# own work, and the host's load drifts from round to round. Each round makes its files anew and takes the
# peers in another order, one right after the other, so the median of each round's own ratio shows what
# the drift leaves of the difference.
rounds=${TESSARY_BENCH_ROUNDS:-5}
counts=${TESSARY_BENCH_COUNTS:-10000 100000} # one size alone, with more rounds, settles its figures faster
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
# The median over rounds of one peer's time over another's: two lists of times, one per round.
paired_ratio() {
    # shellcheck disable=SC2086,SC2046 # each list is the rounds' times, split on purpose
    median $(paste -d' ' <(printf '%s\n' $1) <(printf '%s\n' $2) | awk '{ printf "%.4f\n", $1 / $2 }')
}

declare -A ours
peers=(t p b j c)
for count in $counts; do
    declare -A times=([t]="" [p]="" [b]="" [j]="" [c]="")
    for round in $(seq "$rounds"); do
        for peer in "${peers[@]}"; do
            rm -rf "${work:?}/$peer$count"
            make_files "$work/$peer$count" "$count"
        done
        rm -f "$work/journal" "$work/checked-journal"
        for turn in "${!peers[@]}"; do
            peer=${peers[$(( (turn + round) % ${#peers[@]} ))]}
            case $peer in
            t) times[t]+=" $(seconds tessary "$work/t$count")" ;;
            p) times[p]+=" $(seconds perl_rename "$work/p$count")" ;;
            b) times[b]+=" $(seconds bare_renames "$work/b$count")" ;;
            j) times[j]+=" $(seconds journaled_renames "$work/j$count")" ;;
            c) times[c]+=" $(seconds checked_renames "$work/c$count")" ;;
            esac
        done
        for other in p b j c; do
            [ "$(ls "$work/t$count" | head -1)" = "$(ls "$work/$other$count" | head -1)" ] || { echo "different results"; exit 1; }
        done
    done
    # shellcheck disable=SC2086 # each list is the round's times, split on purpose
    ours[$count]=$(median ${times[t]})
    # shellcheck disable=SC2086
    theirs=$(median ${times[p]})
    # shellcheck disable=SC2086
    floor=$(median ${times[b]})
    # shellcheck disable=SC2086
    journaled=$(median ${times[j]})
    # shellcheck disable=SC2086
    checked=$(median ${times[c]})
    printf '%6d files   tessary-cli %6.3f s (%6.0f files/s)   perl rename %6.3f s   ratio %5.2fx   (goals: <= 1.0x, > 50,000 files/s; medians of %d rounds)\n' \
        "$count" "${ours[$count]}" "$(echo "$count / ${ours[$count]}" | bc)" "$theirs" "$(echo "${ours[$count]} / $theirs" | bc -l)" "$rounds"
    printf '               bare renameat2 loop %6.3f s (%6.0f files/s)   tessary-cli against it %5.2fx, perl rename %5.2fx\n' \
        "$floor" "$(echo "$count / $floor" | bc)" "$(echo "${ours[$count]} / $floor" | bc -l)" "$(echo "$theirs / $floor" | bc -l)"
    printf '               bare loop with a journal %6.3f s (%6.0f files/s)   tessary-cli against it %5.2fx\n' \
        "$journaled" "$(echo "$count / $journaled" | bc)" "$(echo "${ours[$count]} / $journaled" | bc -l)"
    printf '               bare loop with a journal and its targets checked first %6.3f s (%6.0f files/s)   tessary-cli against it %5.2fx\n' \
        "$checked" "$(echo "$count / $checked" | bc)" "$(echo "${ours[$count]} / $checked" | bc -l)"
    printf '               every round: tessary-cli%s   perl rename%s   bare loop%s   with a journal%s   checked too%s\n' \
        "${times[t]}" "${times[p]}" "${times[b]}" "${times[j]}" "${times[c]}"
    printf '               median of per-round ratios: tessary-cli over perl rename %5.2fx\n' \
        "$(paired_ratio "${times[t]}" "${times[p]}")"
done
[ -z "${ours[10000]:-}" ] || [ -z "${ours[100000]:-}" ] ||
    printf 'growth from 10,000 to 100,000 files: %5.2fx   (goal: <= 12x)\n' "$(echo "${ours[100000]} / ${ours[10000]}" | bc -l)"
