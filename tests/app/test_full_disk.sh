#!/usr/bin/env bash
# With the configuration folder on a full disk, whether the disk refuses the flush to disk or
# the close, the player's files stay byte for byte as they were and each file that could not
# be written is named on stderr at shutdown. How "确定" in the options dialog reports a failed
# write is the dialogs' unit test; the files without a GB18030 conversion, the text-file unit
# test's; that a run which changes nothing writes the settings back as they were, the skin
# window's, and leaves the list unwritten, the saved list's.
source "$(dirname "$0")/lib.sh"
cc -shared -fPIC -o "$WORK/full_disk.so" "$(dirname "$0")/full_disk.c" -ldl

write_settings 1500 3000 1
lines "$WORK"/音乐/{1..400}.wav >"$CONFIG/zorvan.m3u"
mkdir "$WORK/pictures"
for name in 一 二 三; do convert -size 64x48 xc:navy "$WORK/pictures/$name.jpg"; done
lines "$WORK"/pictures/{一,二,三}.jpg '[END]' >"$CONFIG/zorvan.pic"
cp -r "$CONFIG" "$WORK/before"

unchanged() { cmp "$WORK/before/$1" "$CONFIG/$1"; }
# Qt names the error in the player's language when its Chinese texts are installed.
REASON='(设备中已没有剩余空间|No space left on device)'
named() { grep -qE "cannot write $CONFIG/$1: $REASON\$" "$PLAYER_LOG"; }

# The list is written only when it changed: the player is given a song, so that it has a list
# to write.
make_tone "$WORK/one.wav" 1 440
for CASE in fsync close; do
    LD_PRELOAD=$WORK/full_disk.so FULL_DISK_FOLDER=$CONFIG FULL_DISK_FAILS=$CASE start_shown \
        "$WORK/one.wav"
    check "the player ends after SIGTERM" end_player
    for file in zorvan.set zorvan.m3u zorvan.pic; do
        check "$file is left byte for byte" unchanged $file
    done
    check "nothing else is left in the folder" test "$(ls -A "$CONFIG" | wc -l)" -eq 3
    check "the settings that were not written are named" named zorvan.set
    check "the list that was not written is named" named zorvan.m3u
done

finish
