#!/usr/bin/env bash
# Looks over the Debian package that `make package` made and tries it on this machine:
# its control data and files, lintian (no errors, no hardening tags), then `apt-get install`
# of the file, the installed /usr/bin/zorvan started under a private Xvfb until its window
# shows, and `apt-get remove` again. Needs root (or sudo) for apt. Usage: check-package.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
shopt -s nullglob
debs=("$build"/zorvan_*.deb)
[[ ${#debs[@]} -eq 1 ]] || { echo "want exactly one zorvan_*.deb in $build; run make package" >&2; exit 1; }
deb=$(realpath "${debs[0]}")
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)

echo "== dpkg-deb -I"
dpkg-deb -I "$deb"
echo "== dpkg-deb -c"
dpkg-deb -c "$deb"
echo "== lintian"
# No errors, and none of the hardening tags (some of which are only information).
report=$(lintian --display-info --fail-on error "$deb") || { echo "$report"; exit 1; }
echo "$report"
if grep -q ' hardening-' <<<"$report"; then
    echo "the program is built without some hardening: see the hardening- tags" >&2
    exit 1
fi

work=$(mktemp -d)
xvfb=
player=
cleanup() {
    [[ -n $player ]] && kill "$player" 2>/dev/null
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
    if dpkg-query -W -f='${Status}' zorvan 2>/dev/null | grep -q "install ok installed"; then
        echo "== apt-get remove"
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq zorvan
    fi
}
trap cleanup EXIT

echo "== apt-get install $deb"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$deb"
desktop-file-validate /usr/share/applications/zorvanplayer.desktop

echo "== /usr/bin/zorvan under Xvfb"
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" 2>/dev/null &
xvfb=$!
read -r -t 10 number <"$work/displayfd"
mkdir -m 700 "$work/run"
HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run DISPLAY=:$number \
    /usr/bin/zorvan >"$work/player.log" 2>&1 &
player=$!
for _ in $(seq 100); do
    DISPLAY=:$number xdotool search --onlyvisible --name '^岚铃播放器$' >/dev/null 2>&1 && break
    kill -0 "$player" 2>/dev/null || break
    sleep 0.1
done
if ! DISPLAY=:$number xdotool search --onlyvisible --name '^岚铃播放器$' >/dev/null 2>&1; then
    echo "the installed player showed no window:" >&2
    cat "$work/player.log" >&2
    exit 1
fi
kill -TERM "$player"
wait "$player"
player=
echo "the installed player started, showed its window and ended on SIGTERM"
