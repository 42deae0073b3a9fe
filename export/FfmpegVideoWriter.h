// SPDX-License-Identifier: GPL-3.0-or-later
// A video file written through FFmpeg's libraries: the container and the encoder opened for a
// format, each picture converted to the encoder's pixel format, encoded and written, and the file
// flushed, closed and given its name, each step's failure said in words the user can read.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "export/VideoEncoderPlan.h"
#include "export/VideoFormat.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;
class QSaveFile;

struct TVideoWriterSettings {
  QString Path;
  TVideoFormat Format = TVideoFormat::Mp4;
  QSize CodedSize;  // sides as the format needs them
  int FrameRate = 25;
  QString EncoderName;  // replaces the format's own when not empty
  // Live: settings that keep pace with the animation, which shares the processor (see
  // H264QualityFor).
  bool Live = true;
  // Replaces H264QualityFor(Live) when given (a benchmark's baseline).
  std::optional<TH264Quality> H264;
  TEncoderThreads Threads;
};

// The video goes to a temporary file beside the path, which takes the name only when Finish has
// completed it; a device or a pipe is written into directly.
class TFfmpegVideoWriter {
 public:
  TFfmpegVideoWriter();
  // Frees everything; a file not yet given its name goes with it.
  ~TFfmpegVideoWriter();
  TFfmpegVideoWriter(const TFfmpegVideoWriter&) = delete;
  TFfmpegVideoWriter& operator=(const TFfmpegVideoWriter&) = delete;

  // Opens the encoder and the file and writes the header. Throws EError naming the file and the
  // reason for what the user can act on (no encoder, no file writer, a refused size, a file that
  // cannot be created); any other std::exception for the rest, to be named with the file.
  void Open(const TVideoWriterSettings& settings);
  // Encodes picture (RGB32 of the coded size with a row more) as the picture of tick and writes
  // what the encoder gives out. Throws std::runtime_error with the reason.
  void Encode(const QImage& picture, long long tick);
  // Flushes the encoder, writes the trailer, closes the file and gives it its name. Throws
  // std::runtime_error with the reason.
  void Finish();
  // Frees the encoder and the output; a file not yet given its name goes with them.
  void Release();

 private:
  // what names the step of a failure inside the encoder; none for a failure of the file.
  [[noreturn]] static void Throw(const char* what, const QString& reason);
  void Check(int code, const char* what);
  static int WritePacket(void* opaque, uint8_t* data, int size);
  static int64_t SeekFile(void* opaque, int64_t offset, int whence);
  void OpenFile();
  void CloseFile();
  void Drain();

  QString Path;
  QSize CodedSize;
  AVFormatContext* Output = nullptr;
  // The video until it is complete; none when the name is a device or a pipe, which FFmpeg's own
  // file writer opens.
  std::unique_ptr<QSaveFile> File;
  QString FileError;  // the file's own reason for a write that failed (worker only until joined)
  AVCodecContext* Encoder = nullptr;
  AVStream* Stream = nullptr;
  SwsContext* Scaler = nullptr;
  AVFrame* Frame = nullptr;
  AVPacket* Packet = nullptr;
  bool TrailerDue = false;  // the header is written, the trailer not yet
};
