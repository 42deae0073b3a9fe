// SPDX-License-Identifier: GPL-3.0-or-later
// The power pattern and the magnified view as panels docked at the right of the plot on a screen
// of 1024 x 768: both shown, the plot keeps most of the window and none of it is covered; a panel
// closed gives its room back and its View item brings it again; the docks' titles follow the
// language.
#include <gtest/gtest.h>

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QTemporaryDir>

#include "MainFormDriver.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

namespace {

// The offscreen platform reads its screens from a file named before the application starts; this
// binary's screen is a classroom projector's 1024 x 768.
const bool ProjectorScreen = [] {
  static QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath(QStringLiteral("screen.json"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(R"({"screens": [{"name": "projector", "x": 0, "y": 0, "width": 1024, "height": 768,
                  "logicalDpi": 96, "logicalBaseDpi": 96}]})");
  file.close();
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path.toLocal8Bit());
  return true;
}();

// A widget's rectangle in the main window's coordinates.
QRect InWindow(const QWidget& widget, const QWidget& window) {
  return {widget.mapTo(&window, QPoint(0, 0)), widget.size()};
}

long long Area(const QSize& size) {
  return static_cast<long long>(size.width()) * size.height();
}

class DockedPanelsTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    ASSERT_TRUE(ProjectorScreen);
    StartUp();
    Form->MnuPauseClick();
    // Maximised: the window, its frame included, is the screen.
    ASSERT_EQ(Form->frameGeometry().size(), QSize(1024, 768));
  }
  void ShowBoth() {
    Form->mnuShowPowerPatternClick();
    Form->mnuShowZoomClick();
    QCoreApplication::processEvents();
  }
};

TEST_F(DockedPanelsTest, BothPanelsSitBesideThePlotWhichKeepsMostOfTheWindow) {
  EXPECT_FALSE(Form->ZoomDock()->isVisible()) << "hidden until asked for";
  EXPECT_FALSE(Form->PatternDock()->isVisible());
  ShowBoth();
  const QRect chart = InWindow(*Form->Chart1, *Form);
  QWidget* const panels[] = {Form->RadiationPatternForm(), Form->ZoomViewForm()};
  for (QDockWidget* dock : {Form->PatternDock(), Form->ZoomDock()}) {
    SCOPED_TRACE(dock->objectName().toStdString());
    EXPECT_TRUE(dock->isVisible());
    EXPECT_FALSE(dock->isFloating());
    EXPECT_EQ(Form->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    EXPECT_FALSE(InWindow(*dock, *Form).intersects(chart)) << "the panel covers the plot";
    EXPECT_GE(InWindow(*dock, *Form).left(), chart.right());
  }
  for (QWidget* panel : panels) {
    EXPECT_FALSE(panel->isWindow()) << "a part of its dock, not a window of its own";
    EXPECT_TRUE(panel->isVisible());
  }
  EXPECT_GE(static_cast<double>(Area(Form->Chart1->size())) / Area(Form->frameGeometry().size()),
            0.6);

  // The pattern above the magnified view, each with a plot to see.
  EXPECT_LE(InWindow(*Form->PatternDock(), *Form).bottom(),
            InWindow(*Form->ZoomDock(), *Form).top());
  for (TPlotSurface* plot :
       {&Form->RadiationPatternForm()->Chart1(), &Form->ZoomViewForm()->Chart1()}) {
    EXPECT_GE(plot->width(), 200);
    EXPECT_GE(plot->height(), 150);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(DockedPanelsTest, AClosedPanelGivesItsRoomBackAndItsItemBringsItAgain) {
  const int alone = Form->Chart1->width();
  ShowBoth();
  const int beside = Form->Chart1->width();
  EXPECT_LT(beside, alone);

  // The docks' close boxes.
  Form->ZoomDock()->close();
  Form->PatternDock()->close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Form->ZoomViewForm()->isVisible());
  EXPECT_FALSE(Form->RadiationPatternForm()->isVisible());
  EXPECT_EQ(Form->Chart1->width(), alone);

  Form->MainMenu1.Item("mnuShowZoom").trigger();
  QCoreApplication::processEvents();
  EXPECT_TRUE(Form->ZoomViewForm()->isVisible());
  EXPECT_FALSE(Form->ZoomDock()->isFloating());
  EXPECT_LT(Form->Chart1->width(), alone);
  EXPECT_GE(Form->Chart1->width(), beside) << "the one panel takes no more room than both";

  // Floated, the panel is a window of its own and the plot has the whole width again.
  Form->ZoomDock()->setFloating(true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(Form->ZoomViewForm()->isVisible());
  EXPECT_EQ(Form->Chart1->width(), alone);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(DockedPanelsTest, TheDocksAreTitledAsTheirPanelsInEitherLanguage) {
  ShowBoth();
  const struct {
    TLanguage Language;
    const char* Zoom;
    const char* Pattern;
  } rows[] = {
      {TLanguage::Japanese, "拡大ウインドウ", "放射パワーパターン"},
      {TLanguage::English, "Zooming View", "Radiation Power Pattern"},
  };
  for (const auto& row : rows) {
    Form->SetLanguage(row.Language);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(Form->ZoomDock()->windowTitle(), QString::fromUtf8(row.Zoom));
    EXPECT_EQ(Form->PatternDock()->windowTitle(), QString::fromUtf8(row.Pattern));
  }
}

}  // namespace
