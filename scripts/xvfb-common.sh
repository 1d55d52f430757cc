# Shared by the scripts that play the game on a virtual X display: a scratch folder, the
# clean-up of what they started, a failure line, and an Xvfb that picks its own free display.
# Source it; then call start_xvfb WIDTHxHEIGHT. start_game needs GAME and TITLE.
WORK=$(mktemp -d)
# A sanitizer build of the game still checks for leaks, all but the system's own (see the file),
# and lists no suppressed ones: the tests read what the game writes on standard error.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan-suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# The game plays its sound through SDL's silent dummy device here, so a machine without sound
# hardware writes no line about it; a caller that sets the driver itself keeps its choice.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
XVFB_PID=""
GAME_PID=""
GAME_FOLDER=""
EYES_PID=""

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$EYES_PID" ] && kill "$EYES_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Exit 77 (a skip for CTest) only when Xvfb itself is not installed; any other tool named that
# is missing is a failure.
need_tools() {
  if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed" >&2
    exit 77
  fi
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
  done
}

# Each step is a separate xdotool call with a pause (STEP_PAUSE seconds, 0.3 unless set), so it
# lands in passes of its own.
step() {
  xdotool "$@"
  sleep "${STEP_PAUSE:-0.3}"
}

# The window's picture as $SHOTS/$1.xwd.
grab() {
  xwd -silent -id "$WINDOW" -out "$SHOTS/$1.xwd"
}

# Xvfb writes the number of the display it took once it is ready: no race with other displays
# started at the same time, however slow the machine is.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 300); do
    [ -s "$WORK/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb ended: $(tail -n 3 "$WORK/xvfb.log")"
    sleep 0.1
  done
  [ -s "$WORK/display" ] || fail "Xvfb gave no display within 30 seconds"
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"
}

# Waits (up to 10 s) for the game to end; fails unless its status is 0.
expect_clean_exit() {
  local status=0
  for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && fail "$1: the game is still running"
  wait "$GAME_PID" || status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "$1: exit status $status; the game's standard error ends:
$(tail -n 40 "$GAME_FOLDER/stderr.txt" 2>/dev/null)"
  echo "ok: $1 ends the game with status 0"
}

# Starts the game in folder $1 (further arguments are its options) and waits for its window;
# sets GAME_PID and WINDOW. Under a loaded machine SDL now and then fails to reach a display
# that was just answering (the game then says "No display to open the window on." and ends):
# such a start is tried again, twice at most; any other early end fails at once.
start_game() {
  local attempt
  for attempt in 1 2 3; do
    launch_game "$@" && return 0
    grep -q "^No display to open the window on" "$1/stderr.txt" ||
      fail "the game ended before its window opened: $(tail -n 3 "$1/stderr.txt")"
    echo "note: start $attempt found no display: $(tail -n 2 "$1/stderr.txt" | tr '\n' ' ')" >&2
    sleep 0.5
  done
  fail "the game found no display in three starts"
}

# A sanitizer build of the game is given no OpenGL here. On a virtual display OpenGL is Mesa's
# software driver, which the game tries and then leaves for the window surface; the driver
# keeps a little memory and is unloaded before the leak check, which then cannot name it, let
# alone suppress it. With no library to load for OpenGL or EGL, the game goes straight to the
# window surface it would have ended on. A caller that names the libraries keeps its choice; a
# plain build is left as it is.
keep_gl_out_of_leak_checks() {
  # The whole list is read (grep -q in a pipe could end ldd early, failing under pipefail).
  case "$(ldd "$GAME" 2>/dev/null)" in
    *libasan*)
      export SDL_OPENGL_LIBRARY="${SDL_OPENGL_LIBRARY:-no-opengl-for-a-sanitizer-build}"
      export SDL_VIDEO_EGL_DRIVER="${SDL_VIDEO_EGL_DRIVER:-no-egl-for-a-sanitizer-build}"
      ;;
  esac
}

# One start of the game for start_game; false when it ended before its window opened.
launch_game() {
  local folder=$1
  shift
  GAME_FOLDER=$folder
  (cd "$folder" && keep_gl_out_of_leak_checks && exec "$GAME" "$@" >"$folder/console.txt" \
    2>"$folder/stderr.txt") &
  GAME_PID=$!
  WINDOW=""
  # SDL may replace its first window when the renderer starts: wait for one that stays.
  local stable=0 found
  for _ in $(seq 150); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      wait "$GAME_PID" 2>/dev/null || true
      GAME_PID=""
      return 1
    fi
    found=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | tail -n 1 || true)
    if [ -n "$found" ] && [ "$found" = "$WINDOW" ] && xwininfo -id "$found" >/dev/null 2>&1; then
      stable=$((stable + 1))
      [ "$stable" -ge 5 ] && return 0
    else
      stable=0
    fi
    WINDOW=$found
    sleep 0.1
  done
  fail "no window captioned \"$TITLE\""
}
