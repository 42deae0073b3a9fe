// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's video: every tick rendered off screen and handed to the video recorder, the
// rendering held back while the recorder's queue is nearly full so that no frame is dropped.
#include "export/TickVideo.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "engine/AnimationStep.h"
#include "export/VideoRecorder.h"
#include "plot/MainPictureImage.h"

namespace {

// The rate of a window ticking once per frame of a 60 Hz screen.
constexpr double TicksPerSecond = 60.0;

}  // namespace

bool RecordTickVideo(const QString& path, TSimulationCommands& simulation,
                     const TPictureGeometry& geometry,
                     int firstTick, int lastTick, const std::function<bool()>& stopRequested) {
  // Any rate for a name of no video format: the recorder refuses the name.
  const TVideoFormat format = VideoFormatOfPath(path).value_or(TVideoFormat::Mp4);
  // Pictures whose encoding has begun, counted on the recorder's worker. Declared before the
  // recorder, which calls back into them until it is gone.
  std::mutex lock;
  std::condition_variable started;
  long long encoding = 0;
  TVideoRecorderOptions options;
  // Nothing to keep pace with: the rendering waits for the encoder.
  options.Live = false;
  options.BeforeEncode = [&] {
    {
      std::lock_guard<std::mutex> guard(lock);
      ++encoding;
    }
    started.notify_one();
  };
  TVideoRecorder recorder(path, DevicePixelsOf(geometry.LogicalSize, geometry.PixelRatio),
                          StandardFrameRate(TicksPerSecond, format), options);
  // A picture holds its place in the queue until it is encoded: with the one being encoded and
  // the one about to be added, at most QueueFrames - 2 may wait.
  const long long waiting = std::max(0, recorder.QueueFrames() - 2);
  long long added = 0;
  for (int tick = 0; tick <= lastTick && !recorder.Failed(); ++tick) {
    // Leaving the recorder unfinished abandons the video.
    if (stopRequested()) return false;
    if (tick > 0) simulation.RunTick();
    if (tick < firstTick) continue;
    const QImage picture =
        RenderMainPicture(simulation.State(), simulation.Display(), geometry.LogicalSize, geometry.PixelRatio, geometry.Range);
    std::unique_lock<std::mutex> guard(lock);
    // Polled as well: a worker that failed encodes nothing more and says so only through Failed.
    while (added - encoding > waiting && !recorder.Failed())
      started.wait_for(guard, std::chrono::milliseconds(20));
    guard.unlock();
    if (recorder.AddFrame(picture)) ++added;
  }
  if (stopRequested()) return false;
  recorder.Finish();
  return true;
}
