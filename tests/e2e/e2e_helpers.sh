# Helpers of the end-to-end window test: X server, viewer process, waiting, input, captures and checks.

pass() { echo "PASS  $1"; }
fail() {
  echo "FAIL  $1${2:+  ($2)}"
  failures=$((failures + 1))
}
# check NAME REASON-ON-FAILURE COMMAND...: PASS when the command succeeds.
check() {
  local name=$1 reason=$2
  shift 2
  if "$@"; then pass "$name"; else fail "$name" "$reason"; fi
}
summary() {
  echo "captures and log: $out"
  if [ "$failures" -eq 0 ]; then echo "all checks passed"; else echo "$failures check(s) failed"; fi
  [ "$failures" -eq 0 ]
}

require_tools() {
  local missing=()
  for tool in "$@"; do command -v "$tool" >/dev/null || missing+=("$tool"); done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL  missing tools: ${missing[*]} (scripts/install-deps.sh installs them)"
    exit 1
  fi
}

# until_true COMMAND...: polls the condition until it holds or the deadline passes.
until_true() {
  local end=$((SECONDS + deadline_s))
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.05
  done
}

start_x() {
  local display_file=$out/display
  : >"$display_file"
  Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_file" 2>"$out/xvfb.log" &
  xvfb_pid=$!
  until_true test -s "$display_file" || { fail "X server starts" "no display number"; exit 1; }
  export DISPLAY=:$(head -n1 "$display_file")
  # Debian's openbox runs scrot on Print and Alt+Print; the viewer's snapshot key must reach the viewer.
  sed -e '/<keybind key="Print">/,/<\/keybind>/d' -e '/<keybind key="A-Print">/,/<\/keybind>/d' \
    /etc/xdg/openbox/rc.xml >"$out/openbox-rc.xml"
  openbox --sm-disable --config-file "$out/openbox-rc.xml" >"$out/openbox.log" 2>&1 &
  wm_pid=$!
  until_true wm_running || { fail "window manager starts" "openbox announced no window"; exit 1; }
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Ends what this test started, the viewer first.
cleanup() {
  for pid in $viewer_pid $wm_pid $xvfb_pid; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
}

# start_viewer ARGS...: runs the viewer with its log in $log and waits for its main window ($main).
start_viewer() {
  : >"$log"
  "$bin/vx880-player" "$@" 2>>"$log" >/dev/null &
  viewer_pid=$!
  until_true main_shown || { fail "main window appears" "no window titled VX-880QN Player"; return 1; }
  focus main
}
# Searched again and again rather than with "search --sync": xdotool gives up when a window it is looking
# at goes away meanwhile, which happens while the viewer starts.
main_shown() {
  main=$(xdotool search --onlyvisible --pid "$viewer_pid" --name '^VX-880QN Player$' 2>/dev/null | head -n1)
  [ -n "$main" ]
}
# The main window's current id: Qt makes the window anew when the map's web view joins it, so an id found
# earlier can be gone.
refresh_main() { xdotool getwindowname "$main" >/dev/null 2>&1 || until_true main_shown; }
viewer_running() { kill -0 "$viewer_pid" 2>/dev/null; }
viewer_gone() { ! viewer_running; }
# Waits for the viewer to end by itself; it is killed if it does not, so the next scene starts clean.
viewer_ends() {
  until_true viewer_gone
  local ended=$?
  [ $ended -eq 0 ] || kill "$viewer_pid" 2>/dev/null
  wait "$viewer_pid" 2>/dev/null
  return $ended
}

# focus WINDOW, or focus main: gives the window the keyboard.
focus() {
  local window=$1
  [ "$window" = main ] && refresh_main && window=$main
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window" 2>/dev/null
}

# Sets WX WY WW WH to the place and size on the screen of a window, or of the main window when named main.
# xwininfo gives the client area's true place; xdotool's getwindowgeometry counts a decorated window's
# title bar twice, which put clicks on a dialog's bottom row below its buttons.
geometry() {
  local info window=$1
  [ "$window" = main ] && refresh_main && window=$main
  info=$(xwininfo -id "$window" 2>/dev/null) || return 1
  read -r WX WY WW WH <<<"$(awk -F: '/Absolute upper-left X|Absolute upper-left Y|Width|Height/ { printf "%d ", $2 }' \
    <<<"$info")"
}
main_is() {
  geometry main || return 1
  [ "$WW" = "$1" ] && [ "$WH" = "$2" ]
}

# The viewer's other top-level windows that are shown (dialogs, message boxes, tool windows).
other_windows() {
  local window
  refresh_main
  for window in $(xdotool search --onlyvisible --pid "$viewer_pid" 2>/dev/null); do
    [ "$window" != "$main" ] && xprop -id "$window" WM_STATE 2>/dev/null | grep -q Normal && echo "$window"
  done
}
other_window_names() { other_windows | while read -r window; do xdotool getwindowname "$window"; done | paste -sd,; }
no_other_window() { [ -z "$(other_windows)" ]; }
one_other_window() { [ "$(other_windows | wc -l)" -eq 1 ]; }

# Waits for one new window and sets DIALOG to it.
await_dialog() {
  until_true one_other_window || return 1
  DIALOG=$(other_windows)
  focus "$DIALOG"
}

# click_at X Y [CLICKS]: clicks the left button once, or CLICKS times in quick succession.
click_at() {
  geometry main
  xdotool mousemove --sync $((WX + $1)) $((WY + $2)) click --repeat "${3:-1}" --delay 60 1
}
key() { xdotool key "$@"; }

# capture NAME: the whole screen into $captures/NAME.png.
capture() { scrot --overwrite "$captures/$1.png"; }
shot() { echo "$captures/$1.png"; }

# Areas are "X Y W H" relative to the main window; on_screen turns them into screen coordinates.
on_screen() {
  geometry main
  set -- $1
  echo $((WX + $1)) $((WY + $2)) $3 $4
}
# drawn NAME AREA [MOST]: less than MOST % (90 unless given) of the area is black: a drawn window, never
# an empty black box.
drawn() { [ "$("$pixels" dark "$(shot "$1")" $2)" -lt "${3:-90}" ]; }
differ() { [ "$("$pixels" differ "$(shot "$1")" "$(shot "$2")" $3)" -gt 0 ]; }
same() { ! differ "$@"; }

# captured_drawn NAME WINDOW [MOST]: captures until the window's area is drawn (it is black until painted).
captured_drawn() { capture "$1" && geometry "$2" && drawn "$1" "$WX $WY $WW $WH" "${3:-90}"; }
# captured_change NAME EARLIER AREA: captures until AREA differs from the earlier capture.
captured_change() { capture "$1" && differ "$1" "$2" "$3"; }
