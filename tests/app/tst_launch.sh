#!/usr/bin/env bash
# With no adaptor (or --sim), the launcher starts ProbeTerm on the simulated
# sensor; an identification sent through the window is answered, and once
# ProbeTerm ends no simulator is left running.
#   tst_launch.sh REPO_ROOT BUILD_DIR
set -euo pipefail
repo_root="$1"
export PROBETERM_BIN_DIR="$2"
export TMPDIR="$(mktemp -d)"
export XDG_DATA_HOME="$TMPDIR" XDG_CONFIG_HOME="$TMPDIR" QT_QPA_PLATFORM=offscreen
trap 'rm -rf "$TMPDIR"' EXIT

output=$(timeout 60 "$repo_root/scripts/launch" --sim --exchange-and-quit I 2>/dev/null)
echo "$output"
grep -q "^No serial adaptor found: ProbeTerm talks to the simulated sensor on " <<<"$output"
# The answer to 0I! begins with the address and the SDI-12 version: "013".
grep -q "^answered 30 31 33 " <<<"$output"
if pgrep -f -- "--link $TMPDIR/" >/dev/null; then
    echo "a simulator is still running" >&2
    exit 1
fi
echo "1 passed, 0 failed"
