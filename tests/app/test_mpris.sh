#!/usr/bin/env bash
# The real player worked from the desktop's side over its own session bus, with playerctl:
# each answer checked against what the player itself does (the tracks it starts, the
# position of its backend, the files it saves); PropertiesChanged and Seeked seen by
# dbus-monitor; calls in fast loops; no bus at all; and a bus that goes away under the
# running player.
if [[ -z ${ZORVAN_PRIVATE_BUS:-} ]]; then
    exec env ZORVAN_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
start_x

# An MP3 file of SECONDS seconds (constant bit rate, so its length is exact) with an ID3 tag
# of TITLE and ARTIST (single words).
make_mp3() { # make_mp3 PATH SECONDS FREQUENCY TITLE ARTIST
    gst-launch-1.0 -q audiotestsrc num-buffers=$(($2 * 100)) samplesperbuffer=441 freq="$3" \
        ! audio/x-raw,rate=44100,channels=2 ! taginject tags="title=$4,artist=$5" \
        ! lamemp3enc target=bitrate cbr=true bitrate=128 ! id3v2mux \
        ! filesink location="$1" >/dev/null
}

music=$WORK/music
mkdir -p "$music"
make_mp3 "$music/one.mp3" 3 440 Sunny Singer
make_mp3 "$music/two.mp3" 3 550 Second Band
make_mp3 "$music/three.mp3" 3 660 Third Band
printf '%s\r\n' "$music/one.mp3" "$music/two.mp3" "$music/three.mp3" >"$music/list.m3u"
printf '[00:00.50]故事的小黄花\r\n' >"$music/one.lrc"

pc() { playerctl --player=zorvan "$@" 2>/dev/null; }
mpris_call() { # mpris_call INTERFACE.METHOD [ARG...]: a call that does not wait for its answer
    dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.zorvan \
        /org/mpris/MediaPlayer2 "$@"
}
starts() { grep -c "starting \"$1\"" "$PLAYER_LOG" || true; }
starts_at_least() { [[ $(starts "$1") -ge $2 ]]; }
pc_is() { # pc_is ANSWER ARGS...: playerctl ARGS answers ANSWER
    local answer=$1
    shift
    [[ "$(pc "$@")" == "$answer" ]]
}
position_between() { # the backend's position, in seconds, lies within LOW … HIGH
    local position
    position=$(pc position) || return 1
    python3 -c "import sys; sys.exit(not ($1 <= $position <= $2))"
}

start_player "$music/list.m3u"
check "the player shows its window" wait_for 15 window_mapped
check "the player appears on the bus" wait_for 10 pc_is Playing status
check "it plays the first song" wait_for 10 starts_at_least "$music/one.mp3" 1

# What the tags of the playing file say, and its length (3 s of CBR sound).
check "the title is the file's title tag" pc_is Sunny metadata xesam:title
check "the artist is the file's artist tag" pc_is Singer metadata xesam:artist
check "the address is the file's" test "$(pc metadata xesam:url)" = "file://$music/one.mp3"
check "the text is the lyric line shown" wait_for 5 pc_is "故事的小黄花" metadata xesam:asText
length=$(pc metadata mpris:length)
check "the length is the file's 3 s, in microseconds" test "$length" -ge 2950000 -a "$length" -le 3100000

# Every signal the player's object sends, from here on. A signal of our own shows when the
# monitor listens.
dbus-monitor --session "type='signal',path='/org/mpris/MediaPlayer2'" >"$WORK/monitor.log" 2>&1 &
PIDS+=($!)
monitor_ready() {
    dbus-send --session --type=signal /org/mpris/MediaPlayer2 org.zorvan.Test.Ready
    grep -q "member=Ready" "$WORK/monitor.log"
}
check "dbus-monitor listens" wait_for 10 monitor_ready
told() { grep -A40 "member=PropertiesChanged" "$WORK/monitor.log" | grep -q "$1"; }

pc next
check "next starts the second song" wait_for 10 starts_at_least "$music/two.mp3" 1
check "the metadata follows the track" wait_for 5 pc_is Second metadata xesam:title
check "PropertiesChanged tells the new track" wait_for 5 told '"Second"'
pc previous
check "previous starts the first song again" wait_for 10 starts_at_least "$music/one.mp3" 2

# Pause and play resume the same track where it stood.
position_past() { position_between "$1" 100; }
check "the song plays on" wait_for 10 position_past 1
pc pause
check "pause pauses" wait_for 5 pc_is Paused status
paused_at=$(pc position)
starts_before=$(starts "$music/one.mp3")
pc play
check "play plays" wait_for 5 pc_is Playing status
check "play resumes where the song stood" position_between "$paused_at" "$(python3 -c "print($paused_at + 1)")"
check "resuming opened nothing anew" test "$(starts "$music/one.mp3")" -eq "$starts_before"

pc pause
pc position 1.5
check "position 1.5 seeks there" wait_for 5 position_between 1.45 1.55
check "Seeked tells the new position" wait_for 5 grep -A2 -q "member=Seeked" "$WORK/monitor.log"
seeked_to() { grep -A2 "member=Seeked" "$WORK/monitor.log" | grep -q "int64 $1"; }
check "Seeked carries 1.5 s in microseconds" seeked_to 1500000
# Out of the track: a seek back past its start goes to the start, a position past its end is
# refused (the calls are answered once done, and the song stands still).
pc position 100-
check "a seek back past the start goes to the start" position_between 0 0.05
pc position 100
check "a position past the end is refused" position_between 0 0.05
pc play
pc stop
check "stop stops a playing song" pc_is Stopped status
pc play
check "play after stop starts the song over" wait_for 10 starts_at_least "$music/one.mp3" 3
pc position 100+
check "a seek past the end plays the next song" wait_for 10 starts_at_least "$music/two.mp3" 2
refused() { ! pc open "$1"; }
check "an address that is no file is refused" refused "http://radio.example/live"
cp "$music/one.mp3" "$WORK/opened.mp3"
pc open "file://$WORK/opened.mp3"
check "open adds a file and plays it" wait_for 10 starts_at_least "$WORK/opened.mp3" 1

pc volume 0.5
check "volume 0.5 reads back" test "$(pc volume)" = "0.500000"
check "PropertiesChanged tells the volume" wait_for 5 told '"Volume"'
pc loop None
check "loop None" test "$(pc loop)" = None
check "PropertiesChanged tells the loop status" wait_for 5 told '"None"'
pc shuffle On
check "shuffle On" test "$(pc shuffle)" = On

# Calls in fast loops, none waiting for its answer: the player takes them all, in order, and
# stays whole.
all_starts() { grep -c "starting \"" "$PLAYER_LOG"; }
all_before=$(all_starts)
for _ in $(seq 60); do
    mpris_call org.mpris.MediaPlayer2.Player.PlayPause
    mpris_call org.mpris.MediaPlayer2.Player.Next
    mpris_call org.freedesktop.DBus.Properties.Set string:org.mpris.MediaPlayer2.Player \
        string:Volume variant:double:0.25
done
mpris_call org.freedesktop.DBus.Properties.Set string:org.mpris.MediaPlayer2.Player \
    string:Volume variant:double:0.75
check "after the loops the last call holds" wait_for 10 pc_is 0.750000 volume
check "the loops' Next calls started songs" test "$(all_starts)" -gt "$all_before"
check "after the loops the player still runs" kill -0 "$PLAYER_PID"
pc volume 0.5

# Quit closes the player as its close button does: the list and the volume are saved.
dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.zorvan /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2.Quit >/dev/null
check "Quit ends the player" wait_for 20 process_gone "$PLAYER_PID"
check "Quit saved the list" cmp <(printf '%s\r\n' "$music/one.mp3" "$music/two.mp3" \
    "$music/three.mp3" "$WORK/opened.mp3") "$CONFIG/zorvan.m3u"
check "the volume set over the bus is the player's (-20 dB saved)" \
    test "$(sed -n 16p "$CONFIG/zorvan.set")" = $'-2000\r'

# No session bus: the address names one that is not there (the variable is left set, so that
# the D-Bus library does not start a bus of its own for the display). The player plays as
# before and says nothing about it.
DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/no-bus start_player "$music/one.mp3"
check "without a bus the window shows" wait_for 15 window_mapped
check "without a bus the song plays" wait_for 10 starts_at_least "$music/one.mp3" 1
# The object is registered before the first song starts, so by now it would be there.
check "without a bus it is on none" test -z "$(playerctl -l 2>/dev/null)"
kill -TERM "$PLAYER_PID"
check "without a bus the player ends" wait_for 20 process_gone "$PLAYER_PID"
check "without a bus nothing is said" test -z "$(grep -v "starting \"" "$PLAYER_LOG")"

# A bus that goes away under the running player: it plays on and ends as usual.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$WORK/bus.address" \
    4>"$WORK/bus.pid"
bus=$(head -n 1 "$WORK/bus.address")
DBUS_SESSION_BUS_ADDRESS=$bus start_player "$music/list.m3u"
on_own_bus() { [[ "$(DBUS_SESSION_BUS_ADDRESS=$bus playerctl --player=zorvan status 2>/dev/null)" == Playing ]]; }
check "the player is on the short-lived bus" wait_for 15 on_own_bus
kill "$(cat "$WORK/bus.pid")"
check "after the bus went away the next song starts" wait_for 15 \
    starts_at_least "$music/two.mp3" 1
kill -TERM "$PLAYER_PID"
check "after the bus went away the player ends on SIGTERM" wait_for 20 process_gone "$PLAYER_PID"
check "and saves its list" cmp <(printf '%s\r\n' "$music/one.mp3" "$music/two.mp3" \
    "$music/three.mp3") "$CONFIG/zorvan.m3u"

finish
