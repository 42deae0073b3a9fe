// The video recorder: the GUI thread copies each picture into a free slot of a fixed pool; the
// worker converts slots to the encoder's pixel format, encodes them and writes them through a
// QSaveFile, which takes the file's name only when the video is complete.
#include "export/VideoRecorder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "export/StopSignals.h"

namespace {

struct TFormatTraits {
  const char* Muxer;
  const char* EncoderName;  // preferred encoder
  AVCodecID Codec;          // any encoder of this codec when the preferred one is missing
  const char* CodecText;    // for messages
  AVPixelFormat PixelFormat;
  bool EvenSides;  // 4:2:0 chroma needs whole 2 x 2 blocks
};

TFormatTraits TraitsOf(TVideoFormat format) {
  switch (format) {
    case TVideoFormat::Mp4:
      return {"mp4", "libx264", AV_CODEC_ID_H264, "H.264", AV_PIX_FMT_YUV420P, true};
    case TVideoFormat::WebM:
      return {"webm", "libvpx-vp9", AV_CODEC_ID_VP9, "VP9", AV_PIX_FMT_YUV420P, true};
    case TVideoFormat::Gif:
      // 3-3-2 bits per pixel: the GIF encoder makes its palette from it; our pictures are a few
      // saturated colours on black, which it keeps.
      break;
  }
  return {"gif", "gif", AV_CODEC_ID_GIF, "GIF", AV_PIX_FMT_RGB8, false};
}

QString ReasonOf(int code) {
  std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
  av_strerror(code, text.data(), text.size());
  return QString::fromLocal8Bit(text.data());
}

// A reason the program gives itself, in the user's language (also from the encoder's thread:
// the lookup is thread-safe).
QString Reason(const char* text) {
  return QCoreApplication::translate("Messages", text);
}

QString Failure(const QString& path, const QString& reason) {
  return Reason("Could not record the animation to \"%1\": %2")
      .arg(QDir::toNativeSeparators(path), reason);
}

// The muxers write through FFmpeg's buffer of this many bytes.
constexpr int OutputBufferBytes = 64 * 1024;

// The pool of pictures takes at most this much memory, but keeps room for three (one encoded, one
// waiting, one being copied): eight slots of 3840 x 2160 would be 265 MB.
constexpr long long PoolBytes = 128LL * 1024 * 1024;
constexpr int MinPoolSlots = 3;

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
// The niceness of the encoding threads.
constexpr int EncoderNice = 10;

// The animation comes first: when the processor is short, the encoder falls behind and frames
// are dropped (and counted) rather than the ticks slowing down. The calling thread gets a lower
// share of the processor, and as a batch thread no preemption of the animation each time a frame
// wakes it; threads it creates inherit both. A refusal changes nothing but the priority, so
// neither call is checked.
void LowerPriority() {
#ifdef __linux__
  const sched_param batch{};
  sched_setscheduler(0, SCHED_BATCH, &batch);
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), EncoderNice);
#endif
}

// How a compact H.264 recording of codedSize pictures encodes on a machine of cores.
struct TCompactEncoderPlan {
  int FrameThreads = 1;
  int LookAhead = 1;  // pictures, the B-frames among them
  int BFrames = 1;
  // Above 0, one thread and one slice of every picture per thread instead of frame threads.
  int SliceThreads = 0;
};

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

}  // namespace

std::optional<TVideoFormat> VideoFormatOfPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("mp4")) return TVideoFormat::Mp4;
  if (suffix == QLatin1String("webm")) return TVideoFormat::WebM;
  if (suffix == QLatin1String("gif")) return TVideoFormat::Gif;
  return std::nullopt;
}

int StandardFrameRate(double ticksPerSecond, TVideoFormat format) {
  static constexpr int VideoRates[] = {10, 12, 15, 24, 25, 30, 50, 60};
  static constexpr int GifRates[] = {10, 20, 25, 50};
  const auto nearest = [ticksPerSecond](const auto& rates) {
    int best = rates[0];
    for (const int rate : rates) {
      if (std::abs(rate - ticksPerSecond) < std::abs(best - ticksPerSecond)) best = rate;
    }
    return best;
  };
  // A rate that is no number (a zero interval) gets the fastest rate.
  if (!std::isfinite(ticksPerSecond)) ticksPerSecond = 1000.0;
  return format == TVideoFormat::Gif ? nearest(GifRates) : nearest(VideoRates);
}

QString VideoSizeRefusal(QSize devicePixels) {
  const long long width = devicePixels.width();
  const long long height = devicePixels.height();
  if (width < 2 || height < 2) {
    return Reason("a picture of %1 x %2 pixels cannot be recorded").arg(width).arg(height);
  }
  if (width * height <= MaxVideoPixels && width <= MaxVideoSide && height <= MaxVideoSide)
    return {};
  return Reason(
             "a video frame may have as many pixels as 3840 x 2160, in any shape with no side "
             "over %1, and this one is %2 x %3")
      .arg(MaxVideoSide)
      .arg(width)
      .arg(height);
}

struct TVideoRecorder::TImpl {
  QString Path;
  QSize PictureSize;
  QSize CodedSize;
  int Rate = 0;
  TVideoRecorderOptions Options;

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
  bool Finished = false;

  // The pool: Slots never change size after the start, so the GUI thread copies into memory
  // that exists. Free and Queue hold slot numbers; Queue is a ring of Slots.size() entries.
  std::vector<QImage> Slots;
  std::vector<long long> SlotTick;
  std::vector<int> Free;
  std::vector<int> Queue;
  std::size_t QueueHead = 0;
  std::size_t QueueCount = 0;
  bool Stopping = false;
  std::atomic<bool> Abandoned{false};  // the pictures still queued are not encoded
  std::mutex Lock;
  std::condition_variable Wake;
  std::thread Worker;

  long long Offered = 0;  // pictures handed in so far: the next picture's time stamp
  long long Written = 0;  // encoded by the worker (worker only until it is joined)
  long long Dropped = 0;
  std::atomic<bool> HasFailed{false};
  QString Error;  // the first failure's reason; written before HasFailed is set
  std::unique_ptr<TStopSignals> StopSignals;

  ~TImpl() {
    StopWorker();
    Release();
  }

  // Frees the encoder and the output; a file not yet given its name goes with them.
  void Release() {
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

  // what names the step of a failure inside the encoder. A failure of the file (what none, or any
  // step once a write has failed) is said by its reason alone: "No space left on device" tells
  // the user all there is, and the step's name, an untranslated word of ours, got in its way.
  [[noreturn]] static void Throw(const char* what, const QString& reason) {
    if (!what) throw std::runtime_error(reason.toStdString());
    throw std::runtime_error(std::string(what) + ": " + reason.toStdString());
  }
  void Check(int code, const char* what) {
    if (code >= 0) return;
    // A failed write's own reason ("No space left on device") says more than FFmpeg's code for it.
    if (!FileError.isEmpty()) Throw(nullptr, FileError);
    Throw(what, ReasonOf(code));
  }

  static int WritePacket(void* opaque, uint8_t* data, int size) {
    TImpl& impl = *static_cast<TImpl*>(opaque);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), size);
    if (WriteWhole(*impl.File, bytes)) return size;
    if (impl.FileError.isEmpty()) impl.FileError = impl.File->errorString();
    return AVERROR(EIO);
  }
  // MP4 and WebM go back to the start when the video is complete, to write its length and index.
  static int64_t SeekFile(void* opaque, int64_t offset, int whence) {
    QSaveFile& file = *static_cast<TImpl*>(opaque)->File;
    if (whence & AVSEEK_SIZE) return file.size();
    whence &= ~AVSEEK_FORCE;
    const qint64 base = whence == SEEK_CUR ? file.pos() : whence == SEEK_END ? file.size() : 0;
    return file.seek(base + offset) ? base + offset : AVERROR(EIO);
  }

  void Open(TVideoFormat format);
  void OpenFile();
  void CloseFile();
  void StopWorker();
  void EncodeSlot(int slot);
  void Drain();
  void WorkerLoop();
  void Fail(const QString& reason) {
    if (HasFailed.load()) return;
    Error = reason;
    HasFailed.store(true);
  }
};

void TVideoRecorder::TImpl::Open(TVideoFormat format) {
  // The encoders' statistics and notes are no business of the user's terminal; errors still show.
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
  const TFormatTraits traits = TraitsOf(format);
  const QByteArray encoderName =
      Options.EncoderName.isEmpty() ? QByteArray(traits.EncoderName) : Options.EncoderName.toUtf8();
  const AVCodec* codec = avcodec_find_encoder_by_name(encoderName.constData());
  if (!codec && Options.EncoderName.isEmpty()) codec = avcodec_find_encoder(traits.Codec);
  if (!codec) {
    throw EError(
        Failure(Path, Reason("this system's FFmpeg libraries have no %1 encoder (\"%2\")")
                          .arg(QLatin1String(traits.CodecText), QString::fromUtf8(encoderName))));
  }

  const QByteArray file = QFile::encodeName(Path);
  if (avformat_alloc_output_context2(&Output, nullptr, traits.Muxer, file.constData()) < 0 ||
      !Output) {
    throw EError(
        Failure(Path, Reason("the %1 file writer is missing").arg(QLatin1String(traits.Muxer))));
  }
  Stream = avformat_new_stream(Output, nullptr);
  Encoder = avcodec_alloc_context3(codec);
  Frame = av_frame_alloc();
  Packet = av_packet_alloc();
  if (!Stream || !Encoder || !Frame || !Packet) throw std::bad_alloc();

  Encoder->width = CodedSize.width();
  Encoder->height = CodedSize.height();
  Encoder->pix_fmt = traits.PixelFormat;
  Encoder->time_base = AVRational{1, Rate};
  Encoder->framerate = AVRational{Rate, 1};
  Encoder->gop_size = 2 * Rate;
  // Studio-range BT.601, as swscale converts by default; said in the file so players agree.
  Encoder->colorspace = AVCOL_SPC_SMPTE170M;
  Encoder->color_range = AVCOL_RANGE_MPEG;
  if (Output->oformat->flags & AVFMT_GLOBALHEADER) Encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (format == TVideoFormat::Mp4) {
    // Live: the fastest settings, as the encoder shares the processor with the animation it
    // records. Otherwise a finer search and a finer quality: half the size, nearly as sharp.
    av_opt_set(Encoder->priv_data, "preset", Options.Live ? "ultrafast" : "veryfast", 0);
    av_opt_set(Encoder->priv_data, "tune", "animation", 0);
    av_opt_set(Encoder->priv_data, "crf", Options.Live ? "20" : "18", 0);
  } else if (format == TVideoFormat::WebM) {
    Encoder->bit_rate = 0;
    // VP9's slower deadlines take ten times as long for half the size; a finer search within
    // the real-time one, a quarter less.
    av_opt_set(Encoder->priv_data, "deadline", "realtime", 0);
    av_opt_set(Encoder->priv_data, "cpu-used", Options.Live ? "8" : "6", 0);
    av_opt_set(Encoder->priv_data, "crf", "30", 0);
    if (!Options.Live) av_opt_set(Encoder->priv_data, "row-mt", "1", 0);
    // libvpx keeps up to 25 frames for its look-ahead unless told otherwise, 350 MB more at
    // 3840 x 2160 (and 25 frames' delay); real-time encoding needs none.
    av_opt_set(Encoder->priv_data, "lag-in-frames", "0", 0);
  }
  // Live, two threads that each encode a half of every picture: a 1600 x 950 picture takes one
  // core longer than a 60 Hz frame, and the animation leaves much of its own core idle. Slices
  // add no delay and no memory, as pictures encoded side by side would. Otherwise the encoder
  // takes as many threads as it sees fit. Its threads share the worker's lower priority (see
  // LowerPriority).
  if (Options.Live) {
    Encoder->thread_count = LiveEncoderThreads;
    Encoder->thread_type = FF_THREAD_SLICE;
  } else if (format == TVideoFormat::Mp4 && Options.BoundEncoderMemory) {
    const int cores =
        Options.Cores > 0 ? Options.Cores : static_cast<int>(std::thread::hardware_concurrency());
    const TCompactEncoderPlan plan = CompactEncoderPlan(CodedSize, cores);
    Encoder->thread_count = plan.FrameThreads;
    if (plan.SliceThreads > 0) {
      Encoder->thread_count = plan.SliceThreads;
      Encoder->thread_type = FF_THREAD_SLICE;
    }
    // No look-ahead kept for the threads' sake beyond the one above (sync-lookahead): it would
    // hold as many pictures again.
    const std::string parameters = "rc-lookahead=" + std::to_string(plan.LookAhead) +
                                   ":bframes=" + std::to_string(plan.BFrames) + ":sync-lookahead=0";
    av_opt_set(Encoder->priv_data, "x264-params", parameters.c_str(), 0);
  } else {
    Encoder->thread_count = 0;
  }

  const QString codecText = QLatin1String(traits.CodecText);
  const int opened = avcodec_open2(Encoder, codec, nullptr);
  if (opened < 0) {
    throw EError(Failure(Path, Reason("the %1 encoder refused %2 x %3 pictures (%4)")
                                   .arg(codecText)
                                   .arg(CodedSize.width())
                                   .arg(CodedSize.height())
                                   .arg(ReasonOf(opened))));
  }
  Check(avcodec_parameters_from_context(Stream->codecpar, Encoder), "stream parameters");
  Stream->time_base = Encoder->time_base;

  OpenFile();
  const int header = avformat_write_header(Output, nullptr);
  if (header < 0) throw EError(Failure(Path, FileError.isEmpty() ? ReasonOf(header) : FileError));
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

void TVideoRecorder::TImpl::OpenFile() {
  if (IsDeviceOrPipe(Path)) {
    const int opened = avio_open(&Output->pb, QFile::encodeName(Path).constData(), AVIO_FLAG_WRITE);
    if (opened < 0) throw EError(Failure(Path, ReasonOf(opened)));
    return;
  }
  File = std::make_unique<QSaveFile>(Path);
  // FFmpeg buffers the output; a second buffer would only delay a write's failure.
  if (!File->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw EError(Failure(Path, File->errorString()));
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

void TVideoRecorder::TImpl::CloseFile() {
  if (!File) {
    Check(avio_closep(&Output->pb), nullptr);
    return;
  }
  avio_flush(Output->pb);
  Check(Output->pb->error, nullptr);
  // The video takes its name only now, complete.
  if (!File->commit()) Throw(nullptr, File->errorString());
}

void TVideoRecorder::TImpl::StopWorker() {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Stopping = true;
  }
  Wake.notify_one();
  if (Worker.joinable()) Worker.join();
}

void TVideoRecorder::TImpl::Drain() {
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

void TVideoRecorder::TImpl::EncodeSlot(int slot) {
  const QImage& picture = Slots[static_cast<std::size_t>(slot)];
  Check(av_frame_make_writable(Frame), "frame buffer");
  const uint8_t* source[1] = {picture.constBits()};
  const int stride[1] = {static_cast<int>(picture.bytesPerLine())};
  sws_scale(Scaler, source, stride, 0, CodedSize.height(), Frame->data, Frame->linesize);
  Frame->pts = SlotTick[static_cast<std::size_t>(slot)];
  Check(avcodec_send_frame(Encoder, Frame), "encoding");
  Drain();
}

void TVideoRecorder::TImpl::WorkerLoop() {
  LowerPriority();
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
    if (Options.BeforeEncode) Options.BeforeEncode();
    if (!HasFailed.load() && !Abandoned.load()) {
      try {
        EncodeSlot(slot);
        ++Written;
      } catch (const std::exception& error) {
        Fail(QString::fromStdString(error.what()));
      }
    }
    std::lock_guard<std::mutex> guard(Lock);
    Free.push_back(slot);
  }
}

TVideoRecorder::TVideoRecorder(const QString& path, QSize pictureSize, int frameRate,
                               TVideoRecorderOptions options)
    : Impl(std::make_unique<TImpl>()) {
  Impl->Path = path;
  Impl->PictureSize = pictureSize;
  Impl->Rate = frameRate;
  Impl->Options = std::move(options);
  const std::optional<TVideoFormat> format = VideoFormatOfPath(path);
  if (!format) {
    throw EError(Failure(path, Reason("the file name must end in .mp4, .webm or .gif")));
  }
  const QString sizeRefusal = VideoSizeRefusal(pictureSize);
  if (!sizeRefusal.isEmpty()) throw EError(Failure(path, sizeRefusal));
  if (frameRate < 1 || frameRate > 1000) {
    throw EError(Failure(path, Reason("%1 pictures a second is no frame rate").arg(frameRate)));
  }
  Impl->CodedSize = pictureSize;
  if (TraitsOf(*format).EvenSides) {
    Impl->CodedSize = QSize((pictureSize.width() + 1) / 2 * 2, (pictureSize.height() + 1) / 2 * 2);
  }

  // A failure from here on leaves nothing: the file still has no name, and goes with Impl.
  // Opened on a thread of the worker's priority, which the encoder's own threads, created
  // there, keep.
  std::exception_ptr openFailure;
  std::thread opener([&] {
    LowerPriority();
    try {
      Impl->Open(*format);
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
      throw EError(Failure(path, QString::fromStdString(error.what())));
    }
  }

  const long long slotBytes = 4LL * Impl->CodedSize.width() * (Impl->CodedSize.height() + 1);
  const int affordable = static_cast<int>(std::max<long long>(MinPoolSlots, PoolBytes / slotBytes));
  const int poolSize = std::max(1, std::min(Impl->Options.QueueFrames, affordable));
  Impl->Slots.reserve(static_cast<std::size_t>(poolSize));
  for (int i = 0; i < poolSize; ++i) {
    // One row more than the picture: swscale's vector code may read a little past the end.
    QImage slot(Impl->CodedSize.width(), Impl->CodedSize.height() + 1, QImage::Format_RGB32);
    if (slot.isNull()) throw EError(Failure(path, Reason("not enough memory for the pictures")));
    slot.fill(Qt::black);
    Impl->Slots.push_back(std::move(slot));
    Impl->Free.push_back(i);
  }
  Impl->SlotTick.assign(static_cast<std::size_t>(poolSize), 0);
  Impl->Queue.assign(static_cast<std::size_t>(poolSize), 0);
  if (Impl->Options.OnStopSignal)
    Impl->StopSignals = std::make_unique<TStopSignals>(Impl->Options.OnStopSignal);
  Impl->Worker = std::thread([impl = Impl.get()] { impl->WorkerLoop(); });
}

TVideoRecorder::~TVideoRecorder() {
  if (Impl->Finished) return;
  Impl->Abandoned.store(true);
  // ~TImpl stops the worker and frees the output with the file that never got its name.
}

bool TVideoRecorder::AddFrame(const QImage& picture) {
  TImpl& impl = *Impl;
  if (impl.Finished || impl.HasFailed.load()) return false;
  const long long tick = impl.Offered++;
  int slot = -1;
  {
    std::lock_guard<std::mutex> guard(impl.Lock);
    if (impl.Free.empty()) {
      ++impl.Dropped;
      return false;
    }
    slot = impl.Free.back();
    impl.Free.pop_back();
  }

  QImage& target = impl.Slots[static_cast<std::size_t>(slot)];
  const bool direct = picture.format() == QImage::Format_RGB32 ||
                      picture.format() == QImage::Format_ARGB32 ||
                      picture.format() == QImage::Format_ARGB32_Premultiplied;
  const QImage source = direct ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const int width = std::min(source.width(), impl.PictureSize.width());
  const int height = std::min(source.height(), impl.PictureSize.height());
  const bool sameSize = source.size() == impl.PictureSize;
  if (!sameSize) target.fill(Qt::black);
  uchar* rows = target.bits();
  const qsizetype targetStride = target.bytesPerLine();
  for (int y = 0; y < height; ++y) {
    std::memcpy(rows + y * targetStride, source.constScanLine(y),
                static_cast<std::size_t>(width) * 4);
  }

  {
    std::lock_guard<std::mutex> guard(impl.Lock);
    impl.SlotTick[static_cast<std::size_t>(slot)] = tick;
    impl.Queue[(impl.QueueHead + impl.QueueCount) % impl.Queue.size()] = slot;
    ++impl.QueueCount;
  }
  impl.Wake.notify_one();
  return true;
}

bool TVideoRecorder::Failed() const {
  return Impl->HasFailed.load();
}

TRecordingSummary TVideoRecorder::Finish() {
  TImpl& impl = *Impl;
  if (impl.Finished) throw std::logic_error("recording already finished");
  impl.Finished = true;
  impl.StopWorker();

  // A recording stopped before the animation ran (or whose every frame was dropped) holds no
  // picture: the containers would be written without a frame and play as nothing at all.
  if (!impl.HasFailed.load() && impl.Written == 0)
    impl.Fail(Reason("no frame was recorded, as the animation did not run while recording"));
  if (!impl.HasFailed.load()) {
    try {
      impl.Check(avcodec_send_frame(impl.Encoder, nullptr), "encoding");
      impl.Drain();
      impl.TrailerDue = false;
      impl.Check(av_write_trailer(impl.Output), nullptr);
      impl.Check(impl.Output->pb->error, nullptr);
      impl.CloseFile();
    } catch (const std::exception& error) {
      impl.Fail(QString::fromStdString(error.what()));
    }
  }
  impl.Release();
  if (impl.HasFailed.load()) throw EError(Failure(impl.Path, impl.Error));
  return {impl.Path, impl.Written, impl.Dropped};
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
  return static_cast<int>(Impl->Slots.size());
}
