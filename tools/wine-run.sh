#!/usr/bin/env bash
# Runs a Windows program under Wine the way every test and the run command need it:
#   - a private 64-bit prefix, created once and reused, with the registry settings
#     without which hidden windows take seconds and crashes hang on a dialog;
#   - a private PulseAudio server whose only output is a null sink, for Wine's
#     PulseAudio driver: the sink consumes sound at the rate of the clock, so both media
#     layers play in real time without a sound card (Media Foundation's audio renderer
#     is not paced by ALSA's null device and runs about 3.6 times too fast there); the
#     null ALSA device stays as the fallback when no PulseAudio server can start;
#   - Japanese locale (code page 932);
#   - one persistent wineserver, warmed by a client with null stdio so that no Wine
#     service keeps a ctest pipe open; TMPDIR pinned so every call finds that server;
#   - $DISPLAY if it answers, else a shared Xvfb started on demand.
#
#   wine-run.sh PROGRAM.exe [ARGS...]   run it; exit status is the program's
#   wine-run.sh --prepare               only make sure prefix, server and display are up
#   wine-run.sh --display               print the display used (starting Xvfb if needed)
#   wine-run.sh --env                   print the environment settings (for eval)
#   wine-run.sh --stop                  stop the wineserver and our Xvfb (end of a test run)
#
# TESSEL_TIMEOUT (seconds, default 300) bounds one program run: a hang becomes exit 124.
# TESSEL_REAL_AUDIO=1 keeps the user's own sound setup (for the run command).
# TESSEL_WINE_DPI=N (other than 96) runs in a prefix of its own whose display setting
# is N dots per inch (192 is 200 %), beside the usual one and made the same way; it
# has its own wineserver, which --stop ends with the others.
set -euo pipefail

base_state="${TESSEL_WINE_STATE:-${XDG_CACHE_HOME:-$HOME/.cache}/tesselplay-wine}"
dpi="${TESSEL_WINE_DPI:-96}"
case "$dpi" in
  ''|*[!0-9]*) echo "wine-run: TESSEL_WINE_DPI must be a number" >&2; exit 2 ;;
esac
state="$base_state"
[ "$dpi" = 96 ] || state="$base_state/dpi$dpi"
mkdir -p "$state/tmp" "$state/home"
lock="$state/lock"

export WINEPREFIX="$state/prefix"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export TMPDIR="$state/tmp"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# No session bus: with a display set, a library that looks for one would start
# dbus-launch, a process of its own that outlives the program.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$state/no-session-bus"
if [ "${TESSEL_REAL_AUDIO:-0}" != 1 ]; then
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$state/home/.asoundrc.new"
  mv -f "$state/home/.asoundrc.new" "$state/home/.asoundrc"
  export HOME="$state/home"
  export PULSE_RUNTIME_PATH="$state/pulse"
  export PULSE_SERVER="unix:$state/pulse/native"
fi

wine_bin=$(command -v wine64 || command -v wine)
server_bin=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

# The private PulseAudio server with its null sink (nothing when the user's own sound
# is kept or PulseAudio is not installed: Wine then falls back to ALSA).
ensure_pulse() {
  [ "${TESSEL_REAL_AUDIO:-0}" = 1 ] && return 0
  command -v pulseaudio >/dev/null 2>&1 || return 0
  mkdir -p "$PULSE_RUNTIME_PATH"
  if pactl_ok; then return 0; fi
  rm -f "$PULSE_RUNTIME_PATH/native" "$PULSE_RUNTIME_PATH/pid"
  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes --disable-shm=yes \
    --load="module-null-sink sink_name=tessel_null rate=48000" \
    --load="module-native-protocol-unix auth-anonymous=1" \
    --log-target=file:"$state/pulse.log" </dev/null >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do pactl_ok && return 0; sleep 0.1; done
  echo "wine-run: PulseAudio did not start (see $state/pulse.log); sound falls back to ALSA" >&2
}
pactl_ok() { [ -S "$PULSE_RUNTIME_PATH/native" ] && pactl info >/dev/null 2>&1; }

display_answers() { [ -n "${1:-}" ] && DISPLAY="$1" xdpyinfo >/dev/null 2>&1; }

ensure_display() {
  if display_answers "${DISPLAY:-}"; then return; fi
  local n="${TESSEL_XVFB_DISPLAY:-77}"
  if ! display_answers ":$n"; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    nohup Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 </dev/null &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 1 100); do display_answers ":$n" && break; sleep 0.1; done
    display_answers ":$n" || { echo "wine-run: Xvfb :$n did not start" >&2; exit 1; }
  fi
  export DISPLAY=":$n"
}

ensure_prefix() {
  # The marker names the settings version: a prefix made with older settings is made anew.
  if [ ! -f "$WINEPREFIX/.tessel-ready-2" ]; then
    rm -rf "$WINEPREFIX"
    "$server_bin" -p >/dev/null 2>&1 </dev/null || true
    "$wine_bin" wineboot -i </dev/null >/dev/null 2>&1
    local reg="$state/settings.reg"
    cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"="pulse,alsa"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=-
REG
    if [ "$dpi" != 96 ]; then
      printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$dpi" >> "$reg"
    fi
    "$wine_bin" regedit /S "$(winepath_of "$reg")" </dev/null >/dev/null 2>&1
    "$server_bin" -w
    touch "$WINEPREFIX/.tessel-ready-2"
  fi
}

winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | sed 's#/#\\#g')"; }

ensure_server() {
  # A persistent server outlives each program, so the next one starts in milliseconds.
  # "-k0" only asks whether the server of this prefix and TMPDIR is alive.
  if ! "$server_bin" -k0 >/dev/null 2>&1; then
    "$server_bin" -p </dev/null >/dev/null 2>&1 || true
    # The services the first client starts inherit its stdio: give them nothing to hold.
    "$wine_bin" cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi
}

prepare() {
  exec 9>"$lock"
  flock 9
  ensure_display
  ensure_pulse
  ensure_prefix
  ensure_server
  flock -u 9
}

# Ends the wineserver of one state (its prefix and TMPDIR name it) and the Xvfb it started.
stop_state() {
  WINEPREFIX="$1/prefix" TMPDIR="$1/tmp" "$server_bin" -k >/dev/null 2>&1 || true
  if [ -f "$1/pulse/pid" ]; then
    kill "$(cat "$1/pulse/pid")" 2>/dev/null || true
    rm -f "$1/pulse/pid"
  fi
  if [ -f "$1/xvfb.pid" ]; then
    kill "$(cat "$1/xvfb.pid")" 2>/dev/null || true
    rm -f "$1/xvfb.pid"
  fi
}

case "${1:-}" in
  --stop)
    # The prefixes of other display settings first: their servers may use our Xvfb.
    for other in "$base_state"/dpi*; do
      [ -d "$other/prefix" ] && stop_state "$other"
    done
    stop_state "$base_state"
    exit 0 ;;
  --prepare) prepare; exit 0 ;;
  --display) prepare; echo "$DISPLAY"; exit 0 ;;
  --env)
    prepare
    printf 'export WINEPREFIX=%q WINEARCH=win64 WINEDEBUG=%q WINEDLLOVERRIDES=%q TMPDIR=%q LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 HOME=%q DISPLAY=%q\n' \
      "$WINEPREFIX" "$WINEDEBUG" "$WINEDLLOVERRIDES" "$TMPDIR" "$HOME" "$DISPLAY"
    [ -n "${PULSE_SERVER:-}" ] && printf 'export PULSE_RUNTIME_PATH=%q PULSE_SERVER=%q\n' "$PULSE_RUNTIME_PATH" "$PULSE_SERVER"
    exit 0 ;;
  "") echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2; exit 2 ;;
esac

prepare
# Whatever the program or Wine starts on the way (a service, a helper of the sound
# server) inherits the program's standard output and error. When those are ctest's
# pipe, ctest then waits for the pipe long after the program has ended; so the program
# writes into files, copied out once it has ended.
out=$(mktemp "$TMPDIR/run-out.XXXXXX")
err=$(mktemp "$TMPDIR/run-err.XXXXXX")
set +e
timeout --kill-after=10 "${TESSEL_TIMEOUT:-300}" "$wine_bin" "$@" >"$out" 2>"$err"
status=$?
set -e
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
