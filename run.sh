#!/usr/bin/env bash
# Builds the program and the module simulator (nothing else) and starts them together: the simulator's port
# appears in the port list of the communication page ("Kommunikation"). Options are the simulator's; they
# are checked before the program starts. The simulator stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")"

build=build
log=$build/rm425t-sim.log
commands=$build/rm425t-sim.commands

usage() {
    cat <<TEXT
Usage: ./run.sh [SIMULATOR OPTIONS]

Builds rm425t and rm425t-sim in $build/ and starts the program with the module simulator on a
pseudo-terminal, which the communication page lists first. While they run:
  simulator log:       tail -f $log
  simulator commands:  echo 'say PEGEL Netz: 17' > $commands   (one command a line; see below)

The program starts with its window. It keeps its settings in the user's configuration folder
(~/.config/RM425T/ZERiruze.ini) when it runs from the build folder; RM425T_EXTRA_PORTS (device paths
separated by colons) adds ports to its list. Its functions without the window:

TEXT
}

wants_help=false
for arg in "$@"; do
    case $arg in -h | --help) wants_help=true ;; esac
done

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target rm425t rm425t-sim

if $wants_help; then
    usage
    "$build/rm425t" --help
    printf '\nThe simulator'"'"'s options and commands:\n\n'
    exec "$build/rm425t-sim" --help
fi

workdir=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    rm -rf "$workdir"
    rm -f "$commands"
}
trap cleanup EXIT

# Commands go through a named pipe that this script keeps open, so the simulator never sees the end of its
# input between two commands.
rm -f "$commands"
mkfifo "$commands"
exec 3<>"$commands"
"$build/rm425t-sim" --link "$workdir/rm425t-module" --restart-reports 8 "$@" \
    <&3 >"$workdir/sim.out" 2>"$log" &
sim_pid=$!
exec 3>&-

# The simulator prints its device path once it is ready, or ends at once on a wrong option.
for _ in $(seq 100); do
    [ -s "$workdir/sim.out" ] && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        cat "$log" >&2
        wait "$sim_pid" && status=0 || status=$?
        sim_pid=
        exit $((status == 0 ? 1 : status))
    fi
    sleep 0.1
done
[ -s "$workdir/sim.out" ] || { cat "$log" >&2; echo "The simulator did not start." >&2; exit 1; }
device=$(head -n 1 "$workdir/sim.out")
echo "Module simulator on $device"
echo "  its log:        tail -f $log"
echo "  its commands:   echo 'say TEXT' > $commands   (quiet, announce, status on, reset, hangup, quit)"
RM425T_EXTRA_PORTS="$device${RM425T_EXTRA_PORTS:+:$RM425T_EXTRA_PORTS}" "$build/rm425t"
