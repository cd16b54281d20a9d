#!/usr/bin/env bash
# The lyric offset keys of the real player: `]` makes every line come half a second later at
# once, the song line tells the offset for a while and then shows the song again, and the
# song keeps its offset in zorvan.lof across a restart; `[` takes it back, which empties the
# store. The arithmetic, the notice's texts and the store's bounds are the core's tables
# (tests/core/test_lyricoffset.cpp).
source "$(dirname "$0")/lib.sh"

song=$WORK/歌.wav
# 218 s long, so that each → or ← moves the track by exactly 5 s.
gst-launch-1.0 -q audiotestsrc num-buffers=2180 samplesperbuffer=800 freq=440 \
    ! audio/x-raw,rate=8000,channels=1 ! wavenc ! filesink location="$song" >/dev/null
# At 5 s 乙 is due, half a second before that 甲, which is also the line due at 10 s.
lines '[00:03.80]子' '[00:04.30]甲' '[00:04.80]乙' '[00:05.30]丙' '[00:09.00]甲' >"$WORK/歌.lrc"
lines "$song" >"$CONFIG/zorvan.m3u"

region() { # region LEFT TOP WIDTH HEIGHT: the md5 of these pixels of the skin
    local X=-1 Y=-1 WIDTH=0 HEIGHT=0 WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(player_window)" 2>/dev/null)"
    import -window root -crop "$3x$4+$((X + $1))+$((Y + $2))" rgb:- 2>/dev/null | md5sum
}
lyric_line() { region 16 24 246 16; }
song_line() { region 104 40 158 12; }
shows() { [[ $($1) == "$2" ]]; }      # shows LABEL HASH
shows_not() { [[ $($1) != "$2" ]]; }  # shows_not LABEL HASH
# The lyric line has stopped changing: lines still catching up change it every half second.
settled() { local first; first=$(lyric_line); sleep 1.2; [[ $(lyric_line) == "$first" ]]; }
# Starts the player on its saved list, the song paused at its start, and moves it to 5 s.
start_at_five() {
    start_shown
    check "the song is loaded" wait_for 15 started "$song"
    xdotool windowfocus --sync "$(player_window)"
    xdotool key Right
    check "its lyric line settles" wait_for 15 settled
}

start_at_five
at_five=$(lyric_line)
xdotool key Right
wait_for 15 settled
at_ten=$(lyric_line)
check "at 10 s another line shows" test "$at_ten" != "$at_five"
xdotool key Left
check "back at 5 s its line shows again" wait_for 5 shows lyric_line "$at_five"
song_shown=$(song_line)
xdotool key bracketright
check "] shows the line due half a second earlier at once" wait_for 2 shows lyric_line "$at_ten"
check "the song line tells the offset" wait_for 2 shows_not song_line "$song_shown"
check "and then shows the song again" wait_for 10 shows song_line "$song_shown"
end_player
check "zorvan.lof holds the song's offset" cmp -s <(lines $'500\t'"$song") "$CONFIG/zorvan.lof"

start_at_five
check "the offset is back after a restart" shows lyric_line "$at_ten"
xdotool key bracketleft
check "[ takes it back" wait_for 2 shows lyric_line "$at_five"
end_player
check "and the store forgets the song" test ! -s "$CONFIG/zorvan.lof"

finish
