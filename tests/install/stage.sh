#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Installs the build into a throw-away DESTDIR, as a packager would. Usage: stage.sh BUILD STAGE
set -euo pipefail
build=$1
stage=$2
rm -rf "$stage"
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
echo "installed under $stage/usr"
