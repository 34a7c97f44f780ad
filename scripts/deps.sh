#!/bin/sh
# Installs the Debian packages the build and the tests need, only those missing.
set -eu

PACKAGES="
build-essential
cmake
ninja-build
pkg-config
libgtest-dev
libgmock-dev
libmount-dev
libblkid-dev
libicu-dev
util-linux
e2fsprogs
dosfstools
qt6-base-dev
qt6-tools-dev
libqt6opengl6-dev
libgl-dev
fonts-vlgothic
rsync
"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "deps: missing packages:$missing; run as root or install sudo" >&2
    exit 1
fi

echo "deps: installing$missing"
$as_root apt-get update -q
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -q --no-install-recommends $missing
