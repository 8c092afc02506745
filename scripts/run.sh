#!/usr/bin/env bash
# Installs what is missing, builds the program, its modules and the sample book (the tests
# are left to scripts/test.sh), and opens the sample book in quirelle.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Said before anything is installed or built; xvfb-run comes with the packages of setup.sh.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "quirelle needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  echo "To try it without one, under a virtual display:" >&2
  echo "  bash scripts/setup.sh && xvfb-run -a ./scripts/run.sh" >&2
  exit 1
fi
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" quirelle_program
exec "$root/build/app/quirelle" "$root/build/samples/Exemple.bd" "$@"
