#!/usr/bin/env bash
# The options dialog of the real player, opened from the main menu (the right button on the
# skin) and driven from the keyboard; it and its folder chooser are found by their exact
# captions, as the other tests find the main window by its own. Ticking mp3 on the
# file-types page and pressing "确定" makes the player the default application of audio/mpeg
# as xdg-mime reports it; unticking gives the type back to its previous owner.
source "$(dirname "$0")/lib.sh"

# xdg-mime and the player both read the plain mimeapps.list files of this desktop.
export XDG_CURRENT_DESKTOP=X-Generic
mkdir -p "$HOME/.local/share/applications"
printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Other' 'Exec=/bin/true %f' \
    'MimeType=audio/mpeg;' >"$HOME/.local/share/applications/other.desktop"
xdg-mime default other.desktop audio/mpeg
owner_is() { [[ $(xdg-mime query default audio/mpeg) == "$1" ]]; }
check "another application owns audio/mpeg at first" owner_is other.desktop

shown() { [[ -n $(window_named "$1") ]]; }

# "选项(&O)...", "参数设置(&S)..." in the main menu; "确定" at (4460, 4120) twips.
open_options() {
    local before
    before=$(visible_windows)
    xdotool mousemove --window "$(player_window)" 100 60 click 3
    wait_for 5 more_windows_than "$before" && xdotool key o s
    wait_for 10 shown 参数设置
}
start_shown
check "the options dialog 参数设置 opens" open_options
# From the tab strip to the lyric folders' page, past its list to "添加文件夹".
xdotool key Right Tab Tab space
check "the folder chooser opens" wait_for 10 shown 选择目录
# Esc closes the options dialog, and the chooser with it.
xdotool key Escape
check "both close" wait_for 10 eval '! shown 参数设置'
# Each time on the file-types page: the focus moves from the tab strip into the list, one
# step down to mp3, which the space bar ticks, then clears.
for owner in zorvanplayer.desktop other.desktop; do
    check "the options dialog opens again" open_options
    xdotool key Right Right Right Tab Down space
    xdotool mousemove --window "$(window_named 参数设置)" $((4460 / 15)) $((4120 / 15)) \
        click 1
    check "确定 closes it" wait_for 10 eval '! shown 参数设置'
    check "then $owner owns audio/mpeg" wait_for 5 owner_is "$owner"
done
end_player

finish
