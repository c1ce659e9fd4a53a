#!/usr/bin/env bash
# Start-up: how soon the window is painted, and with 10,000 files on the command line how soon they are
# listed, from the moment Tessary is started (offscreen, a fresh home each time); and tessary-cli --version
# against /bin/true and against a program that only loads Qt Core, warm. The window's figures are medians
# of five runs, the others of twenty.
set -euo pipefail
bin=${1:?the folder of Tessary and tessary-cli}
floor_program=${2:?the program that only loads Qt Core (qt_core_floor)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/files"
(cd "$work/files" && seq 1 10000 | sed 's/^/IMG_/; s/$/.jpg/' | xargs touch)

median() { sort -n | sed -n 3p; }

# Milliseconds from the start to the first log line matching $1, for Tessary started with the rest.
until_logged() {
    local wanted=$1 start line
    shift
    rm -rf "$work/home"
    start=$(date +%s%N)
    while IFS= read -r line; do
        if [[ $line == *"$wanted"* ]]; then
            echo $((($(date +%s%N) - start) / 1000000))
            break
        fi
    done < <(HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state" \
        XDG_DATA_HOME="$work/home/data" DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=offscreen \
        QT_LOGGING_RULES="org.tessary.Tessary.Metadata=false;org.tessary.Tessary.App.info=true" \
        timeout 30 "$bin/Tessary" "$@" 2>&1)
}

shown=$(for _ in 1 2 3 4 5; do until_logged "Window shown"; done | median)
listed=$(for _ in 1 2 3 4 5; do until_logged "Added 10000 files" "$work/files"/*; done | median)
printf 'window painted after %5d ms   (goal: <= 400 ms)\n' "$shown"
printf '10,000 files listed after %5d ms   (goal: <= 1000 ms)\n' "$listed"

microseconds() { # command...: the median of twenty runs, after one to warm the cache
    "$@" >/dev/null
    for _ in $(seq 20); do
        local start=$(date +%s%N)
        "$@" >/dev/null
        echo $((($(date +%s%N) - start) / 1000))
    done | sort -n | sed -n 10p
}
cli=$(microseconds "$bin/tessary-cli" --version)
true_=$(microseconds /bin/true)
floor=$(microseconds "$floor_program")
printf 'tessary-cli --version %6d us   /bin/true %6d us   ratio %5.1fx   (goal: <= 3x)\n' "$cli" "$true_" \
    "$(echo "$cli / $true_" | bc -l)"
printf 'a bare Qt Core program %5d us   /bin/true %6d us   ratio %5.1fx   tessary-cli against it %4.2fx\n' \
    "$floor" "$true_" "$(echo "$floor / $true_" | bc -l)" "$(echo "$cli / $floor" | bc -l)"
