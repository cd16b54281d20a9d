#!/usr/bin/env bash
# Installs the Debian packages the build, the player or the tests need and that are
# missing. Asks dpkg first so a machine that has everything runs no apt at all.
# Usage: install-deps.sh build|run|test|sanitize|fuzz|package|bench
set -euo pipefail

build_pkgs=(cmake g++ make pkg-config qt6-base-dev
    libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libtag1-dev)
run_pkgs=(gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
    gstreamer1.0-libav shared-mime-info xdg-utils fonts-noto-cjk fonts-liberation2
    qt6-translations-l10n)
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev gstreamer1.0-tools python3
    xvfb xauth xdotool x11-utils imagemagick desktop-file-utils openbox
    at-spi2-core python3-pyatspi dbus-x11 appstream dbus-daemon dbus-bin playerctl groff-base
    libimage-exiftool-perl)
# make package and scripts/check-package.sh: dpkg-shlibdeps (with file) for Depends, lintian,
# and an X server to start the installed player on.
package_pkgs=(dpkg-dev file lintian xvfb xauth xdotool desktop-file-utils)
# make fuzz: clang and its libFuzzer runtime (gcc's own sanitizers serve make test-sanitize).
fuzz_pkgs=(clang libclang-rt-14-dev)
# bench/startup.sh: the peer whose start-up the player's is measured against, and GNU time
# for the peak memory of a process with its children.
bench_pkgs=(qmmp time)

case "${1:-run}" in
    build) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
    run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
    test) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}" "${test_pkgs[@]}") ;;
    sanitize) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}" "${test_pkgs[@]}") ;;
    fuzz) wanted=("${build_pkgs[@]}" "${fuzz_pkgs[@]}") ;;
    package) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}" "${package_pkgs[@]}") ;;
    bench) wanted=("${run_pkgs[@]}" "${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
    *) echo "usage: $0 build|run|test|sanitize|fuzz|package|bench" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
