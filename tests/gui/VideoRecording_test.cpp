// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the animation from the File menu: the file asked for, its type chosen in the dialog,
// one frame per tick until the item is chosen again, each format read back; the REC label; the
// recording's end on a model size, a resize, at exit and on SIGTERM; a plot too large for a video,
// files that cannot be written and frames the encoder could not take.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <chrono>
#include <cmath>
#include <csignal>
#include <future>

#include "MainFormDriver.h"
#include "support/VideoProbe.h"

namespace {

class VideoRecordingTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartUp();
    Form->MnuPauseClick();
    Form->AskRecordingFile = [this] { return NextFile; };
    Form->ShowRecordingReport = [this](const QString& text) { Reports << text; };
  }

  QAction& RecordItem() { return Form->MainMenu1.Item("MnuRecordAnimation"); }

  // The user picks the item; the file dialog answers file.
  void ChooseRecord(const QString& file) {
    NextFile = file;
    RecordItem().trigger();
  }

  // Presses the pause button `count` times: each press runs exactly one tick.
  void StepTicks(int count) {
    for (int i = 0; i < count; ++i) {
      const int frame = State.FrameIndex;
      QTest::mouseClick(Form->SpeedPauseButton, Qt::LeftButton);
      ASSERT_TRUE(WaitFor([&] { return !Form->Timer1->isActive() && State.FrameIndex != frame; }));
    }
  }

  // The plot's picture in device pixels, padded to even sides where the codec needs them.
  QSize StoredSize(bool even) const {
    const QSize size = Form->Chart1->Buffer().size();
    return even ? QSize((size.width() + 1) / 2 * 2, (size.height() + 1) / 2 * 2) : size;
  }

  QTemporaryDir Dir;
  QString NextFile;
  QStringList Reports;
};

struct TFormatRow {
  const char* File;
  const char* Codec;
  bool EvenSides;
};

class VideoRecordingFormatTest : public VideoRecordingTest,
                                 public ::testing::WithParamInterface<TFormatRow> {};

TEST_P(VideoRecordingFormatTest, RecordsOneFramePerTickUntilStopped) {
  const TFormatRow row = GetParam();
  const QString path = Dir.filePath(QLatin1String(row.File));
  StepTicks(2);  // before the recording: not in the file
  ChooseRecord(path);
  ASSERT_TRUE(Form->Recording());
  EXPECT_EQ(RecordItem().text(), QStringLiteral("&録画を停止"));
  EXPECT_EQ(RecordItem().toolTip(), QStringLiteral("Stop recording"));
  EXPECT_TRUE(Form->RecordingLabel->isVisible());
  EXPECT_EQ(Form->RecordingLabel->text(), QStringLiteral("\u25cf REC 00:00"));

  constexpr int Ticks = 7;
  StepTicks(Ticks);
  RecordItem().trigger();
  EXPECT_FALSE(Form->Recording());
  EXPECT_EQ(RecordItem().text(), QStringLiteral("&アニメーションを録画…"));
  EXPECT_FALSE(Form->RecordingLabel->isVisible());
  StepTicks(2);  // after the recording: not in the file either

  const TVideoProbe probe = ProbeVideo(path);
  ASSERT_TRUE(probe.Opened);
  EXPECT_EQ(probe.Codec, row.Codec);
  EXPECT_EQ(QSize(probe.Width, probe.Height), StoredSize(row.EvenSides));
  EXPECT_EQ(probe.Frames, Ticks);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(Reports.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Formats, VideoRecordingFormatTest,
                         ::testing::Values(TFormatRow{"clip.mp4", "h264", true},
                                           TFormatRow{"clip.webm", "vp9", true},
                                           TFormatRow{"clip.gif", "gif", false}));

TEST_F(VideoRecordingTest, TheLabelCountsTheVideosSeconds) {
  ChooseRecord(Dir.filePath(QStringLiteral("clip.gif")));
  ASSERT_TRUE(Form->Recording());
  // At the screen's pace every tick is a frame of the video: a second's worth of ticks is 00:01.
  const int rate = StandardFrameRate(1000.0 / Form->EffectiveIntervalMs(), TVideoFormat::Gif);
  StepTicks(rate);
  EXPECT_EQ(Form->RecordingLabel->text(), QStringLiteral("\u25cf REC 00:01"));
  RecordItem().trigger();
}

TEST_F(VideoRecordingTest, TheFileDialogNamesTheFile) {
  Form->AskRecordingFile = nullptr;
  // Cancelled: nothing starts.
  WhenModal([](QWidget& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
  });
  RecordItem().trigger();
  EXPECT_FALSE(Form->Recording());
  EXPECT_FALSE(Form->RecordingLabel->isVisible());

  // A name without a suffix, confirmed with Enter, becomes an MP4 video.
  const QString typed = Dir.filePath(QStringLiteral("typed"));
  WhenModal([typed](QWidget& dialog) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(typed);
    QTest::keyClick(name, Qt::Key_Return);
  });
  RecordItem().trigger();
  ASSERT_TRUE(Form->Recording());
  StepTicks(3);
  RecordItem().trigger();
  const TVideoProbe probe = ProbeVideo(typed + QStringLiteral(".mp4"));
  EXPECT_EQ(probe.Codec, "h264");
  EXPECT_EQ(probe.Frames, 3);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
}

struct TTypeRow {
  int Filter;  // place in the dialog's list of types
  const char* Suffix;
  const char* Codec;
};

class VideoRecordingTypeTest : public VideoRecordingTest,
                               public ::testing::WithParamInterface<TTypeRow> {};

// The type chosen in the list, then a name typed without a suffix: the video is of that type
// (the first type, MP4, is the test above's).
TEST_P(VideoRecordingTypeTest, ANameWithoutSuffixGetsTheChosenType) {
  const TTypeRow row = GetParam();
  Form->AskRecordingFile = nullptr;
  const QString typed = Dir.filePath(QStringLiteral("typed"));
  WhenModal([typed, row](QWidget& dialog) {
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(types, nullptr);
    ASSERT_NE(name, nullptr);
    types->setFocus();
    for (int i = 0; i < row.Filter; ++i) QTest::keyClick(types, Qt::Key_Down);
    name->setText(typed);
    QTest::keyClick(name, Qt::Key_Return);
  });
  RecordItem().trigger();
  ASSERT_TRUE(Form->Recording());
  StepTicks(2);
  RecordItem().trigger();
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files),
            QStringList{QStringLiteral("typed.") + QLatin1String(row.Suffix)});
  const TVideoProbe probe = ProbeVideo(typed + QLatin1Char('.') + QLatin1String(row.Suffix));
  EXPECT_EQ(probe.Codec, row.Codec);
  EXPECT_EQ(probe.Frames, 2);
}

INSTANTIATE_TEST_SUITE_P(Types, VideoRecordingTypeTest,
                         ::testing::Values(TTypeRow{1, "webm", "vp9"}, TTypeRow{2, "gif", "gif"}));

// A plot of more device pixels than a 4K frame: the user is told before any file is asked for,
// and the animation goes on.
TEST_F(VideoRecordingTest, APlotTooLargeForAVideoIsRefusedAtOnce) {
  const QSize logical = Form->Chart1->size();
  Form->Chart1->SetDevicePixelRatio(
      std::sqrt(1.2 * MaxVideoPixels / (logical.width() * logical.height())));
  Form->MnuRunClick();
  int asked = 0;
  Form->AskRecordingFile = [&] {
    ++asked;
    return Dir.filePath(QStringLiteral("huge.mp4"));
  };
  RecordItem().trigger();
  EXPECT_EQ(asked, 0);
  EXPECT_FALSE(Form->Recording());
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("3840 x 2160"))) << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("Make the window smaller")));
  EXPECT_TRUE(Form->Timer1->isActive());
  EXPECT_TRUE(QDir(Dir.path()).isEmpty());
}

// SIGTERM (a logout, a kill) while recording: the window closes as if the user closed it, and
// the video is finished under its name rather than left cut short.
TEST_F(VideoRecordingTest, SigtermFinishesTheVideoAndClosesTheWindow) {
  const QString path = Dir.filePath(QStringLiteral("clip.mp4"));
  ChooseRecord(path);
  ASSERT_TRUE(Form->Recording());
  StepTicks(3);
  std::raise(SIGTERM);
  ASSERT_TRUE(WaitFor([&] { return !Form->Recording(); }));
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(ProbeVideo(path).Frames, 3);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("clip.mp4")});
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
}

TEST_F(VideoRecordingTest, AFileThatCannotBeCreatedIsReportedAndTheAnimationGoesOn) {
  const QString path = Dir.filePath(QStringLiteral("missing/folder/clip.mp4"));
  Form->MnuRunClick();
  ChooseRecord(path);
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(path)) << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("No such file or directory")));
  EXPECT_FALSE(Form->Recording());
  EXPECT_FALSE(Form->RecordingLabel->isVisible());
  EXPECT_EQ(RecordItem().text(), QStringLiteral("&アニメーションを録画…"));
  EXPECT_TRUE(Form->Timer1->isActive());

  // An unknown suffix is refused the same way, before any file exists.
  const QString avi = Dir.filePath(QStringLiteral("clip.avi"));
  ChooseRecord(avi);
  ASSERT_EQ(Shown.size(), 2);
  EXPECT_TRUE(Shown[1].contains(avi));
  EXPECT_FALSE(QFileInfo::exists(avi));
}

// Recording started and stopped while the animation stood still: the user is told that there
// was nothing to record, and no empty video is left behind.
TEST_F(VideoRecordingTest, StoppedBeforeAnyTickItLeavesNoFileAndSaysSo) {
  const QString path = Dir.filePath(QStringLiteral("still.mp4"));
  ChooseRecord(path);
  ASSERT_TRUE(Form->Recording());
  RecordItem().trigger();
  EXPECT_FALSE(Form->Recording());
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(path)) << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("no frame was recorded")));
  EXPECT_FALSE(QFileInfo::exists(path));
  EXPECT_EQ(RecordItem().text(), QStringLiteral("&アニメーションを録画…"));

  // The next recording, with ticks in it, is written as ever.
  ChooseRecord(path);
  StepTicks(2);
  RecordItem().trigger();
  EXPECT_EQ(Shown.size(), 1);
  EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(VideoRecordingTest, AFullDiskEndsTheRecordingWithAMessage) {
  if (!QFileInfo::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
  const QString path = Dir.filePath(QStringLiteral("full.gif"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
  ChooseRecord(path);
  if (Form->Recording()) {
    StepTicks(5);
    // Ended by the tick that finds the file failed, or by the user.
    if (Form->Recording()) RecordItem().trigger();
  }
  EXPECT_FALSE(Form->Recording());
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(path)) << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("No space left on device")));
  StepTicks(1);  // the animation goes on
}

TEST_F(VideoRecordingTest, FramesTheEncoderCouldNotTakeAreReportedAtTheEnd) {
  // The worker is held on its first frame: the one free slot fills, and the rest are dropped.
  std::promise<void> release;
  std::shared_future<void> gate = release.get_future().share();
  Form->RecordingOptions.QueueFrames = 1;
  // Bounded, so that a failing test cannot hang the worker's join.
  Form->RecordingOptions.BeforeEncode = [gate] { gate.wait_for(std::chrono::seconds(10)); };
  const QString path = Dir.filePath(QStringLiteral("clip.mp4"));
  ChooseRecord(path);
  StepTicks(5);
  release.set_value();
  RecordItem().trigger();
  ASSERT_EQ(Reports.size(), 1);
  EXPECT_TRUE(Reports[0].contains(path)) << Reports[0].toStdString();
  EXPECT_TRUE(Reports[0].contains(QStringLiteral("4 of its 5 frames were dropped")))
      << Reports[0].toStdString();
  EXPECT_EQ(ProbeVideo(path).Frames, 1);
}

struct TEndRow {
  const char* Name;
  std::function<void(TMainForm1& form)> End;
  // What the user is told: why a recording ended that they did not stop (none at exit).
  const char* Report;
};

class VideoRecordingEndTest : public VideoRecordingTest,
                              public ::testing::WithParamInterface<TEndRow> {};

TEST_P(VideoRecordingEndTest, TheRecordingEndsWithAFinishedFile) {
  const QString path = Dir.filePath(QStringLiteral("clip.webm"));
  ChooseRecord(path);
  ASSERT_TRUE(Form->Recording());
  StepTicks(4);
  GetParam().End(*Form);
  ASSERT_TRUE(WaitFor([&] { return !Form->Recording(); }));
  EXPECT_FALSE(Form->RecordingLabel->isVisible());
  const TVideoProbe probe = ProbeVideo(path);
  EXPECT_EQ(probe.Codec, "vp9");
  EXPECT_EQ(probe.Frames, 4);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
  const char* const report = GetParam().Report;
  if (*report == '\0') {
    EXPECT_TRUE(Reports.isEmpty()) << Reports.join(QLatin1Char('\n')).toStdString();
  } else {
    ASSERT_EQ(Reports.size(), 1);
    EXPECT_TRUE(Reports[0].contains(QDir::toNativeSeparators(path)) &&
                Reports[0].contains(QLatin1String(report)))
        << Reports[0].toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ends, VideoRecordingEndTest,
    ::testing::Values(
        TEndRow{"ModelSize",
                [](TMainForm1& form) { form.MainMenu1.Item("MnuMdlLarge").trigger(); },
                "ended because the model size changed"},
        TEndRow{"Resize",
                [](TMainForm1& form) {
                  form.showNormal();
                  form.resize(form.width() - 40, form.height() - 30);
                },
                "ended because the window changed its size"},
        TEndRow{"Exit", [](TMainForm1& form) { form.MainMenu1.Item("MnuExit").trigger(); },
                ""}),
    [](const ::testing::TestParamInfo<TEndRow>& row) { return std::string(row.param.Name); });

}  // namespace
