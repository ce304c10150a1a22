#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer, no Qt) and runs them side by side, each for
# SECONDS (default 60), printing how many inputs each ran and what it found.
#   scripts/fuzz.sh [SECONDS]
#   scripts/fuzz.sh --cpu SECONDS   each target runs until it has used SECONDS of
#                                   CPU: on a shared machine wall time says little
# Corpora grow in build-fuzz/corpus/<target>/ (kept between runs); findings land
# in build-fuzz/findings/<target>/ (crash-*, leak-*, timeout-*, oom-*; slow-unit-*
# are kept but not counted), logs in
# build-fuzz/<target>.log. Exit 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
budget=wall
if [ "${1:-}" = --cpu ]; then budget=cpu; shift; fi
seconds=${1:-60}
targets=(codeplug_file_fuzz link_engine_fuzz csv_reader_fuzz csv_import_fuzz)
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ is needed (apt-get install clang)" >&2; exit 2; }

out=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVANE_WITH_QT=OFF -DTARVANE_FUZZ=ON >/dev/null
cmake --build "$out" -j"$(nproc)" --target tarvane_stage "${targets[@]}" >/dev/null

for t in "${targets[@]}"; do
    bin=$(find "$out/tests" -type f -name "$t" -perm -u+x | head -n1)
    corpus=$out/corpus/$t findings=$out/findings/$t
    mkdir -p "$corpus" "$findings"
    rm -f "$out/$t.pid"
    extra=()
    if [ "$t" = codeplug_file_fuzz ]; then
        # A codeplug is longer than libFuzzer's default input: seed with the
        # shipped initial codeplugs and allow their size.
        cp -n "$out"/stage/V100/Init/*.dat "$corpus"/ 2>/dev/null || true
        extra=(-max_len=70000)
    elif [ "$t" = link_engine_fuzz ] || [ "$t" = csv_import_fuzz ]; then
        # A kilobyte of steps carries a read or a verified write to its end, and
        # holds a channel list of twenty rows and more; longer inputs only cut
        # the rate (csv_import: 1,645 -> 3,240 inputs a CPU second).
        extra=(-max_len=1024)
    fi
    # Each in its own subshell, whose `times` then gives that target's CPU time:
    # on a busy machine the wall-clock rate says little.
    # Allocation stacks cost a fifth of the run; a finding is replayed with them
    # (run the target on the crash file) when its report needs them.
    wall=$seconds
    [ "$budget" = wall ] || wall=$((seconds * 100))
    (
        ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0} \
            "$bin" "$corpus" -max_total_time="$wall" -artifact_prefix="$findings/" -print_final_stats=1 \
            "${extra[@]}" >"$out/$t.log" 2>&1 &
        echo $! >"$out/$t.pid"
        wait $! || true
        times >"$out/$t.times"
    ) &
done
if [ "$budget" = cpu ]; then
    # Interrupt each target once its user and system time reach the budget;
    # libFuzzer prints its final figures on SIGINT.
    ticks=$(getconf CLK_TCK)
    sleep 1
    while :; do
        alive=0
        for t in "${targets[@]}"; do
            pid=$(cat "$out/$t.pid" 2>/dev/null) || continue
            stat=$(cat "/proc/$pid/stat" 2>/dev/null) || continue
            alive=1
            used=$(awk -v tk="$ticks" '{ sub(/^.*\) /, ""); print int(($12 + $13) / tk) }' <<<"$stat")
            [ "$used" -lt "$seconds" ] || kill -INT "$pid" 2>/dev/null || true
        done
        [ "$alive" = 1 ] || break
        sleep 5
    done
fi
wait

status=0
for t in "${targets[@]}"; do
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$out/$t.log" | grep -oE '[0-9]+$' || echo 0)
    cpu=$(sed -n 2p "$out/$t.times" | awk '{ split($1, u, /[ms]/); split($2, s, /[ms]/);
                                            printf "%.1f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }')
    # Slow units are not findings: a paused or starved run makes them too.
    found=$(find "$out/findings/$t" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    [ "$found" -eq 0 ] || status=1
    awk -v t="$t" -v runs="$runs" -v cpu="$cpu" -v found="$found" 'BEGIN {
        printf "%-18s %11d inputs, %s s of CPU (%d a CPU second), %d findings\n",
               t, runs, cpu, (cpu > 0 ? runs / cpu : 0), found }'
done
exit $status
