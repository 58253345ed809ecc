#!/usr/bin/env bash
# Time from launch to the first painted window, and the CPU use over 60 s of
# the idle program (port open, nothing pending) beside CuteCom's, both under
# one private X display that xvfb-run picks free. xdotool sees the window once
# it is mapped; perf counts each task's CPU time exactly (sampled tick
# accounting misreads a process that wakes often).
set -euo pipefail
program="$1"
seconds="${2:-60}"

if [ -z "${PROBETERM_BENCH_DISPLAY_READY:-}" ]; then
    PROBETERM_BENCH_DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi

data_home="$(mktemp -d)"
program_pid=""
peer_pid=""
cleanup() {
    for pid in $program_pid $peer_pid; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$data_home"
}
trap cleanup EXIT

# Waits (at most 30 s) for a visible window named $2 of process $1.
wait_for_window() {
    local deadline=$((SECONDS + 30))
    until xdotool search --onlyvisible --name "$2" >/dev/null 2>&1; do
        if ! kill -0 "$1" 2>/dev/null; then
            echo "the program ended before showing its window" >&2
            return 1
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "no window after 30 s" >&2
            return 1
        fi
        sleep 0.01 # xdotool's own --sync looks only every half second
    done
}

idle_cpu() {
    local name="$1" pid="$2" cpu_ms
    cpu_ms=$(LC_ALL=C perf stat -x, -e task-clock -p "$pid" -- sleep "$seconds" 2>&1 |
        awk -F, '/task-clock/ {print $1}')
    printf 'idle_cpu_%s_over_%ss: %.3f %% of one core (%.0f ms of CPU)\n' "$name" "$seconds" \
        "$(echo "$cpu_ms / ($seconds * 10)" | bc -l)" "$cpu_ms"
}

start=$(date +%s.%N)
XDG_DATA_HOME="$data_home" XDG_CONFIG_HOME="$data_home" "$program" >/dev/null 2>&1 &
program_pid=$!
wait_for_window "$program_pid" "Quenvarel Tidewright"
shown=$(date +%s.%N)
printf 'startup_to_first_window: %.0f ms\n' "$(echo "($shown - $start) * 1000" | bc)"

if command -v cutecom >/dev/null; then
    HOME="$data_home" cutecom >/dev/null 2>&1 &
    peer_pid=$!
    wait_for_window "$peer_pid" "CuteCom" || peer_pid=""
fi
sleep 2
measures=()
idle_cpu probeterm "$program_pid" &
measures+=($!)
if [ -n "$peer_pid" ]; then
    idle_cpu cutecom "$peer_pid" &
    measures+=($!)
fi
wait "${measures[@]}"
