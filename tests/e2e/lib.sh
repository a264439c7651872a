# Shared by the end-to-end tests of the pool game: a private virtual display, the game started
# in it, keys, screenshots and pixel probes. Sourced with the game's path as $POOL.
set -euo pipefail

WORK=$(mktemp -d)
SHOTS=${SHOTS:-$PWD/e2e-shots/$(basename "$0" .sh)}
mkdir -p "$SHOTS"
XVFB_PID="" GAME_PID="" READER_PID="" OTHER_PIDS="" WIDTH=0 HEIGHT=0

cleanup() {
  for pid in $GAME_PID $READER_PID $OTHER_PIDS $XVFB_PID; do kill "$pid" 2>/dev/null || true; done
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
  local what=$1 tries=$(($2 * 4))
  shift 2
  until "$@"; do
    [ $((tries -= 1)) -gt 0 ] || fail "timed out waiting for $what"
    sleep 0.25
  done
}

not() { ! "$@"; }

# A virtual screen of WIDTHxHEIGHT that no other test shares; the server picks a free number.
# (-noreset: a server that resets as its last client leaves refuses the next one meanwhile.)
start_display() {
  WIDTH=${1%x*} HEIGHT=${1#*x}
  Xvfb -displayfd 5 -screen 0 "${1}x24" -nolisten tcp -noreset 5>"$WORK/display" 2>/dev/null &
  XVFB_PID=$!
  wait_for "the virtual display" 10 display_ready
}

display_ready() {
  [ -s "$WORK/display" ] && export DISPLAY=":$(head -n1 "$WORK/display")" && xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts the game from directory $1 (which holds Data/) with the options that follow; its window
# is found by its title, WINDOW_NAME or else the game's path. Its
# standard output goes through a pipe and is copied to $WORK/out as it arrives, its error stream
# to $WORK/err; or the shell redirections in REDIRECTIONS replace these (">&-" starts it with
# standard output closed).
start_game() {
  local dir=$1
  shift
  if [ -n "${REDIRECTIONS:-}" ]; then
    (cd "$dir" && eval "exec \"\$POOL\" \"\$@\" $REDIRECTIONS") &
  else
    rm -f "$WORK/pipe" && mkfifo "$WORK/pipe"
    cat "$WORK/pipe" >"$WORK/out" &
    READER_PID=$!
    (cd "$dir" && exec "$POOL" "$@" >"$WORK/pipe" 2>"$WORK/err") &
  fi
  GAME_PID=$!
  wait_for "the game's window" 20 window_shown
  xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2)) # without a window manager keys go there
  wait_for "the first frame" 20 frame_drawn
}

window_shown() {
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at start-up"
  WINDOW=$(xdotool search --name "^${WINDOW_NAME:-$POOL}\$" 2>/dev/null | head -n1) && [ -n "$WINDOW" ]
}

# The game goes full screen once its window shows: the first frame that counts reaches the
# screen's lower-right corner.
frame_drawn() {
  shot first
  set -- $(region_mean first $((WIDTH * 9 / 10)) $((HEIGHT * 9 / 10)) $((WIDTH / 10)) $((HEIGHT / 10)))
  [ $(($1 + $2 + $3)) -gt 30 ]
}

keys() { xdotool key --delay 40 "$@"; }
repeat_key() { xdotool key --repeat "$2" --delay 40 "$1"; } # key $1, $2 times
shot() { import -window root "$SHOTS/$1.png"; }             # the screen as $SHOTS/$1.png

# Mean colour "r g b" (0 to 255) of a region of a screenshot: x y width height from the top left.
region_mean() {
  convert "$SHOTS/$1.png" -crop "$4x$5+$2+$3" +repage -scale '1x1!' \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}

# Count of bright (text) pixels, above 200 in red and green and at least BLUE_MIN (default 200)
# in blue, in a region of a screenshot; with BY_COLUMN=1 the count of columns holding one.
bright_pixels() {
  convert "$SHOTS/$1.png" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
    awk -F'[,:() ]+' -v blue="${BLUE_MIN:-200}" -v by_column="${BY_COLUMN:-0}" '
      NR > 1 && $3 > 200 && $4 > 200 && $5 >= blue { n++; if (!($1 in seen)) { seen[$1]; columns++ } }
      END { print (by_column ? columns : n) + 0 }'
}

# The winner's banner, white or yellow, spans most of the width of the window's upper middle,
# where a few balls in the view light a few dozen columns at most.
banner_shown() {
  shot "$1" &&
    [ "$(BLUE_MIN=0 BY_COLUMN=1 bright_pixels "$1" $((WIDTH / 4)) $((HEIGHT * 37 / 100)) $((WIDTH * 7 / 10)) $((HEIGHT / 10)))" -gt $((WIDTH / 4)) ]
}

# The cue, drawn between the eye and the cue ball, shows below the screen's centre whenever the
# game waits for a shot: olive (red about green, no blue) rather than the felt's green. It is
# looked for in two stretches of its line, farther apart than a ball is wide, so that a yellow
# ball rolling across the line is not taken for it.
cue_shown() { shot "$1" && olive_at "$1" 55 && olive_at "$1" 62; }

# The screen's centre column is olive over 6% of its height, from $2% down.
olive_at() {
  set -- $(region_mean "$1" $((WIDTH / 2 - 1)) $((HEIGHT * $2 / 100)) 3 $((HEIGHT * 6 / 100)))
  [ "$1" -gt 30 ] && [ "$3" -lt 25 ] && [ $(($1 - $2)) -lt 15 ] && [ $(($2 - $1)) -lt 15 ]
}

# The placement screen shows no room: its top-left corner is the table's dark wooden rail.
placement_shown() {
  shot "$1"
  set -- $(region_mean "$1" 0 0 20 15)
  [ "$1" -lt 90 ] && [ "$2" -lt 70 ] && [ "$1" -ge "$3" ]
}

# Escape ends the game with status 0; its output is then complete in $WORK/out.
quit_game() {
  keys Escape
  local status=0
  wait "$GAME_PID" || status=$?
  [ -z "$READER_PID" ] || wait "$READER_PID" || true
  GAME_PID="" READER_PID=""
  [ "$status" -eq 0 ] || fail "Escape ended the game with status $status"
}

# The window tells the desktop what it is: the class `pool` that the desktop entry names, the
# title `pool` that the launcher starts it by, and the game's 64-pixel icon.
window_identified() {
  local props
  props=$(xprop -id "$WINDOW" WM_CLASS WM_NAME _NET_WM_ICON) || return 1
  grep -qx 'WM_CLASS(STRING) = "pool", "pool"' <<<"$props" &&
    grep -qx 'WM_NAME(STRING) = "pool"' <<<"$props" && grep -q 'Icon (64 x 64)' <<<"$props"
}
