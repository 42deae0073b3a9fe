#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program under Xvfb, answers the version window with Enter and checks the
# screenshot: field-line pixels all around a blue charge disc in the middle of the plot.
# $1: the program.
set -euo pipefail

program=${1:?usage: startup_test.sh <halvoran-radiation>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
program=$1
work=$2
# The test command runs the headless tests on the offscreen platform; this one needs the X server.
export QT_QPA_PLATFORM=xcb
# The program's settings (its language) go to the test's own folder, never the user's.
export XDG_CONFIG_HOME="$work/config"
"$program" >"$work/program.log" 2>&1 &
pid=$!
stop() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
trap stop EXIT

# Waits until a window whose name matches $1 is mapped.
wait_for_window() {
  for _ in $(seq 1 100); do
    if xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; then return 0; fi
    kill -0 "$pid" 2>/dev/null || { echo "the program ended early"; cat "$work/program.log"; exit 1; }
    sleep 0.2
  done
  echo "no window named '$1' appeared"
  exit 1
}

wait_for_window 'Version Info\.'
sleep 0.5
xdotool key Return
wait_for_window '^HalvoranRadiation$'
sleep 2
kill -0 "$pid" 2>/dev/null || { echo "the program ended after the version window"; exit 1; }
import -window root "$work/shot.png"
SESSION

xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/session.sh" "$program" "$work"

# Pixels of one colour in a region of the screenshot, within a fuzz (a percentage of the colour
# cube's diagonal): smooth lines lay their colour over the ground by how much of each pixel they
# cover, and 30 % takes the pixels a line covers by about three quarters or more.
count() {  # geometry colour [fuzz]
  convert "$work/shot.png" -crop "$1" +repage -fuzz "${3:-0}%" -fill black +opaque "$2" \
    -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}

field='#00C8FF'
disc='#0000FF'
# The plot fills the screen below the menu bar and the button row: its centre lies a little
# below the screen's.
centre_disc=$(count 80x80+600+500 "$disc")
echo "blue disc pixels near the centre: $centre_disc"
[ "$centre_disc" -ge 20 ] || { echo "no blue disc at the centre of the plot"; exit 1; }

for region in 200x200+100+150 200x200+980+150 200x200+100+750 200x200+980+750 \
              200x60+540+160 200x60+540+900; do
  n=$(count "$region" "$field" 30)
  echo "field-line pixels in $region: $n"
  [ "$n" -ge 30 ] || { echo "no field lines in $region"; exit 1; }
done
echo "startup ok"
