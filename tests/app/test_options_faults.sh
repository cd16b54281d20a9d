#!/usr/bin/env bash
# The captions of the real player's windows as the window manager reads them: each window's
# own name, with nothing added, in both the old and the UTF-8 property. The options dialog
# and its folder chooser are opened from the main menu and the keyboard.
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

start_x
start_shown
check "the main window is captioned 岚铃播放器" captioned "$(player_window)" 岚铃播放器
# The right button on the skin opens the main menu: "选项(&O)...", "参数设置(&S)...".
before=$(visible_windows)
xdotool mousemove --window "$(player_window)" 100 60 click 3
wait_for 5 more_windows_than "$before" && xdotool key o s
check "the options dialog opens" wait_for 10 shown 参数设置
check "it is captioned 参数设置" captioned "$(window_by_class_named 参数设置)" 参数设置
# From the tab strip to the lyric folders' page, past its list to "添加文件夹".
xdotool key Right Tab Tab space
check "the folder chooser opens" wait_for 10 shown 选择目录
check "it is captioned 选择目录" captioned "$(window_by_class_named 选择目录)" 选择目录
end_player

finish
