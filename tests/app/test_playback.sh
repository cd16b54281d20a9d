#!/usr/bin/env bash
# The real player never hangs on what it cannot play: a named pipe that never delivers
# before a good song, and a playlist that is an endless device. The songs lie in a folder
# whose name has Chinese letters and a space; the saved list holds them in GB18030 with CR
# LF. Which songs a command line gives and the skips over broken entries are the player's
# tables (tests/core/test_player.cpp); the bound on the pipe's wait, the backend's
# (tests/platform/test_gstmediacontrol.cpp); one song following another at its end,
# test_streams.sh.
source "$(dirname "$0")/lib.sh"
start_x

music="$WORK/音乐 files"
mkdir -p "$music"
make_tone "$music/one.wav" 1 440
mkfifo "$music/pipe.wav"
printf '%s\r\n' "$music/pipe.wav" "$music/one.wav" >"$music/pipe.m3u"
shot() { import -window "$(player_window)" png:- 2>/dev/null | md5sum; }

# A named pipe that never gets a writer: the window goes on answering, the pipe fails and the
# next entry plays.
start_shown "$music/pipe.m3u"
xdotool windowfocus --sync "$(player_window)"
before=$(shot)
xdotool key Down
changed() { [[ "$(shot)" != "$before" ]]; }
check "a key press is answered while the pipe is pending" wait_for 2 changed
check "the song after the pipe plays" wait_for 15 started "$music/one.wav"
check "it is the first song started" test "$(grep -c 'starting "' "$PLAYER_LOG")" -eq 1
check "the pipe is told on stderr" grep -q "cannot play \"$music/pipe.wav\": opening timed out" \
    "$PLAYER_LOG"
end_player

# SIGTERM while the pipe is pending saves the list at once.
start_shown "$music/pipe.m3u"
kill -TERM "$PLAYER_PID"
check "SIGTERM while a pipe is pending ends the player within 2 s" wait_for 2 process_gone \
    "$PLAYER_PID"
check "and saves the list" saved_list_is "$music/pipe.wav" "$music/one.wav"

# A playlist that is an endless device is refused unread; the player runs on, empty.
ln -s /dev/zero "$music/zero.m3u"
rm -f "$CONFIG/zorvan.m3u"
start_shown "$music/zero.m3u"
resident_mib() { awk '/VmRSS/ { print int($2 / 1024) }' "/proc/$PLAYER_PID/status"; }
check "without filling its memory" test "$(resident_mib)" -lt 200
check "the refused playlist is told on stderr" grep -q "cannot read $music/zero.m3u" "$PLAYER_LOG"
end_player
check "and the list it saves is empty" test ! -s "$CONFIG/zorvan.m3u"

finish
