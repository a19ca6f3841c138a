#!/usr/bin/env bash
# Makes the two packages beside quorvane's, from the built tree BUILD into the folder OUT:
# python3-quorvane (the `quorvane` module in Debian's Python path, for the interpreter it was
# built for) and libquorvane-dev (the engine's headers, library, CMake package and pkg-config
# file). Prints their paths.
#   packaging/linux/make_extra_debs.sh BUILD OUT
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
maintainer=$(sed -n 's/^set(CPACK_PACKAGE_CONTACT "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Stages component $1 under /usr and writes its control file; $2 the package, $3 its fields.
stage() {
    local component=$1 package=$2 fields=$3 root="$scratch/$2"
    DESTDIR="$root" cmake --install "$build" --component "$component" --prefix /usr >/dev/null
    find "$root/usr" -name '*.so' -exec strip --strip-unneeded {} +
    mkdir -p "$root/DEBIAN" "$root/usr/share/doc/$package"
    cp "$(dirname "$0")/copyright" "$root/usr/share/doc/$package/"
    {
        printf 'Package: %s\nVersion: %s\nArchitecture: %s\nMaintainer: %s\n' \
            "$package" "$version" "$arch" "$maintainer"
        printf 'Section: %s\nPriority: optional\n%s\n' "${4:-libs}" "$fields"
        printf 'Installed-Size: %s\n' "$(du -sk "$root/usr" | cut -f1)"
    } >"$root/DEBIAN/control"
    find "$root" -type d -exec chmod 755 {} +
    dpkg-deb --root-owner-group --build "$root" "$out/${package}_${version}_${arch}.deb" >/dev/null
    ls "$out/${package}_${version}_${arch}.deb"
}

# The interpreter the module was built for, and the libraries it links.
python=$(sed -n 's/^PYTHON_EXECUTABLE:FILEPATH=//p' "$build/CMakeCache.txt")
pyversion=$("$python" -c 'import sys; print(f"{sys.version_info[0]}.{sys.version_info[1]}")')
next=$("$python" -c 'import sys; print(f"{sys.version_info[0]}.{sys.version_info[1] + 1}")')
mkdir -p "$scratch/shlibs/debian"
printf 'Source: quorvane\n\nPackage: python3-quorvane\nArchitecture: any\n' \
    >"$scratch/shlibs/debian/control"
module=$(ls "$build"/python/quorvane.*.so)
shlibs=$(cd "$scratch/shlibs" && dpkg-shlibdeps -O "$module" 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p')
stage python python3-quorvane \
    "Depends: python3 (>= $pyversion~), python3 (<< $next), $shlibs
Recommends: quorvane
Description: compares Word documents from Python
 The quorvane module compares two Word documents, marking every difference as a tracked
 change, and combines reviewers' copies of one document, without an office for Word 2007+
 documents; other formats go through LibreOffice Writer, which the quorvane package brings." python
stage dev libquorvane-dev \
    "Depends: libpugixml-dev, libzip-dev, zlib1g-dev
Description: Quorvane's comparison engine as a C++ library
 Headers, a static library, a CMake package (find_package(Quorvane), target Quorvane::redline)
 and a pkg-config file (quorvane) for programs that compare Word documents and combine
 reviewers' copies." libdevel
