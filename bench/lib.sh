# Shared steps of the whole-process benchmarks: a private home and runtime folder, and a
# private X server of the given size. Sourced after `set -euo pipefail` and the ZORVAN and
# ROUNDS lines.
# Usage: start_bench_x WIDTHxHEIGHT
WORK=$(mktemp -d)
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$WORK"' EXIT

start_bench_x() {
    mkfifo "$WORK/displayfd"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$WORK/displayfd" 2>/dev/null &
    PIDS+=($!)
    read -r -t 10 number <"$WORK/displayfd"
    export DISPLAY=:$number
}
