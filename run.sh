#!/usr/bin/env bash
# Builds the program and starts it together with the module simulator, whose port appears in the port list
# of the communication page ("Kommunikation"). The simulator stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

workdir=$(mktemp -d)
trap 'kill "$sim_pid" 2>/dev/null || true; rm -rf "$workdir"' EXIT
build/rm425t-sim --link "$workdir/rm425t-module" --quiet-log --restart-reports 8 "$@" >"$workdir/sim.out" &
sim_pid=$!
for _ in $(seq 50); do [ -s "$workdir/sim.out" ] && break; sleep 0.1; done
device=$(head -n 1 "$workdir/sim.out")
echo "Module simulator on $device"
RM425T_EXTRA_PORTS="$device${RM425T_EXTRA_PORTS:+:$RM425T_EXTRA_PORTS}" build/rm425t
