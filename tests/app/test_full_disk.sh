#!/usr/bin/env bash
# With the configuration folder on a full disk, whether the disk refuses a write part way,
# the flush to disk or the close, the player's files stay byte for byte as they were and
# each file that could not be written is named: on stderr at shutdown, and in a message on
# "确定" in the options dialog, which then stays open. A saved list holding a name in
# another code page comes back byte for byte from a run on a disk with room.
source "$(dirname "$0")/lib.sh"
cc -shared -fPIC -o "$WORK/full_disk.so" "$(dirname "$0")/full_disk.c" -ldl
start_x

write_settings 1500 3000 1
{
    for number in $(seq 400); do printf '%s\r\n' "$WORK/音乐/$number.wav"; done |
        iconv -f UTF-8 -t GB18030
    printf '%s/Beyonc\xe9.mp3\r\n' "$WORK"
} >"$CONFIG/zorvan.m3u"
mkdir "$WORK/pictures"
for name in 一 二 三; do
    convert -size 64x48 xc:navy "$WORK/pictures/$name.jpg"
    printf '%s\r\n' "$WORK/pictures/$name.jpg"
done | iconv -f UTF-8 -t GB18030 >"$CONFIG/zorvan.pic"
printf '[END]\r\n' >>"$CONFIG/zorvan.pic"
mkdir "$WORK/before"
cp "$CONFIG"/zorvan.* "$WORK/before/"

box_shown() { [[ -n $(boxes) ]]; }
unchanged() { cmp "$WORK/before/$1" "$CONFIG/$1"; }
# Qt names the error in the player's language when its Chinese texts are installed.
named() {
    grep -qE "cannot write $CONFIG/$1: (设备中已没有剩余空间|No space left on device)\$" "$PLAYER_LOG"
}

for call in write fsync close; do
    export LD_PRELOAD=$WORK/full_disk.so FULL_DISK_FOLDER=$CONFIG FULL_DISK_FAILS=$call
    export FULL_DISK_BYTES=50
    start_player
    unset LD_PRELOAD
    check "$call: the window is mapped" wait_for 15 window_mapped
    if [[ $call == write ]]; then
        check "$call: the options dialog opens" open_options
        # "确定" at (4460, 4120) twips.
        xdotool mousemove --window "$(window_named 参数设置)" $((4460 / 15)) $((4120 / 15)) \
            click 1
        check "$call: 确定 shows a message" wait_for 10 box_shown
        check "$call: the options dialog stays open" shown 参数设置
        check "$call: zorvan.pic is left byte for byte" unchanged zorvan.pic
        xdotool key Return
        check "$call: Return closes the message" wait_for 5 test -z "$(boxes)"
    fi
    check "$call: the player ends after SIGTERM" end_player
    for file in zorvan.set zorvan.m3u zorvan.pic; do
        check "$call: $file is left byte for byte" unchanged $file
    done
    check "$call: nothing else is left in the folder" test "$(ls -A "$CONFIG" | wc -l)" -eq 3
    check "$call: the settings that were not written are named" named zorvan.set
    check "$call: the list that was not written is named" named zorvan.m3u
done

unset FULL_DISK_FOLDER
start_player
check "the window is mapped with room on the disk" wait_for 15 window_mapped
check "the player ends after SIGTERM" end_player
check "the list with a Latin-1 name is written back byte for byte" unchanged zorvan.m3u
check "no write failed" test -z "$(grep "cannot write" "$PLAYER_LOG")"

finish
