// The radiation power pattern window: its frame picture at start, its placement, and the plot's
// zoom on the empty ranges it starts with.
#include "views/RadiationPattern.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include "plot/RasterCanvas.h"
#include "support/GuiTest.h"

namespace {

bool IsColor(QRgb pixel, TColor color) {
  return (pixel | 0xFF000000u) == TRasterCanvas::PixelOf(color);
}

// Blue as the axis lines are drawn; aqua as the pattern curve would be.
bool IsBlue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; }
bool IsAqua(QRgb p) { return qBlue(p) > 200 && qGreen(p) > 200 && qRed(p) < 60; }

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void LeftDrag(QWidget* widget, QPoint from, QPoint to) {
  SendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

class RadiationPatternTest : public GuiTest {
 protected:
  static void ShowAndWait(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  static QImage Render(TRadiationPatternForm& form) {
    form.Chart1().repaint();
    QCoreApplication::processEvents();
    return form.Chart1().Buffer().copy();
  }
  TSimulationState State;
};

TEST_F(RadiationPatternTest, CreatedInTheTopRightCornerWithAnEmptyPattern) {
  TRadiationPatternForm form(State);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Radiation Power Pattern"));
  const QRect screen = form.screen()->geometry();
  ShowAndWait(form);
  EXPECT_EQ(form.frameGeometry(), QRect(screen.right() + 1 - 300, screen.top() + 50, 300, 300));
  EXPECT_EQ(form.Chart1().geometry(), form.rect());
  EXPECT_EQ(form.PatternScale, 0.0);
  ASSERT_EQ(form.Series1().Points().size(), 1u);
  EXPECT_EQ(form.Series1().Points()[0].X, 0.0);
  EXPECT_EQ(form.Series1().Points()[0].Y, 0.0);
  EXPECT_TRUE(form.Series2().Points().empty());
  EXPECT_EQ(form.PowerPattern, std::vector<double>(State.JSize + 1, 0.1));
  EXPECT_EQ(form.PowerPatternPrevious, std::vector<double>(State.JSize + 1, 0.1));
}

TEST_F(RadiationPatternTest, StartPictureIsBlueAxesAndARedDiscAtTheCentre) {
  TRadiationPatternForm form(State);
  ShowAndWait(form);
  const QImage picture = Render(form);
  const TPixelRect plot = form.Chart1().PlotRect();

  // Empty ranges map every value to the centre of its axis.
  const int cx = form.Chart1().ValueToPixelX(0.0);
  const int cy = form.Chart1().ValueToPixelY(0.0);
  EXPECT_EQ(cx, (plot.Left + plot.Right) / 2);
  EXPECT_EQ(cy, (plot.Top + plot.Bottom) / 2);
  EXPECT_TRUE(IsColor(picture.pixel(cx, cy), ColorRGB(255, 0, 0)));
  EXPECT_TRUE(IsColor(picture.pixel(cx + 2, cy - 2), ColorRGB(255, 0, 0)));
  EXPECT_TRUE(IsColor(picture.pixel(cx + 30, cy + 30), ColorRGB(0, 0, 0)));

  // A blue column along the left of the plot and a blue row along its bottom.
  int blueColumn = -1;
  for (int x = 0; x < cx && blueColumn < 0; ++x) {
    int blue = 0;
    for (int y = plot.Top; y < plot.Bottom; ++y) blue += IsBlue(picture.pixel(x, y)) ? 1 : 0;
    if (blue > (plot.Bottom - plot.Top) * 3 / 4) blueColumn = x;
  }
  EXPECT_GE(blueColumn, 0) << "no left axis line";
  int blueRow = -1;
  for (int y = picture.height() - 1; y > cy && blueRow < 0; --y) {
    int blue = 0;
    for (int x = plot.Left; x < plot.Right; ++x) blue += IsBlue(picture.pixel(x, y)) ? 1 : 0;
    if (blue > (plot.Right - plot.Left) * 3 / 4) blueRow = y;
  }
  EXPECT_GE(blueRow, 0) << "no bottom axis line";

  int aqua = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) aqua += IsAqua(picture.pixel(x, y)) ? 1 : 0;
  }
  EXPECT_EQ(aqua, 0) << "a pattern curve is drawn";
}

TEST_F(RadiationPatternTest, UsersMoveLastsAcrossShows) {
  TRadiationPatternForm form(State);
  ShowAndWait(form);
  form.move(140, 120);
  form.close();
  EXPECT_FALSE(form.isVisible());
  ShowAndWait(form);
  EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(140, 120));
  EXPECT_EQ(form.frameGeometry().size(), QSize(300, 300));
}

TEST_F(RadiationPatternTest, RectangleZoomOnTheEmptyRangesAndItsUndo) {
  TRadiationPatternForm form(State);
  ShowAndWait(form);
  Render(form);
  QWidget* chart = &form.Chart1();

  // Every pixel maps to 0, so the zoom gives both axes the least span the plot allows.
  LeftDrag(chart, {60, 60}, {220, 220});
  Render(form);
  for (const TAxis& axis : {form.Chart1().BottomAxis(), form.Chart1().LeftAxis()}) {
    EXPECT_EQ(axis.Minimum, 0.0);
    EXPECT_EQ(axis.Maximum, 1e-10);
  }
  EXPECT_FALSE(form.Chart1().RangesRestored());
  // The marker at the origin moves to the lower-left corner.
  const TPixelRect plot = form.Chart1().PlotRect();
  EXPECT_EQ(form.Chart1().ValueToPixelX(0.0), plot.Left);
  EXPECT_EQ(form.Chart1().ValueToPixelY(0.0), plot.Bottom);

  // Dragging up-left undoes it.
  LeftDrag(chart, {220, 220}, {60, 60});
  Render(form);
  for (const TAxis& axis : {form.Chart1().BottomAxis(), form.Chart1().LeftAxis()}) {
    EXPECT_EQ(axis.Minimum, 0.0);
    EXPECT_EQ(axis.Maximum, 0.0);
  }
  EXPECT_TRUE(form.Chart1().RangesRestored());

  // A new show re-applies the empty ranges, cancelling a zoom.
  LeftDrag(chart, {60, 60}, {220, 220});
  form.hide();
  ShowAndWait(form);
  EXPECT_EQ(form.Chart1().BottomAxis().Maximum, 0.0);
  EXPECT_EQ(form.Chart1().LeftAxis().Maximum, 0.0);
}

}  // namespace
