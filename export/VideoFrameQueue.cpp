// SPDX-License-Identifier: GPL-3.0-or-later
// The pool of picture slots, the worker that takes them to the encoder, and the pictures dropped.
#include "export/VideoFrameQueue.h"

#include <algorithm>
#include <cstring>
#include <exception>

#ifdef __linux__
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

// The pool of pictures takes at most this much memory, but keeps room for three (one encoded, one
// waiting, one being copied): eight slots of 3840 x 2160 would be 265 MB.
constexpr long long PoolBytes = 128LL * 1024 * 1024;
constexpr int MinPoolSlots = 3;

// The niceness of the encoding threads.
constexpr int EncoderNice = 10;

}  // namespace

// When the processor is short, the encoder falls behind and frames are dropped (and counted)
// rather than the ticks slowing down. The calling thread gets a lower share of the processor, and
// as a batch thread no preemption of the animation each time a frame wakes it; threads it creates
// inherit both. A refusal changes nothing but the priority, so neither call is checked.
void LowerThreadPriority() {
#ifdef __linux__
  const sched_param batch{};
  sched_setscheduler(0, SCHED_BATCH, &batch);
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), EncoderNice);
#endif
}

TVideoFrameQueue::TVideoFrameQueue(QSize pictureSize, QSize codedSize, int queueFrames)
    : PictureSize(pictureSize) {
  const long long slotBytes = 4LL * codedSize.width() * (codedSize.height() + 1);
  const int affordable = static_cast<int>(std::max<long long>(MinPoolSlots, PoolBytes / slotBytes));
  const int poolSize = std::max(1, std::min(queueFrames, affordable));
  Slots.reserve(static_cast<std::size_t>(poolSize));
  for (int i = 0; i < poolSize; ++i) {
    // One row more than the picture: swscale's vector code may read a little past the end.
    QImage slot(codedSize.width(), codedSize.height() + 1, QImage::Format_RGB32);
    if (slot.isNull()) return;
    slot.fill(Qt::black);
    Slots.push_back(std::move(slot));
    Free.push_back(i);
  }
  SlotTick.assign(static_cast<std::size_t>(poolSize), 0);
  Queue.assign(static_cast<std::size_t>(poolSize), 0);
  PoolComplete = true;
}

TVideoFrameQueue::~TVideoFrameQueue() {
  Stop();
}

void TVideoFrameQueue::Start(TEncode encode, std::function<void()> beforeEncode) {
  Encode = std::move(encode);
  BeforeEncode = std::move(beforeEncode);
  Worker = std::thread([this] { WorkerLoop(); });
}

bool TVideoFrameQueue::Add(const QImage& picture) {
  const long long tick = Offered++;
  int slot = -1;
  {
    std::lock_guard<std::mutex> guard(Lock);
    if (Free.empty()) {
      ++DroppedCount;
      return false;
    }
    slot = Free.back();
    Free.pop_back();
  }

  QImage& target = Slots[static_cast<std::size_t>(slot)];
  const bool direct = picture.format() == QImage::Format_RGB32 ||
                      picture.format() == QImage::Format_ARGB32 ||
                      picture.format() == QImage::Format_ARGB32_Premultiplied;
  const QImage source = direct ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const int width = std::min(source.width(), PictureSize.width());
  const int height = std::min(source.height(), PictureSize.height());
  const bool sameSize = source.size() == PictureSize;
  if (!sameSize) target.fill(Qt::black);
  uchar* rows = target.bits();
  const qsizetype targetStride = target.bytesPerLine();
  for (int y = 0; y < height; ++y) {
    std::memcpy(rows + y * targetStride, source.constScanLine(y),
                static_cast<std::size_t>(width) * 4);
  }

  {
    std::lock_guard<std::mutex> guard(Lock);
    SlotTick[static_cast<std::size_t>(slot)] = tick;
    Queue[(QueueHead + QueueCount) % Queue.size()] = slot;
    ++QueueCount;
  }
  Wake.notify_one();
  return true;
}

void TVideoFrameQueue::Stop() {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Stopping = true;
  }
  Wake.notify_one();
  if (Worker.joinable()) Worker.join();
}

void TVideoFrameQueue::Fail(const QString& reason) {
  if (HasFailed.load()) return;
  Error = reason;
  HasFailed.store(true);
}

void TVideoFrameQueue::WorkerLoop() {
  LowerThreadPriority();
  for (;;) {
    int slot = -1;
    {
      std::unique_lock<std::mutex> guard(Lock);
      Wake.wait(guard, [this] { return QueueCount > 0 || Stopping; });
      if (QueueCount == 0) return;
      slot = Queue[QueueHead];
      QueueHead = (QueueHead + 1) % Queue.size();
      --QueueCount;
    }
    if (BeforeEncode) BeforeEncode();
    if (!HasFailed.load() && !Abandoned.load()) {
      try {
        const std::size_t index = static_cast<std::size_t>(slot);
        Encode(Slots[index], SlotTick[index]);
        ++WrittenCount;
      } catch (const std::exception& error) {
        Fail(QString::fromStdString(error.what()));
      }
    }
    std::lock_guard<std::mutex> guard(Lock);
    Free.push_back(slot);
  }
}
