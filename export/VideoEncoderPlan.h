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

// How finely an H.264 recording is encoded: x264's preset, its constant rate factor and the
// options that replace the preset's (none when empty).
struct TH264Quality {
  std::string Preset;
  std::string Crf;
  std::string Parameters;
};

// Live: the pictures are line art on black that moves a little every tick, so that no block
// matches its place in the last picture exactly. The ultrafast preset alone codes each of them
// nearly as if it were new (60 to 80 Mbit/s at 1920 x 1032, 60 pictures a second); the few of
// x264's tools that predict such pictures well for little time (arithmetic coding, the
// deblocking filter, the macroblock tree over 8 pictures of look-ahead, 8 x 8 inter partitions,
// a hexagonal search) give a fifth of the bytes for 1.4 times the processor time, at CRF 26
// still close to the pictures (SSIM of luma 0.983 against 0.992). The look-ahead holds 8
// pictures more (about 3 bytes a pixel each) and delays the file by as many. Otherwise the
// veryfast preset: a tenth smaller again and as close, in twice the time.
TH264Quality H264QualityFor(bool live);

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
