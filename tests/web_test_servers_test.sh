#!/usr/bin/env bash
# Run under cmake/with-test-servers.sh, as the Windows web fetch tests are,
# to check what they rely on where CI runs: the ports arrive in the
# environment, the servers answer there, and asking the raw server for its
# connection count is not counted.
set -euo pipefail

for name in NB_TEST_HTTP_PORT NB_TEST_RAW_PORT NB_TEST_REFUSING_PORT; do
  if [[ ! ${!name:-} =~ ^[0-9]+$ ]]; then
    echo "$name is not a port: '${!name:-}'" >&2
    exit 1
  fi
done

# The whole answer to a GET of $2 from the loopback port $1.
ask() {
  exec 3<>"/dev/tcp/127.0.0.1/$1"
  printf 'GET %s HTTP/1.0\r\n\r\n' "$2" >&3
  cat <&3
  exec 3<&-
}

for attempt in 1 2; do
  answer=$(ask "$NB_TEST_RAW_PORT" /connections)
  if [[ $answer != *$'\r\n\r\n0' ]]; then
    echo "count asked for the ${attempt}. time is not 0: $answer" >&2
    exit 1
  fi
done
answer=$(ask "$NB_TEST_HTTP_PORT" /recorded)
if [[ $answer != "HTTP/1.1 200 OK"* ]]; then
  echo "the HTTP server answers /recorded with: $answer" >&2
  exit 1
fi
