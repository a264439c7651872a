# Shared by the end-to-end tests of the pool game: a private virtual display, the game started
# in it, keys, screenshots and pixel probes. Sourced with the game's path as $POOL.
set -euo pipefail

WORK=$(mktemp -d)
SHOTS=${SHOTS:-$PWD/e2e-shots/$(basename "$0" .sh)}
mkdir -p "$SHOTS"
XVFB_PID=""
GAME_PID=""
WIDTH=0
HEIGHT=0

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$WORK/err" ] && { echo "--- game's error stream:" >&2; cat "$WORK/err" >&2; }
  exit 1
}

# Polls a command every 0.25 s until it succeeds; fails the test after $2 seconds.
wait_for() {
  local what=$1 seconds=$2
  shift 2
  local tries=$((seconds * 4))
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || fail "timed out waiting for $what"
    sleep 0.25
  done
}

not() { ! "$@"; }

# A virtual screen of WIDTHxHEIGHT that no other test shares; the server picks a free number.
start_display() {
  WIDTH=${1%x*}
  HEIGHT=${1#*x}
  # -noreset: a server that resets as its last client leaves refuses the next one meanwhile.
  Xvfb -displayfd 5 -screen 0 "${WIDTH}x${HEIGHT}x24" -nolisten tcp -noreset 5>"$WORK/display" \
    2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  wait_for "the virtual display" 10 display_ready
}

display_ready() {
  [ -s "$WORK/display" ] || return 1
  export DISPLAY=":$(head -n1 "$WORK/display")"
  xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts the game from directory $1 (which holds Data/), standard output and error to files, or
# with the shell redirections $2 instead (">&-" starts it with standard output closed).
start_game() {
  local dir=$1 redirections=${2:-'>"$WORK/out" 2>"$WORK/err"'}
  (cd "$dir" && eval "exec \"\$POOL\" $redirections") &
  GAME_PID=$!
  wait_for "the game's window" 20 window_shown
  # Without a window manager the keys go to the window under the pointer.
  xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2))
  wait_for "the first frame" 20 frame_drawn
}

window_shown() {
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at start-up"
  WINDOW=$(xdotool search --name "^$POOL\$" 2>/dev/null | head -n1) && [ -n "$WINDOW" ]
}

# The game switches to full screen once its window shows: the first frame that counts fills the
# screen, down to its lower-right corner.
frame_drawn() {
  shot first
  [ "$(region_mean first $((WIDTH * 9 / 10)) $((HEIGHT * 9 / 10)) $((WIDTH / 10)) \
    $((HEIGHT / 10)) | awk '{print $1 + $2 + $3}')" -gt 30 ]
}

keys() { xdotool key --delay 40 "$@"; }
# Presses one key $2 times.
repeat_key() { xdotool key --repeat "$2" --delay 40 "$1"; }

# Saves the screen as $SHOTS/$1.png.
shot() { import -window root "$SHOTS/$1.png"; }

# Mean colour "r g b" (0 to 255) of a region of a screenshot: x y width height from the top left.
region_mean() {
  convert "$SHOTS/$1.png" -crop "$4x$5+$2+$3" +repage -scale '1x1!' \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}

# Prints "x y count": the centroid of the pixels of a region brighter than $6 in every channel.
bright_centroid() {
  convert "$SHOTS/$1.png" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
    awk -F'[,:() ]+' -v ox="$2" -v oy="$3" -v t="$6" '
      NR > 1 && $3 > t && $4 > t && $5 > t { sx += $1; sy += $2; n++ }
      END { if (n) printf "%.2f %.2f %d\n", ox + sx / n + 0.5, oy + sy / n + 0.5, n; else print "0 0 0" }'
}

# The cue, drawn between the eye and the cue ball, shows below the screen's centre whenever the
# game waits for a shot: olive (red about green, no blue) rather than the felt's green. It is
# looked for in two stretches of its line, farther apart than a ball is wide, so that a yellow
# ball rolling across the line is not taken for it.
cue_shown() {
  shot "$1"
  olive_at "$1" 55 && olive_at "$1" 62
}

# The screen's centre column is olive over 6% of its height, from $2% down.
olive_at() {
  set -- $(region_mean "$1" $((WIDTH / 2 - 1)) $((HEIGHT * $2 / 100)) 3 $((HEIGHT * 6 / 100)))
  [ "$1" -gt 30 ] && [ "$3" -lt 25 ] && [ $(($1 - $2)) -lt 15 ] && [ $(($2 - $1)) -lt 15 ]
}

# The placement screen shows no room: its top-left corner is the table's dark wooden rail.
placement_shown() {
  shot "$1"
  set -- $(region_mean "$1" 0 0 $((WIDTH / 40)) $((HEIGHT / 40)))
  [ "$1" -lt 90 ] && [ "$2" -lt 70 ] && [ "$1" -ge "$3" ]
}

# Count of bright (text) pixels in a region of a screenshot.
bright_pixels() { bright_centroid "$1" "$2" "$3" "$4" "$5" 200 | awk '{print $3}'; }

# Escape ends the game with status 0.
quit_game() {
  keys Escape
  local status=0
  wait "$GAME_PID" || status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "Escape ended the game with status $status"
}
