#!/usr/bin/env bash
# Runs the README's commands as a newcomer would, on a fresh clone of this
# repository's HEAD: every indented command block from "Quick start" to the
# tool's table, one after the other in one shell that stops at the first
# failure. The clone, the installation ($HOME) and /tmp/zeb-sample are made
# afresh in a scratch directory (kept when a command fails).
# Usage: scripts/check_readme.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
scratch=$(mktemp -d)
commands=$scratch/readme_commands.sh

# The blocks between "## Quick start" and "## The zebscribe tool", without their
# indentation; a line ending in a backslash goes on in the next one.
awk '/^## Quick start/ { on = 1 } /^## The zebscribe tool/ { on = 0 }
     on && /^    / { print substr($0, 5) }' "$root/README.md" > "$commands"

git clone -q "$root" "$scratch/clone"
git -C "$scratch/clone" checkout -q --detach "$(git -C "$root" rev-parse HEAD)"
rm -rf /tmp/zeb-sample
echo "running $(grep -c . "$commands") lines of the README in $scratch/clone"
if (cd "$scratch/clone" && HOME=$scratch/home bash -euxo pipefail "$commands") > "$scratch/log" 2>&1; then
  echo "the README's commands ran"
  rm -rf "$scratch"
else
  tail -30 "$scratch/log"
  echo "a README command failed; everything is in $scratch" >&2
  exit 1
fi
