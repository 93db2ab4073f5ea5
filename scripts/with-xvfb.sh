#!/usr/bin/env bash
# with-xvfb.sh COMMAND [ARGS...]: runs the command with a virtual X server of its own (a 1280 x 1024
# screen of 24 bits, never reset between clients) and returns its status. Xvfb picks a free display
# number itself (-displayfd), so runs that start at the same moment never reach for the same one,
# as `xvfb-run -a` can: it looks for a free number first and starts the server after.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: with-xvfb.sh COMMAND [ARGS...]" >&2; exit 2; }
dir=$(mktemp -d -t vornix-xvfb.XXXXXX)
server=
finish() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap finish EXIT
# The number is known only once the server runs, so the cookie is one for any display: a wild
# address and an empty display number.
touch "$dir/auth"
printf 'ffff 0000  0000  0012 %s 0010 %s\n' "$(printf MIT-MAGIC-COOKIE-1 | od -An -tx1 | tr -d ' \n')" \
  "$(mcookie)" | xauth -q -f "$dir/auth" nmerge -
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp -auth "$dir/auth" \
  3>"$dir/display" >"$dir/log" 2>&1 &
server=$!
if ! read -r number <"$dir/display" || [ -z "$number" ]; then
  echo "with-xvfb.sh: Xvfb did not start:" >&2
  cat "$dir/log" >&2
  exit 1
fi
status=0
DISPLAY=":$number" XAUTHORITY="$dir/auth" "$@" || status=$?
exit "$status"
