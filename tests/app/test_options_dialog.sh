#!/usr/bin/env bash
# The options dialog of the real player, reached by the right button on the skin: ticking
# mp3 on the file-types page and pressing "确定" makes the player the default application of
# audio/mpeg as xdg-mime reports it; unticking gives the type back to its previous owner. The
# shutdown by SIGTERM with the dialog open saves and ends. Screenshots of both menus, the
# sound submenu and the four pages at scales 1 and 2 are left in SCREENSHOT_DIR.
source "$(dirname "$0")/lib.sh"

SHOTS=${SCREENSHOT_DIR:-$WORK}
# xdg-mime and the player both read the plain mimeapps.list files of this desktop.
export XDG_CURRENT_DESKTOP=X-Generic
mkdir -p "$HOME/.local/share/applications"
printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Other' 'Exec=/bin/true %f' \
    'MimeType=audio/mpeg;' >"$HOME/.local/share/applications/other.desktop"
xdg-mime default other.desktop audio/mpeg
owner_is() { [[ $(xdg-mime query default audio/mpeg) == "$1" ]]; }
check "another application owns audio/mpeg at first" owner_is other.desktop

visible_windows() { xdotool search --onlyvisible --class zorvan 2>/dev/null | wc -l; }
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [[ -n $(window_named "$1") ]]; }
gone() { [[ -z $(window_named "$1") ]]; }
more_windows_than() { [[ $(visible_windows) -gt $1 ]]; }
# Releases the right button at (X, Y) of the skin, in the window's pixels, and waits for the
# menu.
right_click() {
    local before
    before=$(visible_windows)
    xdotool mousemove --window "$(player_window)" "$1" "$2" click 3
    wait_for 5 more_windows_than "$before"
}
# Opens the options dialog through the main menu: "选项(&O)...", "参数设置(&S)...".
open_options() {
    right_click "$1" "$2" && xdotool key o s
    wait_for 10 shown 参数设置
}
# On the file-types page: the focus moves from the tab strip into the list, one step down
# to mp3, which the space bar ticks or clears; then a click on "确定" (4460, 4120 twips).
toggle_mp3_and_confirm() {
    xdotool key Right Right Right Tab Down space
    xdotool mousemove --window "$(window_named 参数设置)" $((4460 / 15)) $((4120 / 15)) click 1
    wait_for 10 gone 参数设置
}

tour() { # tour SCALE: screenshots of the menus and the dialog's pages
    local scale=$1 shot="$SHOTS/options-scale-$1"
    QT_SCALE_FACTOR=$scale start_player
    check "scale $scale: the window is mapped" wait_for 15 window_mapped
    check "scale $scale: the main menu opens" right_click $((100 * scale)) $((60 * scale))
    import -window root "$shot-menu.png"
    xdotool key Down Down Down Down Down Down Down Down Down Right
    sleep 0.5 # the submenu is only looked at in the picture
    import -window root "$shot-sound.png"
    xdotool key Escape Escape
    check "scale $scale: the list menu opens" right_click $((100 * scale)) $((300 * scale))
    import -window root "$shot-list-menu.png"
    xdotool key Escape
    check "scale $scale: the options dialog opens" open_options $((100 * scale)) $((60 * scale))
    for page in 1 2 3 4; do
        import -window root "$shot-page-$page.png"
        xdotool key Right
    done
    kill -TERM "$PLAYER_PID"
    check "scale $scale: the player ends" wait_for 20 process_gone "$PLAYER_PID"
}

start_x
start_player
check "the window is mapped" wait_for 15 window_mapped
check "the options dialog opens from the right button on the skin" open_options 100 60
toggle_mp3_and_confirm
check "after ticking mp3 the player owns audio/mpeg" wait_for 5 owner_is zorvanplayer.desktop
check "the settings file is written" test -s "$CONFIG/zorvan.set"
check "the options dialog opens again" open_options 100 60
toggle_mp3_and_confirm
check "after unticking the previous owner is back" wait_for 5 owner_is other.desktop

check "the dialog is open for the shutdown" open_options 100 60
rm "$CONFIG/zorvan.set"
kill -TERM "$PLAYER_PID"
check "SIGTERM with the dialog open ends the player" wait_for 20 process_gone "$PLAYER_PID"
check "after saving the settings" test -s "$CONFIG/zorvan.set"

tour 1
tour 2
finish
