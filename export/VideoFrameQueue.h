// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-over of a recording's pictures from the thread that draws them to the encoder's worker:
// a fixed pool of picture slots, a ring of the slots waiting, the worker thread, and the count of
// the pictures dropped for want of a free slot.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The animation comes first: the calling thread and the threads it creates afterwards yield the
// processor to it.
void LowerThreadPriority();

class TVideoFrameQueue {
 public:
  // Encodes a slot on the worker: a picture of the coded size (with one row more, black beyond the
  // picture) and its tick. A std::exception it throws fails the recording with its text.
  using TEncode = std::function<void(const QImage& slot, long long tick)>;

  // A pool of queueFrames slots for pictures of pictureSize stored at codedSize, fewer when that
  // many would take more than a hundred megabytes or so, and at least one. HasPool tells whether
  // there was memory for them.
  TVideoFrameQueue(QSize pictureSize, QSize codedSize, int queueFrames);
  // Stops the worker as Stop does.
  ~TVideoFrameQueue();
  TVideoFrameQueue(const TVideoFrameQueue&) = delete;
  TVideoFrameQueue& operator=(const TVideoFrameQueue&) = delete;

  bool HasPool() const { return PoolComplete; }
  int SlotCount() const { return static_cast<int>(Slots.size()); }

  // Starts the worker, which encodes the slots in the order they were added; beforeEncode, when
  // given, runs before each slot it takes.
  void Start(TEncode encode, std::function<void()> beforeEncode);
  // Copies picture into a free slot and hands it to the worker: a picture of another size is cut
  // or padded with black at its right and bottom. False when no slot was free: the picture is
  // dropped and counted, and its tick passes all the same, so that the video keeps time.
  // Allocates nothing for RGB32 pictures.
  bool Add(const QImage& picture);
  // The slots still queued are passed over, not encoded.
  void Abandon() { Abandoned.store(true); }
  // Waits until the worker has taken every slot queued, and for it to end.
  void Stop();

  // Records the first failure's reason; the worker encodes nothing more.
  void Fail(const QString& reason);
  bool Failed() const { return HasFailed.load(); }
  // The first failure's reason, once the worker has stopped.
  QString Failure() const { return Error; }
  // Slots encoded, once the worker has stopped.
  long long Written() const { return WrittenCount; }
  long long Dropped() const { return DroppedCount; }

 private:
  void WorkerLoop();

  QSize PictureSize;
  bool PoolComplete = false;
  TEncode Encode;
  std::function<void()> BeforeEncode;

  // Slots never change size after the start, so that a picture is copied into memory that
  // exists. Free and Queue hold slot numbers; Queue is a ring of Slots.size() entries.
  std::vector<QImage> Slots;
  std::vector<long long> SlotTick;
  std::vector<int> Free;
  std::vector<int> Queue;
  std::size_t QueueHead = 0;
  std::size_t QueueCount = 0;
  bool Stopping = false;
  std::atomic<bool> Abandoned{false};
  std::mutex Lock;
  std::condition_variable Wake;
  std::thread Worker;

  long long Offered = 0;       // pictures handed in so far: the next picture's tick
  long long WrittenCount = 0;  // worker only until it is joined
  long long DroppedCount = 0;
  std::atomic<bool> HasFailed{false};
  QString Error;  // written before HasFailed is set
};
