#!/usr/bin/env bash
# Installs what refx needs on Debian 12: "run" for building and running refx_lin,
# "win" for cross-building refx_win.exe and running it under wine,
# "test" for all of that plus everything the test suite and benchmarks use.
set -euo pipefail
what=${1:-test}
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
packages=(build-essential cmake libncurses-dev libx11-dev libstb-dev)
if [ "$what" = win ] || [ "$what" = test ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64)
fi
if [ "$what" = test ]; then
  packages+=(libgtest-dev libbenchmark-dev libfftw3-dev tmux xvfb xdotool x11-apps imagemagick)
  # The manual page's lint and rendering; the Debian package's build (file and dpkg-dev for
  # its run-time dependencies) and its unpacking.
  packages+=(mandoc man-db groff-base file dpkg-dev)
  # The fuzz targets: clang with libFuzzer and its sanitizer runtimes.
  packages+=(clang libclang-rt-dev)
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${packages[@]}"
