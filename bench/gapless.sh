#!/usr/bin/env bash
# How long the sound stops where one track gives way to the next: two tones played back to
# back through a private PulseAudio server, whose null sink's monitor is recorded, for this
# player's backend (bench/gaplessplay, which queues the second track as the player does) and
# for mpv, on WAV and on MP3 with a LAME tag (the encoder's delay and padding). The figure
# is the longest run of silence near the junction, in milliseconds, the worst of the rounds
# (the longest elsewhere, an underrun, is shown beside it); the target is under 5 ms for this
# player. The sound server, mpv and lame are installed when missing (as root only); the
# tests do not need them.
#
# Usage: gapless.sh PATH_TO_GAPLESSPLAY [ROUNDS]
set -euo pipefail
PLAYER=$(realpath "${1:?usage: $0 PATH_TO_GAPLESSPLAY [ROUNDS]}")
ROUNDS=${2:-3}
TARGET_MS=5
source "$(dirname "$0")/lib.sh"

missing=()
for need in pulseaudio:pulseaudio parec:pulseaudio-utils pactl:pulseaudio-utils mpv:mpv \
    lame:lame; do
    command -v "${need%%:*}" >/dev/null || missing+=("${need#*:}")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    [[ $(id -u) -eq 0 ]] || { echo "missing: ${missing[*]} (install them as root)" >&2; exit 1; }
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# A server of this run only, with a sink that plays to nowhere, at the tones' rate.
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L module-native-protocol-unix \
    -L "module-null-sink sink_name=bench rate=44100 channels=2" 2>"$WORK/pulseaudio.log" &
PIDS+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null || { cat "$WORK/pulseaudio.log" >&2; exit 1; }

# Two tones of 2 s at different pitches.
for tone in 1:441 2:661.5; do
    gst-launch-1.0 -q audiotestsrc wave=sine freq="${tone#*:}" volume=0.5 \
        samplesperbuffer=441 num-buffers=200 \
        ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! wavenc \
        ! filesink location="$WORK/tone${tone%%:*}.wav"
    lame --quiet -b 192 "$WORK/tone${tone%%:*}.wav" "$WORK/tone${tone%%:*}.mp3"
done

# The longest silence that starts within a quarter of a second of the junction, 2 s into
# the recorded sound, and the longest elsewhere (an underrun of a loaded machine), in ms:
# "JUNCTION ELSEWHERE", or "none" without sound.
longest_silence() { # longest_silence RAW
    python3 - "$1" <<'EOF'
import array, sys
samples = array.array('h', open(sys.argv[1], 'rb').read())
# At half of full scale, a sine of these pitches is below 1 % of full scale for at most one
# sample at its zero crossings.
loud = [i // 2 for i, value in enumerate(samples) if abs(value) > 328]
if not loud:
    print("none")
    sys.exit()
junction = loud[0] + 2 * 44100
near, elsewhere = 0, 0
for before, after in zip(loud, loud[1:]):
    silent = after - before - 1
    if abs(before - junction) <= 44100 // 4:
        near = max(near, silent)
    else:
        elsewhere = max(elsewhere, silent)
print("%.1f %.1f" % (near / 44.1, elsewhere / 44.1))
EOF
}

# Records the null sink while COMMAND plays, and prints the longest silence.
measure() { # measure COMMAND...
    local raw=$WORK/recording.raw
    parec -d bench.monitor --raw --format=s16le --rate=44100 --channels=2 \
        --latency-msec=20 >"$raw" &
    local recorder=$!
    sleep 0.5
    "$@" >"$WORK/player.log" 2>&1 || { cat "$WORK/player.log" >&2; kill "$recorder"; return 1; }
    sleep 0.5
    kill "$recorder"
    wait "$recorder" 2>/dev/null || true
    longest_silence "$raw"
}

status=0
echo "longest silence in ms at the junction (elsewhere), each of $ROUNDS rounds"
for format in wav mp3; do
    files=("$WORK/tone1.$format" "$WORK/tone2.$format")
    for player in zorvan mpv; do
        figures=() worst=0
        for _ in $(seq "$ROUNDS"); do
            if [[ $player == zorvan ]]; then
                figure=$(measure "$PLAYER" "${files[@]}")
            else
                figure=$(measure mpv --no-config --no-video --really-quiet --ao=pulse \
                    --gapless-audio=yes "${files[@]}")
            fi
            [[ $figure == none ]] && { echo "$player heard nothing" >&2; exit 1; }
            figures+=("${figure% *} (${figure#* })")
            worst=$(awk -v a="$worst" -v b="${figure% *}" 'BEGIN { print (b > a ? b : a) }')
        done
        printf '%-4s %-7s worst %6s ms   rounds: %s\n' "$format" "$player" "$worst" "${figures[*]}"
        if [[ $player == zorvan ]] &&
            awk -v w="$worst" -v t="$TARGET_MS" 'BEGIN { exit !(w >= t) }'; then
            status=1
        fi
    done
done
[[ $status -eq 0 ]] && echo "target met: under $TARGET_MS ms" || echo "target missed: $TARGET_MS ms"
exit $status
