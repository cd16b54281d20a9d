#!/usr/bin/env bash
# The real player never hangs on what it cannot play: a named pipe that never delivers
# before a good song, and a playlist that is an endless device. The songs lie in a folder
# whose name has Chinese letters and a space; the saved list holds them in GB18030 with CR
# LF. Then a playlist from elsewhere: a comment line is no entry, a stream address plays
# through the network and is kept as written, and at its end the song after it follows. Last,
# the play order: a click-short track alone, with the loop on as at start, plays once and
# stops rather than starting again many times a second.
# Which songs a command line gives and the skips over broken entries are the player's
# tables (tests/core/test_player.cpp); the bound on the pipe's wait, and that replacing or
# releasing a track stuck on a pipe does not wait for it (so the window goes on answering),
# the backend's (tests/platform/test_gstmediacontrol.cpp); what SIGTERM saves, the signal
# test's.
source "$(dirname "$0")/lib.sh"

music="$WORK/音乐 files"
mkdir -p "$music"
make_tone "$music/one.wav" 1 440
mkfifo "$music/pipe.wav"
printf '%s\r\n' "$music/pipe.wav" "$music/one.wav" >"$music/pipe.m3u"

# A named pipe that never gets a writer: the pipe fails and the next entry plays.
start_shown "$music/pipe.m3u"
check "the song after the pipe plays" wait_for 15 started "$music/one.wav"
check "the pipe is told on stderr" grep -q "cannot play \"$music/pipe.wav\": opening timed out" \
    "$PLAYER_LOG"
end_player

# A playlist that is an endless device is refused, and said so; that it is left unread is the
# text-file unit test's (a pipe, /proc).
ln -s /dev/zero "$music/zero.m3u"
rm -f "$CONFIG/zorvan.m3u"
start_shown "$music/zero.m3u"
check "the refused playlist is told on stderr" grep -q "cannot read $music/zero.m3u" "$PLAYER_LOG"
end_player

make_tone "$WORK/stream.wav" 2 440
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$WORK" >"$WORK/server.log" 2>&1 &
PIDS+=($!)
serving() { grep -q "port [0-9]" "$WORK/server.log"; }
wait_for 10 serving || { echo "the HTTP server did not start" >&2; exit 1; }
port=$(grep -o "port [0-9]*" "$WORK/server.log" | head -n 1 | cut -d' ' -f2)
stream=http://127.0.0.1:$port/stream.wav

lines '#EXTM3U' '# saved by another player' "$stream" "$music/one.wav" >"$WORK/list.m3u"
start_shown "$WORK/list.m3u"
check "the stream plays" wait_for 15 started "$stream"
check "through the network" grep -q "GET /stream.wav" "$WORK/server.log"
check "and at its end the song after it follows" wait_for 15 started "$music/one.wav"
check "the player ends" end_player
# A comment line that became an entry would be saved too.
check "the saved list keeps the stream as written" saved_list_is "$stream" "$music/one.wav"

# 5 ms of sound.
gst-launch-1.0 -q audiotestsrc num-buffers=1 samplesperbuffer=220 \
    ! audio/x-raw,rate=44100,channels=2 ! wavenc ! filesink location="$WORK/click.wav" >/dev/null
order_ended() { grep -q "the play order ends here" "$PLAYER_LOG"; }
start_shown "$WORK/click.wav"
check "the click plays" wait_for 10 started "$WORK/click.wav"
check "the player stops after it" wait_for 10 order_ended
check "having started it once" test "$(starts_of "$WORK/click.wav")" -eq 1
end_player

finish
