# Sourced by the tests and tools that record what the program plays: a private PulseAudio server in
# PULSE_DIR whose only output is a null sink named "recorded" (its monitor can be recorded), with
# one idle stream kept connected, or the idle sink would render ahead of real time. Wine's audio
# (and SDL's) goes to it through PULSE_SERVER.
#   start_pulse DIR   starts it (HOME and the runtime folder inside DIR); stop_pulse ends it and
#                     every process started with pulse_track PID.
PULSE_PIDS=()
pulse_track() { PULSE_PIDS+=("$1"); }
start_pulse() {
  export PULSE_RUNTIME_PATH="$1/pulse" HOME="$1/home"
  mkdir -p "$PULSE_RUNTIME_PATH" "$HOME"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  cat >"$1/pulse.pa" <<PA
load-module module-null-sink sink_name=recorded rate=44100 channels=2
load-module module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1
set-default-sink recorded
PA
  pulseaudio --daemonize=no --exit-idle-time=-1 -n -F "$1/pulse.pa" >"$1/pulse.log" 2>&1 &
  pulse_track $!
  local i
  for i in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  if ! pactl info >/dev/null 2>&1; then
    echo "FAIL: the sound server did not start: $(cat "$1/pulse.log")" >&2
    return 1
  fi
  pacat --playback --raw /dev/zero &
  pulse_track $!
}
stop_pulse() {
  local p i
  # The idle stream first, so that it does not complain of the server going.
  for ((i = ${#PULSE_PIDS[@]} - 1; i >= 0; i--)); do kill "${PULSE_PIDS[i]}" 2>/dev/null || true; done
  for p in "${PULSE_PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
  PULSE_PIDS=()
}
