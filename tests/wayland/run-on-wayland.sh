#!/bin/bash
# run-on-wayland.sh FAMILY PROGRAM [ARGUMENTS...]
# Runs a test program on a headless Wayland compositor of its own: FAMILY is sway, kwin or
# gnome (GNOME Shell with gnome-settings-daemon's media keys). The compositor, its session
# bus (and for GNOME a system bus) and the program run as an unprivileged user: as root,
# the user glimra-test (made here when missing); otherwise the developer running it. Each
# gets a private runtime folder (mode 700), home and XDG folders in a temporary folder,
# and a bus configured with service folders of its own. Where the compositor or a tool it
# needs is missing, the program runs without it with GLIMRA_WAYLAND_SKIP saying why, and
# its tests skip with that message.
set -u
family=$1
shift
arguments=("$@")
program=$(readlink -f "$1")
starting=1
socket_name=glimra-wayland

skip_with() {
    local reason=$1
    shift
    GLIMRA_WAYLAND_SKIP="$family: $reason" GLIMRA_WAYLAND_FAMILY=$family exec "$@"
}

case $family in
sway) tools="sway wtype" ;;
kwin) tools="kwin_wayland kbuildsycoca5 gdbus dbus-daemon Xwayland" ;;
gnome) tools="gnome-shell gsettings gdbus dbus-daemon Xwayland xclip" ;;
*) echo "run-on-wayland: unknown family $family" >&2; exit 2 ;;
esac
[ "$family" = gnome ] && [ ! -x /usr/libexec/gsd-media-keys ] && skip_with "not installed: gsd-media-keys (gnome-settings-daemon)" "$@"
missing=""
for tool in $tools dbus-daemon setpriv; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
[ -n "$missing" ] && skip_with "not installed:$missing" "$@"

# GNOME Shell takes the logind path, and dies, where /run/systemd/seats exists but the
# system bus it is given has no logind: it runs in a mount namespace of its own with an
# empty /run/systemd (and an /tmp/.X11-unix of its own, so its Xwayland is the only X
# server there).
if [ "$family" = gnome ] && [ -z "${GLIMRA_WAYLAND_NAMESPACE:-}" ] && [ -e /run/systemd/seats -o -d /tmp/.X11-unix ]; then
    if [ "$(id -u)" -eq 0 ]; then
        GLIMRA_WAYLAND_NAMESPACE=1 exec unshare --mount --propagation private -- "$0" "$family" "$@"
    fi
    if unshare --user --map-current-user --mount true 2>/dev/null; then
        GLIMRA_WAYLAND_NAMESPACE=1 exec unshare --user --map-current-user --mount --propagation private -- "$0" "$family" "$@"
    fi
    skip_with "cannot make a mount namespace to hide /run/systemd from GNOME Shell" "$@"
fi
if [ -n "${GLIMRA_WAYLAND_NAMESPACE:-}" ]; then
    [ -d /run/systemd ] && mount -t tmpfs tmpfs /run/systemd
    mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix 2>/dev/null || { mkdir -p /tmp/.X11-unix && mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix; }
fi

# Who runs everything.
if [ "$(id -u)" -eq 0 ] && [ -z "${GLIMRA_WAYLAND_USER_NAMESPACE:-}" ]; then
    user=glimra-test
    if ! id -u "$user" >/dev/null 2>&1; then
        useradd --system --user-group --no-create-home --home-dir /nonexistent \
            --shell /usr/sbin/nologin "$user" >/dev/null 2>&1 || id -u "$user" >/dev/null 2>&1 \
            || skip_with "cannot create the user $user" "$@"
    fi
    as_user=(setpriv --reuid="$user" --regid="$user" --init-groups --)
else
    user=$(id -un)
    as_user=()
fi
if ! "${as_user[@]}" test -x "$program"; then
    skip_with "$user cannot run $program (a folder above it is closed to others)" "$@"
fi

work=$(mktemp -d /tmp/glimra-wayland-XXXXXX) || exit 1
chmod 755 "$work"
pids=()
# started_here: the processes that carry this run's GLIMRA_WAYLAND_WORK, whatever their
# process group: what the session bus started for it (the portals, dconf), and what the
# compositor and the tests started.
started_here() {
    local entry pid
    for entry in /proc/[0-9]*/environ; do
        pid=${entry#/proc/}
        pid=${pid%/environ}
        [ "$pid" = $$ ] && continue
        { tr '\0' '\n' <"$entry" | grep -qxF "GLIMRA_WAYLAND_WORK=$work"; } 2>/dev/null && echo "$pid"
    done
}
cleanup() {
    local pid i
    trap - INT TERM
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null
    done
    sleep 0.2
    for pid in "${pids[@]}"; do
        kill -KILL -- "-$pid" 2>/dev/null
    done
    for pid in $(started_here); do
        kill -KILL "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# A signal ends the run at once (the program runs in the background, so the shell is not
# waiting on a foreground child that would hold the trap back): the EXIT trap then ends
# everything the run started.
trap 'exit 130' INT
trap 'exit 143' TERM HUP

mkdir -p "$work/home/.config" "$work/home/.local/share/applications" "$work/home/.cache" \
    "$work/services" "$work/system-services" "$work/logs"
mkdir -m 700 "$work/runtime"
[ -n "${as_user[*]}" ] && chown -R "$user:" "$work/home" "$work/runtime" "$work/logs"

export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
export XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache
export XDG_SESSION_TYPE=wayland LANG=C.UTF-8 USER=$user
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/runtime/bus
export GLIMRA_WAYLAND_FAMILY=$family GLIMRA_WAYLAND_WORK=$work
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK XAUTHORITY DBUS_SYSTEM_BUS_ADDRESS \
    DESKTOP_SESSION XDG_SESSION_DESKTOP XDG_DATA_DIRS XDG_CONFIG_DIRS

# start NAME COMMAND...: runs COMMAND as the user in a process group of its own, its
# output in logs/NAME.
start() {
    local name=$1
    shift
    set -m
    "${as_user[@]}" "$@" >"$work/logs/$name" 2>&1 </dev/null &
    pids+=($!)
    set +m
}

# wait_for TEST SECONDS: waits until the shell test holds, SECONDS of the clock at most
# (a test that itself takes seconds, such as a bus call that times out, counts them).
wait_for() {
    local test=$1 end=$((SECONDS + $2))
    while ((SECONDS <= end)); do
        eval "$test" && return 0
        sleep 0.1
    done
    return 1
}

failed() {
    echo "run-on-wayland: $*" >&2
    for log in "$work"/logs/*; do
        echo "--- $(basename "$log"):" >&2
        tail -n 30 "$log" >&2
    done
    # GNOME Shell has been seen to stall for good while starting, now and then, in a
    # container: a compositor that did not come up is started once more, from scratch, in
    # what is left of the run's time.
    if [ -n "$starting" ] && [ -z "${GLIMRA_WAYLAND_RETRY:-}" ]; then
        echo "run-on-wayland: starting $family once more" >&2
        cleanup
        trap - EXIT
        GLIMRA_WAYLAND_RETRY=1 GLIMRA_WAYLAND_SECONDS=$((${GLIMRA_WAYLAND_SECONDS:-540} - SECONDS)) \
            exec "$0" "$family" "${arguments[@]}"
    fi
    exit 1
}

# A session bus whose services are only those copied into the test's own folder.
bus_config() {
    local type=$1 address=$2 services=$3
    cat <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>$type</type>
  <listen>$address</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$services</servicedir>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
CONF
}
# add_service FOLDER NAME: copies the bus service NAME (a file of /usr/share/dbus-1/services).
add_service() {
    [ -f "/usr/share/dbus-1/services/$2.service" ] && cp "/usr/share/dbus-1/services/$2.service" "$1/"
}

case $family in
sway) export XDG_CURRENT_DESKTOP=sway ;;
kwin) export XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5 ;;
gnome) export XDG_CURRENT_DESKTOP=GNOME ;;
esac
bus_config session "unix:path=$work/runtime/bus" "$work/services" >"$work/session.conf"
for service in ca.desrt.dconf org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.kde \
    org.freedesktop.portal.Documents org.freedesktop.impl.portal.PermissionStore; do
    add_service "$work/services" "$service"
done
start session-bus dbus-daemon --nofork --config-file="$work/session.conf"
wait_for '[ -S "$work/runtime/bus" ]' 30 || failed "the session bus did not start"

case $family in
sway)
    mkdir -p "$XDG_CONFIG_HOME/sway"
    # The user's own configuration, which the binding tests extend.
    printf 'xwayland enable\n' >"$XDG_CONFIG_HOME/sway/config"
    [ -n "${as_user[*]}" ] && chown -R "$user:" "$XDG_CONFIG_HOME"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        start compositor sway -c "$XDG_CONFIG_HOME/sway/config"
    wait_for 'ls "$XDG_RUNTIME_DIR"/wayland-? >/dev/null 2>&1 && ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock >/dev/null 2>&1' 60 \
        || failed "sway did not start"
    WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-? | head -n 1)")
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -n 1)
    export WAYLAND_DISPLAY SWAYSOCK
    # The headless seat has no keyboard, so no window would get the focus: a virtual
    # keyboard stays there for the whole run.
    start keyboard wtype -s 3600000
    # sway's Xwayland display, for the tests that run glimra (its windows are X11 ones):
    # what sway gives the programs it starts.
    "${as_user[@]}" swaymsg -s "$SWAYSOCK" exec "printenv DISPLAY > '$work/logs/xwayland-display'" >/dev/null 2>&1
    if wait_for '[ -s "$work/logs/xwayland-display" ]' 10; then
        GLIMRA_XWAYLAND_DISPLAY=$(cat "$work/logs/xwayland-display")
        export GLIMRA_XWAYLAND_DISPLAY
    fi
    ;;
kwin)
    # KWin lets a program use its window list and fake input when a desktop entry names
    # its executable: the test program's, and those $GLIMRA_WAYLAND_GRANT names (the
    # glimra-desktop that the tests run).
    for granted in "$program" ${GLIMRA_WAYLAND_GRANT:-}; do
        cat >"$XDG_DATA_HOME/applications/org.glimra.WaylandTest-$(basename "$granted").desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Glimra Wayland tests
Exec=$(readlink -f "$granted")
NoDisplay=true
X-KDE-Wayland-Interfaces=org_kde_plasma_window_management,org_kde_kwin_fake_input
ENTRY
    done
    [ -n "${as_user[*]}" ] && chown -R "$user:" "$XDG_DATA_HOME"
    "${as_user[@]}" env XDG_DATA_DIRS=/usr/local/share:/usr/share kbuildsycoca5 >"$work/logs/kbuildsycoca5" 2>&1
    # /usr/bin/kwin_wayland carries a file capability that some containers refuse to
    # execute: a copy carries none.
    mkdir -p "$work/bin" && cp /usr/bin/kwin_wayland "$work/bin/kwin_wayland"
    KWIN_COMPOSE=Q XDG_DATA_DIRS=/usr/local/share:/usr/share start compositor "$work/bin/kwin_wayland" \
        --virtual --xwayland --no-lockscreen --socket "$socket_name" --width 1280 --height 800 \
        "sh -c 'printenv DISPLAY > $work/logs/xwayland-display'"
    wait_for '[ -S "$XDG_RUNTIME_DIR/$socket_name" ]' 60 || failed "KWin did not start"
    export WAYLAND_DISPLAY=$socket_name
    # KWin's Xwayland display, told to the program it starts once Xwayland runs.
    if wait_for '[ -s "$work/logs/xwayland-display" ]' 30; then
        GLIMRA_XWAYLAND_DISPLAY=$(cat "$work/logs/xwayland-display")
        export GLIMRA_XWAYLAND_DISPLAY
    fi
    # The portal and its KDE backend, started by the bus, find the compositor.
    "${as_user[@]}" timeout 10 gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.UpdateActivationEnvironment "{'WAYLAND_DISPLAY': '$socket_name', 'QT_QPA_PLATFORM': 'wayland'}" \
        >/dev/null || failed "the session bus took no environment"
    ;;
gnome)
    bus_config system "unix:path=$work/runtime/system-bus" "$work/system-services" >"$work/system.conf"
    start system-bus dbus-daemon --nofork --config-file="$work/system.conf"
    wait_for '[ -S "$work/runtime/system-bus" ]' 30 || failed "the system bus did not start"
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/runtime/system-bus
    start compositor gnome-shell --headless --wayland --virtual-monitor 1280x800 \
        --wayland-display "$socket_name"
    wait_for '[ -S "$XDG_RUNTIME_DIR/$socket_name" ]' 90 || failed "GNOME Shell did not start"
    export WAYLAND_DISPLAY=$socket_name
    # Ready when its remote desktop service is there: the tests type through it (the
    # headless seat has no keyboard), starting with the Escape that leaves the overview.
    has_name() {
        "${as_user[@]}" timeout 5 gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
            --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
    }
    wait_for 'has_name org.gnome.Mutter.RemoteDesktop' 60 || failed "GNOME Shell did not offer its remote desktop service"
    # Its Xwayland, for the tests of the bridge between Wayland and X11 selections.
    export XAUTHORITY
    XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)
    find_display() {
        local x_socket
        for x_socket in /tmp/.X11-unix/X*; do
            if "${as_user[@]}" env DISPLAY=":${x_socket##*/X}" timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1; then
                export DISPLAY=":${x_socket##*/X}"
                return 0
            fi
        done
        return 1
    }
    wait_for find_display 60 || failed "GNOME Shell's Xwayland did not answer"
    export GLIMRA_XWAYLAND_DISPLAY=$DISPLAY
    # Custom keybindings are gnome-settings-daemon's media keys plugin's.
    start media-keys /usr/libexec/gsd-media-keys
    wait_for 'has_name org.gnome.SettingsDaemon.MediaKeys' 60 || failed "gsd-media-keys did not start"
    ;;
esac

start_program() {
    set -m
    "${as_user[@]}" env "$@" &
    pids+=($!)
    set +m
}
starting=
start_program "$@"
program_pid=${pids[-1]}
# A program that hangs is ended here, within GLIMRA_WAYLAND_SECONDS of the whole run and so
# before CTest's own timeout, and the compositor's and the bus's logs say what it was
# waiting for.
limit=$((${GLIMRA_WAYLAND_SECONDS:-540} - SECONDS))
((limit > 0)) || failed "the compositor took the whole ${GLIMRA_WAYLAND_SECONDS:-540} s to start"
set -m
(sleep "$limit" && touch "$work/overran" && kill -TERM -- "-$program_pid") 2>/dev/null &
pids+=($!)
set +m
wait "$program_pid"
status=$?
[ -e "$work/overran" ] && failed "$(basename "$program") ran over $limit s and was ended"
exit "$status"
