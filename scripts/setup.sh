#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the project needs. Idempotent: packages already
# present are left alone and apt is not even asked.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
missing=""
for p in $(grep -v '^#' "$here/packages.txt" | sort -u); do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
if [ -z "$missing" ]; then
    echo "setup: all packages present"
    exit 0
fi
echo "setup: installing$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
