#!/usr/bin/env bash
# Whole-process figures of the real player under Xvfb, beside bare GStreamer playback of the
# same file: the steady CPU of each between 5 and 25 s of a 60 s MP3 (in percent of one core),
# their ratio, the player's peak memory, and how long after its start the player's window is
# mapped. Rounds alternate which of the two runs first, to even out the machine; the summary
# gives the median of the rounds.
#
# Both play through playbin's default output, autoaudiosink, so they use the same sink
# (the one autoaudiosink picks is printed). CPU time is the sum over the process's threads of
# the time they ran (/proc/PID/task/TID/schedstat, in nanoseconds), which unlike the
# clock-tick counts of /proc/PID/stat does not miss the short bursts of a playing process.
# The busiest threads of each round are listed, for finding where the time goes.
#
# Usage: player-cpu.sh PATH_TO_ZORVAN [ROUNDS]
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS]}")
ROUNDS=${2:-5}
source "$(dirname "$0")/lib.sh"
start_bench_x 1024x768

song=$WORK/song.mp3
make_song_mp3 "$song" 2600 # 60 s
sink=$(gst-launch-1.0 -v audiotestsrc num-buffers=1 ! autoaudiosink 2>&1 \
    | grep -o 'GstAutoAudioSink:[^/]*/Gst[A-Za-z]*Sink:[^.]*' | head -1 || true)
echo "output: ${sink:-autoaudiosink (its choice not seen)}"

# Prints the CPU percentage of PID between 5 and 25 s after START_NS, then its three busiest
# threads with their share in percent of one core.
steady_cpu() { # steady_cpu PID START_NS
    local pid=$1 start=$2
    sleep_until $((start + 5000000000))
    thread_times "$pid" >"$WORK/first"
    sleep_until $((start + 25000000000))
    thread_times "$pid" >"$WORK/last"
    awk 'NR == FNR { before[$1] = $3; next }
         { used = $3 - before[$1]; total += used; byName[$2] += used }
         END {
             printf "%.2f", total / 20e9 * 100
             n = 0
             for (name in byName) names[++n] = name
             for (i = 1; i <= n; ++i)
                 for (j = i + 1; j <= n; ++j)
                     if (byName[names[j]] > byName[names[i]]) {
                         t = names[i]; names[i] = names[j]; names[j] = t
                     }
             printf " ["
             for (i = 1; i <= n && i <= 3; ++i)
                 printf "%s%s %.2f", (i > 1 ? ", " : ""), names[i], byName[names[i]] / 20e9 * 100
             printf "]"
         }' "$WORK/first" "$WORK/last"
}

player_round() {
    rm -rf "$XDG_CONFIG_HOME/zorvan"
    launch_and_time_map "$ZORVAN" "$song"
    local pid=$LAUNCHED_PID cpu peak
    cpu=$(steady_cpu "$pid" "$LAUNCHED_AT")
    peak=$(peak_mib "$pid")
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$peak $MAPPED_MS $cpu"
}

bare_round() {
    local start
    start=$(date +%s%N)
    gst-launch-1.0 -q playbin uri="file://$song" >/dev/null 2>&1 &
    local pid=$!
    PIDS+=("$pid")
    local cpu peak
    cpu=$(steady_cpu "$pid" "$start")
    peak=$(peak_mib "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$peak $cpu"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
: >"$WORK/rounds"
for round in $(seq "$ROUNDS"); do
    if ((round % 2)); then
        read -r peak mapped cpu threads < <(player_round)
        read -r bare_peak bare bare_threads < <(bare_round)
    else
        read -r bare_peak bare bare_threads < <(bare_round)
        read -r peak mapped cpu threads < <(player_round)
    fi
    ratio=$(awk -v p="$cpu" -v b="$bare" 'BEGIN { printf "%.2f", (b > 0 ? p / b : 0) }')
    echo "round $round: player ${cpu}% ${threads}, ${peak} MiB peak, window mapped after" \
        "${mapped} ms; bare playbin ${bare}% ${bare_threads}, ${bare_peak} MiB peak;" \
        "ratio ${ratio}"
    echo "$cpu $bare $ratio $peak $mapped" >>"$WORK/rounds"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
player=$(cut -d' ' -f1 "$WORK/rounds" | median)
bare=$(cut -d' ' -f2 "$WORK/rounds" | median)
ratio=$(cut -d' ' -f3 "$WORK/rounds" | median)
peak=$(cut -d' ' -f4 "$WORK/rounds" | median)
peak_max=$(cut -d' ' -f4 "$WORK/rounds" | sort -g | tail -1)
mapped_max=$(cut -d' ' -f5 "$WORK/rounds" | sort -g | tail -1)
echo "median of $ROUNDS rounds: player ${player}% / bare playbin ${bare}% of one core;" \
    "ratio ${ratio} (target <= 0.9)"
echo "peak memory ${peak} MiB median, ${peak_max} MiB highest (target <= 60);" \
    "window mapped within ${mapped_max} ms (target <= 80)"
