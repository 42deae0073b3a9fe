// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's threads for a live or a compact recording, and the compact H.264 encoder's memory
// bound.
#include "export/VideoEncoderPlan.h"

#include <algorithm>
#include <thread>

namespace {

// Threads that encode a live recording's pictures side by side.
constexpr int LiveEncoderThreads = 2;

// A compact H.264 recording holds its pictures inside x264: each frame thread keeps a picture
// with its reconstruction and half-pixel planes (about 9 bytes a pixel), each picture of the
// look-ahead and of the B-frames waiting for their reference about 3 bytes a pixel. Left to
// itself x264 starts 1.5 frame threads a core and looks 10 pictures ahead with 5 B-frames: at
// 3840 x 2160 that took 1.1 GB on two cores and 1.8 GB with the twelve threads of an eight-core
// laptop, more than a 4 GB laptop has to spare. The threads and the look-ahead are therefore
// given only as many pictures as these bytes hold, and where that cuts the frame threads the
// cores share each picture in slices instead; the rendering, which waits for the encoder, goes
// at its pace. Pictures up to about 1920 x 1080 keep x264's own choice on two cores.
constexpr long long FrameThreadBytes = 128LL * 1024 * 1024;
constexpr long long LookAheadBytes = 64LL * 1024 * 1024;
constexpr long long FrameThreadBytesPerPixel = 9;
constexpr long long LookAheadBytesPerPixel = 3;
// x264's own figures for the veryfast preset tuned for animation.
constexpr int MaxLookAhead = 10;
constexpr int MaxBFrames = 5;
constexpr int MaxSlices = 4;

}  // namespace

TCompactEncoderPlan CompactEncoderPlan(QSize codedSize, int cores) {
  const long long pixels =
      std::max<long long>(1, static_cast<long long>(codedSize.width()) * codedSize.height());
  // x264's own choice for the machine: one and a half frame threads a core.
  const long long ownThreads = std::max(1, cores) * 3LL / 2;
  TCompactEncoderPlan plan;
  plan.FrameThreads = static_cast<int>(std::clamp<long long>(
      FrameThreadBytes / (FrameThreadBytesPerPixel * pixels), 1, std::max(1LL, ownThreads)));
  plan.LookAhead = static_cast<int>(
      std::clamp<long long>(LookAheadBytes / (LookAheadBytesPerPixel * pixels), 1, MaxLookAhead));
  plan.BFrames = std::min(plan.LookAhead, MaxBFrames);
  // Slices hold no picture more: where the frame threads are cut, the cores encode a picture side
  // by side (each slice more costs some size, up to a quarter at eight).
  if (plan.FrameThreads < ownThreads && cores > 1) plan.SliceThreads = std::min(cores, MaxSlices);
  return plan;
}

TH264Quality H264QualityFor(bool live) {
  if (live) {
    return {"ultrafast", "26",
            "cabac=1:deblock=1,1:mbtree=1:rc-lookahead=8:partitions=p8x8:me=hex:subme=1"};
  }
  return {"veryfast", "25", ""};
}

TEncoderThreads EncoderThreadsFor(TVideoFormat format, QSize codedSize, bool live, bool boundMemory,
                                  int cores) {
  TEncoderThreads threads;
  // Live, two threads that each encode a half of every picture: a 1600 x 950 picture takes one
  // core longer than a 60 Hz frame, and the animation leaves much of its own core idle. Slices
  // add no delay and no memory, as pictures encoded side by side would. Otherwise the encoder
  // takes as many threads as it sees fit. Its threads share the worker's lower priority (see
  // LowerThreadPriority).
  if (live) {
    threads.ThreadCount = LiveEncoderThreads;
    threads.SlicesOnly = true;
  } else if (format == TVideoFormat::Mp4 && boundMemory) {
    const int machineCores =
        cores > 0 ? cores : static_cast<int>(std::thread::hardware_concurrency());
    const TCompactEncoderPlan plan = CompactEncoderPlan(codedSize, machineCores);
    threads.ThreadCount = plan.FrameThreads;
    if (plan.SliceThreads > 0) {
      threads.ThreadCount = plan.SliceThreads;
      threads.SlicesOnly = true;
    }
    // No look-ahead kept for the threads' sake beyond the one above (sync-lookahead): it would
    // hold as many pictures again.
    threads.X264Parameters = "rc-lookahead=" + std::to_string(plan.LookAhead) +
                             ":bframes=" + std::to_string(plan.BFrames) + ":sync-lookahead=0";
  } else {
    threads.ThreadCount = 0;
  }
  return threads;
}
