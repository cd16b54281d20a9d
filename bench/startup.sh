#!/usr/bin/env bash
# Start-up of the player beside Qmmp's (skinned interface) on the same Xvfb: how long after
# its start each one's first window is mapped (see launch_and_time_map in lib.sh), started
# without a song in a home folder of its own that no earlier start has touched. Rounds
# alternate which of the two starts first, to even out a loaded machine; the summary gives
# the median of the rounds and the ratio player / Qmmp against its target.
#
# Both talk to one private session bus, as on a desktop (without one, each start would
# launch a bus of its own first).
#
# Then the peak memory (VmHWM) of the player while it plays a song, in the first start in a
# fresh home folder and in a later start in the same folder, as medians of the rounds. Beside
# it, the peak of the player and every process it waited for: on a first start that is
# GStreamer's plugin scanner, a child process that builds the home folder's plugin registry
# (~/.cache/gstreamer-1.0) once, whatever program first plays there.
#
# Qmmp is installed from Debian's packages when it is missing (as root, or through sudo).
# Usage: startup.sh PATH_TO_ZORVAN [ROUNDS]
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS]}")
ROUNDS=${2:-5}
"$(dirname "$0")/../scripts/install-deps.sh" bench
source "$(dirname "$0")/lib.sh"
start_bench_x 1024x768
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r bus_pid; } \
    < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS
PIDS+=("$bus_pid")

# Points HOME and the XDG folders at a new, empty home folder.
fresh_home() {
    local home
    home=$(mktemp -d "$WORK/home.XXXX")
    export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache
    export XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# Prints the milliseconds from start to first mapped window of COMMAND in a fresh home.
mapped_ms() { # mapped_ms COMMAND...
    fresh_home
    launch_and_time_map "$@"
    kill -TERM "$LAUNCHED_PID" 2>/dev/null || true
    wait "$LAUNCHED_PID" 2>/dev/null || true
    echo "$MAPPED_MS"
}

# Prints the player's peak memory in MiB after it has played SONG for a few seconds in the
# current home folder, then the peak with the processes it waited for.
playing_peak() { # playing_peak SONG
    /usr/bin/time -f %M -o "$WORK/with-children" "$ZORVAN" "$1" >/dev/null 2>&1 &
    local timer=$! pid own
    PIDS+=("$timer")
    sleep 6
    pid=$(pgrep -P "$timer")
    own=$(peak_mib "$pid")
    kill -TERM "$pid"
    wait "$timer" 2>/dev/null || true
    # GNU time's last line is the peak in KiB.
    echo "$own $(awk 'END { printf "%.1f", $1 / 1024 }' "$WORK/with-children")"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
: >"$WORK/starts"
for round in $(seq "$ROUNDS"); do
    if ((round % 2)); then
        player=$(mapped_ms "$ZORVAN")
        qmmp=$(mapped_ms qmmp)
    else
        qmmp=$(mapped_ms qmmp)
        player=$(mapped_ms "$ZORVAN")
    fi
    ratio=$(awk -v p="$player" -v q="$qmmp" 'BEGIN { printf "%.2f", (q > 0 ? p / q : 0) }')
    echo "round $round: player window mapped after $player ms, Qmmp after $qmmp ms; ratio $ratio"
    echo "$player $qmmp $ratio" >>"$WORK/starts"
done
player=$(cut -d' ' -f1 "$WORK/starts" | median)
qmmp=$(cut -d' ' -f2 "$WORK/starts" | median)
ratio=$(cut -d' ' -f3 "$WORK/starts" | median)
echo "median of $ROUNDS rounds: player ${player} ms, Qmmp ${qmmp} ms to the first mapped" \
    "window; ratio ${ratio} (target <= 0.5)"

song=$WORK/song.mp3
gst-launch-1.0 -q audiotestsrc num-buffers=600 samplesperbuffer=1024 wave=pink-noise \
    ! audio/x-raw,rate=44100,channels=2 ! lamemp3enc bitrate=192 ! id3v2mux \
    ! filesink location="$song"
: >"$WORK/peaks"
for round in $(seq "$ROUNDS"); do
    fresh_home
    read -r first first_all < <(playing_peak "$song")
    read -r later later_all < <(playing_peak "$song")
    echo "round $round: peak memory while playing ${first} MiB at the first start in a fresh" \
        "home folder (${first_all} MiB with its child processes), ${later} MiB at the next" \
        "start (${later_all} MiB)"
    echo "$first $later $first_all $later_all" >>"$WORK/peaks"
done
first=$(cut -d' ' -f1 "$WORK/peaks" | median)
later=$(cut -d' ' -f2 "$WORK/peaks" | median)
highest=$(cut -d' ' -f1-2 "$WORK/peaks" | tr ' ' '\n' | sort -g | tail -1)
first_all=$(cut -d' ' -f3 "$WORK/peaks" | median)
later_all=$(cut -d' ' -f4 "$WORK/peaks" | median)
echo "peak memory while playing: first start ${first} MiB, later start ${later} MiB" \
    "(medians), ${highest} MiB highest (target <= 60); with child processes ${first_all} and" \
    "${later_all} MiB"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
