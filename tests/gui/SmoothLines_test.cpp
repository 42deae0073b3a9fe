// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's smooth lines, switched from the View menu, and its plot at a device pixel
// ratio above 1, driven by the mouse.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>

#include "MainFormDriver.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

namespace {

class SmoothLinesTest : public MainFormTest {
 protected:
  // Pixels of the picture in a share of the field lines' colour over black, neither all of it
  // nor none: what only anti-aliasing leaves.
  int PartialFieldLinePixels() {
    Redraw();
    const QImage& picture = Form->Chart1->Buffer();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb p = picture.pixel(x, y);
        const int g = qGreen(p), b = qBlue(p);
        // (0, 200, 255) scaled by a share: green keeps 200/255 of blue, within the rounding.
        if (qRed(p) == 0 && b > 20 && b < 250 && std::abs(g * 255 - b * 200) <= 2 * 255) ++count;
      }
    }
    return count;
  }
};

TEST_F(SmoothLinesTest, TheMenuItemSwitchesEveryPlotBetweenSmoothAndAliased) {
  StartUp();
  Form->MnuPauseClick();
  QAction& item = Form->MainMenu1.Item("mnuSmoothLines");
  EXPECT_EQ(item.text(), QString::fromUtf8("&滑らかな線"));
  EXPECT_EQ(item.toolTip(), QStringLiteral("Smooth lines"));
  EXPECT_TRUE(item.isCheckable());
  EXPECT_TRUE(item.isChecked()) << "checked at start";
  EXPECT_EQ(item.parent(), static_cast<QObject*>(&Form->MainMenu1.Menu("mnuFieldPlot")))
      << "in the display submenu";
  Form->MainMenu1.Item("mnuShowZoom").trigger();
  // Letters are blended whatever the lines do: the caption would count as smooth lines.
  Form->MainMenu1.Item("mnuShowCaption").trigger();
  // The mark, the state and all three plots agree.
  const auto expectEverywhere = [&](bool smooth) {
    EXPECT_EQ(item.isChecked(), smooth);
    EXPECT_EQ(Form->Display().SmoothLines, smooth);
    EXPECT_EQ(Form->Chart1->SmoothLines, smooth);
    EXPECT_EQ(Form->ZoomViewForm()->Chart1().SmoothLines, smooth);
    EXPECT_EQ(Form->RadiationPatternForm()->Chart1().SmoothLines, smooth);
  };
  expectEverywhere(true);
  EXPECT_GT(PartialFieldLinePixels(), 200) << "the field lines' edges are blended";

  item.trigger();
  expectEverywhere(false);
  EXPECT_EQ(PartialFieldLinePixels(), 0) << "aliased: every pixel all or nothing";

  item.trigger();
  expectEverywhere(true);
  EXPECT_GT(PartialFieldLinePixels(), 200);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(", ").toStdString();
}

TEST_F(SmoothLinesTest, AtRatioTwoTheMouseGrabsTheChargeAtItsLogicalPosition) {
  StartUp();
  Form->MnuPauseClick();
  Form->Chart1->SetDevicePixelRatio(2.0);
  Redraw();
  EXPECT_EQ(Form->Chart1->Buffer().width(), 2 * Form->Chart1->width());
  // The charge at rest sits at model (0, 0); its logical pixel is half its device pixel.
  const QPoint device = PixelOf(0.0, 0.0);
  const QPoint logical(device.x() / 2, device.y() / 2);
  // 8 logical pixels away is off the marker (half-size 7), though only half of it in device
  // pixels.
  QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, logical + QPoint(8, 0));
  EXPECT_FALSE(Form->Dragging);
  QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, logical + QPoint(8, 0));
  QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, logical + QPoint(5, 0));
  EXPECT_TRUE(Form->Dragging);
  QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, logical + QPoint(5, 0));
  EXPECT_FALSE(Form->Dragging);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(", ").toStdString();
}

}  // namespace
