#!/usr/bin/env bash
# How long after its start the player's window is mapped, measured alone: the player is
# started ROUNDS times without a song under Xvfb, with no saved settings, and the moment of
# mapping is read from the X server's own MapNotify event (xev on the root window), so that
# no polling competes with the starting player. Prints every round, the median and the
# slowest.
# Usage: window-map.sh PATH_TO_ZORVAN [ROUNDS]
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS]}")
ROUNDS=${2:-10}
source "$(dirname "$0")/lib.sh"
start_bench_x 1024x768

times=()
for round in $(seq "$ROUNDS"); do
    rm -rf "$XDG_CONFIG_HOME/zorvan"
    rm -f "$WORK/xev"; mkfifo "$WORK/xev"
    stdbuf -oL xev -root -event substructure >"$WORK/xev" 2>/dev/null &
    watcher=$!
    exec 5<"$WORK/xev"
    sleep 0.5
    start=$(date +%s%N)
    "$ZORVAN" >/dev/null 2>&1 &
    pid=$!
    while read -r -t 10 -u 5 line; do [[ $line == MapNotify* ]] && break; done
    mapped=$((($(date +%s%N) - start) / 1000000))
    exec 5<&-
    kill "$watcher" 2>/dev/null || true
    kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
    echo "round $round: window mapped after $mapped ms"
    times+=("$mapped")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
    printf "window mapped after %d ms (median of %d), %d ms at the slowest (target <= 50)\n",
        t[int((NR + 1) / 2)], NR, t[NR] }'
