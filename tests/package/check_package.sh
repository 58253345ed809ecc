#!/usr/bin/env bash
# Checks a built Debian package of ProbeTerm: its dependencies, its files
# (all under /usr) unpacked into a scratch folder, that copy's programs
# answering their command lines with no display, and the validators'
# verdict on its desktop entry and AppStream data.
#   check_package.sh PACKAGE.deb
set -euo pipefail
package="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL $*" >&2
    failures=$((failures + 1))
}

dpkg-deb --info "$package"
depends="$(dpkg-deb --field "$package" Depends)"
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
    grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "the package does not depend on $library"
done

outside_usr="$(dpkg-deb --contents "$package" | awk '{print $6}' | grep -vE '^\./(usr/.*)?$' || true)"
[ -z "$outside_usr" ] || fail "files outside /usr: $outside_usr"

root="$work/root"
dpkg-deb -x "$package" "$root"
app_id=example.quenvarel.Tidewright
expected=(
    usr/bin/probeterm
    usr/bin/probeterm-sim
    usr/share/probeterm/Commands.SDI12
    "usr/share/probeterm/Quenvarel Freeware License Agreement.rtf"
    "usr/share/probeterm/Quenvarel Freeware License Agreement.txt"
    usr/share/applications/$app_id.desktop
    usr/share/metainfo/$app_id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$app_id.svg
    usr/share/man/man1/probeterm.1.gz
    usr/share/man/man1/probeterm-sim.1.gz
    usr/share/doc/probeterm/copyright
    usr/share/doc/probeterm/changelog.gz
)
for size in 16 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
    [ -f "$root/$file" ] || fail "not in the package: /$file"
done

# The unpacked programs run where there is no display, and the program's
# version is the package's: version a.b.c.build shows "Version a.b  Build build".
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
package_version="$(dpkg-deb --field "$package" Version)"
IFS=. read -r major minor _ build <<<"$package_version"
if version="$("${no_display[@]}" "$root/usr/bin/probeterm" --version)"; then
    [ "$version" = "ProbeTerm Version $major.$minor  Build $build" ] ||
        fail "probeterm --version says \"$version\" in package $package_version"
    echo "probeterm --version: $version"
else
    fail "probeterm --version failed without a display"
fi
"${no_display[@]}" "$root/usr/bin/probeterm-sim" --help >/dev/null ||
    fail "probeterm-sim --help failed without a display"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate rejected the desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli rejected the AppStream data"

if [ "$failures" -ne 0 ]; then
    echo "$failures package checks failed" >&2
    exit 1
fi
echo "The package passed its checks."
