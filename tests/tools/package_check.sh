#!/usr/bin/env bash
# The install rules and the Debian package: `cmake --install` lays out the program, its
# manual and its documentation; CPack makes a .deb whose fields are filled and whose
# dependencies name the package of every library the program links; unpacked with dpkg -x,
# its refx_lin answers --version and starts in tmux on the shipped examples.
# Usage: package_check.sh BUILD_DIR
set -euo pipefail
build=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
pkg=$(mktemp -d)
root=$pkg/root
# The tmux helpers start the installed program (REFX_COMMAND) in a folder of examples.
REFX_COMMAND="'$root/usr/bin/refx_lin'"
source "$here/../e2e/lib.sh" "$build/refx_lin"
trap 'e2e_cleanup; rm -rf "$pkg"' EXIT
version=$(sed -n 's/^project(refx VERSION \([0-9][0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")

# The files of an installation under prefix $1, sorted, relative to it.
installed() { (cd "$1" && find . -type f | sed 's|^\./||' | sort); }
expected="bin/refx_lin
share/doc/refx/README.md
share/doc/refx/examples/direct_arrival.txt
share/doc/refx/examples/make_examples.cpp
share/doc/refx/examples/measured.txt
share/doc/refx/examples/reference_pulse.txt
share/doc/refx/examples/reflection_run.script
share/doc/refx/examples/refx_lin.in
share/man/man1/refx_lin.1.gz"

cmake --install "$build" --prefix "$pkg/prefix" > "$pkg/install.log" 2>&1 ||
  fail "cmake --install: $(cat "$pkg/install.log")"
[ "$(installed "$pkg/prefix")" = "$expected" ] ||
  fail "cmake --install laid out:"$'\n'"$(installed "$pkg/prefix")"

(cd "$build" && cpack --config CPackConfig.cmake -B "$pkg/deb") > "$pkg/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$pkg/cpack.log")"
deb=$pkg/deb/refx_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$pkg/deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = refx ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), expected $version"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\ ]+@[^\>\ ]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
description=$(field Description)
[ "$(wc -l <<< "$description")" -ge 3 ] || fail "Description without its long text"
awk 'length > 80 { exit 1 }' <<< "$description" || fail "Description lines over 80 columns"

# Every library refx_lin links comes from a package the .deb depends on.
depends=" $(field Depends | sed 's/([^)]*)//g; s/,/ /g') "
for needed in libncursesw6 libtinfo6 libx11-6; do
  [[ "$depends" == *" $needed "* ]] || fail "Depends lacks $needed: $(field Depends)"
done
dpkg -x "$deb" "$root"
bin=$root/usr/bin/refx_lin
for lib in $(readelf -d "$bin" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  path=$(ldd "$bin" | awk -v lib="$lib" '$1 == lib { print $3 }')
  [ -n "$path" ] || fail "ldd does not resolve $lib"
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null ||
    dpkg -S "${path#/usr}" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null) ||
    fail "no package owns $path ($lib)"
  owner=${owner%%:*}
  [[ "$depends" == *" $owner "* ]] || fail "$lib comes from $owner, which Depends lacks: $(field Depends)"
done

[ "$(installed "$root/usr")" = "$expected" ] || fail "the .deb holds:"$'\n'"$(installed "$root/usr")"
[ "$("$bin" --version)" = "refx_lin $version" ] || fail "installed --version: $("$bin" --version)"
MANWIDTH=80 man -l "$root/usr/share/man/man1/refx_lin.1.gz" 2>/dev/null | grep -qx NAME ||
  fail "the installed manual does not render"

# The installed program starts on the installed examples: main menu, q, status 0.
examples=$(mktemp -d -p "$WORK")
cp "$root"/usr/share/doc/refx/examples/* "$examples"
start_refx "$examples"
wait_for_text "B to toggle binary/ascii rw option (ascii-magph selected)"
[ "$(screen_text | head -2)" = $'T for time waveforms menu\nF for FFT menu' ] || fail "main menu"
send_text q
expect_status 0
expect_sane_terminal
echo "PASS: install layout, $(basename "$deb") (Depends: $(field Depends)), installed refx_lin starts"
