#!/usr/bin/env bash
# Builds a release in build-release/ and makes the Debian package from it with CPack
# (packaging/Debian.cmake). Prints the package's path as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2

# Debian's own compiler and linker flags (fortified, stack protector, read-only
# relocations, bound at start), without debug information: the package is stripped.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
eval "$(dpkg-buildflags --export=sh)"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
  "${launcher[@]}" >&2
cmake --build build-release --parallel "$(nproc)" >&2

rm -f build-release/*.deb
(cd build-release && cpack -G DEB) >&2
packages=(build-release/*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || { echo "no single .deb made" >&2; exit 1; }
realpath "${packages[0]}"
