#!/bin/sh
# Runs a command beside two static HTTP servers on 127.0.0.1, the primary and
# the mirror catalogue server, each serving a fresh empty folder that the
# command fills as it goes (the servers read files at every request):
#   with-file-servers.sh SERVE_PY COMMAND [ARGUMENT...]
# The command finds the servers in NB_TEST_PRIMARY and NB_TEST_MIRROR
# ("http://127.0.0.1:PORT") and their folders in NB_TEST_PRIMARY_ROOT and
# NB_TEST_MIRROR_ROOT. Both servers are stopped however the command ends.
set -eu

if [ "$#" -lt 2 ]; then
  echo "usage: $0 SERVE_PY COMMAND [ARGUMENT...]" >&2
  exit 2
fi
serve=$1
shift

work=$(mktemp -d "${TMPDIR:-/tmp}/nb-file-servers.XXXXXX")
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

for name in primary mirror; do
  mkdir "$work/$name"
  python3 "$serve" --port 0 --port-file "$work/$name.port" --root "$work/$name" \
    2>"$work/$name.log" &
  pids="$pids $!"
done
for name in primary mirror; do
  tries=0
  while [ ! -s "$work/$name.port" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
      echo "$0: the $name server did not start:" >&2
      cat "$work/$name.log" >&2
      exit 1
    fi
    sleep 0.1
  done
done

NB_TEST_PRIMARY="http://127.0.0.1:$(cat "$work/primary.port")"
NB_TEST_MIRROR="http://127.0.0.1:$(cat "$work/mirror.port")"
NB_TEST_PRIMARY_ROOT=$work/primary
NB_TEST_MIRROR_ROOT=$work/mirror
export NB_TEST_PRIMARY NB_TEST_MIRROR NB_TEST_PRIMARY_ROOT NB_TEST_MIRROR_ROOT

status=0
"$@" || status=$?
exit "$status"
