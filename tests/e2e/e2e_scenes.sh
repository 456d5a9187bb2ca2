# Scenes of the end-to-end window test: what a user does, and what the screen must show after it.

# Places in the normal window (X Y W H from its top-left corner).
POSITION_SLIDER="31 419 502 7"
VOLUME_SLIDER="563 419 90 7"
SLIDER_STRIP="20 410 645 36"      # both sliders, the sound button and the time labels
VIEW_BUTTONS="678 285 320 35"     # MAP, BIG MAP, swap
REAR_BUTTON="678 28 106 22"
PLAY_BUTTON="284 450 59 25"
SOUND_BUTTON="548 416 14 13"
MAP_BUTTONS="700 290 178 25"
FRONT_VIEW="23 70 640 340"
REAR_VIEW="678 50 320 240"
TIME_LABEL="34 430 50 12"
SPEED_LABEL="322 478 70 30"
# The recording list's rows; where they lie is measured on the first capture (the first row is selected).
LIST_ROWS="680 340 300 225"
ROW_TOP= ROW_H=
# The front view in full screen on a 1280x1024 screen.
FULL_SCREEN_VIEW="0 126 1280 720"

# The card: a two-stream recording with GPS, a junk file named like a recording, a one-stream one without GPS.
TWO_STREAMS=20261206_081500_D01.MP4
JUNK=20261206_082000_D02.MP4
ONE_STREAM=20261206_082500_D03.MP4
SECONDS_LONG=60   # long enough that nothing ends by itself while the test looks at it
row_of() { case $1 in "$TWO_STREAMS") echo 0 ;; "$JUNK") echo 1 ;; "$ONE_STREAM") echo 2 ;; esac; }

make_card() {
  rm -rf "$out" && mkdir -p "$captures" "$card" "$out/dot" "$out/home"
  "$bin/vx880-mkcard" --file "$card/$TWO_STREAMS" --streams 2 --seconds $SECONDS_LONG >/dev/null &&
    "$bin/vx880-mkcard" --file "$card/$ONE_STREAM" --streams 1 --no-telemetry --seconds $SECONDS_LONG >/dev/null ||
    { echo "FAIL  the card maker wrote no card"; exit 1; }
  head -c 200000 /dev/urandom >"$card/$JUNK"
  # The viewer's own settings and the web engine's files stay in the test's folder.
  export XDG_CONFIG_HOME=$out/home/config XDG_CACHE_HOME=$out/home/cache XDG_DATA_HOME=$out/home/data
  export GST_DEBUG_DUMP_DOT_DIR=$out/dot
}

centre_of() {
  set -- $1
  echo $(($1 + $3 / 2)) $(($2 + $4 / 2))
}
click_on() { click_at $(centre_of "$1"); }
pointer_away() { xdotool mousemove --sync 1279 1023; }
highlight() { "$pixels" highlight "$(shot "$1")" $(on_screen "$LIST_ROWS"); }
# Sets ROW_TOP and ROW_H from the capture of a window whose first row is selected.
measure_rows() {
  read -r ROW_TOP ROW_H <<<"$(highlight "$1")"
  [ "$ROW_TOP" -ge 0 ] && [ "$ROW_H" -gt 0 ]
}
double_click_row() {
  set -- $LIST_ROWS "$1"
  click_at $(($1 + 80)) $(($2 + ROW_TOP + $5 * ROW_H + ROW_H / 2)) 2
}
highlighted_row() {
  local top height
  read -r top height <<<"$(highlight "$1")"
  [ "$top" -ge 0 ] && echo $(((top - ROW_TOP) / ROW_H)) || echo none
}
pipelines_built() { find "$out/dot" -name '*vx880-built*' | wc -l; }
more_pipelines_than() { [ "$(pipelines_built)" -gt "$1" ]; }

graph_window() { xdotool search --onlyvisible --name '^Acceleration$' 2>/dev/null | head -n1; }
graph_shown() { [ -n "$(graph_window)" ]; }
graph_hidden() { ! graph_shown; }
# Input is handled in order: once the G-SENSOR button (a click goes where the pointer is, whichever window
# has the keyboard) has shown the acceleration window, anything an earlier step was going to open is open.
# The window is closed through the window manager (Alt+F4), as a user closes it: xdotool's windowclose would
# destroy it behind the viewer's back. It is first moved to the screen's bottom edge, off the main window,
# where the viewer shows it next time: closing it over the main window would leave stale pixels there for
# a capture to catch until they are repainted.
G_SENSOR_BUTTON="506 523 162 52"
settled() {
  click_on "$G_SENSOR_BUTTON" && until_true graph_shown && close_graph
  local settled=$?
  pointer_away
  return $settled
}
close_graph() {
  local graph
  graph=$(graph_window)
  xdotool windowmove --sync "$graph" 0 1010 && focus "$graph" && key alt+F4 && until_true graph_hidden
}

scene_start_without_recordings() {
  echo "-- start without recordings"
  start_viewer || return
  pointer_away
  check "the empty window is drawn" "mostly black" until_true captured_drawn start "$main"
  click_on "343 450 59 25"  # STOP
  pointer_away
  settled
  capture after-stop
  local part area
  while IFS='|' read -r part area; do
    check "at start, $part look as after STOP" "differs from the capture after STOP" same start after-stop "$(on_screen "$area")"
  done <<EOF
slider strip and time labels|$SLIDER_STRIP
view buttons|$VIEW_BUTTONS
rear-view button|$REAR_BUTTON
EOF
  focus main
  key Escape
  check "Escape in the normal window ends the program" "still running" viewer_ends
}

scene_card() {
  echo "-- a card with a two-stream, a junk and a one-stream recording"
  start_viewer "$card" || return
  pointer_away
  check "the first recording shows its picture" "front view black" until_true front_view_drawn playing
  check "the first recording's row is selected" "no highlighted row in the list" measure_rows playing || return
  local step
  for step in check_transport check_sliders check_background_clicks check_each_control check_map_and_full_screen \
    check_dialogs check_unplayable_row check_next_and_previous check_select_and_delete check_close_with_graph_open; do
    viewer_running || { fail "the viewer runs through the scene" "it ended before $step"; return; }
    $step
  done
}
front_view_drawn() { capture "$1" && drawn "$1" "$(on_screen "$FRONT_VIEW")"; }

check_transport() {
  capture playing
  focus main
  key space
  check "PLAY/PAUSE shows another picture when paused" "same picture playing and paused" \
    until_true captured_change paused playing "$(on_screen "$PLAY_BUTTON")"
}

check_sliders() {
  local strip
  strip=$(on_screen "$POSITION_SLIDER")
  key Home && settled && capture at-0s
  key Right Right Right Right Right Right
  check "the position thumb moves from 0 s to 6 s" "the strip did not change" until_true captured_change at-6s at-0s "$strip"
  geometry main
  xdotool mousemove --sync $((WX + 31 + 502 * 6 / SECONDS_LONG)) $((WY + 422)) mousedown 1
  xdotool mousemove --sync $((WX + 31 + 502 / 2)) $((WY + 422))
  check "the position thumb follows a drag" "the strip did not change while dragging" \
    until_true captured_change dragging at-6s "$strip"
  xdotool mouseup 1
  pointer_away
  click_at $((563 + 9)) 422
  pointer_away
  check "the volume thumb moves" "the volume strip did not change" \
    until_true captured_change volume-low at-6s "$(on_screen "$VOLUME_SLIDER")"
  click_at $((563 + 80)) 422
}

check_background_clicks() {
  pointer_away
  settled && capture sound-on
  geometry main
  local x=$WX y=$WY
  click_on "$SOUND_BUTTON"
  pointer_away
  check "the sound button's centre mutes" "the button's picture did not change" \
    until_true captured_change sound-off sound-on "$(on_screen "$SOUND_BUTTON")"
  check "the sound button's centre does not move the window" "the window follows the pointer" main_at "$x" "$y"
  put_back "$x" "$y"
  click_on "$SOUND_BUTTON"
  put_back "$x" "$y"
  xdotool mousemove --sync $((x + 500)) $((y + 12)) mousedown 1 mouseup 1
  xdotool mousemove --sync $((x + 650)) $((y + 112))
  check "a short click on the background leaves the window in place" "the window follows the pointer" \
    stays_at "$x" "$y"
  put_back "$x" "$y"
  pointer_away
}
main_at() { geometry main && [ "$WX" = "$1" ] && [ "$WY" = "$2" ]; }
# Checked again once the window has handled everything: the window manager moves it a moment later.
stays_at() { main_at "$1" "$2" && { settled; main_at "$1" "$2"; }; }
# A window left following the pointer: a click ends the window manager's move, then it goes back.
put_back() {
  main_at "$1" "$2" && return
  xdotool click 1
  refresh_main && xdotool windowmove --sync "$main" "$1" "$2"
}

# The other buttons and keys, each once, while paused (the speed only changes while playing): each changes
# its part of the window, and a toggle pressed a second time undoes the first. Every step starts from a
# settled window, so the change it sees is its own.
check_each_control() {
  local name input area
  while IFS='|' read -r name input area; do
    settled && capture before-control
    focus main && eval "$input"
    pointer_away
    check "$name" "nothing changed there" \
      until_true captured_change "control-${name//[^a-zA-Z0-9]/-}" before-control "$(on_screen "$area")"
  done <<EOF
the 1s-back button moves the position|click_on "228 450 65 25"|$TIME_LABEL
the 1s-forward button moves the position|click_on "403 450 59 25"|$TIME_LABEL
Left moves the position|key Left|$TIME_LABEL
End goes to the end|key End|$TIME_LABEL
-SPEED slows down while playing|key space && click_on "203 475 102 25"|$SPEED_LABEL
+SPEED speeds up again|click_on "383 475 102 25" && key space|$SPEED_LABEL
SWAP swaps the views|click_on "878 290 98 18"|$FRONT_VIEW
SWAP swaps them back|click_on "878 290 98 18"|$FRONT_VIEW
REAR VIEW changes the rear view|click_on "678 28 106 22"|$REAR_VIEW
Tab changes it back|key Tab|$REAR_VIEW
MAP shows the map|click_on "700 290 98 25"|$REAR_VIEW
EOF
  key Home
  check_return_and_minimise
}

check_return_and_minimise() {
  focus main && key Return
  check "Return goes to full screen" "not 1280x1024" until_true main_is 1280 1024
  focus main && key KP_Enter
  check "Enter returns to the window" "not 1020x594" until_true main_is 1020 594
  focus main && key Return && until_true main_is 1280 1024
  click_at $((1280 - 80 + 14)) 10  # NORMAL SIZE, at the full-screen window's top right
  check "the normal-size button returns to the window" "not 1020x594" until_true main_is 1020 594
  click_on "897 18 28 18"
  pointer_away
  check "the minimise button hides the window" "not iconic" until_true main_in_state Iconic
  xdotool windowactivate "$main" 2>/dev/null
  check "the minimised window comes back" "still iconic" until_true main_in_state Normal
}
main_in_state() { refresh_main && xprop -id "$main" WM_STATE 2>/dev/null | grep -q "$1"; }

check_map_and_full_screen() {
  capture before-big-map
  click_on "798 290 80 25"  # BIG MAP
  pointer_away
  # The first map shown makes Qt build the main window anew for the web view; input sent meanwhile is lost,
  # so the next steps wait until the map is on the screen.
  check "BIG MAP puts the map in the big view" "the big view did not change" \
    until_true captured_change big-map before-big-map "$(on_screen "$FRONT_VIEW")"
  settled && capture map-buttons-gps
  local built
  built=$(pipelines_built)
  double_click_row "$(row_of "$ONE_STREAM")"
  pointer_away
  until_true more_pipelines_than "$built"
  check "MAP and BIG MAP look disabled without GPS" "same look as with GPS" \
    until_true captured_change map-buttons-no-gps map-buttons-gps "$(on_screen "$MAP_BUTTONS")"
  click_on "926 18 28 18"  # FULL SCREEN
  pointer_away
  check "FULL SCREEN goes to full screen" "not 1280x1024" until_true main_is 1280 1024
  check "full screen shows the picture" "the view's area is black" until_true captured_full_screen_view
  focus main && key Escape
  check "Escape in full screen returns to the 1020x594 window" "still full screen or gone" until_true main_is 1020 594
  check "Escape in full screen keeps the program running" "the program ended" viewer_running
  # Back to the recording with telemetry: the G-SENSOR window that tells the window has settled needs it.
  built=$(pipelines_built)
  double_click_row "$(row_of "$TWO_STREAMS")"
  pointer_away
  until_true more_pipelines_than "$built" && settled
}
captured_full_screen_view() { capture full-screen && drawn full-screen "$FULL_SCREEN_VIEW"; }

# Each dialog comes up drawn, once per key press or click, after the map has set up the web engine.
check_dialogs() {
  local name open
  while IFS='|' read -r name open; do
    open_and_close_dialog "$name" "$open"
  done <<EOF
F2 folder box|key F2
OPEN folder box|click_on "20 523 162 52"
SETTINGS button settings dialog|click_on "182 523 162 52"
Print Save As box|key Print
snapshot button Save As box|click_on "344 523 162 52"
EOF
  check_settings_dialogs
}

# open_and_close_dialog NAME COMMAND: one box opens, is drawn, closes with Escape and stays closed.
open_and_close_dialog() {
  local name=$1 capture_name
  capture_name=$(echo "$1" | tr ' ' '-')
  focus main
  eval "$2"
  pointer_away
  if ! await_dialog; then
    fail "$name opens" "no window appeared"
    return
  fi
  check "$name is drawn" "black" until_true captured_drawn "$capture_name" "$DIALOG"
  key Escape
  until_true no_other_window
  settled
  check "$name opens once" "open after it closed: $(other_window_names)" no_other_window
  close_other_windows
}
close_other_windows() {
  local window
  for window in $(other_windows); do focus "$window" && key alt+F4; done
}

check_settings_dialogs() {
  focus main
  key F5
  if ! await_dialog; then
    fail "F5 opens the settings" "no window appeared"
    return
  fi
  local settings=$DIALOG
  check "the settings dialog is drawn" "black" until_true captured_drawn settings "$settings"
  geometry "$settings"
  xdotool mousemove --sync $((WX + WW - 140)) $((WY + WH - 22)) click 1  # SAVE
  if box_over_settings folder "SAVE without a card asks for a folder"; then
    focus "$NEW_WINDOW" && xdotool type --delay 20 /proc && key Return
    box_over_settings warning "saving into /proc warns" && focus "$NEW_WINDOW" && key Return
  fi
  focus "$settings" && key Escape
  until_true no_other_window || close_other_windows
}
# box_over_settings KIND WHAT: waits for a box besides the settings dialog ($NEW_WINDOW) and checks it drawn.
box_over_settings() {
  until_true new_window_besides "$settings" || { fail "$2" "no box appeared"; return 1; }
  check "the settings' $1 box is drawn" "black" until_true captured_drawn "settings-$1" "$NEW_WINDOW"
}
new_window_besides() {
  NEW_WINDOW=$(other_windows | grep -vx "$1" | head -n1)
  [ -n "$NEW_WINDOW" ]
}

check_unplayable_row() {
  local built logged
  built=$(pipelines_built)
  logged=$(stat -c %s "$log")
  double_click_row "$(row_of "$JUNK")"
  pointer_away
  check "the log names the unplayable file" "no log line with $JUNK" until_true logged_since "$logged" "$JUNK"
  settled
  check "no other recording starts" "$(($(pipelines_built) - built)) pipeline(s) built" test "$(pipelines_built)" -eq "$built"
  capture unplayable
  check "the unplayable row stays selected" "row $(highlighted_row unplayable) is selected" \
    test "$(highlighted_row unplayable)" -eq "$(row_of "$JUNK")"
}

# A process that has ended may stay a zombie until the system reaps it; it counts as gone.
all_gone() {
  local pid
  for pid; do grep -qs '^[0-9]* ([^)]*) [^Z]' "/proc/$pid/stat" && return 1; done
  return 0
}
logged_since() { tail -c +$(($1 + 1)) "$log" | grep -qF "$2"; }

# The selection ends on the first recording, whose telemetry the G-sensor window of the last step shows.
check_next_and_previous() {
  local name input row
  while IFS='|' read -r name input; do
    capture before-move
    row=$(highlighted_row before-move)
    focus main && eval "$input"
    pointer_away
    check "$name moves to another recording" "row $row stays selected" until_true row_moved_from "$row"
  done <<EOF
PageDown|key Next
PageUp|key Prior
the next button|click_on "459 450 59 25"
the previous button|click_on "163 450 65 25"
PageUp again|key Prior
EOF
}
row_moved_from() { capture moved && [ "$(highlighted_row moved)" != "$1" ]; }

check_select_and_delete() {
  local rows
  rows=$(on_screen "$LIST_ROWS")
  capture before-select
  focus main && key ctrl+a
  check "Ctrl+A selects every row" "the list did not change" until_true captured_change all-selected before-select "$rows"
  focus main && key Delete
  check "Delete takes the rows off the list" "the list did not change" \
    until_true captured_change list-emptied all-selected "$rows"
  check "Delete leaves the files on the card" "$(ls "$card" | wc -l) of 3 files left" test "$(ls "$card" | wc -l)" -eq 3
}

check_close_with_graph_open() {
  focus main && key F3
  check "F3 shows the G-sensor window" "no window titled Acceleration" until_true graph_shown
  # Brought up from the screen's edge, where settling leaves it. The graph is drawn on black: its grid,
  # traces and labels cover about a tenth of it.
  local graph helpers
  graph=$(graph_window)
  xdotool windowmove --sync "$graph" 0 0
  check "the G-sensor window is drawn" "black" until_true captured_drawn g-sensor "$graph" 98
  helpers=$(pgrep -P "$viewer_pid" | paste -sd' ')
  click_on "955 18 43 18"  # X
  check "closing the main window ends the program with the G-sensor window open" "still running" viewer_ends
  check "no process of the viewer is left after it ends" "left: $helpers" until_true all_gone $helpers
}
