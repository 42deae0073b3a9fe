// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard: the shortcuts shown in the menus act as their items do, "+" and "-" zoom the
// magnified view while it has the focus; the page chosen in printer setup is the one the next
// print uses, landscape when none was chosen, and a print is named by the program and the path.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>

#include "MainFormDriver.h"
#include "app/Language.h"
#include "views/ZoomView.h"

namespace {

class KeysTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartUp();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  }
  void Press(QKeySequence keys) {
    QTest::keySequence(Form.get(), keys);
    QTest::qWait(1);
  }
  bool Running() const { return Form->Timer1->isActive() && !Form->StepPending(); }
};

TEST_F(KeysTest, TheMenusShowTheirKeys) {
  struct Row {
    const char* item;
    const char* keys;
  };
  const Row rows[] = {
      {"MnuSavePicture", "Ctrl+S"},
      {"MnuPrint", "Ctrl+P"},
      {"MnuExit", "Ctrl+Q"},
      {"MnuFullScreen", "F11"},
      {"MnuReset", "R"},
      {"MnuRunPause", "Space"},
      {"MnuStep", "S"},
      {"MnuHelpModel", "F1"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Form->MainMenu1.Item(row.item).shortcut(),
              QKeySequence(QString::fromLatin1(row.keys)))
        << row.item;
  }
}

TEST_F(KeysTest, F1OpensTheHelpViewer) {
  EXPECT_EQ(Form->HelpWindow(), nullptr) << "made at its first use";
  Press(QKeySequence(Qt::Key_F1));
  ASSERT_NE(Form->HelpWindow(), nullptr);
  EXPECT_TRUE(Form->HelpWindow()->isVisible());
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(KeysTest, SpaceRunsAndPausesSSteps) {
  ASSERT_TRUE(Running());
  Press(QKeySequence(Qt::Key_Space));
  EXPECT_FALSE(Form->Timer1->isActive());
  EXPECT_TRUE(Form->SpeedPauseButton->isChecked());

  // S: one tick each, then paused again.
  const int start = State.FrameIndex;
  for (int step = 1; step <= 2; ++step) {
    Press(QKeySequence(Qt::Key_S));
    ASSERT_TRUE(WaitFor([&] { return !Form->Timer1->isActive(); }));
    EXPECT_EQ(State.FrameIndex, start + step);
  }
  // Space after a step runs on, as the run button does.
  Press(QKeySequence(Qt::Key_Space));
  EXPECT_TRUE(Running());
  EXPECT_TRUE(Form->SpeedRunButton->isChecked());
  EXPECT_FALSE(Form->SpeedPauseButton->isChecked());
  ASSERT_TRUE(WaitFor([&] { return State.FrameIndex >= start + 6; }));
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(KeysTest, RResets) {
  Press(QKeySequence(Qt::Key_Space));
  ASSERT_TRUE(WaitFor([&] { return !Form->Timer1->isActive(); }));
  Press(QKeySequence(Qt::Key_S));
  ASSERT_TRUE(WaitFor([&] { return !Form->Timer1->isActive() && State.FrameIndex > 0; }));
  Press(QKeySequence(Qt::Key_R));
  EXPECT_EQ(State.FrameIndex, 0);
}

TEST_F(KeysTest, CtrlKeysOpenTheirCommands) {
  int printAsked = 0;
  Form->RunPrintDialog = [&](QPrinter&) {
    ++printAsked;
    return false;
  };
  int saveAsked = 0;
  Form->RunSavePictureDialog = [&] {
    ++saveAsked;
    return QString();
  };
  Press(QKeySequence(QStringLiteral("Ctrl+P")));
  Press(QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(printAsked, 1);
  EXPECT_EQ(saveAsked, 1);

  Press(QKeySequence(Qt::Key_F11));
  EXPECT_TRUE(Form->isFullScreen());
  EXPECT_TRUE(Form->MainMenu1.IsChecked("MnuFullScreen"));
  Press(QKeySequence(Qt::Key_F11));
  EXPECT_FALSE(Form->isFullScreen());
  EXPECT_FALSE(Form->MainMenu1.IsChecked("MnuFullScreen"));

  bool closed = false;
  QObject::connect(Form.get(), &TMainForm1::Closed, [&] { closed = true; });
  Press(QKeySequence(QStringLiteral("Ctrl+Q")));
  EXPECT_TRUE(closed);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

// F11 twice gives back the window as it was: maximised as after start-up, or at the size and place
// the user gave it.
TEST_F(KeysTest, F11TwiceGivesBackTheWindowAsItWas) {
  for (const bool maximised : {true, false}) {
    if (maximised) {
      Form->showMaximized();
    } else {
      Form->showNormal();
      Form->setGeometry(40, 60, 640, 400);
    }
    ASSERT_TRUE(WaitFor([&] { return Form->isMaximized() == maximised; }));
    QTest::qWait(20);
    const Qt::WindowStates before = Form->windowState();
    const QRect place = Form->geometry();
    Press(QKeySequence(Qt::Key_F11));
    ASSERT_TRUE(WaitFor([&] { return Form->geometry() == Form->screen()->geometry(); }));
    EXPECT_TRUE(Form->isFullScreen()) << maximised;
    Press(QKeySequence(Qt::Key_F11));
    EXPECT_TRUE(WaitFor([&] { return Form->geometry() == place; })) << maximised;
    EXPECT_EQ(Form->windowState(), before) << maximised;
    EXPECT_FALSE(Form->MainMenu1.IsChecked("MnuFullScreen"));
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(KeysTest, PlusAndMinusZoomTheViewThatHasTheFocus) {
  Form->MainMenu1.Item("mnuShowZoom").trigger();
  TZoomViewForm* zoom = Form->ZoomViewForm();
  ASSERT_NE(zoom, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(zoom));
  QApplication::setActiveWindow(zoom);
  zoom->setFocus();
  const double start = Form->Display().Zoom.Scale;
  QTest::keyClick(zoom, Qt::Key_Plus);
  EXPECT_DOUBLE_EQ(Form->Display().Zoom.Scale, start * ZoomStep);
  EXPECT_EQ(zoom->Label1->text(), TZoomViewForm::ScaleCaption(Form->Display().Zoom.Scale));
  QTest::keyClick(zoom, Qt::Key_Minus);
  QTest::keyClick(zoom, Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(Form->Display().Zoom.Scale, start / ZoomStep);

  // The main window's keys leave the zoom alone.
  const double now = Form->Display().Zoom.Scale;
  QApplication::setActiveWindow(Form.get());
  QTest::keyClick(Form.get(), Qt::Key_Plus);
  EXPECT_EQ(Form->Display().Zoom.Scale, now);
}

// Opened from the menu, from the keyboard, the magnified view has the focus: "+" and "-" zoom it
// at once, the first time and when its dock was open already with the focus elsewhere.
TEST_F(KeysTest, TheMagnifiedViewOpenedFromTheMenuTakesPlusAndMinus) {
  for (int opening = 0; opening < 2; ++opening) {
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Form->centralWidget()->setFocus();
    Form->MainMenu1.Item("mnuShowZoom").trigger();
    TZoomViewForm* zoom = Form->ZoomViewForm();
    ASSERT_NE(zoom, nullptr);
    EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == zoom; })) << opening;
    const double start = Form->Display().Zoom.Scale;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(Form->Display().Zoom.Scale, start * ZoomStep) << opening;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(Form->Display().Zoom.Scale, start) << opening;
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

// The page size and orientation of a PDF written by Qt, from its first /MediaBox (points).
QSizeF MediaBoxOf(const QString& path) {
  QFile pdf(path);
  if (!pdf.open(QIODevice::ReadOnly)) return {};
  static const QRegularExpression box(
      QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)\\s*\\]"));
  const QRegularExpressionMatch match = box.match(QString::fromLatin1(pdf.readAll()));
  if (!match.hasMatch()) return {};
  return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

class PrinterSetupTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Form->CreateRemainingWindows();
    Form->MnuPauseClick();
  }
};

TEST_F(PrinterSetupTest, TheNextPrintUsesThePageChosenInSetup) {
  QTemporaryDir dir;
  int setupAsked = 0;
  Form->RunPageSetupDialog = [&](QPrinter& printer) {
    ++setupAsked;
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setPageOrientation(QPageLayout::Landscape);
    return true;
  };
  Form->MainMenu1.Item("MnuPrinterSetUp").trigger();
  EXPECT_EQ(setupAsked, 1);

  const QString file = dir.filePath(QStringLiteral("chart.pdf"));
  QPageLayout seen;
  Form->RunPrintDialog = [&](QPrinter& printer) {
    seen = printer.pageLayout();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  };
  Form->MainMenu1.Item("MnuPrint").trigger();
  EXPECT_EQ(seen.orientation(), QPageLayout::Landscape);
  EXPECT_EQ(seen.pageSize().id(), QPageSize::A5);
  // A5 landscape: 595 x 420 points.
  const QSizeF page = MediaBoxOf(file);
  EXPECT_NEAR(page.width(), 595.0, 1.0);
  EXPECT_NEAR(page.height(), 419.5, 1.0);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

// Without a page setup the page is landscape, as the plot is wider than high; the job and the
// PDF are named by the program and the path that runs, in the menu's words of the session.
TEST_F(PrinterSetupTest, APrintIsALandscapePageNamedByTheProgramAndThePath) {
  struct TRow {
    TLanguage Language;
    int Mode;
    const char* Name;
  };
  const TRow rows[] = {
      {TLanguage::Japanese, tmCircle, "Halvoran Radiation \u2013 円軌道"},
      {TLanguage::English, tmCircle, "Halvoran Radiation \u2013 Circular orbit"},
      {TLanguage::English, tmStraightLine, "Halvoran Radiation \u2013 Straight line"},
      {TLanguage::English, tmUndulator, "Halvoran Radiation \u2013 Undulator"},
      {TLanguage::Japanese, tmBending, "Halvoran Radiation \u2013 偏向磁石"},
      {TLanguage::English, tmMouse, "Halvoran Radiation \u2013 Mouse input"},
  };
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("chart.pdf"));
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Form->SetLanguage(row.Language);
    ASSERT_FALSE(Form->Simulation().ChooseTrajectory(row.Mode, State.Trajectory));
    QString offered;
    QPageLayout seen;
    Form->RunPrintDialog = [&](QPrinter& printer) {
      offered = printer.docName();
      seen = printer.pageLayout();
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      return true;
    };
    Form->MainMenu1.Item("MnuPrint").trigger();
    EXPECT_EQ(offered, QString::fromUtf8(row.Name));
    EXPECT_EQ(seen.orientation(), QPageLayout::Landscape);
    const QSizeF page = MediaBoxOf(file);
    EXPECT_GT(page.width(), page.height());
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(PrinterSetupTest, TheRealDialogOpensAndCancelChangesNothing) {
  bool opened = false;
  WhenModal([&](QWidget& dialog) {
    opened = true;
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  Form->MainMenu1.Item("MnuPrinterSetUp").trigger();
  EXPECT_TRUE(opened);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

}  // namespace
