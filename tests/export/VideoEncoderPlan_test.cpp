// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's threads: two slice threads live, x264's own choice where memory allows, and for a
// compact H.264 recording frame threads and look-ahead within their bytes, slices where the
// frame threads are cut.
#include "export/VideoEncoderPlan.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// The bound in figures of its own: a frame thread holds about 9 bytes a pixel and may take
// 128 MiB in all, a picture of look-ahead about 3 bytes a pixel within 64 MiB; x264 alone would
// start 1.5 frame threads a core and look 10 pictures ahead with 5 B-frames.
TEST(CompactEncoderPlan, KeepsX264sChoiceWhereTheBytesAllowAndSlicesWhereTheyDoNot) {
  const struct {
    QSize Coded;
    int Cores;
    TCompactEncoderPlan Plan;  // frame threads, look-ahead, B-frames, slice threads
  } rows[] = {
      // 2,073,600 pixels: 7 frame threads and 10 pictures would fit, x264 takes 3 and 10.
      {{1920, 1080}, 2, {3, 10, 5, 0}},
      // 921,600 pixels on eight cores: 16 frame threads would fit, x264 takes 12.
      {{1280, 720}, 8, {12, 10, 5, 0}},
      // 3,686,400 pixels: 4 frame threads fit, fewer than 12, so the 8 cores slice (at most 4).
      {{2560, 1440}, 8, {4, 6, 5, 4}},
      {{2560, 1440}, 2, {3, 6, 5, 0}},
      // 8,294,400 pixels: one frame thread and 2 pictures ahead, each core a slice.
      {{3840, 2160}, 2, {1, 2, 2, 2}},
      {{3840, 2160}, 16, {1, 2, 2, 4}},
      // One core: one frame thread is x264's own choice, nothing to slice for.
      {{3840, 2160}, 1, {1, 2, 2, 0}},
      {{3840, 2160}, 0, {1, 2, 2, 0}},
      {{2160, 3840}, 2, {1, 2, 2, 2}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Coded.width() << " x " << row.Coded.height() << " on "
                                    << row.Cores << " cores");
    const TCompactEncoderPlan plan = CompactEncoderPlan(row.Coded, row.Cores);
    EXPECT_EQ(plan.FrameThreads, row.Plan.FrameThreads);
    EXPECT_EQ(plan.LookAhead, row.Plan.LookAhead);
    EXPECT_EQ(plan.BFrames, row.Plan.BFrames);
    EXPECT_EQ(plan.SliceThreads, row.Plan.SliceThreads);
  }
}

// Whatever the machine, the pictures the plan keeps in x264 stay within 128 + 64 MiB, but for the
// one frame thread and the one picture of look-ahead every encoder needs.
TEST(CompactEncoderPlan, HoldsItsPicturesWithinTheBoundOnAnyMachine) {
  constexpr long long MiB = 1024 * 1024;
  for (const QSize coded :
       {QSize(640, 360), QSize(1920, 1080), QSize(3840, 2160), QSize(8192, 1012), QSize(2, 2)}) {
    for (int cores = 1; cores <= 64; ++cores) {
      SCOPED_TRACE(testing::Message()
                   << coded.width() << " x " << coded.height() << " on " << cores << " cores");
      const long long pixels = static_cast<long long>(coded.width()) * coded.height();
      const TCompactEncoderPlan plan = CompactEncoderPlan(coded, cores);
      EXPECT_GE(plan.FrameThreads, 1);
      EXPECT_LE(plan.FrameThreads, cores * 3 / 2 > 0 ? cores * 3 / 2 : 1);
      if (plan.FrameThreads > 1) {
        EXPECT_LE(plan.FrameThreads * 9 * pixels, 128 * MiB);
      }
      if (plan.LookAhead > 1) {
        EXPECT_LE(plan.LookAhead * 3 * pixels, 64 * MiB);
      }
      EXPECT_LE(plan.BFrames, plan.LookAhead);
      EXPECT_LE(plan.SliceThreads, std::min(cores, 4));
    }
  }
}

struct TThreadsRow {
  const char* Name;
  TVideoFormat Format;
  QSize Coded;
  bool Live;
  bool BoundMemory;
  int Cores;
  int ThreadCount;
  bool SlicesOnly;
  const char* X264Parameters;
};

TEST(EncoderThreads, LiveTakesTwoSliceThreadsAndOnlyACompactH264IsBounded) {
  const TThreadsRow rows[] = {
      {"live mp4", TVideoFormat::Mp4, {3840, 2160}, true, true, 16, 2, true, ""},
      {"live webm", TVideoFormat::WebM, {1366, 720}, true, true, 2, 2, true, ""},
      {"live gif", TVideoFormat::Gif, {640, 360}, true, false, 2, 2, true, ""},
      {"compact webm", TVideoFormat::WebM, {3840, 2160}, false, true, 2, 0, false, ""},
      {"compact gif", TVideoFormat::Gif, {640, 360}, false, true, 2, 0, false, ""},
      {"unbounded mp4", TVideoFormat::Mp4, {3840, 2160}, false, false, 2, 0, false, ""},
      {"compact 4K mp4",
       TVideoFormat::Mp4,
       {3840, 2160},
       false,
       true,
       2,
       2,
       true,
       "rc-lookahead=2:bframes=2:sync-lookahead=0"},
      {"compact HD mp4",
       TVideoFormat::Mp4,
       {1920, 1080},
       false,
       true,
       2,
       3,
       false,
       "rc-lookahead=10:bframes=5:sync-lookahead=0"},
  };
  for (const TThreadsRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TEncoderThreads threads =
        EncoderThreadsFor(row.Format, row.Coded, row.Live, row.BoundMemory, row.Cores);
    EXPECT_EQ(threads.ThreadCount, row.ThreadCount);
    EXPECT_EQ(threads.SlicesOnly, row.SlicesOnly);
    EXPECT_EQ(threads.X264Parameters, row.X264Parameters);
  }
}

TEST(EncoderThreads, NoCoresGivenMeansThisMachines) {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  for (const QSize coded : {QSize(1920, 1080), QSize(3840, 2160)}) {
    const TEncoderThreads own = EncoderThreadsFor(TVideoFormat::Mp4, coded, false, true, 0);
    const TEncoderThreads told = EncoderThreadsFor(TVideoFormat::Mp4, coded, false, true, cores);
    EXPECT_EQ(own.ThreadCount, told.ThreadCount);
    EXPECT_EQ(own.SlicesOnly, told.SlicesOnly);
    EXPECT_EQ(own.X264Parameters, told.X264Parameters);
  }
}

}  // namespace
