#!/usr/bin/env bash
# Builds the Debian package of a build folder, unpacks it into a fresh root and guesses with
# the unpacked program, which finds its resources next to itself.
#   debian-package.sh BUILD_DIR
set -euo pipefail
build=$1

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (cmake, dpkg-dev)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*"
    exit 1
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack"
fi
debs=("$work"/out/glimra_*.deb)
[ -f "${debs[0]}" ] || fail "no package in $(ls "$work/out")"
deb=${debs[0]}

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in usr/bin/glimra usr/libexec/glimra-desktop usr/share/glimra/PasteAction.scpt usr/share/glimra/help/manual.md \
    usr/share/glimra/AppScripts/default.scpt usr/share/glimra/perl5/Glimra/Handlers.pm \
    usr/share/applications/org.glimra.Glimra.desktop usr/share/applications/org.glimra.Glimra.Resident.desktop \
    usr/share/icons/hicolor/scalable/apps/org.glimra.Glimra.svg \
    usr/share/dbus-1/services/org.glimra.Glimra.service \
    usr/share/dbus-1/interfaces/org.glimra.Glimra1.xml \
    usr/share/man/man1/glimra.1.gz usr/share/bash-completion/completions/glimra \
    usr/share/glimra/translations/glimra_sv.qm; do
    grep -qx "\./$file" <<<"$contents" || fail "the package lacks $file"
done
if grep -E '^\./usr/local/|/(completion|desktop|dbus)/$' <<<"$contents"; then
    fail "the package holds files outside its places"
fi

depends=", $(dpkg-deb -f "$deb" Depends),"
echo "Depends: ${depends:2:-1}"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 qt6-qpa-plugins libqt6svg6 \
    'libperl5\.[0-9]+' libxcb1 libxcb-ewmh2 'ksh93u\+m \| ksh' bc xdg-utils plocate xclip xdotool \
    perl x11-utils; do
    grep -qE ", $package( \([^)]*\))?," <<<"$depends" || fail "Depends lacks $package"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
grep -qx "Exec=/usr/bin/glimra" "$root/usr/share/dbus-1/services/org.glimra.Glimra.service" \
    || fail "the bus service does not start /usr/bin/glimra"
# KWin grants its window list and fake input to the executable the hidden entry names.
resident=$root/usr/share/applications/org.glimra.Glimra.Resident.desktop
grep -qx "Exec=/usr/libexec/glimra-desktop" "$resident" || fail "the resident entry does not name /usr/libexec/glimra-desktop"
grep -qx "NoDisplay=true" "$resident" || fail "the resident entry shows in menus"
grep -qx "X-KDE-Wayland-Interfaces=org_kde_plasma_window_management,org_kde_kwin_fake_input" "$resident" \
    || fail "the resident entry names not the protocols KWin restricts"
# A mark in the unpacked copy of a document shows which resources the program read.
echo "unpacked copy" >>"$root/usr/share/glimra/help/actions.md"

mkdir -p "$work/home"
run() {
    env -u GLIMRA_RESOURCES -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" \
        XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" timeout 60 "$root/usr/bin/glimra" "$@"
}
version=$(run --version)
[ "$version" = "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)" ] \
    || fail "--version says '$version'"
guess=$(run match --text '6*7' --json) || fail "match exited with $?"
grep -q '"ACT_TEXT": "42"' <<<"$guess" || fail "match printed $guess"
run help actions | grep -qx "unpacked copy" || fail "the program did not read usr/share/glimra"
# glimra guess asks the running instance itself, finds glimra-desktop in libexec when it
# cannot answer, and loads none of the desktop's libraries.
status=0
err=$(run guess 2>&1 >/dev/null) || status=$?
{ [ "$status" = 5 ] && grep -q "no display was found" <<<"$err"; } || fail "guess without a display: exit $status, $err"
needed=$(readelf -d "$root/usr/bin/glimra" | grep NEEDED)
if grep -E 'Qt6Gui|Qt6Widgets|libxcb|libwayland' <<<"$needed"; then
    fail "glimra loads the desktop's libraries"
fi
echo "installed, guessed: ${guess//[$'\n ']/}"
