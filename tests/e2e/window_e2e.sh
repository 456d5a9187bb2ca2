#!/usr/bin/env bash
# Drives the viewer's real window on Xvfb with openbox and xdotool, judging whole-screen captures.
#
# usage: window_e2e.sh BIN_DIR OUT_DIR SCREEN_PIXELS
# Every check prints PASS or FAIL with a reason; the captures stay in OUT_DIR/captures for looking at.
# The test waits on conditions (windows appearing, pictures changing, log lines), each with a deadline.
set -uo pipefail

bin=$1
out=$2
pixels=$3
captures=$out/captures
log=$out/viewer.log
card=$out/card
deadline_s=${VX_E2E_DEADLINE:-30}   # longest wait for one condition; generous for a loaded machine

failures=0
xvfb_pid= wm_pid= viewer_pid= main=

source "$(dirname "$0")/e2e_helpers.sh"
source "$(dirname "$0")/e2e_scenes.sh"

trap cleanup EXIT
require_tools Xvfb openbox xdotool scrot xprop xwininfo
make_card
start_x
scene_start_without_recordings
scene_card
summary
