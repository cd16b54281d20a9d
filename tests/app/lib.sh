# Shared steps of the whole-program tests: a private home, runtime folder and X server for
# each test (and no session bus unless the test brings its own), generated audio, and
# bounded waits. Sourced by the test scripts.
set -euo pipefail

ZORVAN=${1:?usage: $0 PATH_TO_ZORVAN}
WORK=$(mktemp -d)
# GStreamer's plugin registry stays in the real cache: a fresh one costs every test a
# scan of all plugins, seconds on a busy machine.
export XDG_CACHE_HOME=${XDG_CACHE_HOME:-${HOME:-/root}/.cache}
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
# The players run on the test's own X server, whatever platform the caller chose.
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# The players of a test stay off the desktop's session bus (its media keys would reach them):
# a test that wants a bus brings its own and says so.
[[ -n ${ZORVAN_PRIVATE_BUS:-} ]] || export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/no-bus
CONFIG=$XDG_CONFIG_HOME/zorvan
mkdir -p "$HOME" "$CONFIG" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
TITLE=岚铃播放器
PIDS=()
FAILURES=0
PASSES=0

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# A test that runs its steps for several cases names the case in CASE.
fail() { echo "FAIL: ${CASE:+$CASE: }$*" >&2; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: ${CASE:+$CASE: }$*"; PASSES=$((PASSES + 1)); }
check() { # check DESCRIPTION COMMAND...
    local what=$1; shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# Starts a private X server (a fresh one each time) and exports DISPLAY.
start_x() {
    local fifo=$WORK/displayfd
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>"$WORK/xvfb.log" &
    PIDS+=($!)
    local number
    read -r -t 10 number <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$number
}
# Each test has its own X server from the start, unless it sources this with NO_DISPLAY set.
[[ -n ${NO_DISPLAY:-} ]] || start_x
# Openbox names its theme on the root window once its start-up is through.
wm_running() { xprop -root _OB_THEME 2>/dev/null | grep -q '"'; }
start_openbox() {
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    PIDS+=($!)
    wait_for 10 wm_running || { echo "openbox did not start" >&2; exit 1; }
}

# Writes SECONDS seconds of a FREQUENCY Hz tone, as WAV unless ELEMENTS (words that
# gst-launch-1.0 joins) encode it otherwise.
make_tone() { # make_tone PATH SECONDS FREQUENCY [ELEMENTS]
    gst-launch-1.0 -q audiotestsrc num-buffers=$(($2 * 100)) samplesperbuffer=441 freq="$3" \
        ! audio/x-raw,rate=44100,channels=2 ! ${4:-wavenc} ! filesink location="$1" >/dev/null
}

now_ms() { local micro=${EPOCHREALTIME//[!0-9]/}; echo $((10#$micro / 1000)); }
# Waits up to SECONDS for COMMAND to succeed, trying it every POLL seconds (0.1 unless set).
wait_for() { # [POLL=SECONDS] wait_for SECONDS COMMAND...
    local deadline=$(($(now_ms) + $1 * 1000)); shift
    until "$@"; do
        [[ $(now_ms) -lt $deadline ]] || return 1
        sleep "${POLL:-0.1}"
    done
}

# The lines given as the player writes its files: GB18030 with CR LF.
lines() { printf '%s\r\n' "$@" | iconv -f UTF-8 -t GB18030; }

# Writes zorvan.set with the window at LEFT, TOP twips, the list shown or not (SHOWLIST), the
# tray mode and the picture interval in seconds.
write_settings() { # write_settings LEFT TOP SHOWLIST [TRAYMODE [PICTURESECONDS]]
    lines '[DONTCHANGETHISSET]' "$1" "$2" 12 "${4:-0}" 5 "$3" 0 12582912 -2147483634 宋体 26 0 -1 \
        0 -1200 "${5:-5}" >"$CONFIG/zorvan.set"
}

player_window() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1; }
visible_windows() { xdotool search --onlyvisible --class zorvan 2>/dev/null | wc -l; }
more_windows_than() { [[ $(visible_windows) -gt $1 ]]; }
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
# The message boxes: the player's visible windows other than the main one.
boxes() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | grep -vx "$(player_window)"; }
boxes_are() { [[ $(boxes | grep -c .) -eq $1 ]]; }
# Where the tests click the skin, in its pixels.
declare -A SKIN=([ImgPlaySong]="49 97" [ImgStopSong]="94 97" [ImgNextSong]="118 97"
    [ImgOpenSong]="147 96" [ImgFullscr]="230 64" [ImgShowList]="254 64" [ImgClose]="268 7")
click() { xdotool mousemove --window "$(player_window)" ${SKIN[$1]} click 1; } # click NAME
window_mapped() { [[ -n "$(player_window)" ]]; }
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# Starts the player in the background with the given arguments; PLAYER_PID and
# PLAYER_LOG name it. Start lines of tracks are logged through Qt's logging rules.
start_player() {
    PLAYER_LOG=$WORK/player-$RANDOM.log
    QT_LOGGING_RULES="zorvan.playback.debug=true" "$ZORVAN" "$@" >"$PLAYER_LOG" 2>&1 &
    PLAYER_PID=$!
    PIDS+=("$PLAYER_PID")
}
start_shown() { start_player "$@"; check "the window maps" wait_for 15 window_mapped; }

# Sets X, Y, WIDTH and HEIGHT to where WINDOW (the player's unless given) lies on the screen;
# a window named empty, as one not found, lies nowhere.
geometry_of() {
    X=-1 Y=-1 WIDTH=0 HEIGHT=0
    eval "$(xdotool getwindowgeometry --shell "${1-$(player_window)}" 2>/dev/null)"
}
# Whether the window's "X Y WIDTH HEIGHT" on the screen match PATTERN, as "0 0 1024 768" or
# "* * 274 464".
geometry_is() { # geometry_is PATTERN [WINDOW]
    local X Y WIDTH HEIGHT WINDOW SCREEN
    geometry_of "${@:2}"
    [[ "$X $Y $WIDTH $HEIGHT" == $1 ]]
}

# The md5 of the time label's pixels; whether the clock moves or stands over a second.
time_label() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    geometry_of
    import -window root -crop "40x18+$((X + 16))+$((Y + 48))" rgb:- 2>/dev/null | md5sum
}
clock_moves() { local first; first=$(time_label); sleep 1.1; [[ $(time_label) != "$first" ]]; }
clock_stands() { local first; first=$(time_label); sleep 1.1; [[ $(time_label) == "$first" ]]; }

# How often the player has started the song FILE, and whether it has done so TIMES times.
starts_of() { grep -c "starting \"$1\"" "$PLAYER_LOG" 2>/dev/null || true; }
started() { [[ $(starts_of "$1") -ge ${2:-1} ]]; } # started FILE [TIMES]

# Ends the player with SIGTERM, as a session logout does, and waits for it to go.
end_player() {
    kill -TERM "$PLAYER_PID"
    wait_for 20 process_gone "$PLAYER_PID"
}

# True when zorvan.m3u holds exactly the songs given, in GB18030 with CR LF.
saved_list_is() { cmp -s <(lines "$@") "$CONFIG/zorvan.m3u"; }

finish() {
    echo "$PASSES passed, $FAILURES failed"
    [[ $FAILURES -eq 0 ]]
}
