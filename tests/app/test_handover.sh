#!/usr/bin/env bash
# Files opened into the running player: garbage written to the player's socket leaves it
# running and unchanged; a second start hands over its files (named relative to its own
# working folder), which join the list, and the first of them plays; many second starts at
# once all get through while silent connections hold the socket, which the player closes;
# beside another user's runtime folder a second start still reaches the first.
# The shapes of malformed requests are the parser's table (tests/platform).
source "$(dirname "$0")/lib.sh"
# The second starts run in other folders.
ZORVAN=$(realpath "$ZORVAN")

music=$WORK/music
elsewhere=$WORK/elsewhere
mkdir -p "$music" "$elsewhere"
make_tone "$music/long.wav" 30 440
make_tone "$elsewhere/b.wav" 30 550
make_tone "$elsewhere/c.wav" 1 660
for i in {1..8}; do cp "$elsewhere/c.wav" "$elsewhere/many$i.wav"; done
socket=$XDG_RUNTIME_DIR/$TITLE.socket

all_starts() { grep -c "starting \"" "$PLAYER_LOG" 2>/dev/null || true; }
# A later start from FOLDER with ARGS: it must end on its own, and at once.
second_start() { # second_start FOLDER ARGS...
    local folder=$1; shift
    (cd "$folder" && timeout 10 "$ZORVAN" "$@") >>"$WORK/second.log" 2>&1
}

start_player "$music/long.wav"
check "the first player plays its song" wait_for 15 started "$music/long.wav"

# Garbage on the socket: the player ignores it.
garbage() { # writes its input and closes; the player may hang up on it first
    python3 -c 'import contextlib, socket, sys
connection = socket.socket(socket.AF_UNIX)
connection.connect(sys.argv[1])
with contextlib.suppress(BrokenPipeError, ConnectionResetError):
    connection.sendall(sys.stdin.buffer.read())' "$socket"
}
check "random garbage is written" garbage < <(head -c 262144 /dev/urandom)
check "the player still runs after the garbage" kill -0 "$PLAYER_PID"
check "the garbage started nothing" test "$(all_starts)" -eq 1

# Two files named relative to the second start's own folder.
check "a second start with two files ends at once" second_start "$elsewhere" b.wav c.wav
check "the first of them plays" wait_for 10 started "$elsewhere/b.wav"

# Connections that say nothing, more than the player reads at once; meanwhile many second
# starts at once, each with a file of its own, all get through and every file joins the list;
# the player closes every silent connection in bounded time.
python3 - "$socket" "$WORK/held" "$WORK/closed" <<'PY' &
import socket, sys
held = [socket.socket(socket.AF_UNIX) for _ in range(40)]
for connection in held:
    connection.connect(sys.argv[1])
    # One still open after this ends the script without the count.
    connection.settimeout(30)
open(sys.argv[2], "w").close()
closed = 0
for connection in held:
    try:
        closed += connection.recv(1) == b""
    except ConnectionResetError:
        closed += 1
open(sys.argv[3], "w").write(str(closed))
PY
PIDS+=($!)
check "forty silent connections are open" wait_for 10 test -e "$WORK/held"
starts=()
for i in {1..8}; do second_start "$elsewhere" "many$i.wav" & starts+=($!); done
ended_well=0
for pid in "${starts[@]}"; do wait "$pid" && ended_well=$((ended_well + 1)); done
check "eight second starts at once among them all end well" test "$ended_well" -eq 8
check "the player closes all forty silent connections" wait_for 35 grep -qsx 40 "$WORK/closed"
end_player
saved=$(tr -d '\r' <"$CONFIG/zorvan.m3u")
check "the list has the first song, the two files in their order, then the eight" test \
    "$(head -n 3 <<<"$saved"; tail -n +4 <<<"$saved" | sort)" = "$(printf '%s\n' \
    "$music/long.wav" "$elsewhere"/{b,c}.wav "$elsewhere"/many{1..8}.wav)"
check "the second starts said nothing" test ! -s "$WORK/second.log"

# Without a runtime folder, and with the temporary folder's usual stand-in made first by
# another user, the player keeps its socket in a private folder of its own: a second start
# from another working folder still reaches the first.
if [[ $EUID -eq 0 ]]; then
    unset XDG_RUNTIME_DIR
    export TMPDIR=$WORK/tmp
    install -d -m 700 -o nobody "$TMPDIR/runtime-root"
    start_player "$music/long.wav"
    check "beside a foreign runtime folder the player plays" wait_for 15 started "$music/long.wav"
    check "a second start from another folder ends at once" second_start "$elsewhere" b.wav
    check "and the first player plays its file" wait_for 10 started "$elsewhere/b.wav"
    check "the socket is in the private folder" test -S "$TMPDIR/zorvan-0/$TITLE.socket"
    end_player
else
    echo "not tried: another user's runtime folder (making it needs root)"
fi

finish
