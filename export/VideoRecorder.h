// SPDX-License-Identifier: GPL-3.0-or-later
// Video files from a stream of equally sized pictures: MP4 (H.264), WebM (VP9) or animated GIF by
// the file's suffix, encoded through FFmpeg's libraries on a worker thread behind a bounded queue.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "export/VideoEncoderPlan.h"
#include "export/VideoFormat.h"

struct TVideoRecorderOptions {
  // Pictures waiting for the encoder at most (fewer for large pictures, see QueueFrames()); a
  // picture that finds the queue full is dropped.
  int QueueFrames = 8;
  // Runs on the worker before each picture is encoded (a test holds the worker here to fill the
  // queue).
  std::function<void()> BeforeEncode;
  // Replaces the encoder the format asks for (a test names one that does not exist).
  QString EncoderName;
  // Live: the encoder keeps pace with the animation on two threads that yield to it (H.264 at
  // about 10 Mbit/s for 1920 x 1032 at 60 pictures a second, see H264QualityFor). Off, for a
  // caller that waits for the encoder (the command line): the encoder takes about twice as long,
  // on every core, for an H.264 file about as small and a little closer to the pictures, and a
  // VP9 one a quarter smaller, nearly as sharp.
  bool Live = true;
  // Replaces H264QualityFor(Live) (a benchmark's baseline).
  std::optional<TH264Quality> H264;
  // The processor cores the encoder may use; 0 for this machine's (a test stands in for a larger
  // machine).
  int Cores = 0;
  // Off: x264 chooses its frame threads and look-ahead for the machine, whatever memory they take
  // (a benchmark's baseline); on, a recording that is not live keeps them within a bound.
  bool BoundEncoderMemory = true;
  // Called from the event loop when SIGINT or SIGTERM arrives while the recorder exists (see
  // TStopSignals), so that the window can finish the video and close rather than be killed with
  // it half written; none leaves the signals alone.
  std::function<void(int signal)> OnStopSignal;
};

struct TRecordingSummary {
  QString Path;
  long long FramesWritten = 0;
  long long FramesDropped = 0;
};

// The video is written to a temporary file beside path and renamed to path only when Finish has
// completed it: until then, and for good after a failure, whatever path held stays as it was, and
// a program killed while recording leaves no video cut short under the name. A name that is a
// device or a pipe (/dev/full, a FIFO) is written into directly.
class TVideoRecorder {
 public:
  // Prepares the encoder and the file for pictures of pictureSize device pixels shown at
  // frameRate pictures a second. H.264 and VP9 store colour at half resolution and need even
  // sides: an odd side gets one black row or column. Throws EError naming the file and the
  // reason (unknown suffix, a size beyond VideoSizeRefusal's, no encoder, a folder that cannot
  // be written); nothing is left behind.
  TVideoRecorder(const QString& path, QSize pictureSize, int frameRate,
                 TVideoRecorderOptions options = {});
  // Without Finish the recording is abandoned: the pictures still queued are not encoded and
  // the temporary file is removed; path keeps what it held.
  ~TVideoRecorder();
  TVideoRecorder(const TVideoRecorder&) = delete;
  TVideoRecorder& operator=(const TVideoRecorder&) = delete;

  // Hands a copy of picture to the worker; false when the queue was full and the picture was
  // dropped, or when the file has already failed. A picture of another size is cut or padded
  // with black at its right and bottom. Allocates nothing for RGB32 pictures.
  bool AddFrame(const QImage& picture);
  // Whether writing has failed; Finish then reports why.
  bool Failed() const;
  // Waits for the queued pictures, writes the rest, closes the file and gives it its name. Throws
  // EError naming the file and the reason when anything failed since the start; the unfinished
  // file is removed and path keeps what it held.
  TRecordingSummary Finish();

  QString Path() const;
  QSize PictureSize() const;
  int FrameRate() const;
  // Pictures the queue holds: the option's number, or fewer when that many large pictures would
  // take more than a hundred megabytes or so.
  int QueueFrames() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
};
