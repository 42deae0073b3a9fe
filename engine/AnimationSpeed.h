// SPDX-License-Identifier: GPL-3.0-or-later
// The animation speed: the real time between two ticks, set by a slider of ten positions. The
// wave moves a fixed model distance per tick, so a shorter interval is a faster wave on screen.
#pragma once

constexpr int SpeedPositionMin = 1;   // "Slow"
constexpr int SpeedPositionMax = 10;  // "Fast"
constexpr int SpeedPositionDefault = SpeedPositionMax;

// TimerInterval (ms) = (SpeedPositionMax - position) x 20 + 1: 1 ms at "Fast", 181 ms at "Slow".
constexpr int TimerIntervalOfSpeed(int position) {
  return (SpeedPositionMax - position) * 20 + 1;
}

// The slider position whose interval is nearest to intervalMs, within the slider's range.
constexpr int SpeedPositionOf(int intervalMs) {
  const int position = SpeedPositionMax - (intervalMs - 1 + 10) / 20;
  return position < SpeedPositionMin ? SpeedPositionMin
                                     : (position > SpeedPositionMax ? SpeedPositionMax : position);
}
