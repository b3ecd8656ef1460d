#!/bin/bash
# Builds the release packages into dist/ from clean Release builds:
#   dist/skyplate_<version>_amd64.deb       skyplate-cli, its manual page,
#                                           completion and documents
#   dist/Skyplate-<version>-win32.zip       Skyplate.exe, skyplate-cli.exe,
#   dist/Skyplate-<version>-win64.zip       Skyplate.html, README.txt
#   dist/SHA256SUMS
# and checks the Debian package with lintian. Installs the Debian packages it
# needs first (as root, like the other scripts), so it runs on a fresh Debian 12.
#   bash scripts/release.sh
#   JOBS=1 bash scripts/release.sh
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-2}
BUILD=build/release

bash scripts/install-deps.sh --all

# The manual page's and the changelog's dates: the last commit's, so that a
# release built again from the same commit has the same contents.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi

rm -rf "$BUILD" dist
mkdir -p dist

# package NAME [CMAKE ARGS...]: a clean Release build of NAME and its package in dist/.
package() {
  local name=$1
  shift
  echo "== $name"
  cmake -S . -B "$BUILD/$name" -DCMAKE_BUILD_TYPE=Release -DSKYPLATE_TESTS=OFF "$@" >/dev/null
  cmake --build "$BUILD/$name" -j "$JOBS"
  (cd "$BUILD/$name" && cpack -B packages >/dev/null)
  find "$BUILD/$name/packages" -maxdepth 1 \( -name '*.deb' -o -name '*.zip' \) -exec mv -t dist {} +
}

# Debian's hardening flags for the binary the .deb ships.
(
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  CFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
  CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
  LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
  export CFLAGS CXXFLAGS LDFLAGS
  package native
)
package win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
package win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

cd dist
for expected in skyplate_*_amd64.deb Skyplate-*-win32.zip Skyplate-*-win64.zip; do
  [ -f "$expected" ] || { echo "release.sh: no $expected written" >&2; exit 1; }
done
echo "== checks"
dpkg-deb --info skyplate_*_amd64.deb
lintian --fail-on error skyplate_*_amd64.deb
sha256sum -- *.deb *.zip >SHA256SUMS
cat SHA256SUMS
