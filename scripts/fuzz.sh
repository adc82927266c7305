#!/usr/bin/env bash
# Runs every fuzz target of the native build for longer than the test run does:
#     scripts/fuzz.sh [MINUTES] [TARGET...]        (default: 10 minutes each, every target)
# One target at a time, at the lowest priority, each over its growing corpus in
# $BUILD/fuzz/<target>; a crash leaves its input in $BUILD/fuzz/<target>-crashes and fails the run.
# Ends with one line per target: executions, corpus size and whether it found anything.
set -u
. "$(dirname "$0")/lib/common.sh"
cd "$ROOT"
minutes=${1:-10}
shift || true
case "$minutes" in ''|*[!0-9]*) die "usage: scripts/fuzz.sh [MINUTES] [TARGET...]" ;; esac
ensure_packages
build_preset native

fuzz_dir="$BUILD/native/tests/fuzz"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for binary in "$fuzz_dir"/*_fuzz; do targets+=("$(basename "$binary" _fuzz)"); done
fi
[ ${#targets[@]} -gt 0 ] && [ -x "$fuzz_dir/${targets[0]}_fuzz" ] || die "no fuzz targets built (clang or libclang-rt-14-dev missing?)"

declare -A max_len=([service_reply]=512 [recipients]=512 [code_file]=8192 [settings]=2048 [item_copy]=256
                    [command_line]=1024)
failed=0
summary=()
for target in "${targets[@]}"; do
    binary="$fuzz_dir/${target}_fuzz"
    [ -x "$binary" ] || die "no fuzz target $target"
    corpus="$BUILD/fuzz/$target"
    crashes="$BUILD/fuzz/$target-crashes"
    mkdir -p "$corpus" "$crashes"
    cp -n tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null
    log="$BUILD/fuzz/$target.log"
    say "fuzzing $target for $minutes minutes"
    nice -n 19 "$binary" -max_total_time=$((minutes * 60)) -max_len="${max_len[$target]:-1024}" -timeout=5 \
        -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    found=$(ls "$crashes" | wc -l)
    [ "$rc" = 0 ] && [ "$found" = 0 ] || failed=1
    summary+=("$target: ${runs:-?} executions, corpus $(ls "$corpus" | wc -l) inputs, exit $rc, $found finding(s)")
done
printf '%s\n' "${summary[@]}"
exit $failed
