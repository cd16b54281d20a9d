#!/usr/bin/env bash
# The play order on the real player: a click-short track alone, with the loop on as at
# start, plays once and stops rather than starting again many times a second; with the
# loop lamp switched off, a list plays through once and stops at the end of its last song.
# A screenshot of the window stopped at the end is left in SCREENSHOT_DIR.
source "$(dirname "$0")/lib.sh"

SHOTS=${SCREENSHOT_DIR:-$WORK}
start_x
# 5 ms of sound.
gst-launch-1.0 -q audiotestsrc num-buffers=1 samplesperbuffer=220 \
    ! audio/x-raw,rate=44100,channels=2 ! wavenc ! filesink location="$WORK/click.wav" >/dev/null
make_tone "$WORK/one.wav" 3 440
make_tone "$WORK/two.wav" 3 550

order_ended() { grep -q "the play order ends here" "$PLAYER_LOG"; }

CASE=click
start_shown "$WORK/click.wav"
check "the click plays" wait_for 10 started "$WORK/click.wav"
check "the player stops after it" wait_for 10 order_ended
check "having started it once" test "$(starts_of "$WORK/click.wav")" -eq 1
end_player

CASE="loop off"
start_shown "$WORK/one.wav" "$WORK/two.wav"
click_loop() { xdotool mousemove --window "$(player_window)" 224 96 click 1; }
check "the first song plays" wait_for 10 started "$WORK/one.wav"
click_loop
check "the list plays through and stops" wait_for 15 order_ended
check "each song once" test "$(starts_of "$WORK/one.wav")$(starts_of "$WORK/two.wav")" = 11
check "the clock stands at the end" clock_stands
import -window "$(player_window)" "$SHOTS/order-stopped-at-end.png"
end_player

finish
