#!/usr/bin/env bash
# A playlist from elsewhere: a comment line is no entry, a stream address plays through
# the network and is kept as written, and the list goes on to the local file after it.
source "$(dirname "$0")/lib.sh"
start_x

make_tone "$WORK/stream.wav" 2 440
make_tone "$WORK/local.wav" 1 550
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$WORK" >"$WORK/server.log" 2>&1 &
PIDS+=($!)
serving() { grep -q "port [0-9]" "$WORK/server.log"; }
wait_for 10 serving || { echo "the HTTP server did not start" >&2; exit 1; }
port=$(grep -o "port [0-9]*" "$WORK/server.log" | head -n 1 | cut -d' ' -f2)
stream=http://127.0.0.1:$port/stream.wav

lines '#EXTM3U' '# saved by another player' "$stream" "$WORK/local.wav" >"$WORK/list.m3u"
start_shown "$WORK/list.m3u"
check "the stream plays" wait_for 15 started "$stream"
check "through the network" grep -q "GET /stream.wav" "$WORK/server.log"
check "and at its end the local file follows" wait_for 15 started "$WORK/local.wav"
check "the player ends" end_player
# A comment line that became an entry would be saved too.
check "the saved list holds the stream address as written and the local file" \
    saved_list_is "$stream" "$WORK/local.wav"

finish
