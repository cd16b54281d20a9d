#!/usr/bin/env bash
# The skinned window of the real player, without a window manager and under openbox: the
# transport buttons clicked at their places on the skin, the list panel hidden and shown,
# a drag by the title strip that snaps to the left edge, full screen and back, always on
# top, and the place saved at the close coming back exactly at the next start, whose
# settings are written back byte for byte. Then the window at scale 2. Screenshots of the
# normal, list-hidden and full-screen windows and of the window at scale 2 are left in
# SCREENSHOT_DIR.
NO_DISPLAY=1 source "$(dirname "$0")/lib.sh"

SHOTS=${SCREENSHOT_DIR:-$WORK}
for name in one two three; do make_tone "$WORK/$name.wav" 30 440; done

above() { xprop -id "$(player_window)" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above; }
new_session() { # new_session none|openbox: a fresh X server and data folder
    start_x
    [[ $1 != openbox ]] || start_openbox
    rm -rf "$CONFIG"
    mkdir -p "$CONFIG"
}

for CASE in none openbox; do
    new_session $CASE
    lines "$WORK"/{one,two,three}.wav >"$CONFIG/zorvan.m3u"
    write_settings 1500 3000 1 # 100, 200 pixels; the list shown

    start_player
    check "the window is mapped" wait_for 30 window_mapped
    check "at its saved place, 274 x 464 with the list" wait_for 5 geometry_is "100 200 274 464"
    check "the first song is loaded" wait_for 10 started "$WORK/one.wav"
    import -window root "$SHOTS/skin-$CASE-normal.png"

    # Each button, and what it does to the clock or the song loaded. The pause button's clicks
    # are the desktop lyric test's, through the window above it.
    for step in "ImgPlaySong clock_moves" "ImgNextSong started $WORK/two.wav" \
        "ImgStopSong clock_stands"; do
        click ${step%% *}
        check "$step" wait_for 10 ${step#* }
    done

    click ImgShowList
    check "the list button hides the list" wait_for 5 geometry_is "* * 274 116"
    import -window root "$SHOTS/skin-$CASE-list-hidden.png"
    click ImgShowList
    check "and shows it again" wait_for 5 geometry_is "* * 274 464"

    # A drag by the title strip, in steps, to 4 pixels from the left edge.
    xdotool mousemove --window "$(player_window)" 120 8 mousedown 1
    for x in 200 170 150 130 124; do xdotool mousemove "$x" 230; done
    xdotool mouseup 1
    check "dragged near the left edge it snaps to x = 0" wait_for 5 geometry_is "0 222 *"

    click ImgFullscr
    check "full screen covers the screen" wait_for 5 geometry_is "0 0 1024 768"
    import -window root "$SHOTS/skin-$CASE-full-screen.png"
    xdotool key Escape
    check "Esc brings the window back to its place and size" wait_for 5 geometry_is "0 222 274 464"

    if [[ $CASE == openbox ]]; then
        xdotool key F12
        check "F12 keeps the window above the others" wait_for 5 above
        xdotool key F12
        check "F12 again lets it go" wait_for 5 not_above
    fi

    click ImgClose
    check "the close button ends the player" wait_for 20 process_gone "$PLAYER_PID"
    check "the player said nothing on stderr" test -z "$(grep -v "starting \"" "$PLAYER_LOG")"

    # The next start puts the window exactly where it was left (0, 222 is 0, 3330 twips), and
    # a run that changes nothing writes the settings back as they were.
    cp "$CONFIG/zorvan.set" "$WORK/expected.set"
    start_player
    check "the next start puts the window at 0, 222" wait_for 15 geometry_is "0 222 *"
    end_player
    check "and saves the same settings" cmp "$WORK/expected.set" "$CONFIG/zorvan.set"
done
CASE=

# At scale 2 the window with its list, 928 pixels high, would not lie whole on this screen's
# 768: the player takes scale 1. Saved at 100, 600, where the list would reach below the
# bottom edge, the window comes up until it lies whole on the screen.
new_session none
write_settings 1500 9000 1
QT_SCALE_FACTOR=2 start_player "$WORK/one.wav"
check "scale 2 on a small screen: scale 1, whole on the screen" \
    wait_for 15 geometry_is "100 304 274 464"
import -window root "$SHOTS/skin-scale-2.png"
end_player

finish
