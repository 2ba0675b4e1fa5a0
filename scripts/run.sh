#!/usr/bin/env bash
# Starts the program, or explains in one line how to when there is no display to show it on.
set -euo pipefail
exe="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display available: Orvane is a desktop program; start $(realpath "$exe") from a desktop session (or run it under xvfb-run)."
  exit 0
fi
exec "$exe"
