#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -x build/app/tintwave ]; then
  exec build/app/tintwave "$@"
fi
# Until the desktop program is built: colour an example on the command line.
exec build/cli/tintwave-cli --text "Tintwave" --scheme Spectrum "$@"
