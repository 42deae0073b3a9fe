// SPDX-License-Identifier: GPL-3.0-or-later
// The video recorder: each format read back for its codec, size, frame count and picture; frame
// rates; the largest frame; and the faults: files that cannot be created or written, a missing
// encoder, a full queue, a recording that fails or is abandoned while a file has the name; and
// pipes, into which videos and pictures are written rather than put in their place.
#include "export/VideoRecorder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <future>
#include <map>
#include <thread>

#include "app/GuardedCall.h"
#include "engine/SimulationCommands.h"
#include "export/PictureFile.h"
#include "plot/MainPictureImage.h"
#include "render/MainPicture.h"
#include "support/PeakMemory.h"
#include "support/StartedSimulation.h"
#include "support/VideoProbe.h"

namespace {

// Black with a red square in the upper left quarter: the colour and the place survive encoding.
QImage TestPicture(QSize size) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.fillRect(QRect(size.width() / 8, size.height() / 8, size.width() / 4, size.height() / 4),
                   QColor(255, 0, 0));
  return picture;
}

// The text of the EError that body throws, or empty.
template <class F>
QString ErrorOf(F&& body) {
  try {
    body();
  } catch (const EError& error) {
    return QString::fromStdString(error.what());
  }
  return {};
}

struct TFormatRow {
  const char* Suffix;
  const char* Codec;
  QSize Picture;
  QSize Stored;  // H.264 and VP9 pad odd sides to even
};

class VideoFormatTest : public ::testing::TestWithParam<TFormatRow> {};

TEST_P(VideoFormatTest, WritesEveryFrameInItsCodecAndSize) {
  const TFormatRow row = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("clip.") + QLatin1String(row.Suffix));
  const QImage picture = TestPicture(row.Picture);
  constexpr int Frames = 12;
  {
    TVideoRecorder recorder(path, row.Picture, 25);
    for (int i = 0; i < Frames; ++i) {
      // Wait for a free slot rather than drop: this test counts every frame.
      while (!recorder.AddFrame(picture)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    }
    const TRecordingSummary summary = recorder.Finish();
    EXPECT_EQ(summary.FramesWritten, Frames);
  }
  const TVideoProbe probe = ProbeVideo(path);
  ASSERT_TRUE(probe.Opened) << path.toStdString();
  EXPECT_EQ(probe.Codec, row.Codec);
  EXPECT_EQ(QSize(probe.Width, probe.Height), row.Stored);
  EXPECT_EQ(probe.Frames, Frames);
  // Lossy codecs move colours a little; 60 of 255 still tells red from black and white.
  const QColor inside =
      probe.LastFrame.pixelColor(row.Picture.width() / 4, row.Picture.height() / 4);
  const QColor outside =
      probe.LastFrame.pixelColor(row.Picture.width() * 3 / 4, row.Picture.height() * 3 / 4);
  EXPECT_GT(inside.red(), 195);
  EXPECT_LT(inside.green(), 60);
  EXPECT_LT(outside.red() + outside.green() + outside.blue(), 60);
}

INSTANTIATE_TEST_SUITE_P(Formats, VideoFormatTest,
                         ::testing::Values(TFormatRow{"mp4", "h264", {160, 96}, {160, 96}},
                                           TFormatRow{"MP4", "h264", {161, 97}, {162, 98}},
                                           TFormatRow{"webm", "vp9", {160, 96}, {160, 96}},
                                           TFormatRow{"webm", "vp9", {161, 97}, {162, 98}},
                                           TFormatRow{"gif", "gif", {161, 97}, {161, 97}}));

TEST(VideoRecorder, TheSuffixChoosesTheFormat) {
  const struct {
    const char* Path;
    std::optional<TVideoFormat> Format;
  } rows[] = {
      {"a.mp4", TVideoFormat::Mp4}, {"/x/b.MP4", TVideoFormat::Mp4}, {"c.webm", TVideoFormat::WebM},
      {"d.gif", TVideoFormat::Gif}, {"e.avi", std::nullopt},         {"mp4", std::nullopt},
      {"f.mp4.txt", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(VideoFormatOfPath(QString::fromLatin1(row.Path)), row.Format) << row.Path;
  }
}

TEST(VideoRecorder, TheTickRateIsRoundedToAStandardRate) {
  const struct {
    double TicksPerSecond;
    TVideoFormat Format;
    int Rate;
  } rows[] = {
      {1000.0 / 16, TVideoFormat::Mp4, 60},  // one screen frame per tick
      {1000.0 / 21, TVideoFormat::Mp4, 50},  {1000.0 / 41, TVideoFormat::WebM, 24},
      {1000.0 / 181, TVideoFormat::Mp4, 10},  // the slowest wave speed
      {13.0, TVideoFormat::Mp4, 12},         {1000.0, TVideoFormat::Mp4, 60},
      {1000.0 / 16, TVideoFormat::Gif, 50},  {1000.0 / 61, TVideoFormat::Gif, 20},
      {1000.0 / 181, TVideoFormat::Gif, 10},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(StandardFrameRate(row.TicksPerSecond, row.Format), row.Rate) << row.TicksPerSecond;
  }
}

TEST(VideoRecorder, AFileThatCannotBeCreatedIsNamedWithItsReason) {
  QTemporaryDir dir;
  const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/clip.mp4"));
  const QString text = ErrorOf([&] { TVideoRecorder recorder(missingFolder, {64, 48}, 25); });
  // As every message about a file reads: what failed, the name in plain quotes, the reason.
  EXPECT_EQ(text,
            QStringLiteral("Could not record the animation to \"%1\": No such file or directory")
                .arg(missingFolder));

  const QString unknown = dir.filePath(QStringLiteral("clip.avi"));
  EXPECT_TRUE(ErrorOf([&] {
                TVideoRecorder recorder(unknown, {64, 48}, 25);
              }).contains(QStringLiteral(".mp4, .webm or .gif")));
  EXPECT_FALSE(QFileInfo::exists(unknown));
}

// Stopped before a single frame came: no format holds a video without a frame (the MP4 had no
// stream, the WebM did not parse, the GIF writer failed with "Invalid argument").
TEST(VideoRecorder, ARecordingWithoutAFrameLeavesNoFileAndSaysWhy) {
  QTemporaryDir dir;
  for (const char* name : {"empty.mp4", "empty.webm", "empty.gif"}) {
    SCOPED_TRACE(name);
    const QString path = dir.filePath(QLatin1String(name));
    const QString text = ErrorOf([&] { TVideoRecorder(path, {64, 48}, 25).Finish(); });
    EXPECT_TRUE(text.contains(path)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("no frame was recorded"))) << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
  }
}

TEST(VideoRecorder, AReadOnlyFolderIsRefused) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  const QString path = dir.filePath(QStringLiteral("clip.webm"));
  const QString text = ErrorOf([&] { TVideoRecorder recorder(path, {64, 48}, 25); });
  QFile::setPermissions(dir.path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_TRUE(text.contains(QStringLiteral("Permission denied"))) << text.toStdString();
  EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(VideoRecorder, AFullDiskIsReportedWhenTheRecordingEnds) {
  if (!QFileInfo::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
  // /dev/full takes the name of a video through a link: every write to it fails as on a full disk.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("full.mp4"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
  // The file layer may fail at once on the header, or later when its buffer first goes out.
  const QString text = ErrorOf([&] {
    TVideoRecorder recorder(path, {320, 240}, 25);
    const QImage picture = TestPicture({320, 240});
    for (int i = 0; i < 30; ++i) recorder.AddFrame(picture);
    recorder.Finish();
  });
  EXPECT_TRUE(text.contains(path)) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("No space left on device"))) << text.toStdString();
  // The device is no file of ours: it stays.
  EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/dev/full")));
}

// Noise: no codec makes it small, so that a few frames take many kilobytes in every format.
QImage NoisePicture(QSize size) {
  QImage picture(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
    for (int x = 0; x < size.width(); ++x) row[x] = QRandomGenerator::global()->generate();
  }
  return picture;
}

// Files of this process may grow to limitBytes only while it exists; a write beyond fails with
// EFBIG ("File too large") as a write to a full disk fails with ENOSPC.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t limitBytes) {
    getrlimit(RLIMIT_FSIZE, &Before);
    OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = Before;
    limit.rlim_cur = limitBytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &Before);
    std::signal(SIGXFSZ, OldHandler);
  }

 private:
  rlimit Before{};
  void (*OldHandler)(int) = nullptr;
};

enum class TEnding { Finished, NoFrame, WritesFail, Abandoned };

struct TEndingRow {
  const char* Name;
  TEnding Ending;
  const char* Reason;  // in the message; none when the video is complete or abandoned
};

class VideoEndingTest : public ::testing::TestWithParam<std::tuple<const char*, TEndingRow>> {};

// Until the video is complete, the name keeps the file it had: a recording that fails or is
// abandoned leaves that file as it was, and nothing beside it.
TEST_P(VideoEndingTest, TheNameKeepsItsFileUntilTheVideoIsComplete) {
  const auto& [suffix, row] = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("clip.") + QLatin1String(suffix));
  const QByteArray before("an earlier video");
  {
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write(before);
  }
  const QSize size(320, 240);
  QString text;
  {
    std::optional<TFileSizeLimit> limit;
    if (row.Ending == TEnding::WritesFail) limit.emplace(64 * 1024);
    text = ErrorOf([&] {
      TVideoRecorder recorder(path, size, 25);
      const int frames = row.Ending == TEnding::NoFrame ? 0 : 12;
      for (int i = 0; i < frames; ++i) {
        while (!recorder.AddFrame(NoisePicture(size)) && !recorder.Failed())
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      QFile stillThere(path);
      ASSERT_TRUE(stillThere.open(QIODevice::ReadOnly));
      EXPECT_EQ(stillThere.readAll(), before) << "the name changed while recording";
      if (row.Ending != TEnding::Abandoned) recorder.Finish();
    });
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QFileInfo(path).fileName()})
      << "nothing but the file of the name";
  QFile after(path);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  if (row.Ending == TEnding::Finished) {
    EXPECT_TRUE(text.isEmpty()) << text.toStdString();
    EXPECT_EQ(ProbeVideo(path).Frames, 12);
    // Readable as any new file of the folder is, not only by its owner as a temporary file is.
    QFile fresh(dir.filePath(QStringLiteral("fresh")));
    ASSERT_TRUE(fresh.open(QIODevice::WriteOnly));
    EXPECT_EQ(after.permissions(), fresh.permissions());
  } else {
    EXPECT_EQ(after.readAll(), before);
    if (row.Ending != TEnding::Abandoned) {
      EXPECT_TRUE(text.contains(QDir::toNativeSeparators(path))) << text.toStdString();
      EXPECT_TRUE(text.contains(QLatin1String(row.Reason))) << text.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Endings, VideoEndingTest,
    ::testing::Combine(
        ::testing::Values("mp4", "webm", "gif"),
        ::testing::Values(TEndingRow{"Finished", TEnding::Finished, ""},
                          TEndingRow{"NoFrame", TEnding::NoFrame, "no frame was recorded"},
                          TEndingRow{"WritesFail", TEnding::WritesFail, "File too large"},
                          TEndingRow{"Abandoned", TEnding::Abandoned, ""})),
    [](const auto& row) {
      return std::string(std::get<0>(row.param)) + std::get<1>(row.param).Name;
    });

// A disk that fills up (a device that takes nothing, a file size limit) is said in the sentence of
// every message about a file, by the system's reason alone, with no word of the program's own.
TEST(VideoRecorder, AFailedWriteIsSaidByItsReasonAlone) {
  const struct {
    const char* Suffix;
    bool FullDevice;  // else a file that may not grow beyond 64 kB
    const char* Reason;
  } rows[] = {
      {"mp4", true, "No space left on device"}, {"gif", true, "No space left on device"},
      {"mp4", false, "File too large"},         {"webm", false, "File too large"},
      {"gif", false, "File too large"},
  };
  const bool hasFull = QFileInfo::exists(QStringLiteral("/dev/full"));
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Suffix << " " << row.Reason);
    if (row.FullDevice && !hasFull) continue;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clip.") + QLatin1String(row.Suffix));
    if (row.FullDevice) {
      ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
    }
    std::optional<TFileSizeLimit> limit;
    if (!row.FullDevice) limit.emplace(64 * 1024);
    const QSize size(320, 240);
    const QString text = ErrorOf([&] {
      TVideoRecorder recorder(path, size, 25);
      for (int i = 0; i < 12; ++i) {
        while (!recorder.AddFrame(NoisePicture(size)) && !recorder.Failed())
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      recorder.Finish();
    });
    limit.reset();
    EXPECT_EQ(text.toStdString(), QStringLiteral("Could not record the animation to \"%1\": %2")
                                      .arg(path, QLatin1String(row.Reason))
                                      .toStdString());
  }
}

TEST(VideoRecorder, FramesLargerThanAVideoTakesAreRefused) {
  const struct {
    QSize Frame;
    bool Fits;
  } rows[] = {
      {{3840, 2160}, true},  {{2160, 3840}, true},  {{8192, 1012}, true},  {{2, 2}, true},
      {{3842, 2160}, false}, {{2160, 3842}, false}, {{8192, 1013}, false}, {{8194, 2}, false},
      {{1, 100}, false},     {{4000, 4000}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Frame.width() << " x " << row.Frame.height());
    const QString refusal = VideoSizeRefusal(row.Frame);
    EXPECT_EQ(refusal.isEmpty(), row.Fits) << refusal.toStdString();
    if (!row.Fits) {
      EXPECT_TRUE(refusal.contains(
          QStringLiteral("%1 x %2").arg(row.Frame.width()).arg(row.Frame.height())))
          << refusal.toStdString();
    }
  }
  // Refused before anything is written.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("huge.webm"));
  const QString text = ErrorOf([&] { TVideoRecorder recorder(path, {5000, 5000}, 25); });
  EXPECT_TRUE(text.contains(QStringLiteral("5000 x 5000"))) << text.toStdString();
  EXPECT_FALSE(QFileInfo::exists(path));
}

// A FIFO with a reader of its own, which collects whatever is written into it.
class TPipeReader {
 public:
  explicit TPipeReader(const QString& path) {
    EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    // Read and write: opened at once, and a writer's open finds a reader.
    Fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
    Reader = std::thread([this] {
      char chunk[65536];
      for (;;) {
        const ssize_t got = ::read(Fd, chunk, sizeof chunk);
        if (got > 0) {
          Bytes.append(chunk, got);
        } else if (Done.load()) {
          return;
        } else {
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
      }
    });
  }
  ~TPipeReader() { Collected(); }
  // What was written, once the writer has finished.
  QByteArray Collected() {
    Done.store(true);
    if (Reader.joinable()) Reader.join();
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
    return Bytes;
  }

 private:
  int Fd = -1;
  std::atomic<bool> Done{false};
  QByteArray Bytes;
  std::thread Reader;
};

// A pipe (or a device) given as the name is written into: renaming a finished file into its place
// would replace it with a plain file.
TEST(VideoRecorder, APipeIsWrittenIntoAndStaysAPipe) {
  const struct {
    const char* Name;
    QByteArray Start;  // the format's signature
  } rows[] = {{"clip.gif", "GIF89a"}, {"field.png", "\x89PNG"}, {"field.svg", "<?xml"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(row.Name));
    TPipeReader pipe(path);
    const QString text = ErrorOf([&] {
      if (VideoFormatOfPath(path)) {
        TVideoRecorder recorder(path, {64, 48}, 25);
        recorder.AddFrame(TestPicture({64, 48}));
        recorder.Finish();
      } else {
        TSimulationState state;
        StartSimulation(state);
        SaveMainPicture(path, state, TDisplaySettings{},
                        {QSize(64, 48), 1.0, DefaultMainRange(QSize(64, 48))});
      }
    });
    EXPECT_TRUE(text.isEmpty()) << text.toStdString();
    EXPECT_TRUE(pipe.Collected().startsWith(row.Start));
    EXPECT_FALSE(QFileInfo(path).isFile()) << "the pipe was replaced by a file";
  }
}

TEST(VideoRecorder, AMissingEncoderIsNamed) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("clip.mp4"));
  TVideoRecorderOptions options;
  options.EncoderName = QStringLiteral("no-such-encoder");
  const QString text = ErrorOf([&] { TVideoRecorder recorder(path, {64, 48}, 25, options); });
  EXPECT_TRUE(text.contains(QStringLiteral("no H.264 encoder"))) << text.toStdString();
  EXPECT_TRUE(text.contains(path));
  EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(VideoRecorder, AFullQueueDropsFramesAndCountsThem) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("clip.gif"));
  std::promise<void> release;
  std::shared_future<void> gate = release.get_future().share();
  TVideoRecorderOptions options;
  options.QueueFrames = 2;
  options.BeforeEncode = [gate] { gate.wait(); };
  TVideoRecorder recorder(path, {64, 48}, 25, options);
  const QImage picture = TestPicture({64, 48});
  int accepted = 0;
  // The worker holds the first picture at the gate: two slots, then every picture is dropped.
  for (int i = 0; i < 10; ++i) accepted += recorder.AddFrame(picture) ? 1 : 0;
  release.set_value();
  const TRecordingSummary summary = recorder.Finish();
  EXPECT_EQ(accepted, 2);
  EXPECT_EQ(summary.FramesWritten, 2);
  EXPECT_EQ(summary.FramesDropped, 8);
  EXPECT_EQ(ProbeVideo(path).Frames, 2);
}

// The field on the default circle, tick after tick, as the command line renders it: thin lines
// on black, the pictures a video of this program holds.
std::vector<QImage> CirclePictures(QSize size, int count) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  if (commands.Start() || commands.ChooseModelSize({200, 24, 20}) ||
      commands.ChooseTrajectory(tmCircle, TTrajectoryParameters{}))
    ADD_FAILURE() << "the default circle was refused";
  for (int tick = 0; tick < state.ISize; ++tick) commands.RunTick();
  std::vector<QImage> pictures;
  for (int k = 0; k < count; ++k) {
    commands.RunTick();
    pictures.push_back(RenderMainPicture(state, display, size, 1.0, DefaultMainRange(size)));
  }
  return pictures;
}

// The mean difference of two pictures' channels, 0 .. 255.
double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  double sum = 0.0;
  for (int row = 0; row < x.height(); ++row) {
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row);
      const QRgb q = y.pixel(column, row);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * x.width() * x.height());
}

struct TCompactRow {
  const char* Suffix;
  double MostOfLiveSize;  // the compact file's size at most this share of the live one's
};

class CompactVideoTest : public ::testing::TestWithParam<TCompactRow> {};

// A recording that need not keep pace with an animation (the command line's) spends its time on
// a smaller file of the same pictures, nearly as close to them as the live one's.
TEST_P(CompactVideoTest, AVideoThatNeedNotKeepPaceIsSmallerAndNearlyAsClose) {
  const TCompactRow row = GetParam();
  const QSize size(480, 270);
  const std::vector<QImage> pictures = CirclePictures(size, 30);
  QTemporaryDir dir;
  struct TResult {
    qint64 Bytes = 0;
    double Difference = 0.0;
  };
  const auto record = [&](bool live) {
    const QString path =
        dir.filePath(QStringLiteral("%1.%2")
                         .arg(live ? QStringLiteral("live") : QStringLiteral("compact"))
                         .arg(QLatin1String(row.Suffix)));
    TVideoRecorderOptions options;
    options.Live = live;
    // Room for every picture: a picture dropped leaves a gap in the time stamps, which the
    // encoders' rate control weighs, and the sizes would vary from run to run.
    options.QueueFrames = static_cast<int>(pictures.size());
    TVideoRecorder recorder(path, size, 60, options);
    for (const QImage& picture : pictures) {
      EXPECT_TRUE(recorder.AddFrame(picture));
    }
    EXPECT_EQ(recorder.Finish().FramesWritten, static_cast<long long>(pictures.size()));
    const TVideoProbe probe = ProbeVideo(path);
    EXPECT_EQ(probe.Frames, static_cast<int>(pictures.size()));
    return TResult{QFileInfo(path).size(), MeanDifference(probe.LastFrame, pictures.back())};
  };
  const TResult live = record(true);
  const TResult compact = record(false);
  EXPECT_LT(static_cast<double>(compact.Bytes),
            row.MostOfLiveSize * static_cast<double>(live.Bytes))
      << compact.Bytes << " bytes against " << live.Bytes;
  EXPECT_LT(compact.Difference, 1.1 * live.Difference + 0.2)
      << compact.Difference << " against " << live.Difference;
}

INSTANTIATE_TEST_SUITE_P(Formats, CompactVideoTest,
                         ::testing::Values(TCompactRow{"mp4", 0.8}, TCompactRow{"webm", 0.9}));

struct TMemoryRow {
  const char* Suffix;
  int Cores;  // the machine the encoder is told it runs on
};

class VideoMemoryTest : public ::testing::TestWithParam<TMemoryRow> {};

// A 4K video from the command line (not live) takes the same few hundred megabytes on a laptop of
// two cores as on one of sixteen: x264 left to itself held 1.1 GB on two and 1.7 GB on eight.
TEST_P(VideoMemoryTest, A4KVideoThatNeedNotKeepPaceFitsALaptop) {
  const TMemoryRow row = GetParam();
  if (!ResetPeakResident() || PeakResidentBytes() == 0) GTEST_SKIP() << "no peak memory to read";
  const QSize size(3840, 2160);
  const QImage picture = TestPicture(size);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("large.") + QLatin1String(row.Suffix));
  ASSERT_TRUE(ResetPeakResident());
  const long long before = PeakResidentBytes();
  {
    TVideoRecorderOptions options;
    options.Live = false;
    options.Cores = row.Cores;
    TVideoRecorder recorder(path, size, 60, options);
    // Enough pictures for every frame thread and the whole look-ahead to hold one.
    for (int i = 0; i < 20; ++i) {
      while (!recorder.AddFrame(picture)) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(recorder.Finish().FramesWritten, 20);
  }
  const long long grown = PeakResidentBytes() - before;
  EXPECT_LT(grown, 600LL * 1024 * 1024) << grown / (1024 * 1024) << " MB";
}

INSTANTIATE_TEST_SUITE_P(Machines, VideoMemoryTest,
                         ::testing::Values(TMemoryRow{"mp4", 2}, TMemoryRow{"mp4", 16}),
                         [](const auto& row) {
                           return std::string(row.param.Suffix) + "On" +
                                  std::to_string(row.param.Cores) + "Cores";
                         });

// Each thread of this process by its id, with its niceness.
std::map<int, int> ThreadNiceness() {
  std::map<int, int> niceness;
  const QDir tasks(QStringLiteral("/proc/self/task"));
  for (const QString& name : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile stat(tasks.filePath(name) + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly)) continue;  // a thread that has ended
    const QByteArray text = stat.readAll();
    // The fields after the command name in parentheses start at the third; the niceness is the
    // nineteenth.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    niceness[name.toInt()] = fields.value(16).toInt();
  }
  return niceness;
}

struct TThreadRow {
  const char* Suffix;
  QSize Picture;  // VP9 works in columns of at least 256 pixels, one thread each
};

class EncoderThreadTest : public ::testing::TestWithParam<TThreadRow> {};

// A live recording encodes on more than one thread, and every thread it starts, the encoder's
// own among them, yields to the animation's.
TEST_P(EncoderThreadTest, EveryThreadOfALiveRecordingYieldsToTheAnimation) {
  QTemporaryDir dir;
  const TThreadRow row = GetParam();
  const QString path = dir.filePath(QStringLiteral("clip.") + QLatin1String(row.Suffix));
  const int own = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  const std::map<int, int> before = ThreadNiceness();
  TVideoRecorder recorder(path, row.Picture, 60);
  const QImage picture = TestPicture(row.Picture);
  for (int i = 0; i < 3; ++i) {
    while (!recorder.AddFrame(picture)) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  // The encoder starts its threads once the worker has taken the first picture, and each thread
  // lowers its priority as its first step; on a busy machine either may take a while. So the
  // threads are watched until at least two have started and every one seen has yielded, with a
  // deadline far beyond any load, rather than looked at once after a fixed time.
  std::map<int, int> started;
  const auto allYield = [&] {
    for (const auto& entry : started)
      if (entry.second <= own) return false;
    return started.size() >= 2;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!allYield() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (const auto& [thread, niceness] : ThreadNiceness())
      if (before.count(thread) == 0) started[thread] = niceness;
  }
  for (const auto& [thread, niceness] : started) EXPECT_GT(niceness, own) << "thread " << thread;
  EXPECT_GE(started.size(), 2u);
  recorder.Finish();
}

INSTANTIATE_TEST_SUITE_P(Formats, EncoderThreadTest,
                         ::testing::Values(TThreadRow{"mp4", {320, 180}},
                                           TThreadRow{"webm", {640, 360}}));

}  // namespace
