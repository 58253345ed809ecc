#!/usr/bin/env bash
# Time from launch to the first painted window, and the idle program's CPU
# use over 60 s while its 10 ms receive timer ticks. Runs the program under
# a private Xvfb display; xdotool sees the window once it is mapped, and
# perf counts the task's CPU time exactly (sampled tick accounting misreads
# a process that wakes every 10 ms).
set -euo pipefail
program="$1"
seconds="${2:-60}"

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$program_pid" "$xvfb_pid" 2>/dev/null || true' EXIT
sleep 1

data_home="$(mktemp -d)"
start=$(date +%s.%N)
DISPLAY="$display" XDG_DATA_HOME="$data_home" XDG_CONFIG_HOME="$data_home" "$program" >/dev/null 2>&1 &
program_pid=$!
# Polled every 10 ms (xdotool's own --sync waits half a second between looks).
until DISPLAY="$display" xdotool search --onlyvisible --name "Quenvarel Tidewright" >/dev/null 2>&1; do
    sleep 0.01
done
shown=$(date +%s.%N)
printf 'startup_to_first_window: %.0f ms\n' "$(echo "($shown - $start) * 1000" | bc)"

sleep 2
cpu_ms=$(LC_ALL=C perf stat -x, -e task-clock -p "$program_pid" -- sleep "$seconds" 2>&1 | awk -F, '/task-clock/ {print $1}')
printf 'idle_cpu_over_%ss: %.2f %% of one core (%.0f ms of CPU)\n' "$seconds" "$(echo "$cpu_ms / ($seconds * 10)" | bc -l)" "$cpu_ms"
rm -rf "$data_home"
