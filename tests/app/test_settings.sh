#!/usr/bin/env bash
# The real player restores its settings, picture list and lyric folders and writes the
# settings back unchanged when it is closed without changes.
source "$(dirname "$0")/lib.sh"
start_x

mkdir -p "$CONFIG"
# Left 1500 and top 3000 twips are 100 and 200 pixels at 96 dpi; ShowList 0 leaves the
# window without its playlist panel; the volume is -12 dB.
printf '%s\r\n' '[DONTCHANGETHISSET]' 1500 3000 12 0 5 0 0 12582912 -2147483634 宋体 26 0 -1 0 \
    -1200 5 | iconv -f UTF-8 -t GB18030 >"$CONFIG/zorvan.set"
cp "$CONFIG/zorvan.set" "$WORK/expected.set"
printf 'sunset.jpg\r\n[END]\r\n' >"$CONFIG/zorvan.pic"
printf '%s\r\n' "$WORK/lyrics/" '[END]' >"$CONFIG/zorvan.lyr"

start_player
check "the window is mapped" wait_for 15 window_mapped
window=$(player_window)
geometry=$(xdotool getwindowgeometry "$window")
check "the window is at its saved place" grep -q "Position: 100,200" <<<"$geometry"
check "the window has the height without the playlist" grep -q "Geometry: [0-9]*x116" <<<"$geometry"

xdotool windowfocus --sync "$window"
xdotool key alt+F4
check "the player ends after Alt+F4" wait_for 20 process_gone "$PLAYER_PID"
check "zorvan.set is written back byte for byte" cmp "$WORK/expected.set" "$CONFIG/zorvan.set"
check "the picture list is left as it was" \
    cmp <(printf 'sunset.jpg\r\n[END]\r\n') "$CONFIG/zorvan.pic"

# A window placed on a monitor that is gone comes back onto the screen.
printf '%s\r\n' '[DONTCHANGETHISSET]' 60000 3000 12 0 5 1 0 12582912 -2147483634 宋体 26 0 -1 0 \
    -1200 5 | iconv -f UTF-8 -t GB18030 >"$CONFIG/zorvan.set"
start_player
check "the window is mapped again" wait_for 15 window_mapped
geometry=$(xdotool getwindowgeometry "$(player_window)")
check "a window off every screen is moved onto the screen" grep -q "Position: 0,0" <<<"$geometry"
check "with the playlist the window is 464 high" grep -q "Geometry: [0-9]*x464" <<<"$geometry"
kill -TERM "$PLAYER_PID"
check "the player ends" wait_for 20 process_gone "$PLAYER_PID"
check "the rescued place is saved" test "$(sed -n 2p "$CONFIG/zorvan.set")" = $'0\r'
check "the height with the playlist is saved as ShowList 1" test "$(sed -n 7p "$CONFIG/zorvan.set")" = $'1\r'

# Without a notification area (none runs here) the tray modes start the window as usual.
for mode in 1 2; do
    printf '%s\r\n' '[DONTCHANGETHISSET]' 0 0 12 "$mode" 5 1 0 12582912 -2147483634 宋体 26 0 \
        -1 0 -1200 5 | iconv -f UTF-8 -t GB18030 >"$CONFIG/zorvan.set"
    start_player
    check "tray mode $mode without a notification area shows the window" wait_for 15 window_mapped
    kill -TERM "$PLAYER_PID"
    wait_for 20 process_gone "$PLAYER_PID"
done

finish
