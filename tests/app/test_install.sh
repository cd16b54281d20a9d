#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the program, a desktop entry and AppStream data
# that their validators pass, the icons at every size the skin is drawn at, the manual page.
NO_DISPLAY=1 source "$(dirname "$0")/lib.sh"

build=$(dirname "$ZORVAN")
prefix=$WORK/prefix
run_install() { cmake --install "$build" --prefix "$prefix" >"$WORK/install.log" 2>&1; }
check "cmake --install succeeds" run_install
[[ $FAILURES -eq 0 ]] || { cat "$WORK/install.log" >&2; finish; exit 1; }

check "the program is installed" test -x "$prefix/bin/zorvan"
check "it is the program that was built" cmp -s "$ZORVAN" "$prefix/bin/zorvan"

entry=$prefix/share/applications/zorvanplayer.desktop
check "desktop-file-validate passes the entry" desktop-file-validate "$entry"
value() { sed -n "s/^$1=//p" "$entry"; }
check "the entry runs the program with the files to open" test "$(value Exec)" = "zorvan %F"
check "the entry names the installed icon" test "$(value Icon)" = zorvanplayer

check "the metainfo is installed" test -s "$prefix/share/metainfo/org.zorvan.ZorvanPlayer.metainfo.xml"
# Quiet unless it fails; then what it says goes to the test's log.
validate() { local out; out=$(appstreamcli "$@" 2>&1) || { echo "$out" >&2; return 1; }; }
# The whole tree: the metainfo as "validate" checks it, and its launchable the installed entry.
check "appstreamcli validates the installed tree" validate validate-tree --no-net "$prefix"

# Every size at 1x and at 2x, each of the pixel size its folder says.
icon_size() { identify -format '%wx%h' "$prefix/share/icons/hicolor/$1/apps/zorvanplayer.png"; }
for folder in {16x16,48x48,128x128,256x256}{,@2}; do
    edge=${folder%%x*}
    [[ $folder != *@2 ]] || edge=$((edge * 2))
    check "the $folder icon is $edge pixels" test "$(icon_size $folder 2>/dev/null)" = ${edge}x$edge
done

check "the copyright is installed" test -s "$prefix/share/doc/zorvan/copyright"
man=$prefix/share/man/man1/zorvan.1.gz
check "the manual page is installed and formats without warnings" test -s "$man" -a \
    -z "$(zcat "$man" | groff -k -man -Tutf8 -ww -z 2>&1)"

finish
