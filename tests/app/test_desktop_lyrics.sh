#!/usr/bin/env bash
# The desktop lyric window of the real player under openbox: Ctrl+D shows it with the line due
# now filling in the highlight colour, above the player's full-screen window; locked, a click
# at its place reaches the player's window below it; shown, locked and its place come back
# after a restart. A screenshot is left in SCREENSHOT_DIR.
NO_DISPLAY=1 source "$(dirname "$0")/lib.sh"

SHOTS=${SCREENSHOT_DIR:-$WORK}
DESK=桌面歌词
make_tone "$WORK/song.wav" 40 440
lines '[00:01.00]第一句歌词在这里' '[00:30.00]第二句' >"$WORK/song.lrc"
lines "$WORK/song.wav" >"$CONFIG/zorvan.m3u"
write_settings 1500 3000 1 # the player's window at 100, 200 pixels

start_x
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
wm_running() { xprop -root _OB_THEME 2>/dev/null | grep -q '"'; }
wait_for 10 wm_running || { echo "openbox did not start" >&2; exit 1; }

desk() { window_named "$DESK"; }
desk_shown() { [[ -n $(desk) ]]; }
desk_hidden() { [[ -z $(desk) ]]; }
desk_at() { # desk_at "X Y"
    local X=-1 Y=-1 WIDTH=0 HEIGHT=0 WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(desk)" 2>/dev/null)"
    [[ "$X $Y" == "$1" ]]
}
# Whether the screen shows the sung part of a line, in the default highlight colour (#ffee58),
# inside the desktop lyric window.
sung() {
    local X=0 Y=0 WIDTH=0 HEIGHT=0 WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(desk)" 2>/dev/null)"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -depth 8 rgb:- 2>/dev/null | python3 -c '
import sys
data = sys.stdin.buffer.read()
sys.exit(sum(data[i:i + 3] == b"\xff\xee\x58" for i in range(0, len(data) - 2, 3)) <= 20)'
}
# A click where the pause button lies under the desktop lyric window.
click_pause() { xdotool mousemove 172 297 click 1; }

start_shown "$WORK/song.wav"
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

end_player
start_shown
check "shown again after the restart, at the same place" wait_for 10 desk_at "50 280"
xdotool mousemove --window "$(desk)" 20 20 mousedown 1 mousemove 60 400 mousemove 70 420 mouseup 1
sleep 0.5
check "still locked: a drag does not move it" desk_at "50 280"
click_pause
check "still locked: a click reaches the window below" clock_moves
xdotool windowactivate --sync "$(player_window)" 2>/dev/null || true
xdotool key ctrl+d
check "Ctrl+D hides it" wait_for 5 desk_hidden
end_player
finish
