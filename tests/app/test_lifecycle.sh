#!/usr/bin/env bash
# Start-up and shutdown of the real player: no display, a crashed instance's leftovers,
# the saved list coming back, and SIGTERM saving like the close button.
source "$(dirname "$0")/lib.sh"

# Without a display the player says so in one line and fails.
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$ZORVAN" 2>&1) && status=0 || status=$?
check "without a display the player fails" test "$status" -ne 0
check "without a display it says so in one line" test "$(wc -l <<<"$output")" -eq 1

start_x
make_wav "$WORK/a.wav" 2 440
make_wav "$WORK/b.wav" 2 550

# A crashed instance leaves its socket behind; the next start must not be blocked by it.
start_player "$WORK/a.wav"
check "the first player shows its window" wait_for 15 window_mapped
kill -KILL "$PLAYER_PID"
wait "$PLAYER_PID" 2>/dev/null || true
check "the crashed player left no list" test ! -e "$CONFIG/zorvan.m3u"
start_player "$WORK/b.wav"
check "a start after a crash shows its window" wait_for 15 window_mapped

# SIGTERM (a session logout) ends the player like its close button.
kill -TERM "$PLAYER_PID"
check "SIGTERM ends the player" wait_for 20 process_gone "$PLAYER_PID"
printf '%s\r\n' "$WORK/b.wav" >"$WORK/expected.m3u"
check "SIGTERM saved the list" cmp "$WORK/expected.m3u" "$CONFIG/zorvan.m3u"

# Without a command line the saved list comes back, its first song loaded but silent.
start_player
check "the player starts with the saved list" wait_for 15 window_mapped
loaded() { grep -q "starting \"$WORK/b.wav\"" "$PLAYER_LOG"; }
check "the saved list's first song is loaded" wait_for 10 loaded
kill -INT "$PLAYER_PID"
check "SIGINT ends the player" wait_for 20 process_gone "$PLAYER_PID"
check "the list is saved again unchanged" cmp "$WORK/expected.m3u" "$CONFIG/zorvan.m3u"

finish
