#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-translations-l10n fonts-dejavu-core
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libxlsxwriter-dev zlib1g-dev
    xvfb xauth x11-apps imagemagick xdg-utils unzip locales python3-jsonschema
    dpkg-dev fakeroot lintian desktop-file-utils appstream libxml2-utils shared-mime-info
    man-db groff-base bash-completion poppler-utils
    clang-14 libclang-rt-14-dev
)
if [ "${TORMEL_WITH_OFFICE:-1}" = 1 ]; then
    packages+=(libreoffice-calc-nogui libreoffice-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        # A package that another one replaces (libreoffice-calc for -nogui) counts as present.
        if [ "$p" = libreoffice-calc-nogui ] && dpkg-query -W -f='${Status}' libreoffice-calc 2>/dev/null | grep -q "install ok installed"; then
            continue
        fi
        missing+=("$p")
    fi
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests write files under the users' Russian locale, which a fresh machine lacks.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
    echo "Generating the locale ru_RU.UTF-8"
    $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
