// SPDX-License-Identifier: GPL-3.0-or-later
// How a video's encoder uses the machine: its threads and how they share the pictures, and for a
// compact H.264 recording the look-ahead and B-frames that keep its memory within a bound.
#pragma once

#include <QSize>
#include <string>

#include "export/VideoFormat.h"

// How a compact H.264 recording of codedSize pictures encodes on a machine of cores.
struct TCompactEncoderPlan {
  int FrameThreads = 1;
  int LookAhead = 1;  // pictures, the B-frames among them
  int BFrames = 1;
  // Above 0, one thread and one slice of every picture per thread instead of frame threads.
  int SliceThreads = 0;
};

TCompactEncoderPlan CompactEncoderPlan(QSize codedSize, int cores);

// What the encoder is told of threads.
struct TEncoderThreads {
  int ThreadCount = 0;  // 0: as many as the encoder sees fit
  // The threads share each picture in slices rather than take a picture each.
  bool SlicesOnly = false;
  std::string X264Parameters;  // none when empty
};

// The threads of a recording of codedSize pictures in format: live (keeping pace with the
// animation) or not, with the compact H.264 encoder's memory bounded or left to x264, on a
// machine of cores (0 for this machine's).
TEncoderThreads EncoderThreadsFor(TVideoFormat format, QSize codedSize, bool live, bool boundMemory,
                                  int cores);
