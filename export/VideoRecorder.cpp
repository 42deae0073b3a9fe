// SPDX-License-Identifier: GPL-3.0-or-later
// The video recorder: checks what is asked, opens the FFmpeg writer on a thread of the encoder's
// priority, and hands the pictures to it through the frame queue; the file takes its name only
// when the video is complete.
#include "export/VideoRecorder.h"

#include <exception>
#include <stdexcept>
#include <thread>

#include "app/GuardedCall.h"
#include "export/FfmpegVideoWriter.h"
#include "export/RecordingMessages.h"
#include "export/StopSignals.h"
#include "export/VideoEncoderPlan.h"
#include "export/VideoFormatTraits.h"
#include "export/VideoFrameQueue.h"

struct TVideoRecorder::TImpl {
  QString Path;
  QSize PictureSize;
  int Rate = 0;
  TVideoRecorderOptions Options;
  bool Finished = false;

  // The worker encodes through the writer: the queue goes first.
  TFfmpegVideoWriter Writer;
  std::unique_ptr<TVideoFrameQueue> Frames;
  std::unique_ptr<TStopSignals> StopSignals;

  ~TImpl() {
    Frames.reset();
    Writer.Release();
  }
};

TVideoRecorder::TVideoRecorder(const QString& path, QSize pictureSize, int frameRate,
                               TVideoRecorderOptions options)
    : Impl(std::make_unique<TImpl>()) {
  Impl->Path = path;
  Impl->PictureSize = pictureSize;
  Impl->Rate = frameRate;
  Impl->Options = std::move(options);
  const std::optional<TVideoFormat> format = VideoFormatOfPath(path);
  if (!format) {
    throw EError(
        RecordingFailure(path, RecordingReason("the file name must end in .mp4, .webm or .gif")));
  }
  const QString sizeRefusal = VideoSizeRefusal(pictureSize);
  if (!sizeRefusal.isEmpty()) throw EError(RecordingFailure(path, sizeRefusal));
  if (frameRate < 1 || frameRate > 1000) {
    throw EError(RecordingFailure(
        path, RecordingReason("%1 pictures a second is no frame rate").arg(frameRate)));
  }
  const TVideoRecorderOptions& chosen = Impl->Options;
  TVideoWriterSettings settings;
  settings.Path = path;
  settings.Format = *format;
  settings.CodedSize = CodedPictureSize(*format, pictureSize);
  settings.FrameRate = frameRate;
  settings.EncoderName = chosen.EncoderName;
  settings.Live = chosen.Live;
  settings.H264 = chosen.H264;
  settings.Threads = EncoderThreadsFor(*format, settings.CodedSize, chosen.Live,
                                       chosen.BoundEncoderMemory, chosen.Cores);

  // A failure from here on leaves nothing: the file still has no name, and goes with Impl.
  // Opened on a thread of the worker's priority, which the encoder's own threads, created
  // there, keep.
  std::exception_ptr openFailure;
  std::thread opener([&] {
    LowerThreadPriority();
    try {
      Impl->Writer.Open(settings);
    } catch (...) {
      openFailure = std::current_exception();
    }
  });
  opener.join();
  if (openFailure) {
    try {
      std::rethrow_exception(openFailure);
    } catch (const EError&) {
      throw;
    } catch (const std::exception& error) {
      throw EError(RecordingFailure(path, QString::fromStdString(error.what())));
    }
  }

  Impl->Frames =
      std::make_unique<TVideoFrameQueue>(pictureSize, settings.CodedSize, chosen.QueueFrames);
  if (!Impl->Frames->HasPool())
    throw EError(RecordingFailure(path, RecordingReason("not enough memory for the pictures")));
  if (chosen.OnStopSignal) Impl->StopSignals = std::make_unique<TStopSignals>(chosen.OnStopSignal);
  TFfmpegVideoWriter& writer = Impl->Writer;
  Impl->Frames->Start([&writer](const QImage& slot, long long tick) { writer.Encode(slot, tick); },
                      chosen.BeforeEncode);
}

TVideoRecorder::~TVideoRecorder() {
  if (Impl->Finished) return;
  if (Impl->Frames) Impl->Frames->Abandon();
  // ~TImpl stops the worker and frees the output with the file that never got its name.
}

bool TVideoRecorder::AddFrame(const QImage& picture) {
  TImpl& impl = *Impl;
  if (impl.Finished || impl.Frames->Failed()) return false;
  return impl.Frames->Add(picture);
}

bool TVideoRecorder::Failed() const {
  return Impl->Frames->Failed();
}

TRecordingSummary TVideoRecorder::Finish() {
  TImpl& impl = *Impl;
  if (impl.Finished) throw std::logic_error("recording already finished");
  impl.Finished = true;
  TVideoFrameQueue& frames = *impl.Frames;
  frames.Stop();

  // A recording stopped before the animation ran (or whose every frame was dropped) holds no
  // picture: the containers would be written without a frame and play as nothing at all.
  if (!frames.Failed() && frames.Written() == 0)
    frames.Fail(
        RecordingReason("no frame was recorded, as the animation did not run while recording"));
  if (!frames.Failed()) {
    try {
      impl.Writer.Finish();
    } catch (const std::exception& error) {
      frames.Fail(QString::fromStdString(error.what()));
    }
  }
  impl.Writer.Release();
  if (frames.Failed()) throw EError(RecordingFailure(impl.Path, frames.Failure()));
  return {impl.Path, frames.Written(), frames.Dropped()};
}

QString TVideoRecorder::Path() const {
  return Impl->Path;
}

QSize TVideoRecorder::PictureSize() const {
  return Impl->PictureSize;
}

int TVideoRecorder::FrameRate() const {
  return Impl->Rate;
}

int TVideoRecorder::QueueFrames() const {
  return Impl->Frames->SlotCount();
}
