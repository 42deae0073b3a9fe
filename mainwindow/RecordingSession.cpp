// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's recording session: recording the animation into a video file, one frame
// per tick, the REC sign and the end of a recording with its report.
#include "mainwindow/MainWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

#include "app/GuardedCall.h"
#include "export/FileTypeChoice.h"
#include "mainwindow/FileDialogFit.h"

void TMainForm1::MnuRecordAnimationClick() {
  if (Recorder) {
    EndRecording();
    return;
  }
  // Told before a file is asked for: the plot as it stands is what the video would show.
  Series1().RequestRedraw();
  Chart1->FlushRedraw();
  const QString tooLarge = VideoSizeRefusal(Chart1->Buffer().size());
  if (!tooLarge.isEmpty()) {
    throw EError(tr("The animation cannot be recorded at this size: %1. Make the window smaller, "
                    "then start the recording again.")
                     .arg(tooLarge));
  }
  QString path;
  if (AskRecordingFile) {
    path = AskRecordingFile();
  } else {
    QFileDialog dialog(this, tr("Record animation"));
    dialog.setObjectName(QStringLiteral("RecordingFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix gets the one of the chosen type.
    OfferFileTypes(
        dialog, {tr("MP4 video (*.mp4)"), tr("WebM video (*.webm)"), tr("Animated GIF (*.gif)")});
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitToScreen(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      path = dialog.selectedFiles().constFirst();
    }
  }
  if (path.isEmpty()) return;

  // The picture of the plot as it stands gives the video its size in device pixels.
  Series1().RequestRedraw();
  Chart1->FlushRedraw();
  const QSize pictureSize = Chart1->Buffer().size();
  const std::optional<TVideoFormat> format = VideoFormatOfPath(path);
  const int rate =
      StandardFrameRate(1000.0 / EffectiveIntervalMs(), format.value_or(TVideoFormat::Mp4));
  TVideoRecorderOptions options = RecordingOptions;
  // Ended from outside (SIGTERM at logout, Ctrl+C in the terminal), the window closes as if the
  // user closed it, which finishes the video, instead of dying with the video half written.
  options.OnStopSignal = [this](int) { close(); };
  // Throws with the file and the reason; nothing changes then.
  Recorder = std::make_unique<TVideoRecorder>(path, pictureSize, rate, std::move(options));
  RecordedTicks = 0;
  RecordingChartSize = Chart1->size();
  ShowRecordingState();
}

void TMainForm1::RecordTick() {
  Chart1->FlushRedraw();
  const QImage& picture = Chart1->Buffer();
  // A picture of another size (the screen's pixel ratio changed) ends the file.
  if (Recorder->Failed()) {
    EndRecording();
    return;
  }
  if (picture.size() != Recorder->PictureSize()) {
    EndRecording(TRecordingEnd::PixelRatioChanged);
    return;
  }
  Recorder->AddFrame(picture);
  ++RecordedTicks;
  ShowRecordingTime();
}

void TMainForm1::EndRecording(TRecordingEnd why) {
  if (!Recorder) return;
  const std::unique_ptr<TVideoRecorder> recorder = std::move(Recorder);
  ShowRecordingState();
  // The command that ends a recording goes on whatever became of the file: its error is shown
  // here.
  Guarded([&] {
    const TRecordingSummary summary = recorder->Finish();
    const QString file = QDir::toNativeSeparators(summary.Path);
    // A recording that ends by itself is said so: the REC sign alone goes out unnoticed, and the
    // user would record on into nothing.
    QStringList lines;
    if (why == TRecordingEnd::WindowResized)
      lines << tr("The recording to \"%1\" ended because the window changed its size: a video "
                  "keeps one picture size. The video is complete up to that moment.")
                   .arg(file);
    else if (why == TRecordingEnd::ModelChanged)
      lines << tr("The recording to \"%1\" ended because the model size changed. The video is "
                  "complete up to that moment.")
                   .arg(file);
    else if (why == TRecordingEnd::PixelRatioChanged)
      lines << tr("The recording to \"%1\" ended because the screen's pixel ratio changed: a "
                  "video keeps one picture size. The video is complete up to that moment.")
                   .arg(file);
    if (summary.FramesDropped > 0)
      lines << tr("The animation was recorded to \"%1\", but %2 of its %3 frames were dropped "
                  "because the encoder fell behind; the video stands still at those moments.")
                   .arg(file)
                   .arg(summary.FramesDropped)
                   .arg(summary.FramesWritten + summary.FramesDropped);
    if (lines.isEmpty()) return;
    const QString text = lines.join(QLatin1Char('\n'));
    if (ShowRecordingReport) {
      ShowRecordingReport(text);
    } else {
      auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("HalvoranRadiation"),
                                  text, QMessageBox::Ok, this);
      box->setAttribute(Qt::WA_DeleteOnClose);
      box->open();
    }
  });
}

void TMainForm1::ShowRecordingState() {
  // The language can change before the window has its components.
  if (!RecordingLabel) return;
  if (!Recorder) {
    RecordingLabel->hide();
    MainMenu1.SetCaption("MnuRecordAnimation", "&アニメーションを録画…", "Record animation",
                         Translations);
    return;
  }
  MainMenu1.SetCaption("MnuRecordAnimation", "&録画を停止", "Stop recording", Translations);
  ShowRecordingTime();
  RecordingLabel->show();
}

void TMainForm1::ShowRecordingTime() {
  // The length of the video so far, at its own frame rate.
  const long long seconds = RecordedTicks / Recorder->FrameRate();
  // Read at every tick, so that a language chosen while recording shows at once.
  const QString text = tr("\u25cf REC %1:%2")
                           .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                           .arg(seconds % 60, 2, 10, QLatin1Char('0'));
  // Set only when it reads differently, once a second: a new text repaints the label.
  if (RecordingLabel->text() != text) RecordingLabel->setText(text);
}
