#!/usr/bin/env bash
# The real player worked from the desktop's side over its own session bus, with playerctl:
# each answer checked against what the player itself does (the tracks it starts, the
# position of its backend, the files it saves); PropertiesChanged seen by dbus-monitor. Then
# a screen reader's view over AT-SPI: the skin's buttons by their Chinese names, pressed
# through the action interface; the loop lamp reporting its state and toggled; the volume
# knob reporting and taking its value, which the settings then keep. Last, a bus that goes
# away under the running player. Without any bus the player runs in every other
# whole-program test. How the commands and values map onto the player's is tested in
# tests/core/test_commands.cpp and tests/platform/test_mpris.cpp. The first song's only lyrics
# are an ID3v2 USLT frame with LRC time tags, whose lines the metadata shows on time; the
# lookup order, each kind of tag and seeks are the lyrics' and platform's unit tests.
if [[ -z ${ZORVAN_PRIVATE_BUS:-} ]]; then
    exec env ZORVAN_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"

# MP3 files (constant bit rate, so their length is exact) with an ID3 tag of title and artist.
cbr='lamemp3enc target=bitrate cbr=true bitrate=128'

music=$WORK/music
mkdir -p "$music"
# Long enough that no song ends while the test works it, however slow the machine.
make_tone "$music/plain.mp3" 30 440 "$cbr"
make_tone "$music/two.mp3" 30 550 "taginject tags=title=Second,artist=Band ! $cbr ! id3v2mux"
# The first song's ID3v2.4 tag, written here for its USLT frame (UTF-8, language "chi", no
# description); sizes syncsafe.
python3 - "$music/plain.mp3" "$music/one.mp3" <<'PY'
import sys
def syncsafe(n):
    return bytes((n >> shift) & 0x7F for shift in (21, 14, 7, 0))
def frame(name, body):
    return name + syncsafe(len(body)) + b"\x00\x00" + body
frames = (frame(b"TIT2", b"\x03Sunny") + frame(b"TPE1", b"\x03Singer") +
          frame(b"USLT", b"\x03chi\x00" + "[00:02.00]第一行\n[00:05.00]第二行\n".encode()))
with open(sys.argv[2], "wb") as out:
    out.write(b"ID3\x04\x00\x00" + syncsafe(len(frames)) + frames + open(sys.argv[1], "rb").read())
PY
lines "$music"/{one,two}.mp3 >"$music/list.m3u"

pc() { playerctl --player=zorvan "$@" 2>/dev/null; }
pc_is() { [[ "$(pc "${@:2}")" == "$1" ]]; } # pc_is ANSWER ARGS...: playerctl ARGS answers ANSWER
position_between() { # the backend's position, in seconds, lies within LOW … HIGH
    local at; at=$(pc position) && python3 -c "import sys; sys.exit(not ($1 <= $at <= $2))"
}
line_is() { pc_is "$1" metadata xesam:asText; }

start_player "$music/list.m3u"
check "the player appears on the bus, playing" wait_for 15 pc_is Playing status
check "it plays the first song" wait_for 10 started "$music/one.mp3"

# What the tags of the playing file say. The length's unit is the service's
# (tests/platform/test_mpris.cpp), its accuracy the backend's (test_gstmediacontrol.cpp).
check "the title is the file's title tag" pc_is Sunny metadata xesam:title
check "the artist is the file's artist tag" pc_is Singer metadata xesam:artist
check "the first lyric line shows" wait_for 10 line_is 第一行
check "the second line follows" wait_for 10 line_is 第二行
check "not before its time" position_between 5 30

# Every signal the player's object sends, from here on. A signal of our own shows when the
# monitor listens.
dbus-monitor --session "type='signal',path='/org/mpris/MediaPlayer2'" >"$WORK/monitor.log" 2>&1 &
PIDS+=($!)
monitor_ready() {
    dbus-send --session --type=signal /org/mpris/MediaPlayer2 org.zorvan.Test.Ready
    grep -q "member=Ready" "$WORK/monitor.log"
}
check "dbus-monitor listens" wait_for 10 monitor_ready

pc next
check "next starts the second song" wait_for 10 started "$music/two.mp3"
told() { grep -A40 "member=PropertiesChanged" "$WORK/monitor.log" | grep -q "$1"; }
check "PropertiesChanged tells the new track" wait_for 5 told '"Second"'
pc previous
check "previous starts the first song again" wait_for 10 started "$music/one.mp3" 2

pc pause
check "pause pauses" wait_for 5 pc_is Paused status
pc position 1.5
check "position 1.5 seeks there" wait_for 5 position_between 1.45 1.55
pc play
check "play plays" wait_for 5 pc_is Playing status
check "play resumes where the song stood" position_between 1.45 29

# A property written over the bus; the loop and shuffle properties are the service's unit test.
pc volume 0.5
check "volume 0.5 reads back" pc_is 0.500000 volume

# Quit closes the player as its close button does, saving the list.
dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.zorvan /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2.Quit >/dev/null
check "Quit ends the player" wait_for 20 process_gone "$PLAYER_PID"
check "Quit saved the list" saved_list_is "$music"/{one,two}.mp3

# The screen reader's player starts afresh on one song.
rm -rf "$CONFIG"/*
lines "$music/one.mp3" >"$CONFIG/zorvan.m3u"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
PIDS+=($!)
client() { /usr/bin/python3 "$(dirname "$0")/atspi_client.py" "$@" 2>/dev/null; }
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_shown
check "the saved song is loaded" wait_for 10 started "$music/one.mp3"
check "a screen reader presses 播放" wait_for 10 client press 播放
check "and the song starts from its beginning" wait_for 10 started "$music/one.mp3" 2
check "the loop lamp reads as on" test "$(client checked 循环)" = checked
check "it can be toggled" client toggle 循环
loop_off() { [[ $(client checked 循环) == unchecked ]]; }
check "and then reads as off" wait_for 5 loop_off
check "the volume knob reads 100" test "$(client value 音量)" = 100
check "it takes the value 50" test "$(client value 音量 50)" = 50
check "the player ends" end_player
check "half the knob's travel is -20 dB, saved" test "$(sed -n 16p "$CONFIG/zorvan.set")" = $'-2000\r'

# A bus that goes away under the running player: it plays on, takes the file a second start
# hands it, and ends as usual.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$WORK/bus.address" \
    4>"$WORK/bus.pid"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$WORK/bus.address")
start_player "$music/one.mp3"
check "the player is on the short-lived bus" wait_for 15 pc_is Playing status
kill "$(cat "$WORK/bus.pid")"
check "after the bus went away a second start ends at once" timeout 10 "$ZORVAN" "$music/two.mp3"
check "and the player plays its file" wait_for 15 started "$music/two.mp3"
check "and the player ends on SIGTERM" end_player

finish
