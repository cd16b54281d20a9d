#!/usr/bin/env bash
# A folder of many songs (50 000 unless told; hard links to one short WAV file, named 1.wav,
# 2.wav, …) given to the player, under Xvfb with a fresh home folder and a session bus of
# its own:
#  - given as the argument of a start: how long after the start the window is mapped and
#    the first song of the folder starts (the moment in the player's own playback log),
#    median of ROUNDS; beside it, in alternate starts, when the song of a folder of one song
#    starts: what the start costs without the folder's listing;
#  - given to a second start while the player runs: how long the second start takes to
#    return, and how long the running player takes to answer an MPRIS query while the songs
#    arrive (the slowest and the median answer), and whether every song reached the list.
# Prints each figure against its target; fails when one is missed.
# Usage: bigfolder.sh PATH_TO_ZORVAN [ROUNDS] [SONGS]
set -euo pipefail
if [[ -z ${ZORVAN_BENCH_BUS:-} ]]; then
    exec env ZORVAN_BENCH_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS] [SONGS]}")
ROUNDS=${2:-5}
SONGS=${3:-50000}
WINDOW_TARGET_MS=400
SOUND_TARGET_MS=1000
RETURN_TARGET_MS=400
ANSWER_TARGET_MS=100
source "$(dirname "$0")/lib.sh"
start_bench_x 1024x768
# GStreamer's plugin registry is built once, by the first gst-launch-1.0 below, not in every
# round: a fresh one costs a first start seconds that no folder does.
export XDG_CACHE_HOME=$WORK/cache

folder=$WORK/music
mkdir -p "$folder"
gst-launch-1.0 -q audiotestsrc num-buffers=1000 samplesperbuffer=441 \
    ! audio/x-raw,rate=44100,channels=2 ! wavenc ! filesink location="$WORK/tone.wav"
python3 - "$WORK/tone.wav" "$folder" "$SONGS" <<'PY'
import os, sys
for i in range(1, int(sys.argv[3]) + 1):
    os.link(sys.argv[1], os.path.join(sys.argv[2], f"{i}.wav"))
PY
mkdir -p "$WORK/one"
ln "$WORK/tone.wav" "$WORK/one/1.wav"
config=$XDG_CONFIG_HOME/zorvan
status=0

median() { sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
# Prints "FIGURE ms (target <= TARGET)" and notes a miss.
against() { # against WHAT FIGURE TARGET
    local verdict=ok
    [[ $2 -le $3 ]] || { verdict=MISSED; status=1; }
    printf '%-46s %6d ms   target <= %d ms   %s\n' "$1" "$2" "$3" "$verdict"
}
# The moment LOG first says a song starts, in milliseconds since the epoch; waits for it up to
# 20 s. Also checks that it is the first song of FOLDER.
song_start_ms() { # song_start_ms LOG FOLDER
    local line
    for _ in $(seq 200); do
        line=$(grep -m 1 'starting "' "$1" || true)
        [[ -n $line ]] && break
        sleep 0.1
    done
    [[ $line == *"\"$2/1.wav\""* ]] || { echo "not the folder's first song: $line" >&2; exit 1; }
    date -d "${line%% *}" +%s%3N
}
saved_songs() { tr -d '\r' <"$config/zorvan.m3u" | grep -c . || true; }
# The player's playback log, each line with its moment.
export QT_LOGGING_RULES="zorvan.playback.debug=true"
export QT_MESSAGE_PATTERN='%{time yyyy-MM-ddTHH:mm:ss.zzz} %{message}'

# Starts the player with FOLDER and quits it once the folder's first song starts. Sets MAPPED_MS
# and SOUND_MS: when the window was mapped and the song started, in milliseconds since the start.
start_with() { # start_with FOLDER
    rm -rf "$config"
    local log=$WORK/start.log
    launch_and_time_map bash -c 'exec "$@" 2>"$0"' "$log" "$ZORVAN" "$1"
    SOUND_MS=$(($(song_start_ms "$log" "$1") - LAUNCHED_AT / 1000000))
    kill -TERM "$LAUNCHED_PID"; wait "$LAUNCHED_PID" 2>/dev/null || true
}

maps=() sounds=() alone=()
for round in $(seq "$ROUNDS"); do
    start_with "$folder"
    maps+=("$MAPPED_MS") sounds+=("$SOUND_MS")
    start_with "$WORK/one"
    alone+=("$SOUND_MS")
    echo "round $round: window mapped after ${maps[-1]} ms, first song after ${sounds[-1]} ms" \
        "(one-song folder: $SOUND_MS ms)"
done
against "window mapped, $SONGS songs (median of $ROUNDS)" \
    "$(printf '%s\n' "${maps[@]}" | median)" $WINDOW_TARGET_MS
against "first song starts (median of $ROUNDS)" \
    "$(printf '%s\n' "${sounds[@]}" | median)" $SOUND_TARGET_MS
echo "first song starts, folder of one song: $(printf '%s\n' "${alone[@]}" | median) ms (median of $ROUNDS)"

# The handover: a running player without songs, then a second start with the folder while an
# MPRIS client asks for the playback status, one query after another, until the folder's
# first song has played for two seconds.
rm -rf "$config"
log=$WORK/running.log
"$ZORVAN" 2>"$log" &
running=$!
PIDS+=("$running")
status_query() {
    dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.zorvan \
        /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get \
        string:org.mpris.MediaPlayer2.Player string:PlaybackStatus >/dev/null 2>&1
}
for _ in $(seq 100); do status_query && break; sleep 0.1; done
status_query || { echo "the running player does not answer over MPRIS" >&2; exit 1; }
(
    while [[ ! -e $WORK/queries.end ]]; do
        started=$(date +%s%N)
        status_query || echo "no answer" >&2
        echo $((($(date +%s%N) - started) / 1000000))
    done
) >"$WORK/answers" &
PIDS+=($!)
queries=$!
started=$(date +%s%N)
QT_LOGGING_RULES= "$ZORVAN" "$folder" 2>"$WORK/second.log"
returned=$((($(date +%s%N) - started) / 1000000))
song_start_ms "$log" "$folder" >/dev/null
sleep 2
touch "$WORK/queries.end"
wait "$queries"
kill -TERM "$running"; wait "$running" 2>/dev/null || true

against "second start returns" "$returned" $RETURN_TARGET_MS
against "slowest MPRIS answer while the songs arrive" "$(sort -n "$WORK/answers" | tail -n 1)" \
    $ANSWER_TARGET_MS
echo "MPRIS answers while the songs arrive: $(grep -c . "$WORK/answers"), median \
$(median <"$WORK/answers") ms"
arrived=$(saved_songs)
echo "songs in the running player's list: $arrived of $SONGS"
[[ -s $WORK/second.log ]] && { echo "the second start said:"; cat "$WORK/second.log"; }
[[ $arrived -eq $SONGS ]] || status=1
exit $status
