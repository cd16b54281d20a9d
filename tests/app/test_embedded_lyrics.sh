#!/usr/bin/env bash
# An MP3 whose only lyrics are an ID3v2 USLT frame with LRC time tags shows its lines on time:
# the line shown is read from the remote control's metadata (xesam:asText) over a private
# bus. The lookup order, each kind of tag and seeks are the lyrics' and platform's unit tests.
if [[ -z ${ZORVAN_PRIVATE_BUS:-} ]]; then
    exec env ZORVAN_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"

music=$WORK/music
mkdir -p "$music"
make_tone "$music/plain.mp3" 12 440 "lamemp3enc target=bitrate cbr=true bitrate=128"
# An ID3v2.4 tag with one USLT frame (UTF-8, language "chi", no description); sizes syncsafe.
python3 - "$music/plain.mp3" "$music/sung.mp3" <<'PY'
import sys
text = "[00:02.00]第一行\n[00:05.00]第二行\n".encode()
def syncsafe(n):
    return bytes((n >> shift) & 0x7F for shift in (21, 14, 7, 0))
body = b"\x03chi\x00" + text
frame = b"USLT" + syncsafe(len(body)) + b"\x00\x00" + body
tag = b"ID3\x04\x00\x00" + syncsafe(len(frame)) + frame
with open(sys.argv[2], "wb") as out:
    out.write(tag + open(sys.argv[1], "rb").read())
PY

pc() { playerctl --player=zorvan "$@" 2>/dev/null; }
line_is() { [[ "$(pc metadata xesam:asText)" == "$1" ]]; }
position_from() { local at; at=$(pc position) && python3 -c "import sys; sys.exit($at < $1)"; }

start_player "$music/sung.mp3"
check "the song plays" wait_for 15 started "$music/sung.mp3"
check "the first line shows" wait_for 10 line_is 第一行
check "the second line follows" wait_for 10 line_is 第二行
check "not before its time" position_from 5
check "the player ends" end_player

finish
