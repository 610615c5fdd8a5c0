#!/usr/bin/env bash
# Runs the fuzz targets for as long as one wants and prints what each covered.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS is the time of each target (default 60); the targets default to all of them
# (fuzz_number_reading, fuzz_number_format, fuzz_report_file, fuzz_report_locale,
# fuzz_point_name, fuzz_batch_input, fuzz_calc_command). FUZZ_WORKERS=N runs N
# processes per target. What a run finds is kept in build/fuzz/fuzz/corpus/<target>,
# so the next run starts from there; a failing input lands in build/fuzz/fuzz/artifacts
# and the script ends with status 1. TORMEL_FUZZ_STRICT=1 also stops at the known faults
# that fuzz/FuzzSupport.cpp tolerates. FUZZ_KEEP=1 adds to the repository's corpus
# fuzz/corpus/<target> the inputs of the run that cover something its files do not
# (libFuzzer's -merge=1), so that the smoke run of the tests starts from there.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_number_reading fuzz_number_format fuzz_report_file fuzz_report_locale
             fuzz_point_name fuzz_batch_input fuzz_calc_command)
fi
workers="${FUZZ_WORKERS:-1}"

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

bin=build/fuzz/fuzz
mkdir -p "$bin/artifacts" "$bin/logs"
failed=()
summary=()
for target in "${targets[@]}"; do
    dict=()
    case "$target" in
        fuzz_number_reading) dict=(-dict=fuzz/number.dict) ;;
        fuzz_report_file) dict=(-dict=fuzz/report.dict) ;;
        fuzz_batch_input | fuzz_calc_command) dict=(-dict=fuzz/batch.dict) ;;
    esac
    corpus="$bin/corpus/$target"
    log="$bin/logs/$target.log"
    mkdir -p "$corpus"
    echo "== $target: $seconds s =="
    status=0
    if [ "$workers" -gt 1 ]; then
        "$bin/$target" -max_total_time="$seconds" -max_len=4096 -timeout=20 -print_final_stats=1 \
            -artifact_prefix="$bin/artifacts/$target-" "${dict[@]}" \
            -jobs="$workers" -workers="$workers" "$corpus" "fuzz/corpus/$target" >/dev/null 2>&1 || status=$?
        cat fuzz-*.log >"$log" 2>/dev/null && rm -f fuzz-*.log
    else
        "$bin/$target" -max_total_time="$seconds" -max_len=4096 -timeout=20 -print_final_stats=1 \
            -artifact_prefix="$bin/artifacts/$target-" "${dict[@]}" \
            "$corpus" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    fi
    # The last progress line holds the coverage: "cov:" edges, "ft:" features, "corp:" inputs.
    progress=$(grep -a -E '^#[0-9]+' "$log" | tail -n 1 || true)
    executions=$(grep -a -h 'stat::number_of_executed_units' "$log" | awk '{ n += $2 } END { print n + 0 }')
    coverage=$(echo "$progress" | grep -o -E 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[^ ]+' || true)
    line="$target: $executions executions, ${coverage:-no coverage line}"
    grep -a -h 'tolerated known fault' "$log" | sort | uniq | sed "s/^/    /" || true
    if [ "$status" -ne 0 ] || grep -a -q -E 'PROPERTY FAILED|ERROR: (libFuzzer|AddressSanitizer)|runtime error' "$log"; then
        line="$line  FAILED (see $log)"
        grep -a -h -E 'PROPERTY FAILED|SUMMARY|Test unit written' -A1 "$log" | head -n 8 | sed "s/^/    /" || true
        failed+=("$target")
    fi
    if [ "${FUZZ_KEEP:-0}" = 1 ] && [ "$status" -eq 0 ]; then
        "$bin/$target" -merge=1 -max_len=4096 -timeout=20 "fuzz/corpus/$target" "$corpus" \
            >"$bin/logs/$target-merge.log" 2>&1
        line="$line, corpus kept: $(ls "fuzz/corpus/$target" | wc -l) files"
    fi
    echo "$line"
    summary+=("$line")
done

echo
echo "== summary =="
printf '%s\n' "${summary[@]}"
[ ${#failed[@]} -eq 0 ]
