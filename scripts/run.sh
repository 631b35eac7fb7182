#!/usr/bin/env bash
# The main job: builds the tree, prepares the local installation under var/ and shows it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build
mkdir -p "$root/var"
export QV_REGISTRY="$root/var/registry.reg"
"$root/build/demo/qvinstala" "$root/var" "$root/server/QVPPMens.txt"
# Registers the server in the installation and lists its classes as the registry holds them.
"$root/build/server/Varmo" /RegServer
"$root/build/demo/qvclasses"
