#!/usr/bin/env bash
# Makes the Debian package of the built tree BUILD in the folder OUT, without touching BUILD: it
# depends on the libraries that the program and quorvane-compare link, as dpkg-shlibdeps finds
# them, and recommends LibreOffice Writer. Prints the package's path.
#   packaging/linux/make_deb.sh BUILD OUT
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
# dpkg-shlibdeps wants a debian/control to look beside; a throwaway one will do.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/debian"
printf 'Source: quorvane\n\nPackage: quorvane\nArchitecture: any\n' >"$scratch/debian/control"
depends=$(cd "$scratch" && dpkg-shlibdeps -O "$build/Quorvane/quorvane" \
    "$build/Quorvane/quorvane-compare" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
cpack --config "$build/CPackConfig.cmake" -B "$out" -G DEB \
    -D "CPACK_DEBIAN_PACKAGE_DEPENDS=$depends" >/dev/null
ls "$out"/quorvane_*.deb
