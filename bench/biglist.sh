#!/usr/bin/env bash
# The player with a saved list of 600 000 songs (GB18030, Chinese paths, as the player writes
# it), in a fresh home under Xvfb and its own session bus: how long after its start the window
# is mapped, how long until the MPRIS service answers with the first song cued (its Metadata
# holds the song's address only once the song is open), and how long the player takes to quit
# on SIGTERM with the list unchanged. The first song is a real file; the others need not
# exist, since only the first is opened. Each figure is the median of the rounds, printed
# against its target beside the same figure for a list of the first song alone, started in
# the same rounds. Exits non-zero when a median misses its target.
#
# Usage: biglist.sh PATH_TO_ZORVAN [ROUNDS] [SONGS]
if [[ -z ${ZORVAN_PRIVATE_BUS:-} ]]; then
    exec env ZORVAN_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
set -euo pipefail
ZORVAN=$(realpath "${1:?usage: $0 PATH_TO_ZORVAN [ROUNDS] [SONGS]}")
ROUNDS=${2:-5}
SONGS=${3:-600000}
source "$(dirname "$0")/lib.sh"
start_bench_x 1024x768

first=$WORK/music/第一首.wav
mkdir -p "$WORK/music"
gst-launch-1.0 -q audiotestsrc num-buffers=300 ! audio/x-raw,rate=44100,channels=2 ! wavenc \
    ! filesink location="$first"
single=$WORK/single.m3u
echo "$first" | iconv -f UTF-8 -t GB18030 | sed 's/$/\r/' >"$single"
list=$WORK/zorvan.m3u
{
    echo "$first"
    awk -v n="$SONGS" 'BEGIN {
        for (i = 1; i < n; ++i)
            printf "/home/user/音乐/歌手 %d/专辑 %d/%d 一首歌的名字.mp3\n", int(i / 1000), int(i / 20), i
    }'
} | iconv -f UTF-8 -t GB18030 | sed 's/$/\r/' >"$list"
echo "list: $SONGS songs, $(($(stat -c %s "$list") / 1024 / 1024)) MiB"

# Whether the player's MPRIS Metadata names the first song.
cued() {
    dbus-send --session --print-reply --reply-timeout=2000 --dest=org.mpris.MediaPlayer2.zorvan \
        /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get \
        string:org.mpris.MediaPlayer2.Player string:Metadata 2>/dev/null |
        grep -q 'xesam:url'
}

# One start with LIST as the saved list, up to the quit: sets MAPPED_MS, ANSWERED_MS, QUIT_MS.
start_with() { # start_with LIST
    local saved=$XDG_CONFIG_HOME/zorvan/zorvan.m3u
    rm -rf "$XDG_CONFIG_HOME/zorvan"
    mkdir -p "$XDG_CONFIG_HOME/zorvan"
    cp "$1" "$saved"
    local before after quitting
    before=$(stat -c "%i %.9Y" "$saved")
    launch_and_time_map "$ZORVAN"
    until cued; do
        kill -0 "$LAUNCHED_PID" 2>/dev/null || { echo "the player ended early" >&2; exit 1; }
        sleep 0.01
    done
    ANSWERED_MS=$((($(date +%s%N) - LAUNCHED_AT) / 1000000))
    quitting=$(date +%s%N)
    kill -TERM "$LAUNCHED_PID"
    wait "$LAUNCHED_PID" 2>/dev/null || true
    QUIT_MS=$((($(date +%s%N) - quitting) / 1000000))
    after=$(stat -c "%i %.9Y" "$saved")
    [[ $before == "$after" ]] || echo "the unchanged list was written again"
}

# Each round starts the player with the first song alone, then with the whole list, so that
# what the list itself costs shows beside what a start costs on this machine at the moment.
maps=() answers=() quits=() singleMaps=() singleAnswers=() singleQuits=()
for round in $(seq "$ROUNDS"); do
    start_with "$single"
    singleMaps+=("$MAPPED_MS") singleAnswers+=("$ANSWERED_MS") singleQuits+=("$QUIT_MS")
    echo "round $round, one song: window $MAPPED_MS ms, MPRIS with it cued $ANSWERED_MS ms," \
        "quit $QUIT_MS ms"
    start_with "$list"
    maps+=("$MAPPED_MS") answers+=("$ANSWERED_MS") quits+=("$QUIT_MS")
    echo "round $round, $SONGS songs: window $MAPPED_MS ms, MPRIS with the first cued" \
        "$ANSWERED_MS ms, quit $QUIT_MS ms"
done

status=0
median() { printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
report() { # report WHAT TARGET_MS SINGLE_MEDIAN TIMES...
    local what=$1 target=$2 single=$3 value
    shift 3
    value=$(median "$@")
    local verdict=met
    [[ $value -le $target ]] || { verdict=MISSED; status=1; }
    echo "$what: $value ms (median of $#; $single ms with one song), target <= $target ms: $verdict"
}
report "window mapped" 500 "$(median "${singleMaps[@]}")" "${maps[@]}"
report "MPRIS answers with the first song cued" 500 "$(median "${singleAnswers[@]}")" \
    "${answers[@]}"
report "quit with the list unchanged" 500 "$(median "${singleQuits[@]}")" "${quits[@]}"
exit $status
