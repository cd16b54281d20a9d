#!/usr/bin/env bash
# Without the GB18030 conversion the player can read none of its files and write none:
# the saved playlist and settings stay byte for byte as they were, and the writes that
# could not be made are reported on stderr.
source "$(dirname "$0")/lib.sh"
cc -shared -fPIC -o "$WORK/failing_iconv.so" "$(dirname "$0")/failing_iconv.c" -ldl
start_x

mkdir -p "$CONFIG"
printf '%s\r\n' "$WORK/音乐/一.wav" "$WORK/音乐/二.wav" | iconv -f UTF-8 -t GB18030 \
    >"$CONFIG/zorvan.m3u"
printf '%s\r\n' '[DONTCHANGETHISSET]' 1500 3000 12 0 5 1 0 12582912 -2147483634 黑体 26 0 -1 0 \
    -1200 5 | iconv -f UTF-8 -t GB18030 >"$CONFIG/zorvan.set"
cp "$CONFIG/zorvan.m3u" "$WORK/expected.m3u"
cp "$CONFIG/zorvan.set" "$WORK/expected.set"

export LD_PRELOAD=$WORK/failing_iconv.so
start_player
unset LD_PRELOAD
check "the window is mapped" wait_for 15 window_mapped
check "the player ends after SIGTERM" end_player

check "zorvan.m3u is left byte for byte" cmp "$WORK/expected.m3u" "$CONFIG/zorvan.m3u"
check "zorvan.set is left byte for byte" cmp "$WORK/expected.set" "$CONFIG/zorvan.set"
check "nothing else is left in the folder" test "$(ls -A "$CONFIG" | wc -l)" -eq 2
check "the playlist that was not written is reported" \
    grep -q "cannot write $CONFIG/zorvan.m3u: .*GB18030" "$PLAYER_LOG"
check "the settings that were not written are reported" \
    grep -q "cannot write $CONFIG/zorvan.set: .*GB18030" "$PLAYER_LOG"

finish
