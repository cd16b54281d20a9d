#!/usr/bin/env bash
# Whole-process figures of the real player under Xvfb, beside bare GStreamer playback of
# the same file: the steady CPU of each between 5 and 25 s of a 30 s MP3 (in percent of
# one core, from /proc/PID/stat), their ratio, the player's peak memory, and how long
# after its start the player's window is mapped. Runs alternate to even out the machine.
# Usage: player-cpu.sh PATH_TO_ZORVAN [ROUNDS]
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS]}")
ROUNDS=${2:-2}
WORK=$(mktemp -d)
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$WORK"' EXIT

mkfifo "$WORK/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/displayfd" 2>/dev/null &
PIDS+=($!)
read -r -t 10 number <"$WORK/displayfd"
export DISPLAY=:$number

song=$WORK/song.mp3
gst-launch-1.0 -q audiotestsrc num-buffers=1300 samplesperbuffer=1024 wave=pink-noise \
    ! audio/x-raw,rate=44100,channels=2 ! lamemp3enc bitrate=192 ! id3v2mux \
    ! filesink location="$song"

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Prints the CPU percentage of PID between 5 and 25 s after START_NS.
steady_cpu() { # steady_cpu PID START_NS
    local pid=$1 start=$2 first last
    sleep_until $((start + 5000000000)); first=$(cpu_ticks "$pid")
    sleep_until $((start + 25000000000)); last=$(cpu_ticks "$pid")
    awk -v a="$first" -v b="$last" -v hz="$ticks_per_second" \
        'BEGIN { printf "%.2f", (b - a) / hz / 20 * 100 }'
}
sleep_until() { local left=$(( ($1 - $(date +%s%N)) / 1000000 ));
    [[ $left -gt 0 ]] && sleep "$(awk -v ms="$left" 'BEGIN { print ms / 1000 }')" || true; }

# The moment of mapping is read from the X server's own MapNotify event (xev on the root
# window), so no polling competes with the starting player for the CPU.
player_round() {
    rm -rf "$XDG_CONFIG_HOME/zorvan"
    rm -f "$WORK/xev"; mkfifo "$WORK/xev"
    stdbuf -oL xev -root -event substructure >"$WORK/xev" 2>/dev/null &
    local watcher=$!; PIDS+=("$watcher")
    exec 5<"$WORK/xev"
    sleep 0.5
    local start; start=$(date +%s%N)
    "$ZORVAN" "$song" >/dev/null 2>&1 &
    local pid=$!; PIDS+=("$pid")
    local line
    while read -r -t 10 -u 5 line; do [[ $line == MapNotify* ]] && break; done
    local mapped=$(( ($(date +%s%N) - start) / 1000000 ))
    exec 5<&-
    kill "$watcher" 2>/dev/null || true
    local cpu; cpu=$(steady_cpu "$pid" "$start")
    local peak; peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")
    kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
    echo "$cpu $peak $mapped"
}

bare_round() {
    local start; start=$(date +%s%N)
    gst-launch-1.0 -q playbin uri="file://$song" audio-sink="fakesink sync=true" \
        >/dev/null 2>&1 &
    local pid=$!; PIDS+=("$pid")
    local cpu; cpu=$(steady_cpu "$pid" "$start")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "$cpu"
}

player_total=0 bare_total=0 peak_max=0 mapped_max=0
for round in $(seq "$ROUNDS"); do
    read -r cpu peak mapped < <(player_round)
    bare=$(bare_round)
    echo "round $round: player ${cpu}% cpu, ${peak} MiB peak, window mapped after ${mapped} ms; bare playbin ${bare}% cpu"
    player_total=$(awk -v a="$player_total" -v b="$cpu" 'BEGIN { print a + b }')
    bare_total=$(awk -v a="$bare_total" -v b="$bare" 'BEGIN { print a + b }')
    peak_max=$(awk -v a="$peak_max" -v b="$peak" 'BEGIN { print (b > a ? b : a) }')
    mapped_max=$(( mapped > mapped_max ? mapped : mapped_max ))
done
awk -v p="$player_total" -v b="$bare_total" -v n="$ROUNDS" -v m="$peak_max" -v w="$mapped_max" 'BEGIN {
    printf "player %.2f%% / bare playbin %.2f%% of one core = ratio %.2f (target <= 1.0)\n", p / n, b / n, (b > 0 ? p / b : 0)
    printf "peak memory %.1f MiB (target <= 90), window mapped within %d ms (target <= 80)\n", m, w }'
