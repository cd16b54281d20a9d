#!/usr/bin/env bash
# The play order on the real player: a click-short track alone, with the loop on as at
# start, plays once and stops rather than starting again many times a second.
source "$(dirname "$0")/lib.sh"

# 5 ms of sound.
gst-launch-1.0 -q audiotestsrc num-buffers=1 samplesperbuffer=220 \
    ! audio/x-raw,rate=44100,channels=2 ! wavenc ! filesink location="$WORK/click.wav" >/dev/null

order_ended() { grep -q "the play order ends here" "$PLAYER_LOG"; }

start_shown "$WORK/click.wav"
check "the click plays" wait_for 10 started "$WORK/click.wav"
check "the player stops after it" wait_for 10 order_ended
check "having started it once" test "$(starts_of "$WORK/click.wav")" -eq 1
end_player

finish
