# Shared steps of the whole-process benchmarks: a private home and runtime folder, and a
# private X server of the given size. Sourced after `set -euo pipefail` and the ZORVAN and
# ROUNDS lines.
# Usage: start_bench_x WIDTHxHEIGHT
WORK=$(mktemp -d)
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$WORK"' EXIT

start_bench_x() {
    mkfifo "$WORK/displayfd"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$WORK/displayfd" 2>/dev/null &
    PIDS+=($!)
    read -r -t 10 number <"$WORK/displayfd"
    export DISPLAY=:$number
}

# Sleeps until the moment NS (nanoseconds since the epoch, as `date +%s%N`).
sleep_until() { # sleep_until NS
    local left=$((($1 - $(date +%s%N)) / 1000000))
    [[ $left -gt 0 ]] && sleep "$(awk -v ms="$left" 'BEGIN { print ms / 1000 }')" || true
}

# The peak resident memory of PID so far, in MiB.
peak_mib() { awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

# Starts COMMAND in the background and waits until a window is mapped. The moment of mapping
# is read from the X server's own MapNotify event (xev on the root window), so no polling
# competes with the starting program for the CPU. Sets LAUNCHED_PID, LAUNCHED_AT (as
# `date +%s%N`) and MAPPED_MS.
launch_and_time_map() { # launch_and_time_map COMMAND...
    rm -f "$WORK/xev"
    mkfifo "$WORK/xev"
    stdbuf -oL xev -root -event substructure >"$WORK/xev" 2>/dev/null &
    local watcher=$! line
    PIDS+=("$watcher")
    exec 5<"$WORK/xev"
    sleep 0.5
    LAUNCHED_AT=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    LAUNCHED_PID=$!
    PIDS+=("$LAUNCHED_PID")
    while read -r -t 10 -u 5 line; do [[ $line == MapNotify* ]] && break; done
    MAPPED_MS=$((($(date +%s%N) - LAUNCHED_AT) / 1000000))
    exec 5<&-
    kill "$watcher" 2>/dev/null || true
}

# "TID NAME NANOSECONDS" for every thread of PID.
thread_times() {
    local task
    for task in /proc/"$1"/task/*; do
        local tid=${task##*/} name time
        name=$(tr ' ' '_' <"$task/comm" 2>/dev/null) || continue
        read -r time _ <"$task/schedstat" 2>/dev/null || continue
        echo "$tid $name $time"
    done
}

# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# Writes a 30 s pink-noise MP3 with an ID3v2 tag at PATH.
make_song_mp3() { # make_song_mp3 PATH [BUFFERS of 1024 samples, 1300 by default: 30 s]
    gst-launch-1.0 -q audiotestsrc num-buffers="${2:-1300}" samplesperbuffer=1024 wave=pink-noise \
        ! audio/x-raw,rate=44100,channels=2 ! lamemp3enc bitrate=192 ! id3v2mux \
        ! filesink location="$1"
}
