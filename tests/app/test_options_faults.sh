#!/usr/bin/env bash
# The captions of the real player's windows as the window manager reads them: each window's
# own name, with nothing added, in both the old and the UTF-8 property. The options dialog
# and its folder chooser are opened from the main menu and the keyboard; a message box
# names the player.
source "$(dirname "$0")/lib.sh"

# The window's name properties, one line each, as "WM_NAME=…" and "_NET_WM_NAME=…".
names_of() {
    LC_ALL=C.UTF-8 xprop -id "$1" WM_NAME _NET_WM_NAME 2>/dev/null |
        sed -n 's/^\([A-Z_]*\)([A-Z_0-9]*) = "\(.*\)"$/\1=\2/p'
}
captioned() { # captioned WINDOW NAME
    [[ -n $1 && $(names_of "$1") == "WM_NAME=$2"$'\n'"_NET_WM_NAME=$2" ]]
}
window_by_class_named() { # the visible window of the player whose UTF-8 name starts with NAME
    local window
    for window in $(xdotool search --onlyvisible --class zorvan 2>/dev/null); do
        [[ $(names_of "$window") == *"_NET_WM_NAME=$1"* ]] && { echo "$window"; return; }
    done
}
shown() { [[ -n $(window_by_class_named "$1") ]]; }

# The options dialog through the main menu, which the right button on the skin opens:
# "选项(&O)...", "参数设置(&S)...".
open_options() {
    local before
    before=$(visible_windows)
    xdotool mousemove --window "$(player_window)" 100 60 click 3
    wait_for 5 more_windows_than "$before" && xdotool key o s
    wait_for 10 shown 参数设置
}
start_x
start_shown
check "the main window is captioned 岚铃播放器" captioned "$(player_window)" 岚铃播放器
check "the options dialog opens" open_options
check "it is captioned 参数设置" captioned "$(window_by_class_named 参数设置)" 参数设置
# From the tab strip to the lyric folders' page, past its list to "添加文件夹".
xdotool key Right Tab Tab space
check "the folder chooser opens" wait_for 10 shown 选择目录
check "it is captioned 选择目录" captioned "$(window_by_class_named 选择目录)" 选择目录
# Esc closes the options dialog, and the chooser with it.
xdotool key Escape
check "both close" wait_for 10 eval '! shown 参数设置'
# A settings file that cannot be written: "确定" tells so in a box that names the player.
mkdir "$CONFIG/zorvan.set"
open_options
xdotool mousemove --window "$(window_by_class_named 参数设置)" $((4460 / 15)) $((4120 / 15)) click 1
check "a failed write is told in a box" wait_for 10 boxes_are 1
check "captioned 岚铃播放器" captioned "$(boxes)" 岚铃播放器
end_player

finish
