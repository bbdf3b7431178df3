#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test: the unit tests, then the end-to-end tests
# under a virtual X server, the Debian package, soak and the sanitizer builds.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$root/build"
export SDL_AUDIODRIVER=dummy
ctest --output-on-failure -j"$(nproc)" -L unit
ctest --output-on-failure -L e2e
# The Debian package, built from this tree into build-deb/, checked by the
# distribution's tools, unpacked into a scratch root and played from there.
deb=$("$root/scripts/package.sh")
VELQ_DEB=$deb VELQ_RESOURCES="$root/build/Resources" sh "$root/tests/packaging/package_test.sh"
# A minute of random play, watching for crashes, assertions and growing memory.
"$root/scripts/soak.sh" 1
# The same tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
"$root/scripts/sanitize.sh"
