#!/usr/bin/env bash
# The full-screen slideshow of the real player, a new picture every second on a black
# background: three generated pictures (one larger than the screen, one small, one turned by
# its EXIF orientation), each in a list of its own after an entry that is no picture (missing,
# text, a pipe), so that between transitions the screen shows that picture. The entry brings
# one message, and the show goes on behind it (that the entry is told once per list is the
# slideshow's unit test): the picture comes again and again and lies whole on the screen
# around the message: centred, cut equally, upright, pixel for pixel as ImageMagick composes
# it. The frame the player shows halfway through the first transition (saved by it, so no
# screenshot has to fall inside one) mixes the empty background and the picture; the song
# plays on all the while. Then a hundred switches in and out of full screen while the pictures
# come, and SIGTERM. Screenshots are left in SCREENSHOT_DIR.
source "$(dirname "$0")/lib.sh"

SHOTS=${SCREENSHOT_DIR:-$WORK}
make_tone "$WORK/song.wav" 60 440
pics=$WORK/pictures
mkdir -p "$pics"
mkfifo "$pics/pipe.jpg"
# 1400 x 1000 red with a white square in its middle; on the 1024 x 768 screen it is cut by
# 188 pixels left and right and 116 at the top and bottom.
convert -size 1400x1000 xc:'#d02020' -fill white -draw 'rectangle 600,400 799,599' "$pics/big.jpg"
convert -size 300x200 xc:'#20b020' "$pics/small.png"
# Stored 400 x 200 with a yellow band along its top; shown turned 90 degrees clockwise, the
# band runs down the right edge of a 200 x 400 picture.
convert -size 400x200 xc:'#2040d0' -fill yellow -draw 'rectangle 0,0 399,29' "$pics/turned.jpg"
exiftool -q -overwrite_original -Orientation#=6 "$pics/turned.jpg"
echo 'no picture' >"$pics/text.jpg"
# The list shown, not full screen at the start, a new picture every second.
write_settings 1500 3000 1 0 1
BACKGROUND='#000000'

# The screen above the lyric strip as ImageMagick composes picture NAME on the background
# (centred, turned upright), and the number of pixels by which a screenshot differs from it,
# outside the rectangle MASK ("x0,y0 x1,y1") if one is given.
expect() { # expect NAME PICTURE
    convert -size 1024x768 xc:"$BACKGROUND" \( "$2" -auto-orient \) -gravity center -composite \
        +gravity -crop 1024x708+0+0 +repage "$WORK/expected-$1.ppm"
}
differs() { # differs SCREENSHOT NAME [MASK]
    local mask=(-fill magenta -draw "rectangle ${3:-0,0 -1,-1}")
    convert "$1" -crop 1024x708+0+0 +repage "${mask[@]}" "$WORK/screen.ppm"
    convert "$WORK/expected-$2.ppm" "${mask[@]}" "$WORK/wanted.ppm"
    compare -metric AE -fuzz 3% "$WORK/screen.ppm" "$WORK/wanted.ppm" null: 2>&1 || true
}
mixes() { # mixes FRAME NAME NAME: whether the frame differs from both
    [[ -f $1 && $(differs "$1" "$2") != 0 && $(differs "$1" "$3") != 0 ]]
}

export ZORVAN_TEST_TRANSITION_FRAMES=$WORK/frames
frames() { ls "$ZORVAN_TEST_TRANSITION_FRAMES" | grep -c .; }
more_frames_than() { [[ $(frames) -gt $1 ]]; }
convert -size 1024x708 xc:"$BACKGROUND" "$WORK/expected-empty.ppm"
mixed=0
for show in big:gone.jpg small:text.jpg turned:pipe.jpg; do
    name=${show%%:*} CASE=$name
    expect "$name" "$pics/$name".*
    # The list selects its first entry, so the first tick shows the picture.
    lines "$pics/${show#*:}" "$pics/$name".* '[END]' >"$CONFIG/zorvan.pic"
    rm -rf "$ZORVAN_TEST_TRANSITION_FRAMES" && mkdir "$ZORVAN_TEST_TRANSITION_FRAMES"
    start_shown "$WORK/song.wav"
    check "the song plays" wait_for 10 clock_moves
    before=$(time_label)
    click ImgFullscr
    check "full screen covers the screen" wait_for 5 geometry_is "0 0 1024 768"
    check "then one message" wait_for 30 boxes_are 1
    seen=$(frames)
    check "the show goes on behind it" wait_for 10 more_frames_than $((seen + 1))
    geometry_of "$(boxes)"
    import -window root "$SHOTS/slideshow-$name.png"
    check "the picture is shown whole around it" test "$(differs "$SHOTS/slideshow-$name.png" \
        "$name" "$X,$Y $((X + WIDTH - 1)),$((Y + HEIGHT - 1))")" = 0
    first=$ZORVAN_TEST_TRANSITION_FRAMES/transition-1.png
    mixes "$first" empty "$name" && mixed=$((mixed + 1))
    cp "$first" "$SHOTS/slideshow-during-$name.png" || true
    xdotool key Return
    check "Return closes the message" wait_for 5 boxes_are 0
    xdotool key Escape
    check "Esc brings the skin back" wait_for 5 geometry_is "* * 274 464"
    check "whose time has moved on while the pictures came" test "$(time_label)" != "$before"
    [[ $name == turned ]] || end_player
done
CASE=
check "frames of transitions were seen" test "$mixed" -gt 0

# A hundred switches while the pictures come, then SIGTERM. What a close in full screen
# saves is the main window's unit test.
for _ in $(seq 100); do xdotool key alt+Return Escape; done
xdotool key alt+Return
check "after a hundred switches the player is in full screen" wait_for 5 geometry_is "0 0 1024 768"
check "SIGTERM ends the player" end_player

finish
