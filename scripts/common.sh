# What the project's scripts and end-to-end tests share; sourced, never run.

# Starts a virtual X server of our own on the first free display number,
# exports DISPLAY and sets XVFB_PID. The caller stops it with stop_xvfb,
# in its own EXIT trap. Fails, saying so, when the server does not start.
start_xvfb() {  # start_xvfb [XVFB_OPTION...]
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$display_file" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  DISPLAY=:$(head -n1 "$display_file")
  rm -f "$display_file"
  [ "$DISPLAY" != : ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}

# Sets APITRACE to the command that runs a program under apitrace, recording
# every GL call into TRACE (through EGL rather than GLX when TRACE_API=egl):
#   apitrace_command TRACE; "${APITRACE[@]}" PROGRAM ARGS...
# A sanitizer build must let apitrace's wrapper load first, and the
# wrapper's own allocations are not ours to report.
apitrace_command() {  # apitrace_command TRACE
  APITRACE=(env "ASAN_OPTIONS=${ASAN_OPTIONS:-}:verify_asan_link_order=0:detect_leaks=0"
    apitrace trace ${TRACE_API:+-a "$TRACE_API"} -o "$1")
}
