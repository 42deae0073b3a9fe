// SPDX-License-Identifier: GPL-3.0-or-later
// The FFmpeg side of a recording: container, encoder, pixel conversion, packets and the file they
// go to, with the reason of each step that fails.
#include "export/FfmpegVideoWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QFile>
#include <QSaveFile>
#include <array>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "export/RecordingMessages.h"
#include "export/VideoFormatTraits.h"

namespace {

QString ReasonOf(int code) {
  std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
  av_strerror(code, text.data(), text.size());
  return QString::fromLocal8Bit(text.data());
}

// The muxers write through FFmpeg's buffer of this many bytes.
constexpr int OutputBufferBytes = 64 * 1024;

}  // namespace

TFfmpegVideoWriter::TFfmpegVideoWriter() = default;

TFfmpegVideoWriter::~TFfmpegVideoWriter() {
  Release();
}

void TFfmpegVideoWriter::Release() {
  // A muxer frees what it holds only in its trailer (the GIF muxer its last packet): written
  // also for a file that failed or is abandoned, which goes all the same.
  if (TrailerDue) av_write_trailer(Output);
  TrailerDue = false;
  sws_freeContext(Scaler);
  Scaler = nullptr;
  av_frame_free(&Frame);
  av_packet_free(&Packet);
  avcodec_free_context(&Encoder);
  if (Output) {
    if (Output->pb && File) {
      av_freep(&Output->pb->buffer);
      avio_context_free(&Output->pb);
    } else if (Output->pb) {
      avio_closep(&Output->pb);
    }
    avformat_free_context(Output);
    Output = nullptr;
  }
  File.reset();
}

// A failure of the file (what none, or any step once a write has failed) is said by its reason
// alone: "No space left on device" tells the user all there is, and the step's name, an
// untranslated word of ours, got in its way.
void TFfmpegVideoWriter::Throw(const char* what, const QString& reason) {
  if (!what) throw std::runtime_error(reason.toStdString());
  throw std::runtime_error(std::string(what) + ": " + reason.toStdString());
}

void TFfmpegVideoWriter::Check(int code, const char* what) {
  if (code >= 0) return;
  // A failed write's own reason ("No space left on device") says more than FFmpeg's code for it.
  if (!FileError.isEmpty()) Throw(nullptr, FileError);
  Throw(what, ReasonOf(code));
}

int TFfmpegVideoWriter::WritePacket(void* opaque, uint8_t* data, int size) {
  TFfmpegVideoWriter& writer = *static_cast<TFfmpegVideoWriter*>(opaque);
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), size);
  if (WriteWhole(*writer.File, bytes)) return size;
  if (writer.FileError.isEmpty()) writer.FileError = writer.File->errorString();
  return AVERROR(EIO);
}

// MP4 and WebM go back to the start when the video is complete, to write its length and index.
int64_t TFfmpegVideoWriter::SeekFile(void* opaque, int64_t offset, int whence) {
  QSaveFile& file = *static_cast<TFfmpegVideoWriter*>(opaque)->File;
  if (whence & AVSEEK_SIZE) return file.size();
  whence &= ~AVSEEK_FORCE;
  const qint64 base = whence == SEEK_CUR ? file.pos() : whence == SEEK_END ? file.size() : 0;
  return file.seek(base + offset) ? base + offset : AVERROR(EIO);
}

void TFfmpegVideoWriter::Open(const TVideoWriterSettings& settings) {
  Path = settings.Path;
  CodedSize = settings.CodedSize;
  const int rate = settings.FrameRate;
  const TVideoFormat format = settings.Format;
  // The encoders' statistics and notes are no business of the user's terminal; errors still show.
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
  const TFormatTraits traits = TraitsOf(format);
  const QByteArray encoderName = settings.EncoderName.isEmpty() ? QByteArray(traits.EncoderName)
                                                                : settings.EncoderName.toUtf8();
  const AVCodec* codec = avcodec_find_encoder_by_name(encoderName.constData());
  if (!codec && settings.EncoderName.isEmpty()) codec = avcodec_find_encoder(traits.Codec);
  if (!codec) {
    throw EError(RecordingFailure(
        Path, RecordingReason("this system's FFmpeg libraries have no %1 encoder (\"%2\")")
                  .arg(QLatin1String(traits.CodecText), QString::fromUtf8(encoderName))));
  }

  const QByteArray file = QFile::encodeName(Path);
  if (avformat_alloc_output_context2(&Output, nullptr, traits.Muxer, file.constData()) < 0 ||
      !Output) {
    throw EError(RecordingFailure(
        Path, RecordingReason("the %1 file writer is missing").arg(QLatin1String(traits.Muxer))));
  }
  Stream = avformat_new_stream(Output, nullptr);
  Encoder = avcodec_alloc_context3(codec);
  Frame = av_frame_alloc();
  Packet = av_packet_alloc();
  if (!Stream || !Encoder || !Frame || !Packet) throw std::bad_alloc();

  Encoder->width = CodedSize.width();
  Encoder->height = CodedSize.height();
  Encoder->pix_fmt = traits.PixelFormat;
  Encoder->time_base = AVRational{1, rate};
  Encoder->framerate = AVRational{rate, 1};
  Encoder->gop_size = 2 * rate;
  // Studio-range BT.601, as swscale converts by default; said in the file so players agree.
  Encoder->colorspace = AVCOL_SPC_SMPTE170M;
  Encoder->color_range = AVCOL_RANGE_MPEG;
  if (Output->oformat->flags & AVFMT_GLOBALHEADER) Encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  std::string x264Parameters;
  if (format == TVideoFormat::Mp4) {
    // Live: settings that keep pace with the animation, which shares the processor; otherwise a
    // finer search for a file as small and a little closer (see H264QualityFor).
    const TH264Quality quality = settings.H264.value_or(H264QualityFor(settings.Live));
    av_opt_set(Encoder->priv_data, "preset", quality.Preset.c_str(), 0);
    av_opt_set(Encoder->priv_data, "tune", "animation", 0);
    av_opt_set(Encoder->priv_data, "crf", quality.Crf.c_str(), 0);
    x264Parameters = quality.Parameters;
  } else if (format == TVideoFormat::WebM) {
    Encoder->bit_rate = 0;
    // VP9's slower deadlines take ten times as long for half the size; a finer search within
    // the real-time one, a quarter less.
    av_opt_set(Encoder->priv_data, "deadline", "realtime", 0);
    av_opt_set(Encoder->priv_data, "cpu-used", settings.Live ? "8" : "6", 0);
    av_opt_set(Encoder->priv_data, "crf", "30", 0);
    if (!settings.Live) av_opt_set(Encoder->priv_data, "row-mt", "1", 0);
    // libvpx keeps up to 25 frames for its look-ahead unless told otherwise, 350 MB more at
    // 3840 x 2160 (and 25 frames' delay); real-time encoding needs none.
    av_opt_set(Encoder->priv_data, "lag-in-frames", "0", 0);
  }
  // The threads as planned (see EncoderThreadsFor); they share the lower priority of the thread
  // that opens the encoder.
  Encoder->thread_count = settings.Threads.ThreadCount;
  if (settings.Threads.SlicesOnly) Encoder->thread_type = FF_THREAD_SLICE;
  // The threads' options after the quality's, which they override where both speak.
  if (!settings.Threads.X264Parameters.empty())
    x264Parameters += (x264Parameters.empty() ? "" : ":") + settings.Threads.X264Parameters;
  if (!x264Parameters.empty())
    av_opt_set(Encoder->priv_data, "x264-params", x264Parameters.c_str(), 0);

  const QString codecText = QLatin1String(traits.CodecText);
  const int opened = avcodec_open2(Encoder, codec, nullptr);
  if (opened < 0) {
    throw EError(
        RecordingFailure(Path, RecordingReason("the %1 encoder refused %2 x %3 pictures (%4)")
                                   .arg(codecText)
                                   .arg(CodedSize.width())
                                   .arg(CodedSize.height())
                                   .arg(ReasonOf(opened))));
  }
  Check(avcodec_parameters_from_context(Stream->codecpar, Encoder), "stream parameters");
  Stream->time_base = Encoder->time_base;

  OpenFile();
  const int header = avformat_write_header(Output, nullptr);
  if (header < 0)
    throw EError(RecordingFailure(Path, FileError.isEmpty() ? ReasonOf(header) : FileError));
  TrailerDue = true;

  Frame->format = Encoder->pix_fmt;
  Frame->width = Encoder->width;
  Frame->height = Encoder->height;
  Check(av_frame_get_buffer(Frame, 0), "frame buffer");
  Scaler =
      sws_getContext(CodedSize.width(), CodedSize.height(), AV_PIX_FMT_BGR0, CodedSize.width(),
                     CodedSize.height(), Encoder->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
  if (!Scaler) throw std::runtime_error("no pixel format conversion to the encoder's format");
}

void TFfmpegVideoWriter::OpenFile() {
  if (IsDeviceOrPipe(Path)) {
    const int opened = avio_open(&Output->pb, QFile::encodeName(Path).constData(), AVIO_FLAG_WRITE);
    if (opened < 0) throw EError(RecordingFailure(Path, ReasonOf(opened)));
    return;
  }
  File = std::make_unique<QSaveFile>(Path);
  // FFmpeg buffers the output; a second buffer would only delay a write's failure.
  if (!File->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw EError(RecordingFailure(Path, File->errorString()));
  auto* buffer = static_cast<unsigned char*>(av_malloc(OutputBufferBytes));
  if (!buffer) throw std::bad_alloc();
  Output->pb =
      avio_alloc_context(buffer, OutputBufferBytes, 1, this, nullptr, WritePacket, SeekFile);
  if (!Output->pb) {
    av_free(buffer);
    throw std::bad_alloc();
  }
  Output->flags |= AVFMT_FLAG_CUSTOM_IO;
}

void TFfmpegVideoWriter::CloseFile() {
  if (!File) {
    Check(avio_closep(&Output->pb), nullptr);
    return;
  }
  avio_flush(Output->pb);
  Check(Output->pb->error, nullptr);
  // The video takes its name only now, complete.
  if (!File->commit()) Throw(nullptr, File->errorString());
}

void TFfmpegVideoWriter::Drain() {
  for (;;) {
    const int received = avcodec_receive_packet(Encoder, Packet);
    // EAGAIN: the encoder wants more pictures; EOF: after the flush, everything is out.
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
    Check(received, "encoding");
    // Each picture lasts one tick; without a duration MP4 would cut the last one off.
    if (Packet->duration <= 0) Packet->duration = 1;
    av_packet_rescale_ts(Packet, Encoder->time_base, Stream->time_base);
    Packet->stream_index = Stream->index;
    const int written = av_interleaved_write_frame(Output, Packet);
    av_packet_unref(Packet);
    Check(written, nullptr);
    // The file layer keeps its first write error; the muxer does not always pass it on.
    Check(Output->pb->error, nullptr);
  }
}

void TFfmpegVideoWriter::Encode(const QImage& picture, long long tick) {
  Check(av_frame_make_writable(Frame), "frame buffer");
  const uint8_t* source[1] = {picture.constBits()};
  const int stride[1] = {static_cast<int>(picture.bytesPerLine())};
  sws_scale(Scaler, source, stride, 0, CodedSize.height(), Frame->data, Frame->linesize);
  Frame->pts = tick;
  Check(avcodec_send_frame(Encoder, Frame), "encoding");
  Drain();
}

void TFfmpegVideoWriter::Finish() {
  Check(avcodec_send_frame(Encoder, nullptr), "encoding");
  Drain();
  TrailerDue = false;
  Check(av_write_trailer(Output), nullptr);
  Check(Output->pb->error, nullptr);
  CloseFile();
}
