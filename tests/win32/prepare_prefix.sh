#!/usr/bin/env bash
# Prepares the private Wine prefix of the Windows tests and registers the fake server in it;
# with --stop, ends the prefix's Wine server. Every Wine process gets /dev/null for its output:
# Wine's background processes would otherwise keep CTest's output pipe open.
set -euo pipefail
quiet() { "$@" >/dev/null 2>&1 </dev/null; }
if [ "$1" = "--stop" ]; then
    WINEPREFIX=$2 quiet wineserver -k || true
    exit 0
fi
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
dll=$2
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    quiet wineboot -i
    # There is no display here. Wine's null graphics driver still lets COM make the hidden
    # windows its cross-process calls need; without it the RPC service never starts. The
    # services started during set-up go with the server, and come back with the driver.
    quiet wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
    quiet wineserver -k || true
    quiet wineserver -w || true
fi
# A persistent server, started with no pipe of ours, serves every test that follows.
quiet wineserver -p || true  # already running: fine
# Wine shows the Unix root as drive Z:. (winepath would start Wine's background services with
# the command substitution's pipe as their output, and never let it close.)
quiet wine regsvr32 /s "Z:${dll//\//\\}"
echo "windows: prefix ready in $WINEPREFIX"
