// SPDX-License-Identifier: GPL-3.0-or-later
// The frame queue without an encoder: the pool's size for the pictures' memory, the pictures
// handed over in order with the ticks of those dropped left out, a picture of another size or
// format, an abandoned queue and a failure that stops the encoding.
#include "export/VideoFrameQueue.h"

#include <gtest/gtest.h>

#include <QColor>
#include <mutex>
#include <semaphore>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

QImage Filled(QSize size, QColor colour, QImage::Format format = QImage::Format_RGB32) {
  QImage picture(size, format);
  picture.fill(colour);
  return picture;
}

// What the worker was handed, slot and tick, copied before the slot is used again.
struct TEncoded {
  std::mutex Lock;
  std::vector<long long> Ticks;
  std::vector<QImage> Pictures;

  TVideoFrameQueue::TEncode Recorder() {
    return [this](const QImage& slot, long long tick) {
      std::lock_guard<std::mutex> guard(Lock);
      Ticks.push_back(tick);
      Pictures.push_back(slot.copy());
    };
  }
};

TEST(VideoFrameQueue, ThePoolHoldsTheSlotsAskedForWithinAHundredAndTwentyEightMegabytes) {
  const struct {
    QSize Coded;
    int Asked;
    int Slots;
  } rows[] = {
      {{1366, 720}, 8, 8},
      {{1366, 720}, 2, 2},
      {{1366, 720}, 0, 1},
      // A slot of 3840 x 2161 RGB32 pixels is 33.2 MB: four fit.
      {{3840, 2160}, 8, 4},
      // 4000 x 3001 x 4 bytes is 48 MB: two would fit, but three are kept.
      {{4000, 3000}, 8, 3},
      {{4000, 3000}, 2, 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Coded.width() << " x " << row.Coded.height() << ", "
                                    << row.Asked << " asked");
    TVideoFrameQueue queue(row.Coded, row.Coded, row.Asked);
    EXPECT_TRUE(queue.HasPool());
    EXPECT_EQ(queue.SlotCount(), row.Slots);
  }
}

// The worker is held before each slot until the test lets it go; when it is held before the
// second, the first slot is free again.
TEST(VideoFrameQueue, ADroppedPictureIsCountedAndItsTickPasses) {
  std::counting_semaphore<8> started(0);
  std::counting_semaphore<8> gate(0);
  TEncoded encoded;
  TVideoFrameQueue queue({8, 6}, {8, 6}, 2);
  queue.Start(encoded.Recorder(), [&] {
    started.release();
    gate.acquire();
  });
  const QImage picture = Filled({8, 6}, Qt::red);
  EXPECT_TRUE(queue.Add(picture));  // tick 0, held by the worker
  started.acquire();
  EXPECT_TRUE(queue.Add(picture));   // tick 1, waits
  EXPECT_FALSE(queue.Add(picture));  // tick 2: no slot
  gate.release();
  started.acquire();                // tick 0 encoded and its slot free
  EXPECT_TRUE(queue.Add(picture));  // tick 3
  gate.release(2);
  queue.Stop();
  EXPECT_EQ(encoded.Ticks, (std::vector<long long>{0, 1, 3}));
  EXPECT_EQ(queue.Written(), 3);
  EXPECT_EQ(queue.Dropped(), 1);
  EXPECT_FALSE(queue.Failed());
}

// Pictures of 5 x 3 stored in 6 x 4 (even sides): the slot has a row more than that, and outside
// the picture it is black, whatever came before.
TEST(VideoFrameQueue, APictureOfAnotherSizeIsCutOrPaddedWithBlack) {
  const QSize picture(5, 3);
  const QSize coded(6, 4);
  const struct {
    const char* Name;
    QImage Given;
    QRect Coloured;  // the rest of the slot black
    QColor Colour;
  } rows[] = {
      {"larger", Filled({9, 7}, Qt::red), QRect(0, 0, 5, 3), Qt::red},
      {"smaller after a larger one", Filled({2, 2}, Qt::green), QRect(0, 0, 2, 2), Qt::green},
      {"the picture's size", Filled(picture, Qt::blue), QRect(0, 0, 5, 3), Qt::blue},
      {"another format", Filled({4, 3}, QColor(255, 255, 0), QImage::Format_RGB888),
       QRect(0, 0, 4, 3), QColor(255, 255, 0)},
      {"with alpha", Filled(picture, QColor(0, 255, 255), QImage::Format_ARGB32_Premultiplied),
       QRect(0, 0, 5, 3), QColor(0, 255, 255)},
  };
  TEncoded encoded;
  {
    // One slot, so that every picture goes into the slot of the one before.
    TVideoFrameQueue queue(picture, coded, 1);
    queue.Start(encoded.Recorder(), {});
    for (const auto& row : rows) {
      while (!queue.Add(row.Given)) std::this_thread::yield();
    }
    queue.Stop();
  }
  ASSERT_EQ(encoded.Pictures.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].Name);
    const QImage& slot = encoded.Pictures[i];
    ASSERT_EQ(slot.size(), QSize(coded.width(), coded.height() + 1));
    for (int y = 0; y < slot.height(); ++y) {
      for (int x = 0; x < slot.width(); ++x) {
        const QColor expected =
            rows[i].Coloured.contains(x, y) ? rows[i].Colour : QColor(Qt::black);
        EXPECT_EQ(QColor(slot.pixel(x, y)).rgb(), expected.rgb()) << x << ", " << y;
      }
    }
  }
}

TEST(VideoFrameQueue, AnAbandonedQueueEncodesNothingMore) {
  std::counting_semaphore<8> started(0);
  std::counting_semaphore<8> gate(0);
  TEncoded encoded;
  TVideoFrameQueue queue({8, 6}, {8, 6}, 3);
  queue.Start(encoded.Recorder(), [&] {
    started.release();
    gate.acquire();
  });
  const QImage picture = Filled({8, 6}, Qt::red);
  ASSERT_TRUE(queue.Add(picture));
  started.acquire();
  ASSERT_TRUE(queue.Add(picture));
  queue.Abandon();
  gate.release(2);
  queue.Stop();
  EXPECT_TRUE(encoded.Ticks.empty());
  EXPECT_EQ(queue.Written(), 0);
  EXPECT_FALSE(queue.Failed());
}

// The first failure is the one told; the pictures after it are taken from the queue but not
// encoded.
TEST(VideoFrameQueue, AFailureStopsTheEncodingAndKeepsItsReason) {
  std::vector<long long> ticks;
  TVideoFrameQueue queue({8, 6}, {8, 6}, 4);
  std::counting_semaphore<8> gate(0);
  queue.Start(
      [&](const QImage&, long long tick) {
        ticks.push_back(tick);
        if (tick == 1) throw std::runtime_error("No space left on device");
      },
      [&] { gate.acquire(); });
  const QImage picture = Filled({8, 6}, Qt::red);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(queue.Add(picture));
  gate.release(4);
  queue.Stop();
  queue.Fail(QStringLiteral("a later reason"));
  EXPECT_EQ(ticks, (std::vector<long long>{0, 1}));
  EXPECT_EQ(queue.Written(), 1);
  EXPECT_TRUE(queue.Failed());
  EXPECT_EQ(queue.Failure(), QStringLiteral("No space left on device"));
}

TEST(VideoFrameQueue, StoppingTwiceOrWithoutAWorkerIsHarmless) {
  TVideoFrameQueue idle({8, 6}, {8, 6}, 2);
  idle.Stop();
  TEncoded encoded;
  TVideoFrameQueue queue({8, 6}, {8, 6}, 2);
  queue.Start(encoded.Recorder(), {});
  queue.Stop();
  queue.Stop();
  EXPECT_EQ(queue.Written(), 0);
}

}  // namespace
