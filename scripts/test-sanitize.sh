#!/usr/bin/env bash
# Runs the tests of a build made with ZORVAN_SANITIZE (make test-sanitize). Every sanitizer
# report, of a test program or of a player that a whole-program test started, is written to
# BUILD_DIR/sanitizer-logs; the run fails when a test failed or any report was written,
# and prints the reports. Leaks count, except those of tests/lsan.supp. Some whole-program
# tests put a library in front of the others with LD_PRELOAD, hence verify_asan_link_order=0.
# Usage: test-sanitize.sh BUILD_DIR [ctest arguments...]
set -uo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR [ctest arguments...]}")
shift
logs=$build/sanitizer-logs
rm -rf "$logs"
mkdir -p "$logs"
root=$(cd "$(dirname "$0")/.." && pwd)
export ASAN_OPTIONS=log_path=$logs/asan:detect_leaks=1:verify_asan_link_order=0:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=log_path=$logs/ubsan:print_stacktrace=1:halt_on_error=1
(cd "$build" && ctest --output-on-failure "$@")
status=$?
shopt -s nullglob
reports=("$logs"/*)
for report in "${reports[@]}"; do
    echo "== $report"
    cat "$report"
done
[[ ${#reports[@]} -eq 0 ]] || status=1
exit $status
