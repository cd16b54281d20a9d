#!/usr/bin/env bash
# The lyric offset keys of the real player keep the song's offset in zorvan.lof across a
# restart: `]` stores half a second later, and `[` after a restart takes it back, which
# empties the store. What the keys show and the store's bounds are the core's unit tests
# (tests/core/test_lyricoffset.cpp).
source "$(dirname "$0")/lib.sh"

song=$WORK/歌.wav
make_tone "$song" 2 440
lines "$song" >"$CONFIG/zorvan.m3u"

holds_offset() { cmp -s <(lines $'500\t'"$song") "$CONFIG/zorvan.lof"; }
store_empty() { [[ ! -s $CONFIG/zorvan.lof ]]; }
# Starts the player on its saved list and presses KEY once the song is loaded.
press_on_song() { # press_on_song KEY
    start_shown
    check "the song is loaded" wait_for 15 started "$song"
    xdotool windowfocus --sync "$(player_window)" key "$1"
}

press_on_song bracketright
check "] stores the song's offset" wait_for 10 holds_offset
end_player
check "the shutdown keeps it" holds_offset
press_on_song bracketleft
check "[ after a restart takes it back" wait_for 10 store_empty
end_player
check "and the store forgets the song" store_empty

finish
