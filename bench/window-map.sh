#!/usr/bin/env bash
# How long after its start the player's window is mapped, measured alone: the player is
# started ROUNDS times without a song under Xvfb, with no saved settings (see
# launch_and_time_map in lib.sh). Prints every round, the median and the slowest.
# Usage: window-map.sh PATH_TO_ZORVAN [ROUNDS]
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS]}")
ROUNDS=${2:-10}
source "$(dirname "$0")/lib.sh"
start_bench_x 1024x768

times=()
for round in $(seq "$ROUNDS"); do
    rm -rf "$XDG_CONFIG_HOME/zorvan"
    launch_and_time_map "$ZORVAN"
    kill -TERM "$LAUNCHED_PID"; wait "$LAUNCHED_PID" 2>/dev/null || true
    echo "round $round: window mapped after $MAPPED_MS ms"
    times+=("$MAPPED_MS")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
    printf "window mapped after %d ms (median of %d), %d ms at the slowest (target <= 50)\n",
        t[int((NR + 1) / 2)], NR, t[NR] }'
