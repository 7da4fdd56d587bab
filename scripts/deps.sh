#!/bin/sh
# Installs the Debian packages the build needs when they are missing.
# Usage: scripts/deps.sh [extra packages...]
set -e
need=""
for pkg in cmake g++ make libgtest-dev "$@"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need="$need $pkg"
done
[ -z "$need" ] && exit 0
echo "installing:$need"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y $need
