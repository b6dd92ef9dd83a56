#!/usr/bin/env bash
# Builds the Debian package of morvex (build/deb/morvex_VERSION_ARCH.deb) with CPack: a release
# build with Debian's hardening flags, installed under /usr, its library dependencies found by
# dpkg-shlibdeps. lintian then checks it; an error fails the script.
#   scripts/build-deb.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-deps.sh deb

dir=build/deb
# Debian's compiler and linker flags, every hardening feature on.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DMORVEX_BUILD_TESTS=OFF -DMORVEX_DEBIAN_PACKAGE=ON \
  $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache) >/dev/null
nice -n 5 cmake --build "$dir" -j2
rm -f "$dir"/*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
package=$(ls "$dir"/*.deb)
lintian --info --display-info --pedantic "$package"
echo "package: $package"
