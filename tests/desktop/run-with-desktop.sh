#!/bin/sh
# Runs a test program on a desktop of its own: a private X server (Xvfb), a window
# manager (openbox, which keeps _NET_ACTIVE_WINDOW) and a private session bus
# (dbus-run-session). Where one of them is missing, the program runs without a desktop
# and its tests skip with a message naming what is missing.
missing=""
for tool in Xvfb openbox dbus-run-session xclip xdotool; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    GLIMRA_NO_DESKTOP="not installed:$missing" exec "$@"
fi

work=$(mktemp -d) || exit 1
mkdir -m 700 "$work/runtime"
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
# A loaded machine is slow to start them: wait up to 30 s for each.
for _ in $(seq 600); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    GLIMRA_NO_DESKTOP="Xvfb did not start: $(cat "$work/xvfb.log")" "$@"
    exit $?
fi
DISPLAY=":$(head -n 1 "$work/display")"
XDG_RUNTIME_DIR="$work/runtime"
export DISPLAY XDG_RUNTIME_DIR
unset WAYLAND_DISPLAY

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager is ready when it has announced itself on the root window; tests that
# need it would fail in obscure ways without it.
ready=""
for _ in $(seq 600); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && { ready=yes; break; }
    sleep 0.05
done
[ -n "$ready" ] || echo "run-with-desktop: openbox did not start within 30 s" >&2

dbus-run-session -- "$@"
