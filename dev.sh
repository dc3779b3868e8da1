#!/usr/bin/env bash
# Sets up, builds and runs Glimra on Debian 12.
#   ./dev.sh guess [TEXT]   install what is missing, build, and guess a sample text
#   ./dev.sh test           install what is missing, build, and run the whole test suite
#   ./dev.sh sanitize       the test suite built with AddressSanitizer and UBSan
#   ./dev.sh bench          build and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-qpa-plugins libperl-dev
    libxcb1-dev libxcb-ewmh-dev libxcb-icccm4-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # what the program runs
    perl bc ksh xdg-utils plocate xclip xdotool x11-utils
    # what the desktop tests run
    xvfb xfonts-base openbox xterm stterm dbus dbus-daemon
)

install_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
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

build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir"
}

run_tests() {
    local dir=$1
    ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$(nproc)"
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
    install_packages
    build build
    text=${*:-"see src/cli/main.cpp:12, https://example.org and 6*7"}
    build/src/cli/glimra match --context "CTX_DIR=$PWD/" --text "$text"
    ;;
test)
    install_packages
    build build
    run_tests build
    ;;
sanitize)
    install_packages
    build build-sanitize -DGLIMRA_SANITIZE=ON -DGLIMRA_BUILD_BENCH=OFF
    # Leaks are left to valgrind: Qt, fontconfig and Perl keep memory until exit on purpose.
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-sanitize
    ;;
bench)
    install_packages
    build build
    for benchmark in build/bench/bench_*; do
        [ -x "$benchmark" ] && "$benchmark"
    done
    ;;
*)
    sed -n '2,6p' "$0"
    exit 2
    ;;
esac
