#!/usr/bin/env bash
# The options dialog of the real player, reached by the right button on the skin: ticking
# mp3 on the file-types page and pressing "确定" makes the player the default application of
# audio/mpeg as xdg-mime reports it; unticking gives the type back to its previous owner.
source "$(dirname "$0")/lib.sh"

# xdg-mime and the player both read the plain mimeapps.list files of this desktop.
export XDG_CURRENT_DESKTOP=X-Generic
mkdir -p "$HOME/.local/share/applications"
printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Other' 'Exec=/bin/true %f' \
    'MimeType=audio/mpeg;' >"$HOME/.local/share/applications/other.desktop"
xdg-mime default other.desktop audio/mpeg
owner_is() { [[ $(xdg-mime query default audio/mpeg) == "$1" ]]; }
check "another application owns audio/mpeg at first" owner_is other.desktop

gone() { [[ -z $(window_named "$1") ]]; }
# On the file-types page: the focus moves from the tab strip into the list, one step down
# to mp3, which the space bar ticks or clears; then a click on "确定" (4460, 4120 twips).
toggle_mp3_and_confirm() {
    xdotool key Right Right Right Tab Down space
    xdotool mousemove --window "$(window_named 参数设置)" $((4460 / 15)) $((4120 / 15)) click 1
    wait_for 10 gone 参数设置
}

start_x
start_player
check "the window is mapped" wait_for 15 window_mapped
check "the options dialog opens from the right button on the skin" open_options
toggle_mp3_and_confirm
check "after ticking mp3 the player owns audio/mpeg" wait_for 5 owner_is zorvanplayer.desktop
check "the settings file is written" test -s "$CONFIG/zorvan.set"
check "the options dialog opens again" open_options
toggle_mp3_and_confirm
check "after unticking the previous owner is back" wait_for 5 owner_is other.desktop
end_player

finish
