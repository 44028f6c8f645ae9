#!/usr/bin/env bash
# Builds the package-opening fuzzer with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in a build folder of its own, generates the seed
# corpus and fuzzes for a bounded time. Fails on any crash, leak or sanitizer
# report, and when anything is left in the temporary folder or beside it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${LUMIVANE_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${LUMIVANE_FUZZ_SECONDS:-60}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DLUMIVANE_SANITIZE=ON -DLUMIVANE_BUILD_FUZZ=ON \
    -DLUMIVANE_BUILD_TESTS=OFF -DLUMIVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_package_open make-fuzz-corpus -j "$(nproc)"

work="$(mktemp -d "${TMPDIR:-/tmp}/lumivane-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run/tmp" "$work/corpus" "$work/artifacts"
"$build/fuzz/make-fuzz-corpus" "$work/corpus"

status=0
TMPDIR="$work/run/tmp" \
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    "$build/fuzz/fuzz_package_open" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -max_len=65536 -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
    "$work/corpus" >"$work/fuzz.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/fuzz.log"
    for artifact in "$work"/artifacts/*; do
        [ -e "$artifact" ] && echo "Failing input (base64): $(base64 -w0 "$artifact")"
    done
    echo "Fuzzing the package opening failed"
    exit 1
fi
grep -E "^stat::number_of_executed_units|^Done" "$work/fuzz.log" || true

left="$(find "$work/run" -mindepth 1 ! -path "$work/run/tmp" ! -path "$work/run/input.lumivane")"
if [ -n "$left" ]; then
    echo "Fuzzing left files behind:"
    echo "$left"
    exit 1
fi
echo "Fuzzing the package opening: no failure in ${seconds} s"
