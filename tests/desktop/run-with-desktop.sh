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

# The window manager is ready when it has announced itself on the root window; tests that
# need it would fail in obscure ways without it. One that has not announced itself within
# 15 s is started again once (seen once in CI: an openbox that never became ready).
ready=""
for attempt in 1 2; do
    openbox --sm-disable >>"$work/openbox.log" 2>&1 &
    wm=$!
    for _ in $(seq 300); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && { ready=yes; break; }
        sleep 0.05
    done
    [ -n "$ready" ] && break
    kill "$wm" 2>/dev/null
    wait "$wm" 2>/dev/null
done
if [ -z "$ready" ]; then
    echo "run-with-desktop: openbox did not start within 30 s:" >&2
    cat "$work/openbox.log" >&2
fi

# The bus activates only the services of its own, empty folder: a notification server or
# a file manager installed on the machine never answers in a test's place.
mkdir "$work/dbus-services"
cat >"$work/session.conf" <<END
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:dir=$work</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$work/dbus-services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
END
dbus-run-session --config-file="$work/session.conf" -- "$@"
