#!/usr/bin/env bash
# SIGTERM and SIGINT at any moment: during the start-up and just after the window maps
# the player ends in order, saving what it loaded and releasing its socket; a
# second signal ends a shutdown that hangs. Also, a directory where the single-instance
# socket belongs stops the start, and so does a missing display.
source "$(dirname "$0")/lib.sh"

output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$ZORVAN" 2>&1) && status=0 || status=$?
check "without a display the player fails, saying so in one line" \
    test "$status" -ne 0 -a "$(wc -l <<<"$output")" -eq 1

make_tone "$WORK/a.wav" 2 440
SOCKET=$XDG_RUNTIME_DIR/$TITLE.socket

# Waits up to SECONDS for PID to end and reaps it; STATUS holds its exit status. A player
# that waits for anything waits for ever; the bound only has to outlast a slow start on a
# busy machine or in a sanitized build, so it says nothing of speed. This wait and those
# for the moments to signal at poll every 5 ms.
STATUS=none
END_BOUND=10
ends_within() { # ends_within SECONDS PID
    POLL=0.005 wait_for "$1" process_gone "$2" || return 1
    wait "$2" && STATUS=0 || STATUS=$?
}

# True once PID runs the player and has its handler for SIGTERM (bit 15 of the
# caught-signal mask). The shell's child catches SIGTERM too until it runs the player.
catches_term() { # catches_term PID
    local mask
    [[ $(cat "/proc/$1/comm" 2>/dev/null) == "$(basename "$ZORVAN")" ]] || return 1
    mask=$(awk '$1 == "SigCgt:" { print $2 }' "/proc/$1/status" 2>/dev/null)
    (((0x${mask:-0} >> 14) & 1))
}

# One start on a.wav with a saved list naming another file, ended by SIGTERM at MOMENT:
# "handlers" (with SIGINT, a Ctrl+C in its terminal) as soon as the process catches SIGTERM,
# a number of seconds after the start, or "mapped" just after the window maps. Prints one
# word: "orderly" (status 0, the command line's list saved, the socket gone), "early" (killed
# by SIGTERM before it could catch it), or what went wrong.
term_run() { # term_run MOMENT
    printf 'elsewhere.wav\r\n' >"$CONFIG/zorvan.m3u"
    start_player "$WORK/a.wav"
    local pid=$PLAYER_PID caught=0 signal=TERM
    case $1 in
    handlers) POLL=0.005 wait_for 10 catches_term "$pid" || { echo "no-handler"; return; } ;;
    mapped) POLL=0.005 wait_for 15 window_mapped ||
        { echo "no-window"; cat "$PLAYER_LOG" >&2; return; } ;;
    *) sleep "$1" ;;
    esac
    catches_term "$pid" && caught=1
    [[ $1 == handlers ]] && signal=INT
    kill -$signal "$pid"
    if ! ends_within "$END_BOUND" "$pid"; then
        kill -KILL "$pid"
        echo "still-running"
    elif [[ -e $SOCKET ]]; then
        echo "socket-left"
    elif [[ $STATUS -eq 0 ]] && saved_list_is "$WORK/a.wav"; then
        echo "orderly"
    elif [[ $caught -eq 0 && $STATUS -eq 143 ]]; then
        echo "early"
    else
        echo "status-$STATUS"
    fi
}

RUNS=10
for moment in handlers 0.05 0.07 0.1 mapped; do
    outcomes=$(for ((run = 0; run < RUNS; run++)); do term_run "$moment"; done)
    echo "signal at $moment:" $(sort <<<"$outcomes" | uniq -c)
    orderly=$(grep -cx orderly <<<"$outcomes" || true)
    check "the signal at $moment ends the player, $RUNS times in $RUNS" \
        test $((orderly + $(grep -cx early <<<"$outcomes" || true))) -eq "$RUNS"
    # Once the handlers are in place, and surely once the window shows, the end is orderly.
    [[ $moment != handlers && $moment != mapped ]] ||
        check "the signal at $moment ends it in order every time" test "$orderly" -eq "$RUNS"
done

# A shutdown that hangs after its orderly steps (the test hook): a second signal still
# ends the process, at once.
printf 'elsewhere.wav\r\n' >"$CONFIG/zorvan.m3u"
ZORVAN_TEST_HANG_AFTER_SHUTDOWN=1 start_shown "$WORK/a.wav"
hanging=$PLAYER_PID
kill -TERM "$hanging"
check "the first SIGTERM saves the list" wait_for 5 saved_list_is "$WORK/a.wav"
kill -INT "$hanging"
check "a second signal ends the hanging shutdown" ends_within "$END_BOUND" "$hanging"
check "the second signal had its default action" test "$STATUS" -eq 130

# Where nothing can be saved (a folder stands in the settings file's place) a close names
# the failure in a box that waits for the user without holding up the end: a signal ends the
# player while the box shows, as it does while the open dialog waits; closing the box ends
# it too. The failure named on stderr is the full-disk test's.
rm -f "$CONFIG/zorvan.set"
mkdir "$CONFIG/zorvan.set"
for CASE in box open-dialog closed-box; do
    start_shown "$WORK/a.wav"
    click "$([[ $CASE == open-dialog ]] && echo ImgOpenSong || echo ImgClose)"
    check "a second window shows" wait_for 10 more_windows_than 1
    if [[ $CASE == closed-box ]]; then
        xdotool windowfocus "$(boxes | head -n 1)" key Return
    else
        kill -TERM "$PLAYER_PID"
    fi
    STATUS=none
    check "the player ends" ends_within "$END_BOUND" "$PLAYER_PID"
    process_gone "$PLAYER_PID" || kill -KILL "$PLAYER_PID"
    check "with status 0" test "$STATUS" = 0
done
CASE=

# Something other than a socket in the socket's place: the start says so and ends.
rm -f "$SOCKET" # the socket the killed player left
mkdir "$SOCKET"
output=$(timeout 20 "$ZORVAN" "$WORK/a.wav" 2>&1 >/dev/null) && status=0 || status=$?
# That what stands there is left is the single-instance unit test's (a regular file).
check "a directory at the socket's place stops the start, saying so in one line" \
    test "$status" -eq 1 -a "$(wc -l <<<"$output")" -eq 1

finish
