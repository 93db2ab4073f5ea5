#!/usr/bin/env bash
# wine-session.sh PREFIX WINE... -- COMMAND...: runs COMMAND with one Wine server up for the prefix
# the whole time, and stops the server and its Windows services afterwards; exits with COMMAND's
# status.
#
# Debian's wineserver wrapper passes -p0: the server quits the moment its last program ends, and a
# program that starts in that moment is turned away ("wine client error:0: recvmsg: Connection reset
# by peer") — with two tests at a time that happens about once per run. A server started with -p
# stays, and the programs no longer boot the prefix's services one after another either. The
# services are booted here with no output to inherit: ctest waits until a test's output closes, and
# a service started by a test would hold it open for as long as the server lives.
set -euo pipefail
export WINEPREFIX
WINEPREFIX=$(cd "$1" && pwd)
shift
wine=()
while [ "$1" != -- ]; do wine+=("$1"); shift; done
shift

stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w
}
# A server left by an earlier program would be the one kept (and quit when it is done).
stop
trap stop EXIT
wineserver -p </dev/null >/dev/null 2>&1
"${wine[@]}" wineboot </dev/null >/dev/null 2>&1
"$@"
