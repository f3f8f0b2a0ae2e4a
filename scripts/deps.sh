#!/usr/bin/env bash
# Installs the Debian packages the build, the tool and the tests need, only those missing.
set -euo pipefail
PKGS=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev qt6-base-dev-tools
      libqt6test6 libace-dev libssl-dev libgtest-dev libgmock-dev libbenchmark-dev
      nlohmann-json3-dev socat iproute2 xvfb xauth fonts-wqy-microhei qt6-translations-l10n clang
      libclang-rt-14-dev)
missing=()
for p in "${PKGS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    echo "installing: ${missing[*]}" >&2
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
