#!/usr/bin/env bash
# Sets up, builds and runs Glimra on Debian 12.
#   ./dev.sh guess [TEXT]   install what is missing, build, and guess a sample text
#   ./dev.sh test           install what is missing, build, and run the whole test suite
#   ./dev.sh sanitize       the test suite built with AddressSanitizer and UBSan
#   ./dev.sh bench          build and run the benchmarks
#   ./dev.sh screenshots    render the windows under Xvfb into build/screenshots/*.png
#   ./dev.sh fuzz [SECONDS] build the fuzz targets with clang and run each for SECONDS (60)
#   ./dev.sh package        build the program and its Debian package, build/glimra_*.deb
#   ./dev.sh translations   gather the sources' translatable texts into translations/*.ts
set -euo pipefail
cd "$(dirname "$0")"

# What building and running Glimra need: all that `./dev.sh guess` installs, so that
# trying Glimra stays a small download.
BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-qpa-plugins libperl-dev libpcre2-dev
    # lupdate and lrelease, and their CMake functions: the .ts translations become .qm files
    qt6-tools-dev qt6-l10n-tools
    libxcb1-dev libxcb-ewmh-dev libxcb-icccm4-dev libxcb-keysyms1-dev libxcb-xtest0-dev
    # the Wayland client library: libwayland-client, wayland-scanner and the protocol files
    # (the wlroots ones come with the Rust crate's sources; nothing of Rust is used)
    libwayland-dev libwayland-bin wayland-protocols librust-wayland-protocols-dev
    plasma-wayland-protocols
    # what the program runs (libqt6svg6: the icon is SVG)
    perl bc ksh xdg-utils plocate xclip xdotool x11-utils libqt6svg6
    # Qt's own translations of its standard buttons and dialogs
    qt6-translations-l10n
)
# What the tests and benchmarks need besides.
TEST_PACKAGES=(
    libgtest-dev libgmock-dev libbenchmark-dev
    # what the desktop tests run
    xvfb xfonts-base openbox xterm stterm dbus dbus-daemon dunst
    # the package (dpkg-shlibdeps) and the check of the manual page
    dpkg-dev groff-base
    # the compositors the Wayland tests start, and their peers: the portals (the KDE
    # backend needs Qt 5's Wayland plugin), kbuildsycoca5 (KWin reads which programs may use
    # its restricted protocols from the desktop entries), Xwayland, native clients, and
    # gdbus and gsettings, which the tests drive GNOME with
    sway kwin-wayland gnome-shell gnome-settings-daemon mutter
    xdg-desktop-portal xdg-desktop-portal-kde qtwayland5 libkf5service-bin xwayland
    wl-clipboard wtype foot qt6-wayland libglib2.0-bin
)
# The fuzzing toolchain (llvm-15 symbolizes the crash reports).
FUZZ_PACKAGES=(clang-15 libfuzzer-15-dev llvm-15)
# Building the Debian package.
PACKAGE_PACKAGES=(dpkg-dev groff-base)

# install_packages PACKAGE...: installs those that are missing.
install_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

build() {
    configure "$@"
    cmake --build "$1"
}

# Runs every fuzz target (one per seed folder in tests/fuzz) for $1 seconds from its seeds
# and dictionary; new inputs go to a scratch corpus so the committed seeds stay as they are.
# Fails when any target found a crash.
run_fuzzers() {
    local seconds=$1 names=() failed=() name log
    mkdir -p build-fuzz/artifacts build-fuzz/logs
    for seeds in tests/fuzz/*/; do
        name=$(basename "$seeds")
        names+=("$name")
        log=build-fuzz/logs/$name.log
        mkdir -p "build-fuzz/corpus/$name"
        if ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer-15) \
            "build-fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$name-" \
            -dict="tests/fuzz/$name.dict" "build-fuzz/corpus/$name" "$seeds" >"$log" 2>&1; then
            echo "fuzz_$name: $(grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log" | tr -s ' \n' ' ')"
        else
            failed+=("$name")
            echo "fuzz_$name FAILED; the report ends with:"
            tail -n 40 "$log"
        fi
    done
    echo "fuzz: $((${#names[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
    ((${#failed[@]} == 0)) || { echo "crashes found by: ${failed[*]} (inputs in build-fuzz/artifacts)"; return 1; }
}

run_tests() {
    local dir=$1
    ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$(nproc)"
    [ "${2:-}" = --each-alone ] && return 0
    # CTest runs every test in a process of its own; the program runs all day in one. Each
    # test program also runs whole, so that what one test leaves behind (a signal
    # disposition, a child, a global) meets the next.
    local program
    for program in "$dir"/tests/*/test_*; do
        [ -f "$program" ] && [ -x "$program" ] || continue
        echo "whole: ${program#"$dir"/}"
        if [[ $program == */test_desktop ]]; then
            timeout 900 tests/desktop/run-with-desktop.sh "$program" --gtest_brief=1
        else
            timeout 900 "$program" --gtest_brief=1
        fi
    done
}

case "${1:-}" in
guess)
    shift
    install_packages "${BUILD_PACKAGES[@]}"
    build build -DGLIMRA_BUILD_TESTS=OFF -DGLIMRA_BUILD_BENCH=OFF
    text=${*:-"see src/cli/main.cpp:12, https://example.org and 6*7"}
    build/src/cli/glimra match --context "CTX_DIR=$PWD/" --text "$text"
    ;;
test)
    install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build build -DGLIMRA_BUILD_TESTS=ON -DGLIMRA_BUILD_BENCH=ON
    run_tests build
    ;;
sanitize)
    install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    # -O1 and line tables only: the reports keep their function names and lines, and the
    # instrumented build takes half the time of -O2 with full debug information.
    build build-sanitize -DGLIMRA_SANITIZE=ON -DGLIMRA_BUILD_BENCH=OFF \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
    # Leaks are left to valgrind: Qt, fontconfig and Perl keep memory until exit on purpose.
    # Each test alone only: the whole-program runs of the plain build cover what one test
    # leaves behind for the next, and would double the time under the sanitizers.
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-sanitize --each-alone
    ;;
bench)
    install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build build -DGLIMRA_BUILD_TESTS=ON -DGLIMRA_BUILD_BENCH=ON
    for benchmark in build/bench/bench_*; do
        [ "$benchmark" = build/bench/bench_wayland ] && continue
        # Those that time a desktop get a private one; the others ignore it.
        [ -x "$benchmark" ] && tests/desktop/run-with-desktop.sh "$benchmark"
    done
    # On the compositors the Wayland tests start; each says it skipped where there is none.
    if [ -x build/bench/bench_wayland ]; then
        for family in sway kwin; do
            tests/wayland/run-on-wayland.sh "$family" build/bench/bench_wayland
        done
    fi
    ;;
screenshots)
    install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build build -DGLIMRA_BUILD_TESTS=ON -DGLIMRA_BUILD_BENCH=ON
    rm -rf build/screenshots
    tests/desktop/run-with-desktop.sh build/tests/screenshots/glimra_screenshots build/screenshots
    # The popups on a HiDPI screen: twice the pixels, icons and text as sharp.
    QT_SCALE_FACTOR=2 tests/desktop/run-with-desktop.sh build/tests/screenshots/glimra_screenshots \
        build/screenshots scale-2
    ;;
fuzz)
    install_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
    configure build-fuzz -DCMAKE_CXX_COMPILER=clang++-15 -DGLIMRA_FUZZ=ON \
        -DGLIMRA_BUILD_TESTS=OFF -DGLIMRA_BUILD_BENCH=OFF
    cmake --build build-fuzz --target glimra_fuzzers
    run_fuzzers "${2:-60}"
    ;;
package)
    install_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    configure build -DGLIMRA_BUILD_TESTS=OFF -DGLIMRA_BUILD_BENCH=OFF
    cmake --build build --target glimra
    cpack --config build/CPackConfig.cmake -G DEB -B build
    ;;
translations)
    install_packages "${BUILD_PACKAGES[@]}"
    configure build
    cmake --build build --target update_translations
    ;;
*)
    sed -n '2,10p' "$0"
    exit 2
    ;;
esac
