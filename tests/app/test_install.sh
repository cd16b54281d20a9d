#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the program, a desktop entry and AppStream data
# that their validators pass, the icons at every size the skin is drawn at, the manual page.
source "$(dirname "$0")/lib.sh"

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

metainfo=$prefix/share/metainfo/org.zorvan.ZorvanPlayer.metainfo.xml
# Quiet unless they fail; then what they say goes to the test's log.
validate() { local out; out=$(appstreamcli "$@" 2>&1) || { echo "$out" >&2; return 1; }; }
check "appstreamcli validates the metainfo" validate validate --no-net "$metainfo"
# The whole tree: the metainfo's launchable must be the installed entry.
check "appstreamcli validates the installed tree" validate validate-tree --no-net "$prefix"

# Every size at 1x and at 2x, each of the pixel size its folder says.
icon_size() { identify -format '%wx%h' "$1" 2>/dev/null; }
for edge in 16 48 128 256; do
    icons=$prefix/share/icons/hicolor
    check "the ${edge}x$edge icon is $edge pixels" \
        test "$(icon_size "$icons/${edge}x$edge/apps/zorvanplayer.png")" = "${edge}x$edge"
    double=$((edge * 2))
    check "the ${edge}x$edge@2 icon is $double pixels" \
        test "$(icon_size "$icons/${edge}x$edge@2/apps/zorvanplayer.png")" = "${double}x$double"
done

check "the manual page is installed" test -s "$prefix/share/man/man1/zorvan.1.gz"
check "the copyright is installed" test -s "$prefix/share/doc/zorvan/copyright"
check "the manual page formats without warnings" \
    test -z "$(zcat "$prefix/share/man/man1/zorvan.1.gz" | groff -k -man -Tutf8 -ww -z 2>&1)"

finish
