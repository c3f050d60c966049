#!/usr/bin/env bash
# The real pagetap under a virtual X server against the real demo service, driven from outside
# like a user would: press the top-list button, look at a user with a picture, open that user's
# videos, look at one, press Esc. Saves user-view.png and video-view.png in OUTPUT_DIR.
# Usage: end_to_end.sh PAGETAP DEMO_SERVICE OUTPUT_DIR
set -euo pipefail
pagetap=$(realpath "$1")
service=$(realpath "$2")
out=$3
mkdir -p "$out"
# shellcheck source=tests/e2e/scratch.sh
source "$(dirname "$0")/scratch.sh"

fail() {
  echo "end-to-end: $*" >&2
  echo "--- service log (last lines)" >&2
  tail -n 20 "$work/service.log" >&2 || true
  echo "--- X server log" >&2
  cat "$work/xvfb.log" >&2 || true
  exit 1
}

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local limit=$1
  shift
  for _ in $(seq $((limit * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

log_has() { grep -q -E "$1" "$work/service.log"; }
count_in_log() { grep -c -E "$1" "$work/service.log" || true; }

# A display of our own, checked by connecting to it: on a shared machine another X server may
# answer for the same number, so a display that does not show our screen size is passed over.
export XAUTHORITY="$work/Xauthority"
xvfb=""
ours() { [ "$(xdotool getdisplaygeometry 2> /dev/null)" = "1600 900" ]; }
settled() { ours || ! kill -0 "$xvfb" 2> /dev/null; }
start_display() {
  Xvfb ":$1" -ac -screen 0 1600x900x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
  xvfb=$!
  export DISPLAY=":$1"
  wait_for 10 settled
  if ours; then children+=("$xvfb"); return 0; fi
  kill "$xvfb" 2> /dev/null || true
  wait "$xvfb" 2> /dev/null || true
  return 1
}
display_ready=""
for _ in 1 2 3 4 5; do
  if start_display $((1000 + RANDOM % 9000)); then display_ready=yes; break; fi
done
if [ -z "$display_ready" ]; then
  echo "end-to-end: skipped, no virtual X server could be reached on this machine" >&2
  cat "$work/xvfb.log" >&2 || true
  exit 77
fi

"$service" --host 127.0.0.1 --port 0 > "$work/service.log" &
children+=($!)
wait_for 10 log_has '^listening on ' || fail "the demo service did not start"
base=$(sed -n 's/^listening on //p' "$work/service.log" | head -n 1)

(cd "$work" && PAGETAP_API_BASE=$base PAGETAP_SITE_BASE=$base QT_QPA_PLATFORM=xcb exec "$pagetap") &
app=$!
children+=("$app")

window=""
find_window() { window=$(xdotool search --onlyvisible --name '^pagetap$' 2> /dev/null | head -n 1); [ -n "$window" ]; }
wait_for 20 find_window || fail "the window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool windowfocus --sync "$window"

# The dialog is 707 x 315 dialog units; controls are found by their place in it.
point() { echo $(($1 * WIDTH / 707)) $(($2 * HEIGHT / 315)); }
click() { xdotool mousemove --window "$window" $(point "$1" "$2") click --repeat "${3:-1}" --delay 80 1; }
picture_varies() {
  # The picture control spans dialog units (357, 6) to (701, 167); empty, it is one grey with a line.
  local crop
  crop="$(($(point 344 161 | cut -d' ' -f1) - 8))x$(($(point 344 161 | cut -d' ' -f2) - 8))+$(($(point 357 6 | cut -d' ' -f1) + 4))+$(($(point 357 6 | cut -d' ' -f2) + 4))"
  import -window "$window" "$work/now.png"
  local deviation
  deviation=$(/usr/bin/convert "$work/now.png" -crop "$crop" -colorspace Gray -format '%[fx:int(1000*standard_deviation)]' info:)
  [ "$deviation" -gt 40 ]
}

click 173 141  # 本周最热视频
wait_for 20 log_has '"GET /top_video' || fail "no top-list request"
wait_for 30 log_has 'mov\.3in1\.jpg" 200 ' || fail "no picture was downloaded"
sleep 1

# Focus the list on its empty lower part, then walk down the users until one shows a picture.
click 285 300
shown=""
for _ in $(seq 8); do
  xdotool key Down
  sleep 0.6
  if picture_varies; then shown=yes; break; fi
done
[ -n "$shown" ] || fail "no user's picture showed"
cp "$work/now.png" "$out/user-view.png"

# Open the first user's videos: a double-click on the first row, below the header.
pages_before=$(count_in_log '"GET /home_user')
xdotool mousemove --window "$window" $(point 240 2 | awk '{print $1, $2 + 30}') click --repeat 2 --delay 80 1
more_pages() { [ "$(count_in_log '"GET /home_user')" -gt "$pages_before" ]; }
wait_for 20 more_pages || fail "no user-page request"
# The list is greyed while the pages come; then a click on the second video shows it.
sleep 2
xdotool mousemove --window "$window" $(point 240 2 | awk '{print $1, $2 + 46}') click 1
sleep 1
wait_for 10 picture_varies || fail "no video's picture showed"
import -window "$window" "$out/video-view.png"

xdotool key Escape
status=0
ended() { local state; state=$(ps -o stat= -p "$app" || true); [ -z "$state" ] || [[ $state == Z* ]]; }
wait_for 10 ended || fail "Esc did not end the program"
wait "$app" || status=$?
[ "$status" -eq 2 ] || fail "exit code $status, expected 2"
echo "end-to-end: top list, pictures, a user's videos and Esc all worked; screenshots in $out"
