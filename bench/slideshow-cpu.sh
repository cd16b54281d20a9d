#!/usr/bin/env bash
# CPU of the whole player under a 1920 x 1080 Xvfb while it plays a song (percent of one
# core, from /proc/PID/stat), in three states:
# - playing: the normal window, no slideshow; between 3 and 13 s after the start;
# - transitions: full screen with a new 2400 x 1600 photo every second, so a transition
#   runs most of the time; between 3 and 13 s;
# - between: full screen with a new photo every 6 s; between 8.5 and 11.5 s, when the first
#   photo's transition (which starts about 6 s after the start) is over and the next has not
#   begun.
# Usage: slideshow-cpu.sh PATH_TO_ZORVAN [ROUNDS]
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS]}")
ROUNDS=${2:-2}
source "$(dirname "$0")/lib.sh"
start_bench_x 1920x1080

song=$WORK/song.wav
gst-launch-1.0 -q audiotestsrc num-buffers=3000 samplesperbuffer=441 wave=pink-noise \
    ! audio/x-raw,rate=44100,channels=2 ! wavenc ! filesink location="$song"
for colours in '#204080-#e0a040' '#802020-#40e0a0' '#206020-#a040e0'; do
    convert -size 2400x1600 gradient:"$colours" -attenuate 0.4 +noise Gaussian \
        "$WORK/photo-${colours:1:6}.jpg"
done

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
nanoseconds() { awk -v s="$1" 'BEGIN { printf "%.0f", s * 1e9 }'; }

# Prints the player's CPU percentage between FROM and TO seconds after its start.
run() { # run FULL_SCREEN SECONDS_PER_PICTURE FROM TO
    local config=$XDG_CONFIG_HOME/zorvan
    rm -rf "$config" && mkdir -p "$config"
    printf '%s\r\n' "$WORK"/photo-*.jpg '[END]' >"$config/zorvan.pic"
    printf '%s\r\n' '[DONTCHANGETHISSET]' 0 0 12 0 5 1 "$1" 12582912 -2147483634 宋体 26 0 -1 0 \
        -1200 "$2" | iconv -f UTF-8 -t GB18030 >"$config/zorvan.set"
    local start; start=$(date +%s%N)
    "$ZORVAN" "$song" >/dev/null 2>&1 &
    local pid=$!; PIDS+=("$pid")
    local first last
    sleep_until $((start + $(nanoseconds "$3"))); first=$(cpu_ticks "$pid")
    sleep_until $((start + $(nanoseconds "$4"))); last=$(cpu_ticks "$pid")
    kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
    awk -v a="$first" -v b="$last" -v hz="$ticks_per_second" -v from="$3" -v to="$4" \
        'BEGIN { printf "%.1f", (b - a) / hz / (to - from) * 100 }'
}

for round in $(seq "$ROUNDS"); do
    playing=$(run 0 1 3.0 13.0)
    transitions=$(run 1 1 3.0 13.0)
    between=$(run 1 6 8.5 11.5)
    echo "round $round: playing ${playing}%, full screen with transitions ${transitions}%, between transitions ${between}% of one core"
done
