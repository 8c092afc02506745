#!/usr/bin/env bash
# Installs what is missing, builds, and opens the sample book in quirelle.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
exec "$root/build/app/quirelle" "$root/build/samples/Exemple.bd" "$@"
