// SPDX-License-Identifier: GPL-3.0-or-later
// The music commands' player: play, pause and stop state only.
#include "mainwindow/MusicPlayer.h"

void TMusicPlayer::Play() {
  State = TMusicState::Playing;
}

void TMusicPlayer::PauseOrResume() {
  if (State == TMusicState::Playing) {
    State = TMusicState::Paused;
  } else if (State == TMusicState::Paused) {
    State = TMusicState::Playing;
  }
}

void TMusicPlayer::StopAndRewind() {
  State = TMusicState::Stopped;
  PositionMs = 0;
}
