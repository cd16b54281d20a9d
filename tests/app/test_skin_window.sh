#!/usr/bin/env bash
# The skinned window of the real player, without a window manager and under openbox: the
# transport buttons clicked at their places on the skin, the list panel hidden and shown,
# a drag by the title strip that snaps to the left edge, full screen and back, always on
# top, and the place saved at the close coming back exactly at the next starts, whose
# settings are written back byte for byte. Then the window at scale 2 and the tray modes
# without a notification area. Screenshots of the normal, list-hidden and full-screen
# windows and of the window at scale 2 are left in SCREENSHOT_DIR.
source "$(dirname "$0")/lib.sh"

SHOTS=${SCREENSHOT_DIR:-$WORK}
for name in one two three; do make_wav "$WORK/$name.wav" 30 440; done

# Clicks at (X, Y) of the window, in skin pixels.
click_at() { xdotool mousemove --window "$(player_window)" "$1" "$2" click 1; }
# The song files the player holds open.
holds() { [[ $(ls -l "/proc/$PLAYER_PID/fd" 2>/dev/null | grep -o "$WORK/[a-z]*\.wav" |
    sort -u) == "$WORK/$1.wav" ]]; }
above() { xprop -id "$(player_window)" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
saved_place() { sed -n '2,3p' "$CONFIG/zorvan.set" | tr -d '\r' | paste -sd,; }
start_wm() {
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    PIDS+=($!)
    # Openbox names its theme on the root window once its start-up is through.
    wm_running() { xprop -root _OB_THEME 2>/dev/null | grep -q '"'; }
    wait_for 10 wm_running || { echo "openbox did not start" >&2; exit 1; }
}
new_session() { # new_session none|openbox: a fresh X server and data folder
    rm -f "$WORK/displayfd"
    start_x
    [[ $1 == openbox ]] && start_wm
    rm -rf "$CONFIG"
    mkdir -p "$CONFIG"
}

run_session() { # run_session none|openbox
    local wm=$1
    new_session "$wm"
    printf '%s\r\n' "$WORK/one.wav" "$WORK/two.wav" "$WORK/three.wav" >"$CONFIG/zorvan.m3u"
    write_settings 1500 3000 1 # 100, 200 pixels; the list shown

    start_player
    check "$wm: the window is mapped" wait_for 30 window_mapped
    check "$wm: at its saved place" wait_for 5 place_is 100 200
    check "$wm: with the list it is 274 x 464" size_is 274 464
    check "$wm: the first song is loaded" wait_for 10 holds one
    import -window root "$SHOTS/skin-$wm-normal.png"

    click_at 49 97 # ImgPlaySong
    check "$wm: play starts the clock" wait_for 10 clock_moves
    click_at 72 97 # ImgPauseSong
    check "$wm: pause stops it" wait_for 5 clock_stands
    click_at 72 97
    check "$wm: pause again resumes" wait_for 5 clock_moves
    click_at 118 97 # ImgNextSong
    check "$wm: next plays the second song" wait_for 10 holds two
    click_at 94 97 # ImgStopSong
    check "$wm: stop stops the clock" wait_for 5 clock_stands

    click_at 254 64 # ImgShowList
    check "$wm: the list button hides the list" wait_for 5 size_is 274 116
    import -window root "$SHOTS/skin-$wm-list-hidden.png"
    click_at 254 64
    check "$wm: and shows it again" wait_for 5 size_is 274 464

    # A drag by the title strip, in steps, to 4 pixels from the left edge.
    xdotool mousemove --window "$(player_window)" 120 8 mousedown 1
    for x in 200 170 150 130 124; do xdotool mousemove "$x" 230; done
    xdotool mouseup 1
    check "$wm: dragged near the left edge it snaps to x = 0" wait_for 5 place_is 0 222

    click_at 230 64 # ImgFullscr
    check "$wm: full screen covers the screen" wait_for 5 place_is 0 0
    check "$wm: at the screen's size" wait_for 5 size_is 1024 768
    import -window root "$SHOTS/skin-$wm-full-screen.png"
    xdotool key Escape
    check "$wm: Esc brings the window back to its place" wait_for 5 place_is 0 222
    check "$wm: and its height" wait_for 5 size_is 274 464

    if [[ $wm == openbox ]]; then
        xdotool key F12
        check "$wm: F12 keeps the window above the others" wait_for 5 above
        xdotool key F12
        not_above() { ! above; }
        check "$wm: F12 again lets it go" wait_for 5 not_above
    fi

    click_at 268 7 # ImgClose
    check "$wm: the close button ends the player" wait_for 20 process_gone "$PLAYER_PID"
    check "$wm: the place is saved in twips" test "$(saved_place)" = "0,3330"
    check "$wm: and the player said nothing on stderr" \
        test -z "$(grep -v "starting \"" "$PLAYER_LOG")"

    # Twice more: the window comes back exactly where it was left, and a run that changes
    # nothing writes the settings back as they were.
    cp "$CONFIG/zorvan.set" "$WORK/expected.set"
    for round in 1 2; do
        start_player
        check "$wm: start $round puts the window at 0, 222" wait_for 15 place_is 0 222
        end_player
        check "$wm: start $round saves the same settings" cmp "$WORK/expected.set" \
            "$CONFIG/zorvan.set"
    done
}

run_session none
run_session openbox

# At scale 2 the window keeps its logical size and shows the double-size pictures.
new_session none
write_settings 1500 3000 0
QT_SCALE_FACTOR=2 start_player "$WORK/one.wav"
check "scale 2: twice the pixels of 274 x 116" wait_for 15 size_is 548 232
import -window root -crop 560x250+190+390 "$SHOTS/skin-scale-2.png"
end_player

# Without a notification area (none runs here) the tray modes start the window as usual.
for mode in 1 2; do
    write_settings 0 0 1 "$mode"
    start_player
    check "tray mode $mode without a notification area shows the window" wait_for 15 window_mapped
    end_player
done

finish
