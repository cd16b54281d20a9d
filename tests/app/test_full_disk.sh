#!/usr/bin/env bash
# With the configuration folder on a full disk, whether the disk refuses the flush to disk or
# the close, and with no GB18030 conversion at all, the player's files stay byte for byte as
# they were and each file that could not be written is named on stderr at shutdown. A saved
# list holding a name in another code page comes back byte for byte from a run on a disk with
# room. How "确定" in the options dialog reports a failed write is the dialogs' unit test.
source "$(dirname "$0")/lib.sh"
for preload in full_disk failing_iconv; do
    cc -shared -fPIC -o "$WORK/$preload.so" "$(dirname "$0")/$preload.c" -ldl
done
start_x

write_settings 1500 3000 1
{
    lines "$WORK"/音乐/{1..400}.wav
    printf '%s/Beyonc\xe9.mp3\r\n' "$WORK"
} >"$CONFIG/zorvan.m3u"
mkdir "$WORK/pictures"
for name in 一 二 三; do convert -size 64x48 xc:navy "$WORK/pictures/$name.jpg"; done
lines "$WORK"/pictures/{一,二,三}.jpg '[END]' >"$CONFIG/zorvan.pic"
cp -r "$CONFIG" "$WORK/before"

unchanged() { cmp "$WORK/before/$1" "$CONFIG/$1"; }
# Qt names the error in the player's language when its Chinese texts are installed.
named() { grep -qE "cannot write $CONFIG/$1: $REASON\$" "$PLAYER_LOG"; }

for CASE in fsync close iconv; do
    REASON='(设备中已没有剩余空间|No space left on device)'
    export LD_PRELOAD=$WORK/full_disk.so FULL_DISK_FOLDER=$CONFIG FULL_DISK_FAILS=$CASE
    [[ $CASE != iconv ]] || REASON='.*GB18030.*' LD_PRELOAD=$WORK/failing_iconv.so
    start_shown
    unset LD_PRELOAD
    check "the player ends after SIGTERM" end_player
    for file in zorvan.set zorvan.m3u zorvan.pic; do
        check "$file is left byte for byte" unchanged $file
    done
    check "nothing else is left in the folder" test "$(ls -A "$CONFIG" | wc -l)" -eq 3
    check "the settings that were not written are named" named zorvan.set
    check "the list that was not written is named" named zorvan.m3u
done
CASE=

unset FULL_DISK_FOLDER
start_shown
check "the player ends after SIGTERM" end_player
check "the list with a Latin-1 name is written back byte for byte" unchanged zorvan.m3u
check "no write failed" test -z "$(grep "cannot write" "$PLAYER_LOG")"

finish
