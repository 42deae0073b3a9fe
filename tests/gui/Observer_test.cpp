// SPDX-License-Identifier: GPL-3.0-or-later
// The observer in the main window: its View item shows the eye and its panel; Place and a click
// put the eye at the model point clicked, and its marker drags; the trace fills as the ticks run,
// with the samples left out counted; Save as CSV writes the two files, or nothing when cancelled
// or refused; the panel speaks the language chosen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "MainFormDriver.h"
#include "engine/ObserverCsv.h"
#include "views/ObserverPlotDrawing.h"
#include "views/ObserverTracePlot.h"
#include "views/ObserverWindow.h"

namespace {

class ObserverTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartUp();
    Form->MnuPauseClick();
    Form->MainMenu1.Item("mnuObserver").trigger();
    QCoreApplication::processEvents();
    Redraw();
  }
  TObserverForm& Eye() { return *Form->ObserverForm(); }
  TVector2 Place() const { return Form->Display().Observer.Place; }
  // Half a pixel of the main plot, model units: a click lands within it.
  double HalfPixel() const { return 1.0 / Form->Chart1->width(); }
};

TEST_F(ObserverTest, TheViewItemShowsTheEyeWithItsPanelAndTheCloseBoxHidesBoth) {
  EXPECT_TRUE(Form->Display().Observer.Shown);
  EXPECT_TRUE(Form->MainMenu1.IsChecked("mnuObserver"));
  EXPECT_TRUE(Form->ObserverDock()->isVisible());
  EXPECT_EQ(Form->dockWidgetArea(Form->ObserverDock()), Qt::RightDockWidgetArea);
  EXPECT_EQ(Form->ObserverDock()->widget(), &Eye());

  Form->MainMenu1.Item("mnuObserver").trigger();
  EXPECT_FALSE(Form->Display().Observer.Shown);
  EXPECT_FALSE(Form->MainMenu1.IsChecked("mnuObserver"));
  EXPECT_FALSE(Form->ObserverDock()->isVisible());

  Form->MainMenu1.Item("mnuObserver").trigger();
  ASSERT_TRUE(Form->ObserverDock()->isVisible());
  Form->ObserverDock()->close();
  EXPECT_FALSE(Form->Display().Observer.Shown);
  EXPECT_FALSE(Form->MainMenu1.IsChecked("mnuObserver"));
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(ObserverTest, PlaceThenAClickPutsTheEyeAndItsMarkerDrags) {
  QTest::mouseClick(Eye().btnPlace, Qt::LeftButton);
  ASSERT_TRUE(Eye().Placing());
  QTest::mouseClick(Form->Chart1, Qt::LeftButton, {}, PixelOf(0.4, -0.2));
  EXPECT_NEAR(Place().X, 0.4, HalfPixel());
  EXPECT_NEAR(Place().Y, -0.2, HalfPixel());
  EXPECT_FALSE(Eye().Placing()) << "put once";
  EXPECT_FALSE(Form->Chart1->RubberBand()) << "the click was the eye's, not a zoom";

  // A press a few pixels off the marker takes it; the release puts it.
  const QPoint marker = PixelOf(Place().X, Place().Y);
  QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, marker + QPoint(5, 3));
  EXPECT_TRUE(Form->DraggingEye);
  QTest::mouseMove(Form->Chart1, PixelOf(-0.3, 0.1));
  QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, PixelOf(-0.3, 0.1));
  EXPECT_FALSE(Form->DraggingEye);
  EXPECT_NEAR(Place().X, -0.3, HalfPixel());
  EXPECT_NEAR(Place().Y, 0.1, HalfPixel());

  // Away from the marker the plot's own gestures hold: a left drag is a zoom's rubber band.
  QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, PixelOf(0.6, 0.3));
  EXPECT_FALSE(Form->DraggingEye);
  EXPECT_TRUE(Form->Chart1->RubberBand());
  QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, PixelOf(0.6, 0.3));

  // A place beyond the limits is refused as the core words it, and the eye stays.
  const TVector2 before = Place();
  Guarded([&] { Eye().MoveEye({ObserverPlaceLimit * 2, 0.0}); });
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_EQ(Place().X, before.X);
}

TEST_F(ObserverTest, TheTraceFillsWhileTickingWithTheSamplesLeftOutCounted) {
  // Near the charge at rest, so that the field of the ticks after the reset arrives soon.
  Eye().MoveEye({0.1, 0.05});
  for (int tick = 0; tick < 40; ++tick) Form->Timer1Timer();
  const TObserverTrace& trace = State.ObserverTrace;
  EXPECT_EQ(trace.Ticks(), 40);
  EXPECT_GE(trace.Count(), 40 * ObserverSubTicks);
  EXPECT_GT(trace.BeforeResetCount(), 0) << "what was sent before the reset is left out";
  EXPECT_LT(trace.BeforeResetCount(), trace.Count()) << "and the rest received";
  EXPECT_TRUE(Eye().LabelLeftOut->text().contains(QStringLiteral("before the last reset")))
      << Eye().LabelLeftOut->text().toStdString();
  EXPECT_EQ(TObserverTracePlot::TickSpan(trace), std::make_pair(0.0, 1024.0));

  // The whole field (the charge's Coulomb field) is drawn in its colour.
  const QImage picture = Eye().TracePlot->grab().toImage();
  const QColor field = ObserverColoursOf(Form->Display().Theme).Field;
  int coloured = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      coloured += std::abs(c.red() - field.red()) + std::abs(c.green() - field.green()) +
                      std::abs(c.blue() - field.blue()) < 60;
    }
  }
  EXPECT_GT(coloured, 20);

  Eye().RefreshSpectrum();
  EXPECT_FALSE(Eye().Spectrum().Frequency.empty());
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(ObserverTest, SaveAsCsvWritesBothFilesAndNothingWhenCancelledOrRefused) {
  Eye().MoveEye({0.1, 0.05});
  for (int tick = 0; tick < 20; ++tick) Form->Timer1Timer();
  QTemporaryDir folder;
  const QDir dir(folder.path());
  struct Row {
    const char* chosen;  // the name the dialog gives, "" for cancel
    bool written;
    int errors;
  } rows[] = {{"eye.csv", true, 0}, {"", false, 0}, {"missing/eye.csv", false, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.chosen);
    for (const QString& name : dir.entryList(QDir::Files)) QFile::remove(dir.filePath(name));
    Shown.clear();
    const QString chosen = *row.chosen ? dir.filePath(QString::fromLatin1(row.chosen)) : QString();
    Eye().AskCsvFile = [&] { return chosen; };
    QTest::mouseClick(Eye().btnSaveCsv, Qt::LeftButton);
    EXPECT_EQ(Shown.size(), row.errors) << Shown.join("; ").toStdString();
    if (!row.written) {
      EXPECT_TRUE(dir.entryList(QDir::Files).isEmpty());
      continue;
    }
    QFile trace(dir.filePath(QStringLiteral("eye-trace.csv")));
    QFile spectrum(dir.filePath(QStringLiteral("eye-spectrum.csv")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    ASSERT_TRUE(spectrum.open(QIODevice::ReadOnly));
    const QByteArray traceText = trace.readAll();
    EXPECT_TRUE(traceText.startsWith(ObserverTraceCsvHeader));
    EXPECT_GT(traceText.count('\n'), 1) << "rows of the samples received";
    EXPECT_TRUE(spectrum.readAll().startsWith(ObserverSpectrumCsvHeader));
  }
}

TEST_F(ObserverTest, ThePanelAndItsItemSpeakTheLanguage) {
  const struct {
    TLanguage Language;
    const char* Title;
    const char* Place;
    const char* Item;
  } rows[] = {
      {TLanguage::English, "Observer", "Place", "&Observer"},
      {TLanguage::Japanese, "観測点", "配置", "&観測点"},
  };
  for (const auto& row : rows) {
    Form->SetLanguage(row.Language);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(Form->ObserverDock()->windowTitle(), QString::fromUtf8(row.Title));
    EXPECT_EQ(Eye().btnPlace->text(), QString::fromUtf8(row.Place));
    EXPECT_EQ(Form->MainMenu1.Item("mnuObserver").text(), QString::fromUtf8(row.Item));
  }
}

}  // namespace
