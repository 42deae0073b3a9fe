// SPDX-License-Identifier: GPL-3.0-or-later
// The player behind the music commands. No device or file is ever opened and the music submenu
// stays disabled, so all it keeps is whether it would be playing, paused or stopped.
#pragma once

enum class TMusicState { Stopped, Playing, Paused };

class TMusicPlayer {
 public:
  void Play();
  // Pauses while playing, resumes while paused; a stopped player stays stopped.
  void PauseOrResume();
  // Stops and goes back to the start.
  void StopAndRewind();

  TMusicState Mode() const { return State; }
  long long Position() const { return PositionMs; }

 private:
  TMusicState State = TMusicState::Stopped;
  long long PositionMs = 0;  // nothing advances it: no media is ever played
};
