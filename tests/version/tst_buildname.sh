#!/usr/bin/env bash
# The build is named honestly wherever the sources come from: the commit
# count in a whole checkout, the short hash in a shallow clone or a git
# archive (even one unpacked inside another checkout), a number given when
# configuring in preference to both, and "unknown" when nothing tells.
#   tst_buildname.sh REPO_ROOT
set -euo pipefail
repo_root="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export GIT_AUTHOR_NAME=Tester GIT_AUTHOR_EMAIL=tester@example.invalid
export GIT_COMMITTER_NAME=Tester GIT_COMMITTER_EMAIL=tester@example.invalid
export GIT_CONFIG_NOSYSTEM=1 HOME="$work"

# A checkout of three commits holding the version scripts.
origin="$work/origin"
mkdir -p "$origin/version"
cp "$repo_root/version/WriteVersion.cmake" "$repo_root/version/Version.h.in" \
    "$repo_root/version/ArchivedCommit.txt" "$origin/version/"
cp "$repo_root/.gitattributes" "$origin/"
git -C "$origin" init -q
git -C "$origin" add .
for n in 1 2 3; do
    git -C "$origin" commit -q --allow-empty -m "commit $n"
done
hash="$(git -C "$origin" rev-parse --short HEAD)"

git clone -q --depth 1 "file://$origin" "$work/shallow"
mkdir "$work/archive" "$origin/unpacked"
git -C "$origin" archive HEAD | tar -x -C "$work/archive"
git -C "$origin" archive HEAD | tar -x -C "$origin/unpacked"
mkdir "$work/copy"
cp -r "$origin/version" "$work/copy/"

failures=0
# expect_build NAME SOURCE_DIR EXPECTED [BUILD_NUMBER]
expect_build() {
    local name="$1" source_dir="$2" expected="$3" given="${4:-}"
    cmake -DTEMPLATE="$source_dir/version/Version.h.in" -DOUTPUT="$work/Version.h" \
        -DVERSION_FILE="$work/version.txt" -DSOURCE_DIR="$source_dir" \
        -DPROJECT_VERSION=1.2.3 -DPROJECT_VERSION_MAJOR=1 -DPROJECT_VERSION_MINOR=2 \
        -DPROJECT_VERSION_PATCH=3 -DPROBETERM_BUILD_NUMBER="$given" \
        -P "$source_dir/version/WriteVersion.cmake"
    local text
    text="$(cat "$work/version.txt")"
    if [ "$text" = "1.2.3.$expected" ] &&
        grep -qx "constexpr const char\* Revision = \"$expected\";" "$work/Version.h"; then
        echo "PASS $name: $text"
    else
        echo "FAIL $name: expected 1.2.3.$expected, got $text" >&2
        failures=$((failures + 1))
    fi
}

expect_build "whole history" "$origin" 3
expect_build "shallow clone" "$work/shallow" "$hash"
expect_build "git archive" "$work/archive" "$hash"
expect_build "git archive inside another checkout" "$origin/unpacked" "$hash"
expect_build "number given when configuring" "$work/shallow" 77 77
expect_build "copied tree" "$work/copy" unknown
echo "$((6 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
