#!/usr/bin/env bash
# The desktop lyric window of the real player under openbox: Ctrl+D shows it with the line due
# now filling in the highlight colour, above the player's full-screen window; locked, a click
# at its place reaches the player's window below it; shown, locked and its place come back
# after a restart. A screenshot is left in SCREENSHOT_DIR. Meanwhile the lyric offset keys keep
# the song's offset in zorvan.lof across the restart: `]` stores half a second later, and `[`
# after the restart takes it back, which empties the store. What the keys show and the store's
# bounds are the core's unit tests (tests/core/test_lyricoffset.cpp).
NO_DISPLAY=1 source "$(dirname "$0")/lib.sh"

SHOTS=${SCREENSHOT_DIR:-$WORK}
DESK=桌面歌词
song=$WORK/歌.wav
make_tone "$song" 40 440
lines '[00:01.00]第一句歌词在这里' '[00:30.00]第二句' >"$WORK/歌.lrc"
lines "$song" >"$CONFIG/zorvan.m3u"
write_settings 1500 3000 1 # the player's window at 100, 200 pixels

start_x
start_openbox

desk() { window_named "$DESK"; }
desk_shown() { [[ -n $(desk) ]]; }
desk_hidden() { [[ -z $(desk) ]]; }
desk_at() { geometry_is "$1 * *" "$(desk)"; } # desk_at "X Y"
# Whether the screen shows the sung part of a line, in the default highlight colour (#ffee58),
# inside the desktop lyric window.
sung() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    geometry_of "$(desk)"
    [[ $(import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -depth 8 txt:- 2>/dev/null |
        grep -ci '#ffee58') -gt 20 ]]
}
# A click where the pause button lies under the desktop lyric window.
click_pause() { xdotool mousemove 172 297 click 1; }
holds_offset() { cmp -s <(lines $'500\t'"$song") "$CONFIG/zorvan.lof"; }
store_empty() { [[ ! -s $CONFIG/zorvan.lof ]]; }

start_shown "$song"
xdotool windowactivate --sync "$(player_window)" 2>/dev/null || true
xdotool key ctrl+d
check "Ctrl+D shows the window $DESK" wait_for 10 desk_shown
check "the line due at 1 s fills in the highlight colour" wait_for 10 sung
import -window root "$SHOTS/desktop-lyrics.png" 2>/dev/null || true

xdotool key alt+Return
check "it stays above the full-screen window" wait_for 10 sung
xdotool key Escape

# Over the player's pause button (and clear of its clock), unlocked the window takes the click; locked it lets it
# through.
xdotool mousemove --window "$(desk)" 20 20 mousedown 1 mousemove 60 290 mousemove 70 300 \
    mouseup 1
click_pause
check "unlocked, the click stays in the window" clock_moves
xdotool mousemove --window "$(desk)" 5 5 click 3
sleep 0.5
xdotool key Down Return
check "locked from its menu, the window stays" wait_for 5 desk_shown
sleep 0.5
click_pause
check "locked, the click reaches the window below" clock_stands
xdotool windowactivate --sync "$(player_window)" 2>/dev/null || true
xdotool key bracketright
check "] stores the song's offset" wait_for 10 holds_offset

end_player
check "the shutdown keeps the offset" holds_offset
start_shown
check "shown again after the restart, at the same place" wait_for 10 desk_at "50 280"
xdotool mousemove --window "$(desk)" 20 20 mousedown 1 mousemove 60 400 mousemove 70 420 mouseup 1
sleep 0.5
check "still locked: a drag does not move it" desk_at "50 280"
click_pause
check "still locked: a click reaches the window below" clock_moves
xdotool windowactivate --sync "$(player_window)" 2>/dev/null || true
xdotool key bracketleft
check "[ after the restart takes the offset back" wait_for 10 store_empty
xdotool key ctrl+d
check "Ctrl+D hides it" wait_for 5 desk_hidden
end_player
check "and the store forgets the song" store_empty
finish
