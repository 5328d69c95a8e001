#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Usage: install-dependencies.sh [--full] [--artwork] [--bench]
#   --full     also what the whole test command needs: Clang, ThreadSanitizer's runtime, the
#              MinGW-w64 cross compilers, wine (32- and 64-bit), and the 32-bit x86 Linux cross
#              compiler and emulator.
#   --bench    also what scripts/bench.sh measures with: valgrind, and the peer plug-ins it
#              compares with (LSP's VST modules; ZamDelay comes with zam-plugins).
#   --artwork  also what tools/artwork/make_artwork.py draws and quantises with; the build uses
#              the committed bitmaps and never needs these.
set -euo pipefail

packages=(cmake make g++ pkg-config git googletest libgtest-dev libgmock-dev libbenchmark-dev
          libsndfile1-dev libfreetype-dev libpng-dev fonts-liberation fonts-dejavu-core)
# A third-party plug-in the command-line host's end-to-end tests render through and the
# validator is run against.
packages+=(zam-plugins)
# The editor in a Linux host's window (Xlib, the shared memory extension), and its tests and the
# validator's under a virtual display, driven through the XTest and X-Resource extensions.
packages+=(libx11-dev libxext-dev libxtst-dev libxres-dev xvfb xauth)
full=0
artwork=0
bench=0
for argument in "$@"; do
    case "$argument" in
        --full) full=1 ;;
        --artwork) artwork=1 ;;
        --bench) bench=1 ;;
        *) echo "install-dependencies.sh: unknown option $argument" >&2; exit 2 ;;
    esac
done
if [ "$full" = 1 ]; then
    packages+=(clang libtsan2 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine
               wine32:i386 wine64 g++-i686-linux-gnu qemu-user-static)
fi
if [ "$bench" = 1 ]; then
    packages+=(valgrind lsp-plugins-vst)
fi
if [ "$artwork" = 1 ]; then
    packages+=(python3 python3-cairo python3-pil pngquant fontconfig)
fi

if [ "$(id -u)" = 0 ]; then sudo=(); else sudo=(sudo); fi

# A mirror caught mid-sync fails one index for a minute or two: try again, and in the end go on
# with the lists that did arrive rather than give up before installing anything.
lists_refreshed=0
lists_complete=1
refresh_package_lists() {
    local attempt
    [ "$lists_refreshed" = 0 ] || return 0
    lists_refreshed=1
    for attempt in 1 2 3 4 5; do
        if "${sudo[@]}" apt-get update -q; then lists_complete=1; return 0; fi
        echo "install-dependencies.sh: package lists incomplete (attempt $attempt of 5)" >&2
        sleep 30
    done
    lists_complete=0
    echo "install-dependencies.sh: going on with the package lists that arrived" >&2
}

apt_install() {
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "$@"
}

if [ "$full" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
    refresh_package_lists
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    refresh_package_lists
    if ! apt_install "${missing[@]}"; then
        [ "$lists_complete" = 0 ] || exit 1
        # Without one architecture's security index, the other's libraries would be upgraded
        # past the versions the first can match; the release's own archive has both.
        release=$(. /etc/os-release && echo "$VERSION_CODENAME")
        echo "install-dependencies.sh: installing from $release alone" >&2
        if ! apt_install -t "$release" "${missing[@]}"; then
            # Better every other test than none: the 32-bit wine tests then say they were skipped.
            echo "install-dependencies.sh: 32-bit wine cannot be installed from these lists" >&2
            without_wine32=()
            for package in "${missing[@]}"; do
                [ "$package" = wine32:i386 ] || without_wine32+=("$package")
            done
            apt_install -t "$release" "${without_wine32[@]}"
        fi
    fi
fi
