#!/usr/bin/env bash
# A screen reader's view of the real player over AT-SPI: the skin's buttons by their
# Chinese names, pressed through the action interface; the loop lamp reporting its state
# and toggled; the volume knob reporting and taking its value, which the settings then keep.
source "$(dirname "$0")/lib.sh"
start_x
make_tone "$WORK/one.wav" 30 440
lines "$WORK/one.wav" >"$CONFIG/zorvan.m3u"

eval "$(dbus-launch --sh-syntax)"
PIDS+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
PIDS+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
client() { /usr/bin/python3 "$(dirname "$0")/atspi_client.py" "$@" 2>/dev/null; }

start_shown
check "the saved song is loaded" wait_for 10 started "$WORK/one.wav"
check "a screen reader presses 播放" wait_for 10 client press 播放
check "and the song starts from its beginning" wait_for 10 started "$WORK/one.wav" 2
check "the loop lamp reads as on" test "$(client checked 循环)" = checked
check "it can be toggled" client toggle 循环
loop_off() { [[ $(client checked 循环) == unchecked ]]; }
check "and then reads as off" wait_for 5 loop_off
check "the volume knob reads 100" test "$(client value 音量)" = 100
check "it takes the value 50" test "$(client value 音量 50)" = 50
check "the player ends" end_player
check "half the knob's travel is -20 dB, saved" test "$(sed -n 16p "$CONFIG/zorvan.set")" = $'-2000\r'

finish
