#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in build-fuzz and runs each for SECONDS, at most
# two at a time, at low priority. Each starts from its seed corpus (fuzz/corpus/<name>) and
# grows its own in build-fuzz/corpus/<name>. A run goes on after a crash (libFuzzer's fork
# mode), so one known fault does not hide the others; every crashing input lands in
# build-fuzz/crashes/<name>/. First every input of fuzz/regressions/<name>/ (crashes found
# before) is run once. Prints each harness's figures; fails when a regression input still
# fails or a run found a crash.
# Usage: fuzz/run.sh [SECONDS] [NAME...]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD:-build-fuzz}
names=("$@")
[[ ${#names[@]} -gt 0 ]] ||
    names=(lyricparser playlistfile settingsfile listfiles textcodec instancerequest)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DZORVAN_FUZZ=ON -DZORVAN_TESTS=OFF >/dev/null || exit 1
nice cmake --build "$build" -j2 --target "${names[@]/#/fuzz_}" || exit 1

export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
status=0
for name in "${names[@]}"; do
    shopt -s nullglob
    saved=(fuzz/regressions/"$name"/*)
    shopt -u nullglob
    [[ ${#saved[@]} -eq 0 ]] && continue
    for input in "${saved[@]}"; do
        # No input of these at most 64 KiB may need half a gigabyte.
        if ! "$build/fuzz/fuzz_$name" -rss_limit_mb=512 "$input" >"$build/replay.log" 2>&1; then
            echo "regression $input still fails:" >&2
            grep -m1 -E 'ERROR' "$build/replay.log" >&2
            status=1
        fi
    done
done

# The LRC parser reads whole files of up to a few hundred kilobytes; its long inputs matter.
options() {
    case $1 in
        lyricparser) echo "-max_len=65536" ;;
        *) echo "-max_len=4096" ;;
    esac
}

run_one() {
    local name=$1
    rm -rf "$build/crashes/$name"
    mkdir -p "$build/corpus/$name" "$build/crashes/$name"
    nice "$build/fuzz/fuzz_$name" $(options "$name") -rss_limit_mb=2048 \
        -max_total_time="$seconds" -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
        -artifact_prefix="$build/crashes/$name/" \
        "$build/corpus/$name" "fuzz/corpus/$name" >"$build/fuzz_$name.log" 2>&1
}

pids=()
for name in "${names[@]}"; do
    if [[ ${#pids[@]} -ge 2 ]]; then
        wait "${pids[0]}" || status=1
        pids=("${pids[@]:1}")
    fi
    run_one "$name" &
    pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done

for name in "${names[@]}"; do
    # The last progress line of the fork mode: "#RUNS: cov: C ft: F corp: N exec/s E
    # oom/timeout/crash: O/T/C time: Ss job: J ...".
    progress='^#\K\d+: cov: \d+ ft: \d+ corp: \d+ exec/s \d+ oom/timeout/crash: \S+ time: \d+'
    read -r runs cov files seconds < <(grep -oP "$progress" "$build/fuzz_$name.log" | tail -1 |
        awk '{print $1+0, $3, $7, $NF}')
    found=$(grep -oP 'oom/timeout/crash: \K\S+' "$build/fuzz_$name.log" | tail -1)
    crashes=$(find "$build/crashes/$name" -type f | wc -l)
    echo "$name: ${runs:-?} runs in ${seconds:-?} s ($(( ${runs:-0} / ${seconds:-1} )) exec/s)," \
        "cov ${cov:-?}, corpus ${files:-?}, oom/timeout/crash ${found:-?}, inputs saved $crashes"
    [[ $crashes -eq 0 ]] || status=1
done
exit $status
