#!/usr/bin/env bash
# The real player under Xvfb: plays a two-track list from the command line to the end
# of both tracks, takes the file of a second start into its list, and saves the list when its
# window closes.
source "$(dirname "$0")/lib.sh"
start_x

music="$WORK/音乐 files"
mkdir -p "$music"
make_wav "$music/one.wav" 1 440
make_wav "$music/two.wav" 1 660
printf '#EXTM3U\n#EXTINF:1,one\none.wav\n%s\n' "$music/two.wav" >"$music/list.m3u"

start_player "$music/list.m3u"
check "the window is mapped" wait_for 15 window_mapped
window=$(player_window)
geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null || true)
check "the window has a size on the screen" grep -q "Geometry: [1-9][0-9]*x[1-9]" <<<"$geometry"

both_ended() { [[ $(grep -c "starting" "$PLAYER_LOG") -ge 3 ]]; }
check "both tracks play to their end and the list goes round" wait_for 20 both_ended
check "the tracks start in list order" \
    diff <(grep -o 'starting ".*"' "$PLAYER_LOG" | head -n 3) \
    <(printf 'starting "%s"\n' "$music/one.wav" "$music/two.wav" "$music/one.wav")

screenshot=${SCREENSHOT_DIR:-$WORK}/player-window.png
import -window root "$screenshot" 2>/dev/null
deviation=$(convert "$screenshot" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
check "the screenshot shows a drawn window" awk -v d="$deviation" 'BEGIN { exit !(d > 0.02) }'

# A second start with another file hands it over, ends at once and writes no file itself.
before=$(ls -la "$CONFIG" 2>/dev/null || true)
"$ZORVAN" "$music/two.wav" >"$WORK/second.log" 2>&1 &
second=$!
check "a second start ends at once" wait_for 20 process_gone "$second"
wait "$second" && status=0 || status=$?
check "the second start ends with status 0" test "$status" -eq 0
check "the second start writes nothing" test "$before" = "$(ls -la "$CONFIG" 2>/dev/null || true)"
check "the first player is still running" kill -0 "$PLAYER_PID"

# Alt+F4 in the playlist is the window's close.
xdotool windowfocus --sync "$window"
xdotool key alt+F4
check "the player ends after its window is closed" wait_for 20 process_gone "$PLAYER_PID"
printf '%s\r\n' "$music/one.wav" "$music/two.wav" "$music/two.wav" | iconv -f UTF-8 -t GB18030 >"$WORK/expected.m3u"
check "zorvan.m3u holds the list in GB18030 with CR LF" cmp "$WORK/expected.m3u" "$CONFIG/zorvan.m3u"

finish
