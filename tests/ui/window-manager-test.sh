#!/usr/bin/env bash
# The desktop program under Xvfb with the openbox window manager, as a user starts and ends
# it: the window's outer size (frame included) is stored at exit and shown again exactly at
# the next start, three times over with the close button and a SIGTERM; a resize by the
# window manager is stored exactly and shown again.
#   window-manager-test.sh PROGRAM [LSAN_SUPPRESSIONS]
set -euo pipefail

program=$1
export LSAN_OPTIONS=${2:+suppressions=$2}
for tool in Xvfb openbox xdotool wmctrl xprop; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/setup.sh" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset SESSION_MANAGER QT_QPA_PLATFORM

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to 20 s for a command to succeed.
until_true() {
  for _ in $(seq 200); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
until_true test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -n 1 "$work/display")
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
until_true wmctrl -m || fail "openbox did not start"

cd "$work"
window=
program_pid=

start() {
  "$program" 2>>"$work/program.log" &
  program_pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Quorlen$' | head -n 1)
  [[ -n $window ]] || fail "no window appeared"
}

# The window's outer size as the window manager frames it: the client plus the frame
# extents the window manager announces.
outer_size() {
  local client extents
  client=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ' ')
  [[ -n $client && -n $extents ]] || return 1
  IFS=x read -r width height <<<"$client"
  IFS=, read -r left right top bottom <<<"$extents"
  echo "$((width + left + right))x$((height + top + bottom))"
}

shows() { [[ $(outer_size) == "$1" ]]; }

stored_size() {
  local width height
  width=$(tr -d '\r' <config.ini | sed -n 's/^WINDOW_WIDTH=//p')
  height=$(tr -d '\r' <config.ini | sed -n 's/^WINDOW_HEIGHT=//p')
  echo "${width}x${height}"
}

# Ends the program (the close button, or a signal) and checks that it ended well.
finish() {
  if [[ $1 == close ]]; then
    wmctrl -i -c "$window"
  else
    kill "-$1" "$program_pid"
  fi
  local status=0
  wait "$program_pid" || status=$?
  [[ $status == 0 ]] || fail "the program ended with status $status after $1"
}

expected=800x600
for how in close TERM close; do
  start
  until_true shows "$expected" || fail "start shows $(outer_size), stored $expected"
  finish "$how"
  [[ $(stored_size) == "$expected" ]] || fail "after $how stored $(stored_size), not $expected"
  echo "shown and stored $expected (ended by $how)"
done

# The window manager resizes the client to 900 x 700 (as on the user's behalf): the outer
# size it then has is stored, and the next start shows it.
start
until_true shows "$expected" || fail "start shows $(outer_size), stored $expected"
xdotool windowsize "$window" 900 700
until_true test "$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')" = 900x700 ||
  fail "the window manager did not resize the window"
resized=$(outer_size)
finish close
[[ $(stored_size) == "$resized" ]] || fail "resized to $resized but stored $(stored_size)"
start
until_true shows "$resized" || fail "start shows $(outer_size), stored $resized"
finish INT
[[ $(stored_size) == "$resized" ]] || fail "stored $(stored_size) after showing $resized"
echo "resized by the window manager to $resized: stored and shown again"
