# shellcheck shell=bash
# Starting and stopping the two demo servers; sourced by scripts/run-demo.sh
# and scripts/screenshot.sh (bash), run from the repository's top folder.
#
#   start_demo_servers LOG_DIR [--no-config]   # exits the script when it cannot
#   stop_demo_servers                          # safe to call more than once

# nokia-browser-demo has these two addresses compiled in.
DEMO_PRIMARY_PORT=18936
DEMO_MIRROR_PORT=18937
DEMO_SERVER_PIDS=()

demo_port_answers() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

start_demo_servers() {
  local log_dir=$1
  shift
  local port
  # A server already on the port would answer in our place with other data.
  for port in "$DEMO_PRIMARY_PORT" "$DEMO_MIRROR_PORT"; do
    if demo_port_answers "$port"; then
      echo "error: port $port on 127.0.0.1 is already taken (another demo still running?);" \
        "nokia-browser-demo needs ports $DEMO_PRIMARY_PORT and $DEMO_MIRROR_PORT free." >&2
      exit 1
    fi
  done

  mkdir -p "$log_dir"
  local name root
  for name in primary mirror; do
    if [ "$name" = primary ]; then port=$DEMO_PRIMARY_PORT; else port=$DEMO_MIRROR_PORT; fi
    root=demo/$name
    python3 demo/serve.py --port "$port" --root "$root" "$@" 2>"$log_dir/$name.log" &
    DEMO_SERVER_PIDS+=("$!")
  done

  local pid tries
  for port in "$DEMO_PRIMARY_PORT" "$DEMO_MIRROR_PORT"; do
    tries=0
    until demo_port_answers "$port"; do
      for pid in "${DEMO_SERVER_PIDS[@]}"; do
        if ! kill -0 "$pid" 2>/dev/null; then
          echo "error: a demo server did not start:" >&2
          cat "$log_dir"/*.log >&2
          exit 1
        fi
      done
      tries=$((tries + 1))
      if [ "$tries" -gt 100 ]; then
        echo "error: the demo server on port $port did not answer within 10 s" >&2
        exit 1
      fi
      sleep 0.1
    done
  done
  echo "Demo servers: primary http://127.0.0.1:$DEMO_PRIMARY_PORT (demo/primary)," \
    "mirror http://127.0.0.1:$DEMO_MIRROR_PORT (demo/mirror)${1:+, without configuration};" \
    "logs in $log_dir" >&2
}

stop_demo_servers() {
  local pid
  for pid in "${DEMO_SERVER_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${DEMO_SERVER_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  DEMO_SERVER_PIDS=()
}
