#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's command line on a machine with no display: no X server, no QT_QPA_PLATFORM.
# Pictures and videos written with exit status 0 and read back; bad command lines end with 2 and
# one line on stderr; a file that cannot be written ends with 1 and leaves nothing; a render
# stopped by a signal ends with 128 + the signal and leaves the file of its name as it was.
# $1: the program.
set -euo pipefail

program=${1:?usage: render_test.sh <halvoran-radiation>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the program without any display; sets status, out and err.
run() {
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 120 "$program" "$@" \
    >"$work/out" 2>"$work/err"
  status=$?
  set -e
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

fail() {
  echo "FAILED: $*"
  echo "stdout: $out"
  echo "stderr: $err"
  exit 1
}

expect_status() {  # status, then the arguments
  local want=$1
  shift
  run "$@"
  [ "$status" -eq "$want" ] || fail "$* gave $status, not $want"
}

# Pixels of one colour in the picture, within fuzz (another renderer blends the lines' edges).
count() {  # file colour [fuzz]
  convert "$1" -fuzz "${3:-0}%" -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}

# A PNG at the default size, then one at twice the device pixels.
expect_status 0 --render "$work/circle.png" --trajectory circle --ticks 120
[ -z "$err" ] || fail "a successful render wrote to stderr"
[ "$(identify -format '%m %w %h' "$work/circle.png")" = "PNG 1280 720" ] || fail "circle.png size"
lines=$(count "$work/circle.png" '#00C8FF' 30)
echo "field-line pixels: $lines"
[ "$lines" -gt 5000 ] || fail "no field lines in circle.png"
[ "$(count "$work/circle.png" '#E6E600' 30)" -gt 100 ] || fail "no trajectory in circle.png"

expect_status 0 --render "$work/small.png" --size 320x200 --scale 2 --model small --wavefronts
[ "$(identify -format '%w %h' "$work/small.png")" = "640 400" ] || fail "small.png is not 640 x 400"
[ "$(count "$work/small.png" '#FF6496' 30)" -gt 100 ] || fail "no wavefronts in small.png"

# The exact field's arrows come with their legend, whose frame is the one grey of the picture.
expect_status 0 --render "$work/plain.png" --trajectory circle --size 640x360 --aliased --no-caption
expect_status 0 --render "$work/arrows.png" --trajectory circle --size 640x360 --aliased --arrows --no-caption
[ "$(count "$work/plain.png" '#808080')" -eq 0 ] || fail "a legend without --arrows"
[ "$(count "$work/arrows.png" '#808080')" -gt 100 ] || fail "no arrow legend in arrows.png"

# Smooth and aliased lines differ; aliased lines hold only the field lines' own colour (without
# the caption, whose letters are always blended).
expect_status 0 --render "$work/smooth.png" --size 320x200 --smooth --no-caption
expect_status 0 --render "$work/aliased.png" --size 320x200 --aliased --no-caption
differing=$(compare -metric AE "$work/smooth.png" "$work/aliased.png" null: 2>&1 || true)
echo "pixels differing between smooth and aliased: $differing"
[ "$differing" -gt 500 ] || fail "--smooth and --aliased draw the same picture"
[ "$(count "$work/aliased.png" '#00C8FF' 30)" -eq "$(count "$work/aliased.png" '#00C8FF')" ] ||
  fail "aliased lines are blended"

# An SVG: well-formed, with paths, and drawn by another renderer with the field lines in it.
expect_status 0 --render "$work/line.svg" --trajectory line --ticks 200 --size 800x450
xmllint --noout "$work/line.svg" || fail "line.svg is not well-formed"
paths=$(grep -o -E '<(path|polyline)' "$work/line.svg" | wc -l)
echo "SVG path elements: $paths"
# Each of the 40 field lines is a path of its own (its segments joined).
[ "$paths" -ge 40 ] || fail "line.svg holds too few paths"
rsvg-convert "$work/line.svg" -o "$work/line-svg.png"
# Drawn at its own size, the SVG has the picture's pixels exactly.
[ "$(identify -format '%w %h' "$work/line-svg.png")" = "800 450" ] ||
  fail "the drawn SVG is $(identify -format '%w x %h' "$work/line-svg.png"), not 800 x 450"
[ "$(count "$work/line-svg.png" '#00C8FF' 30)" -gt 1000 ] || fail "no field lines in the drawn SVG"

# Videos: the ticks --from .. --ticks, one frame each, at the size asked for.
for format in "mp4 h264" "webm vp9" "gif gif"; do
  read -r suffix codec <<<"$format"
  expect_status 0 --render "$work/film.$suffix" --trajectory dipole --ticks 40 --from 10 \
    --size 320x180
  got=$(ffprobe -v error -count_frames -select_streams v:0 \
    -show_entries stream=codec_name,width,height,nb_read_frames -of csv=p=0 "$work/film.$suffix")
  echo "film.$suffix: $got"
  [ "$got" = "$codec,320,180,31" ] || fail "film.$suffix is $got, not $codec,320,180,31"
done
expect_status 1 --render "$work/missing/film.mp4" --ticks 5
[ ! -e "$work/missing" ] || fail "a folder was made for the video"

# Stopped half way by Ctrl+C or a kill: status 128 + the signal, one line on stderr, and the file
# of the name as it was before, with nothing beside it.
mkdir "$work/stop"
for stop in "mp4 INT 130" "webm TERM 143" "gif INT 130"; do
  read -r suffix signal want <<<"$stop"
  film="$work/stop/film.$suffix"
  echo "an earlier film" >"$film"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --render "$film" \
    --trajectory circle --ticks 3000 --size 640x360 >"$work/out" 2>"$work/err" &
  pid=$!
  sleep 2
  kill -"$signal" "$pid"
  set +e
  wait "$pid"
  status=$?
  set -e
  out=$(cat "$work/out")
  err=$(cat "$work/err")
  echo "SIG$signal during film.$suffix: status $status, $err"
  [ "$status" -eq "$want" ] || fail "SIG$signal gave status $status, not $want"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "SIG$signal" "$work/err" ||
    fail "SIG$signal: not one line naming the signal"
  [ "$(cat "$film")" = "an earlier film" ] || fail "the earlier film.$suffix was touched"
  [ "$(ls -A "$work/stop")" = "film.$suffix" ] || fail "left in the folder: $(ls -A "$work/stop")"
  rm "$film"
done

# Help and version.
expect_status 0 --help
grep -q -- '--render FILE' <<<"$out" || fail "--help shows no usage"
expect_status 0 --version
[ -n "$out" ] || fail "--version printed nothing"

# Bad command lines: status 2, one line on stderr, nothing written.
for bad in "--bogus" "--render $work/a.bmp" "--render $work/a.png --ticks ten" \
           "--render $work/a.png --size 10x10" "--render $work/a.png --trajectory spiral" \
           "--render $work/a.png --scale 9" "--from 5" "--render $work/a.png --ticks 5 --ticks 6" \
           "--render $work/.png"; do
  # shellcheck disable=SC2086
  expect_status 2 $bad
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$bad: not one line on stderr"
done
[ ! -e "$work/a.png" ] && [ ! -e "$work/a.bmp" ] && [ ! -e "$work/.png" ] ||
  fail "a refused command line wrote a file"

# A file that cannot be written: status 1, the name in the message, nothing left.
expect_status 1 --render "$work/missing/a.png" --ticks 5
grep -q "$work/missing/a.png" <<<"$err" || fail "the message does not name the file"
mkdir "$work/taken.svg"
expect_status 1 --render "$work/taken.svg" --ticks 5
[ -d "$work/taken.svg" ] || fail "the folder in the way was replaced"
leftovers=$(find "$work" -maxdepth 1 -name '*.png.*' -o -maxdepth 1 -name '*.svg.*' | wc -l)
[ "$leftovers" -eq 0 ] || fail "temporary files were left behind"
# The observer: its eye in the picture (white on the black ground), its files beside a picture
# and a video, a file to a pipe, and a file that cannot be written told in one line with status 1.
expect_status 0 --render "$work/no-eye.png" --trajectory circle --size 640x360 --aliased --no-caption
expect_status 0 --render "$work/eye.png" --trajectory circle --size 640x360 --aliased --no-caption \
  --observer 0.9,0.3 --observer-csv "$work/eye.csv" --spectrum-csv "$work/spectrum.csv" --from 100
[ "$(count "$work/eye.png" '#EBEBEB')" -gt "$(count "$work/no-eye.png" '#EBEBEB')" ] ||
  fail "no eye in eye.png"
[ "$(head -1 "$work/eye.csv")" = "tick,charge_x,charge_y,ex,ey,ex_rad,ey_rad" ] || fail "eye.csv header"
[ "$(tail -1 "$work/eye.csv" | cut -d, -f1)" = "300" ] || fail "eye.csv does not end at tick 300"
[ "$(head -1 "$work/spectrum.csv")" = "frequency,harmonic,power" ] || fail "spectrum.csv header"
expect_status 0 --render "$work/eye.gif" --trajectory circle --size 160x90 --ticks 130 --from 120 \
  --observer 0.9,0.3 --observer-csv /dev/stdout
[ "$(head -1 <<<"$out")" = "tick,charge_x,charge_y,ex,ey,ex_rad,ey_rad" ] || fail "no CSV on stdout"
[ "$(wc -l <<<"$out")" -eq 82 ] || fail "the ticks 120 .. 130 are not 81 rows"
expect_status 1 --render "$work/eye2.png" --observer 0,0 --observer-csv "$work/missing/eye.csv"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "$work/missing/eye.csv" "$work/err" ||
  fail "the CSV file that cannot be written is not told in one line"
expect_status 2 --render "$work/eye3.png" --observer-csv "$work/eye3.csv"
[ ! -e "$work/eye3.png" ] && [ ! -e "$work/eye3.csv" ] || fail "a refused line wrote a file"

echo "render ok"
