#!/usr/bin/env bash
# The player with a saved list of 600 000 songs (GB18030, Chinese paths, as the player writes
# it), in a fresh home under Xvfb and its own session bus: how long after its start the window
# is mapped, how long until the MPRIS service answers with the first song cued (its Metadata
# holds the song's address only once the song is open), and how long the player takes to quit
# on SIGTERM, with the list unchanged and with one song more, handed over by a second start
# (the quit comes as soon as the song handed over plays). The first song is a real file; the others need not
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

# Waits until PID has used no processor time for 0.3 s.
wait_idle() { # wait_idle PID
    local before after
    after=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    until [[ ${before:-} == "$after" ]]; do
        before=$after
        sleep 0.3
        after=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    done
}

# Whether the player plays.
playing() {
    dbus-send --session --print-reply --reply-timeout=2000 --dest=org.mpris.MediaPlayer2.zorvan \
        /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get \
        string:org.mpris.MediaPlayer2.Player string:PlaybackStatus 2>/dev/null |
        grep -q '"Playing"'
}

# One start with LIST as the saved list, up to the quit: sets MAPPED_MS, ANSWERED_MS, QUIT_MS.
# With CHANGE, once the player is idle (the whole list read: until then it is not written), a
# second start hands the first song over once more, and the quit comes as soon as it plays,
# so that the list the player writes at the quit has one song more.
start_with() { # start_with LIST [CHANGE]
    local saved=$XDG_CONFIG_HOME/zorvan/zorvan.m3u change=${2:-}
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
    if [[ -n $change ]]; then
        wait_idle "$LAUNCHED_PID"
        "$ZORVAN" "$first" >/dev/null 2>&1
        until playing; do
            kill -0 "$LAUNCHED_PID" 2>/dev/null || { echo "the player ended early" >&2; exit 1; }
            sleep 0.01
        done
    fi
    quitting=$(date +%s%N)
    kill -TERM "$LAUNCHED_PID"
    wait "$LAUNCHED_PID" 2>/dev/null || true
    QUIT_MS=$((($(date +%s%N) - quitting) / 1000000))
    after=$(stat -c "%i %.9Y" "$saved")
    if [[ -z $change ]]; then
        [[ $before == "$after" ]] || echo "the unchanged list was written again"
    elif [[ $(tail -c 300 "$saved" | iconv -c -f GB18030 -t UTF-8 | tail -n 1) != "$first"$'\r' ]] ||
        [[ $(wc -l <"$saved") -ne $(($(wc -l <"$1") + 1)) ]]; then
        echo "the changed list was not written whole" >&2
        exit 1
    fi
}

# Each round starts the player with the first song alone, then with the whole list, so that
# what the list itself costs shows beside what a start costs on this machine at the moment.
maps=() answers=() quits=() changedQuits=() singleMaps=() singleAnswers=() singleQuits=()
singleChangedQuits=()
for round in $(seq "$ROUNDS"); do
    start_with "$single"
    singleMaps+=("$MAPPED_MS") singleAnswers+=("$ANSWERED_MS") singleQuits+=("$QUIT_MS")
    echo "round $round, one song: window $MAPPED_MS ms, MPRIS with it cued $ANSWERED_MS ms," \
        "quit $QUIT_MS ms"
    start_with "$list"
    maps+=("$MAPPED_MS") answers+=("$ANSWERED_MS") quits+=("$QUIT_MS")
    echo "round $round, $SONGS songs: window $MAPPED_MS ms, MPRIS with the first cued" \
        "$ANSWERED_MS ms, quit $QUIT_MS ms"
    start_with "$single" change
    singleChangedQuits+=("$QUIT_MS")
    start_with "$list" change
    changedQuits+=("$QUIT_MS")
    echo "round $round, quit with one song more: $QUIT_MS ms (${singleChangedQuits[-1]} ms with" \
        "one song)"
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
report "quit with one song more in the list" 500 "$(median "${singleChangedQuits[@]}")" \
    "${changedQuits[@]}"
exit $status
