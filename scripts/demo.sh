#!/usr/bin/env bash
# Builds the plug-in and plays the bundled recorded conversation back through it. The plug-in
# prints where its answers differ from the recording, or its success line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure_tools.sh
cmake --preset default >/dev/null
cmake --build --preset default --target osa_orti_plugin >/dev/null
exec build/default/src/osa_orti_plugin -file examples/basic_session.play
