#!/usr/bin/env bash
# Runs a command beside the HTTP client's loopback test servers, for the
# Windows build's web fetch tests under Wine:
#   with-test-servers.sh SERVERS_PROGRAM COMMAND [ARGUMENT...]
# SERVERS_PROGRAM is the Linux build's tests/web-test-servers. It prints its
# three ports on one line and serves until its standard input closes; the
# ports reach the command as NB_TEST_HTTP_PORT, NB_TEST_RAW_PORT and
# NB_TEST_REFUSING_PORT (Wine hands the environment on to Windows programs).
# Only this script holds the servers' input, so they stop when it ends, even
# when it is killed.
set -euo pipefail

if [ "$#" -lt 2 ]; then
  echo "usage: $0 SERVERS_PROGRAM COMMAND [ARGUMENT...]" >&2
  exit 2
fi
program=$1
shift
if [ ! -x "$program" ]; then
  echo "$0: $program is not a program; build the Linux tests first" >&2
  exit 2
fi

coproc SERVERS { exec "$program"; }
servers_pid=$SERVERS_PID
to_servers=${SERVERS[1]}
from_servers=${SERVERS[0]}

stop_servers() {
  exec {to_servers}>&- {from_servers}<&-
  # They stop at once when their input closes; a stuck one is killed after a
  # few seconds rather than waited for.
  for _ in $(seq 50); do
    kill -0 "$servers_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "$0: the test servers did not stop; killing them" >&2
  kill -KILL "$servers_pid" 2>/dev/null || true
}
trap stop_servers EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

if ! read -r -t "${NB_TEST_SERVERS_START_TIMEOUT:-20}" http raw refusing <&"$from_servers" ||
  [ -z "$refusing" ]; then
  echo "$0: $program did not report its ports" >&2
  exit 1
fi
export NB_TEST_HTTP_PORT=$http NB_TEST_RAW_PORT=$raw NB_TEST_REFUSING_PORT=$refusing

# The command gets neither end of the servers' pipes, so that nothing it
# leaves behind (such as a lingering wineserver) keeps the servers alive. It
# runs in the background so that a signal to this script is acted on at once
# rather than once the command has ended.
timeout "${NB_TEST_SERVERS_TIMEOUT:-600}" "$@" {to_servers}>&- {from_servers}<&- &
command_pid=$!
trap 'kill -TERM "$command_pid" 2>/dev/null; exit 129' HUP
trap 'kill -TERM "$command_pid" 2>/dev/null; exit 130' INT
trap 'kill -TERM "$command_pid" 2>/dev/null; exit 143' TERM
status=0
wait "$command_pid" || status=$?
exit "$status"
