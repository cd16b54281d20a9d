#!/usr/bin/env bash
# The desktop lyric window's cost: the player's CPU under Xvfb while it plays a 30 s MP3 whose
# lyrics bring a new line every 2 s (so the karaoke fill moves all the time), with the window
# shown and with it hidden, between 5 and 25 s after the start (percent of one core, the sum
# over the process's threads from /proc/PID/task/TID/schedstat). Rounds alternate which of
# the two runs first; the summary gives the medians and their ratio against the target.
#
# Usage: desklyrics-cpu.sh PATH_TO_ZORVAN [ROUNDS]
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS]}")
ROUNDS=${2:-3}
source "$(dirname "$0")/lib.sh"
start_bench_x 1024x768

song=$WORK/song.mp3
make_song_mp3 "$song"
for second in $(seq 0 2 30); do
    printf '[00:%02d.00]第%d句歌词慢慢地唱出来\r\n' "$second" "$second"
done | iconv -f UTF-8 -t GB18030 >"$WORK/song.lrc"

process_ns() { thread_times "$1" | awk '{ total += $3 } END { printf "%.0f", total }'; }

# The player's CPU percentage with the desktop lyric window shown (-1) or hidden (0).
player_round() { # player_round SHOWN
    rm -rf "$XDG_CONFIG_HOME/zorvan"
    mkdir -p "$XDG_CONFIG_HOME/zorvan"
    printf '[ZORVANDESKTOPLYRICS]\r\nshown=%s\r\n' "$1" >"$XDG_CONFIG_HOME/zorvan/zorvan.dsk"
    launch_and_time_map "$ZORVAN" "$song"
    local pid=$LAUNCHED_PID first last
    sleep_until $((LAUNCHED_AT + 5000000000))
    first=$(process_ns "$pid")
    sleep_until $((LAUNCHED_AT + 25000000000))
    last=$(process_ns "$pid")
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v a="$first" -v b="$last" 'BEGIN { printf "%.2f", (b - a) / 20e9 * 100 }'
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
: >"$WORK/rounds"
for round in $(seq "$ROUNDS"); do
    if ((round % 2)); then
        shown=$(player_round -1)
        hidden=$(player_round 0)
    else
        hidden=$(player_round 0)
        shown=$(player_round -1)
    fi
    ratio=$(awk -v s="$shown" -v h="$hidden" 'BEGIN { printf "%.2f", (h > 0 ? s / h : 0) }')
    echo "round $round: shown ${shown}%, hidden ${hidden}%, ratio ${ratio}"
    echo "$shown $hidden $ratio" >>"$WORK/rounds"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
shown=$(cut -d' ' -f1 "$WORK/rounds" | median)
hidden=$(cut -d' ' -f2 "$WORK/rounds" | median)
ratio=$(cut -d' ' -f3 "$WORK/rounds" | median)
echo "median of $ROUNDS rounds: desktop lyrics shown ${shown}% / hidden ${hidden}% of one core;" \
    "ratio ${ratio} (target <= 1.5)"
