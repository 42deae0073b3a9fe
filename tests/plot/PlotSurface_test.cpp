// SPDX-License-Identifier: GPL-3.0-or-later
// The plot surface driven as a user drives it: real mouse and wheel events on the offscreen
// platform, the redraw protocol, the three configurations and printing to a PDF file.
#include "plot/PlotSurface.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/GuardedCall.h"
#include "support/GuiTest.h"

namespace {

constexpr TColor Red = ColorRGB(255, 0, 0);
using Axis = TPlotSurface::TAxisId;

struct Range {
  double Min;
  double Max;
  bool operator==(const Range&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Range& r) {
  return out << "[" << r.Min << ", " << r.Max << "]";
}
Range Of(const TAxis& a) {
  return {a.Minimum, a.Maximum};
}

QRgb PixelAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFF;
}

class PlotSurfaceTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetErrorPresenter([this](const QString& text) { Errors.push_back(text.toStdString()); });
  }
  void TearDown() override {
    SetErrorPresenter({});
    GuiTest::TearDown();
  }

  // A shown surface of 400 x 300 client pixels, 200 pixels per model unit on both axes: x from
  // -1 to 1, y from -0.75 to 0.75, so that the pixels below convert exactly. A ratio other than
  // 0 replaces the screen's device pixel ratio.
  std::unique_ptr<TPlotSurface> Make(TSurfaceKind kind = TSurfaceKind::Main, double ratio = 0.0) {
    auto surface = std::make_unique<TPlotSurface>(kind);
    surface->SetDevicePixelRatio(ratio);
    surface->resize(400, 300);
    surface->SetAxisRange(Axis::Left, -0.75, 0.75);
    surface->SetAxisRange(Axis::Bottom, -1.0, 1.0);
    surface->Series1().AddPoint(0.0, 0.0, Red);
    surface->OnAfterDraw = [this](TPlotSurface&, TCanvas&) { ++AfterDraws; };
    surface->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(surface.get()));
    Settle(*surface);
    return surface;
  }

  // Lets the pending paint happen, as the message loop would.
  static void Settle(TPlotSurface& surface) {
    QCoreApplication::processEvents();
    surface.repaint();
  }

  static void Drag(TPlotSurface& s, Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(&s, button, {}, from);
    QTest::mouseMove(&s, (from + to) / 2);
    QTest::mouseMove(&s, to);
    QTest::mouseRelease(&s, button, {}, to);
    Settle(s);
  }

  static void Wheel(TPlotSurface& s, int delta) {
    const QPointF at(200, 150);
    QWheelEvent event(at, s.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&s, &event);
    Settle(s);
  }

  int AfterDraws = 0;
  std::vector<std::string> Errors;
};

const Range Home{-1.0, 1.0};
const Range HomeY{-0.75, 0.75};

TEST_F(PlotSurfaceTest, SetAxisRangeKeepsItsOrderAndRefusesWithoutChangingTheRange) {
  TPlotSurface surface(TSurfaceKind::Main);
  EXPECT_TRUE(surface.LeftAxis().Automatic);
  surface.SetAxisRange(Axis::Left, -1.0, 1.0);
  EXPECT_FALSE(surface.LeftAxis().Automatic);
  EXPECT_EQ(Of(surface.LeftAxis()), (Range{-1.0, 1.0}));

  // The new Minimum is checked against the current Maximum, so even a sound pair that lies
  // wholly above the current range is refused.
  try {
    surface.SetAxisRange(Axis::Left, 2.0, 3.0);
    ADD_FAILURE() << "no refusal";
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "Axis Minimum Value must be <= Maximum");
  }
  EXPECT_EQ(Of(surface.LeftAxis()), (Range{-1.0, 1.0}));

  try {
    surface.SetAxisRange(Axis::Left, 0.5, 0.2);
    ADD_FAILURE() << "no refusal";
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
  }
  EXPECT_EQ(Of(surface.LeftAxis()), (Range{-1.0, 1.0})) << "the Minimum is put back";

  // Minimum first, then Maximum: a range that starts at the current Maximum is accepted.
  surface.SetAxisRange(Axis::Left, 1.0, 3.0);
  EXPECT_EQ(Of(surface.LeftAxis()), (Range{1.0, 3.0}));
  EXPECT_EQ(Of(surface.BottomAxis()), (Range{0.0, 0.0})) << "the other axis is untouched";

  // Only an actual change asks for a redraw.
  surface.FlushRedraw();
  EXPECT_FALSE(surface.RedrawPending());
  surface.SetAxisRange(Axis::Left, 1.0, 3.0);
  EXPECT_FALSE(surface.RedrawPending());
  surface.SetAxisRange(Axis::Left, 1.0, 4.0);
  EXPECT_TRUE(surface.RedrawPending());
}

TEST_F(PlotSurfaceTest, MappingsFollowTheMostRecentRedraw) {
  auto s = Make();
  TPixelRect seenRect;
  int seenRight = 0, seenTop = 0;
  TPen seenPen;
  TBrush seenBrush;
  s->OnAfterDraw = [&](TPlotSurface& sender, TCanvas& canvas) {
    seenRect = sender.PlotRect();
    seenRight = sender.ValueToPixelX(sender.BottomAxis().Maximum);
    seenTop = sender.ValueToPixelY(sender.LeftAxis().Maximum);
    seenPen = canvas.Pen;
    seenBrush = canvas.Brush;
  };
  s->SetAxisRange(Axis::Bottom, -2.0, 2.0);
  EXPECT_EQ(s->ValueToPixelX(1.0), 400) << "a range set since the last redraw is not seen yet";
  Settle(*s);
  EXPECT_EQ(s->ValueToPixelX(1.0), 300);
  EXPECT_EQ(seenRect.Left, 0);
  EXPECT_EQ(seenRect.Top, 0);
  EXPECT_EQ(seenRect.Right, 400);
  EXPECT_EQ(seenRect.Bottom, 300);
  EXPECT_EQ(seenRight, 400);
  EXPECT_EQ(seenTop, 0);
  EXPECT_EQ(s->DrawArea().Right, 400);
  EXPECT_EQ(s->PixelToValueX(0), -2.0);
  EXPECT_EQ(s->PixelToValueY(0), 0.75);
  // The marker drew with its own colours; the handler starts from black pen, white solid brush.
  EXPECT_EQ(seenPen.Color, ColorRGB(0, 0, 0));
  EXPECT_EQ(seenBrush.Color, ColorRGB(255, 255, 255));
  EXPECT_EQ(seenBrush.Style, TBrushStyle::Solid);
}

TEST_F(PlotSurfaceTest, ThreeConfigurationsAsDrawn) {
  auto main = Make(TSurfaceKind::Main);
  const QImage& m = main->Buffer();
  ASSERT_EQ(m.size(), QSize(400, 300));
  EXPECT_EQ(PixelAt(m, 200, 150), 0xFF0080u) << "marker fill RGB(255, 0, 128)";
  EXPECT_EQ(PixelAt(m, 193, 150), 0xFF0000u) << "red outline, box 193 .. 206";
  EXPECT_EQ(PixelAt(m, 206, 150), 0xFF0000u);
  EXPECT_EQ(PixelAt(m, 207, 150), 0u);
  EXPECT_EQ(PixelAt(m, 100, 100), 0u) << "black background";
  EXPECT_NE(PixelAt(m, 0, 100), 0u) << "border over the outermost pixels";
  EXPECT_TRUE(main->AllowZoom);

  auto zoom = Make(TSurfaceKind::Zoom);
  EXPECT_EQ(PixelAt(zoom->Buffer(), 200, 150), 0u) << "marker hidden";
  EXPECT_FALSE(zoom->AllowZoom);
  EXPECT_EQ(zoom->Series2(), nullptr);

  auto pattern = Make(TSurfaceKind::Pattern);
  ASSERT_NE(pattern->Series2(), nullptr);
  EXPECT_TRUE(pattern->Series2()->Points().empty());
  EXPECT_EQ(pattern->PlotRect().Left, 1);
  EXPECT_EQ(pattern->PlotRect().Bottom, 299);
  pattern->SetAxisRange(Axis::Left, 0.0, 0.0);
  pattern->SetAxisRange(Axis::Bottom, 0.0, 0.0);
  Settle(*pattern);
  const QImage& p = pattern->Buffer();
  // Empty ranges put the marker at the centre of PlotRect: ((1 + 400) div 2, (0 + 299) div 2).
  EXPECT_EQ(PixelAt(p, 200, 149), 0xFF0000u) << "red disc";
  EXPECT_EQ(PixelAt(p, 0, 150), 0x0000FFu) << "left axis line";
  EXPECT_EQ(PixelAt(p, 200, 299), 0x0000FFu) << "bottom axis line";
  EXPECT_EQ(PixelAt(p, 300, 50), 0u);
}

TEST_F(PlotSurfaceTest, PatternGridLinesLieHalfwayBetweenLabels) {
  auto pattern = Make(TSurfaceKind::Pattern);
  // x from -1 to 1 over 399 columns: labels every 0.5, so grid lines at -0.75, -0.25, 0.25, 0.75.
  const QImage& p = pattern->Buffer();
  for (double x : {-0.75, -0.25, 0.25, 0.75}) {
    const int column = pattern->ValueToPixelX(x);
    EXPECT_EQ(PixelAt(p, column, 10), 0x808080u) << x;
    EXPECT_EQ(PixelAt(p, column, 11), 0u) << x << ": dotted";
  }
  EXPECT_EQ(PixelAt(p, pattern->ValueToPixelX(0.5), 10), 0u) << "none at a label";
  // A narrow range far from 0 still draws in bounded time.
  pattern->SetAxisRange(Axis::Bottom, -1.0, 1e20 + 1e4);
  pattern->SetAxisRange(Axis::Bottom, 1e20, 1e20 + 1e4);
  Settle(*pattern);
  EXPECT_FALSE(pattern->RedrawPending());
}

TEST_F(PlotSurfaceTest, HitTestPointAndTheClickOnTheTopSeries) {
  auto s = Make();
  TPointSeries& series = s->Series1();
  EXPECT_EQ(series.HitTestPoint(200, 150), 0);
  EXPECT_EQ(series.HitTestPoint(206, 156), 0);
  EXPECT_EQ(series.HitTestPoint(207, 150), -1) << "|px - X| must be below HorizSize";
  series.Marker.Visible = false;
  EXPECT_EQ(series.HitTestPoint(201, 150), -1);
  EXPECT_EQ(series.HitTestPoint(200, 150), 0) << "the point's own pixel always hits";
  EXPECT_THROW(series.SetPointX(3, 0.0), EError);

  auto pattern = Make(TSurfaceKind::Pattern);
  std::vector<std::string> clicks;
  pattern->Series1().OnClick = [&](TPointSeries&, int, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                   int) { clicks.push_back("Series1"); };
  pattern->Series2()->OnClick = [&](TPointSeries&, int index, Qt::MouseButton button,
                                    Qt::KeyboardModifiers shift, int x, int y) {
    clicks.push_back("Series2 " + std::to_string(index) + " " + std::to_string(button) + " " +
                     std::to_string(int(shift)) + " " + std::to_string(x) + "," +
                     std::to_string(y));
  };
  pattern->Series2()->AddPoint(0.0, 0.0, Red);
  pattern->Series2()->AddPoint(0.0, 0.0, Red);
  Settle(*pattern);
  const int x = pattern->ValueToPixelX(0.0), y = pattern->ValueToPixelY(0.0);
  QTest::mouseClick(pattern.get(), Qt::RightButton, Qt::ShiftModifier, QPoint(x + 1, y));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], "Series2 0 2 " + std::to_string(int(Qt::ShiftModifier)) + " " +
                           std::to_string(x + 1) + "," + std::to_string(y));
}

TEST_F(PlotSurfaceTest, PressOnTheMarkerIsConsumed) {
  auto s = Make();
  int clicks = 0;
  Qt::MouseButton clickedWith = Qt::NoButton;
  s->Series1().OnClick = [&](TPointSeries& series, int index, Qt::MouseButton button,
                             Qt::KeyboardModifiers, int, int) {
    EXPECT_EQ(&series, &s->Series1());
    EXPECT_EQ(index, 0);
    clickedWith = button;
    ++clicks;
  };
  QTest::mousePress(s.get(), Qt::LeftButton, {}, QPoint(200, 150));
  QTest::mouseMove(s.get(), QPoint(250, 200));
  QTest::mouseMove(s.get(), QPoint(300, 250));
  EXPECT_FALSE(s->RubberBand()) << "no rubber band after a 100-pixel drag from the marker";
  QTest::mouseRelease(s.get(), Qt::LeftButton, {}, QPoint(300, 250));
  Settle(*s);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(clickedWith, Qt::LeftButton);
  EXPECT_EQ(Of(s->BottomAxis()), Home);
  EXPECT_TRUE(s->RangesRestored());

  Drag(*s, Qt::RightButton, QPoint(203, 150), QPoint(250, 200));
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Of(s->BottomAxis()), Home) << "no pan either";
}

TEST_F(PlotSurfaceTest, DragRightAndDownZoomsAndShowsAnInvertingRubberBand) {
  auto s = Make();
  std::vector<Range> zoomedTo;
  s->OnZoom = [&](TPlotSurface& sender) { zoomedTo.push_back(Of(sender.BottomAxis())); };

  QTest::mousePress(s.get(), Qt::LeftButton, {}, QPoint(100, 75));
  QTest::mouseMove(s.get(), QPoint(250, 200));
  ASSERT_TRUE(s->RubberBand());
  EXPECT_EQ(*s->RubberBand(), QRect(QPoint(100, 75), QPoint(250, 200)));
  const QImage onScreen = s->grab().toImage();
  EXPECT_EQ(onScreen.pixel(150, 75) & 0xFFFFFF, 0xFFFFFFu) << "band inverts the black picture";
  EXPECT_EQ(PixelAt(s->Buffer(), 150, 75), 0u) << "the band is not part of the picture";
  QTest::mouseMove(s.get(), QPoint(300, 225));
  QTest::mouseRelease(s.get(), Qt::LeftButton, {}, QPoint(300, 225));
  Settle(*s);

  EXPECT_FALSE(s->RubberBand());
  EXPECT_EQ(s->grab().toImage().pixel(150, 75) & 0xFFFFFF, 0u) << "band erased";
  EXPECT_EQ(Of(s->BottomAxis()), (Range{-0.5, 0.5}));
  EXPECT_EQ(Of(s->LeftAxis()), (Range{-0.375, 0.375}));
  ASSERT_EQ(zoomedTo.size(), 1u);
  EXPECT_EQ(zoomedTo[0], (Range{-0.5, 0.5})) << "OnZoom sees the new ranges";
  EXPECT_FALSE(s->RangesRestored());
  EXPECT_FALSE(s->BottomAxis().Automatic);

  // A press outside PlotRect starts nothing (the surface grabs the mouse, so this can happen).
  QTest::mousePress(s.get(), Qt::LeftButton, {}, QPoint(-5, 10));
  EXPECT_FALSE(s->RubberBand());
  QTest::mouseRelease(s.get(), Qt::LeftButton, {}, QPoint(200, 200));
}

TEST_F(PlotSurfaceTest, SixteenPixelsOrLessNeitherZoomsNorUndoes) {
  auto s = Make();
  int zooms = 0;
  s->OnZoom = [&](TPlotSurface&) { ++zooms; };
  Drag(*s, Qt::LeftButton, QPoint(100, 50), QPoint(300, 250));  // zoom to [-0.5, 0.5]
  ASSERT_EQ(zooms, 1);
  const Range zoomedX = Of(s->BottomAxis()), zoomedY = Of(s->LeftAxis());
  struct Row {
    int dx, dy;
  };
  const Row rows[] = {{16, 100}, {100, 16}, {-16, -100}, {-100, 16}, {16, 16}, {0, 0}};
  for (const Row& row : rows) {
    Drag(*s, Qt::LeftButton, QPoint(150, 100), QPoint(150 + row.dx, 100 + row.dy));
    EXPECT_EQ(Of(s->BottomAxis()), zoomedX) << row.dx << ", " << row.dy;
    EXPECT_EQ(Of(s->LeftAxis()), zoomedY) << row.dx << ", " << row.dy;
  }
  EXPECT_EQ(zooms, 1);
  EXPECT_FALSE(s->RangesRestored());
  Drag(*s, Qt::LeftButton, QPoint(100, 100), QPoint(117, 117));
  EXPECT_EQ(zooms, 2) << "17 pixels both ways zooms";
}

TEST_F(PlotSurfaceTest, DraggingAnyOtherWayUndoes) {
  const QPoint ends[] = {{40, 40}, {360, 40}, {40, 260}};  // up-left, up-right, down-left
  for (QPoint end : ends) {
    auto s = Make();
    int zooms = 0;
    s->OnZoom = [&](TPlotSurface&) { ++zooms; };
    Drag(*s, Qt::LeftButton, QPoint(100, 75), QPoint(300, 225));
    Drag(*s, Qt::LeftButton, QPoint(120, 100), QPoint(300, 200));  // a second zoom
    ASSERT_EQ(zooms, 2);
    ASSERT_NE(Of(s->BottomAxis()), Home);
    Drag(*s, Qt::LeftButton, QPoint(200, 150), end);
    EXPECT_EQ(Of(s->BottomAxis()), Home) << end.x() << ", " << end.y();
    EXPECT_EQ(Of(s->LeftAxis()), HomeY);
    EXPECT_TRUE(s->RangesRestored());
    EXPECT_EQ(zooms, 2) << "an undo raises no OnZoom";
  }
}

TEST_F(PlotSurfaceTest, UndoWithNothingSavedStillRedraws) {
  auto s = Make();
  const int before = AfterDraws;
  Drag(*s, Qt::LeftButton, QPoint(300, 250), QPoint(100, 50));
  EXPECT_EQ(Of(s->BottomAxis()), Home);
  EXPECT_EQ(AfterDraws, before + 1);
}

TEST_F(PlotSurfaceTest, ZoomKeepsTheMinimumSpan) {
  auto s = Make();
  s->SetAxisRange(Axis::Bottom, 0.0, 1e-12);
  Settle(*s);
  Drag(*s, Qt::LeftButton, QPoint(100, 75), QPoint(300, 225));
  const TAxis& x = s->BottomAxis();
  EXPECT_EQ(x.Maximum, x.Minimum + 1e-10);

  // The pattern window's empty ranges zoom to 0 .. 1e-10 on both axes, and the undo brings the
  // empty ranges back.
  auto pattern = Make(TSurfaceKind::Pattern);
  pattern->SetAxisRange(Axis::Left, 0.0, 0.0);
  pattern->SetAxisRange(Axis::Bottom, 0.0, 0.0);
  Settle(*pattern);
  Drag(*pattern, Qt::LeftButton, QPoint(100, 75), QPoint(300, 225));
  EXPECT_EQ(Of(pattern->BottomAxis()), (Range{0.0, 1e-10}));
  EXPECT_EQ(Of(pattern->LeftAxis()), (Range{0.0, 1e-10}));
  Drag(*pattern, Qt::LeftButton, QPoint(300, 225), QPoint(100, 75));
  EXPECT_EQ(Of(pattern->BottomAxis()), (Range{0.0, 0.0}));
}

TEST_F(PlotSurfaceTest, RightDragPansUntilTheCursorLeaves) {
  for (TSurfaceKind kind : {TSurfaceKind::Main, TSurfaceKind::Zoom}) {
    auto s = Make(kind);
    QTest::mousePress(s.get(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(s.get(), QPoint(120, 90));  // 20 right, 10 up: the view follows
    Settle(*s);
    // Pixel-to-value differences are not exact in binary: within rounding.
    EXPECT_DOUBLE_EQ(s->BottomAxis().Minimum, -1.1);
    EXPECT_DOUBLE_EQ(s->BottomAxis().Maximum, 0.9);
    EXPECT_DOUBLE_EQ(s->LeftAxis().Minimum, -0.8);
    EXPECT_DOUBLE_EQ(s->LeftAxis().Maximum, 0.7);
    EXPECT_FALSE(s->RangesRestored());
    QTest::mouseMove(s.get(), QPoint(120, 90));  // same pixel: nothing
    QTest::mouseMove(s.get(), QPoint(120, 130));
    Settle(*s);
    EXPECT_DOUBLE_EQ(s->LeftAxis().Minimum, -0.6);
    QTest::mouseMove(s.get(), QPoint(120, 300));  // row 300 lies outside PlotRect: panning ends
    QTest::mouseMove(s.get(), QPoint(200, 200));
    Settle(*s);
    EXPECT_DOUBLE_EQ(s->LeftAxis().Minimum, -0.6);
    EXPECT_DOUBLE_EQ(s->BottomAxis().Minimum, -1.1);
    QTest::mouseRelease(s.get(), Qt::RightButton, {}, QPoint(200, 200));
    if (kind == TSurfaceKind::Zoom) {
      Drag(*s, Qt::LeftButton, QPoint(300, 250), QPoint(100, 50));
      EXPECT_DOUBLE_EQ(s->BottomAxis().Minimum, -1.1) << "no zoom or undo on the zoom view";
    } else {
      Drag(*s, Qt::LeftButton, QPoint(300, 250), QPoint(100, 50));
      EXPECT_EQ(Of(s->BottomAxis()), Home) << "undo returns to the frame before the pan";
      EXPECT_EQ(Of(s->LeftAxis()), HomeY);
    }
  }
}

TEST_F(PlotSurfaceTest, WheelShiftsTheVerticalAxisByThreePercentPerNotch) {
  auto s = Make();
  Wheel(*s, -120);  // toward the user: up by 3 % of 1.5
  EXPECT_DOUBLE_EQ(s->LeftAxis().Minimum, -0.705);
  EXPECT_DOUBLE_EQ(s->LeftAxis().Maximum, 0.795);
  Wheel(*s, 240);  // two notches away
  EXPECT_DOUBLE_EQ(s->LeftAxis().Minimum, -0.795);
  Wheel(*s, 60);  // half a notch: nothing yet
  EXPECT_DOUBLE_EQ(s->LeftAxis().Minimum, -0.795);
  Wheel(*s, 60);
  EXPECT_DOUBLE_EQ(s->LeftAxis().Minimum, -0.84);
  EXPECT_EQ(Of(s->BottomAxis()), Home);
  EXPECT_TRUE(s->RangesRestored()) << "the wheel saves nothing for undo";
}

TEST_F(PlotSurfaceTest, MouseUpComesBeforeTheZoom) {
  auto s = Make();
  std::vector<std::string> order;
  s->OnMouseUp = [&](TPlotSurface& sender, Qt::MouseButton button, int x, int y) {
    if (order.empty()) {
      EXPECT_EQ(Of(sender.BottomAxis()), Home) << "not zoomed yet";
    }
    order.push_back("up " + std::to_string(button) + " " + std::to_string(x) + "," +
                    std::to_string(y));
  };
  s->OnZoom = [&](TPlotSurface&) { order.push_back("zoom"); };
  Drag(*s, Qt::LeftButton, QPoint(100, 75), QPoint(300, 225));
  QTest::mouseClick(s.get(), Qt::RightButton, {}, QPoint(10, 20));
  EXPECT_EQ(order, (std::vector<std::string>{"up 1 300,225", "zoom", "up 2 10,20"}));

  // An error in the handler is shown, and leaves no zoom in progress.
  s->OnMouseUp = [](TPlotSurface&, Qt::MouseButton, int, int) { throw EError(std::string("up")); };
  Drag(*s, Qt::LeftButton, QPoint(10, 10), QPoint(200, 200));
  EXPECT_EQ(Errors, (std::vector<std::string>{"up"}));
  EXPECT_FALSE(s->RubberBand());
}

TEST_F(PlotSurfaceTest, OneRedrawPerBatchOfRequestsAndUncoveringOnlyCopies) {
  auto s = Make();
  const int start = AfterDraws;
  int redrawn = 0;
  s->OnRedrawn = [&](TPlotSurface&) { ++redrawn; };
  s->RequestRedraw();
  s->Series1().RequestRedraw();
  s->Series1().SetPointX(0, 0.5);
  Settle(*s);
  EXPECT_EQ(AfterDraws, start + 1);
  EXPECT_EQ(redrawn, 1);
  EXPECT_EQ(PixelAt(s->Buffer(), 300, 150), 0xFF0080u) << "the marker moved to x = 0.5";

  // Paints without a request (an uncovered window) copy the buffer.
  s->update();
  Settle(*s);
  s->repaint();
  (void)s->grab();
  EXPECT_EQ(AfterDraws, start + 1);

  // Requests while hidden wait for the next show.
  s->hide();
  s->RequestRedraw();
  QCoreApplication::processEvents();
  EXPECT_EQ(AfterDraws, start + 1);
  EXPECT_TRUE(s->RedrawPending());
  s->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(s.get()));
  Settle(*s);
  EXPECT_EQ(AfterDraws, start + 2);

  // An error in the handler is shown once and the picture stays usable.
  s->OnAfterDraw = [](TPlotSurface&, TCanvas&) { throw EError(std::string("draw")); };
  s->RequestRedraw();
  Settle(*s);
  s->repaint();
  EXPECT_EQ(Errors, (std::vector<std::string>{"draw"}));
  EXPECT_FALSE(s->RedrawPending());
}

TEST_F(PlotSurfaceTest, ResizeRedrawsAtTheNewSize) {
  auto s = Make();
  const int start = AfterDraws;
  s->resize(300, 200);
  Settle(*s);
  EXPECT_EQ(AfterDraws, start + 1);
  EXPECT_EQ(s->Buffer().size(), QSize(300, 200));
  EXPECT_EQ(s->PlotRect().Right, 300);
  EXPECT_EQ(s->PlotRect().Bottom, 200);
}

// The surface at the device pixel ratios of common screens: the buffer has device pixels, the
// mappings go to them, and every distance meant on the screen stays in logical pixels.
class PlotSurfaceRatioTest : public PlotSurfaceTest, public ::testing::WithParamInterface<double> {
 protected:
  // A logical distance in device pixels at the ratio under test.
  int Device(double logical) const { return static_cast<int>(std::lround(logical * GetParam())); }
};

TEST_P(PlotSurfaceRatioTest, TheBufferHasDevicePixelsAndModelPointsLandOnThem) {
  const double ratio = GetParam();
  auto s = Make(TSurfaceKind::Main, ratio);
  EXPECT_EQ(s->Buffer().size(), QSize(Device(400), Device(300)));
  EXPECT_EQ(s->Buffer().devicePixelRatio(), ratio);
  EXPECT_EQ(s->Mapping().PixelRatio, ratio);
  EXPECT_EQ(s->PlotRect().Right, Device(400));

  // Model (0.5, 0.25) lies 300 logical pixels from the left and 100 from the top.
  s->Series1().SetPointX(0, 0.5);
  s->Series1().SetPointY(0, 0.25);
  Settle(*s);
  const int x = Device(300), y = Device(100);
  EXPECT_EQ(s->ValueToPixelX(0.5), x);
  EXPECT_EQ(s->ValueToPixelY(0.25), y);
  const QImage& b = s->Buffer();
  EXPECT_EQ(PixelAt(b, x, y), 0xFF0080u) << "the marker's fill at the point";
  // The marker reaches 7 logical pixels either way, its outline inside that.
  const int half = Device(7);
  EXPECT_EQ(PixelAt(b, x + half - 1, y), 0xFF0000u);
  EXPECT_EQ(PixelAt(b, x - half, y), 0xFF0000u);
  EXPECT_EQ(PixelAt(b, x + half, y), 0u);
  // The grey border and the bevel's shadow are one logical pixel each.
  const int line = Device(1);
  EXPECT_EQ(PixelAt(b, line - 1, Device(150)), 0xA0A0A0u);
  EXPECT_EQ(PixelAt(b, line, Device(150)), 0x404040u);
  EXPECT_EQ(PixelAt(b, 2 * line, Device(150)), 0u);
}

TEST_P(PlotSurfaceRatioTest, MouseClicksMeetTheModelPointUnderThem) {
  auto s = Make(TSurfaceKind::Main, GetParam());
  s->Series1().SetPointX(0, 0.5);
  s->Series1().SetPointY(0, 0.25);
  Settle(*s);
  std::vector<QPoint> clicks, ups;
  s->Series1().OnClick = [&](TPointSeries&, int, Qt::MouseButton, Qt::KeyboardModifiers, int x,
                             int y) { clicks.emplace_back(x, y); };
  s->OnMouseUp = [&](TPlotSurface&, Qt::MouseButton, int x, int y) { ups.emplace_back(x, y); };

  // 6 logical pixels right of the point is on its marker (half-width 7), 8 is beside it.
  QTest::mouseClick(s.get(), Qt::LeftButton, {}, QPoint(306, 100));
  QTest::mouseClick(s.get(), Qt::LeftButton, {}, QPoint(308, 100));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_NEAR(s->PixelToValueX(clicks[0].x()), 0.53, 1e-12);
  EXPECT_NEAR(s->PixelToValueY(clicks[0].y()), 0.25, 1e-12);
  ASSERT_EQ(ups.size(), 2u);
  EXPECT_NEAR(s->PixelToValueX(ups[1].x()), 0.54, 1e-12);
  EXPECT_EQ(s->ToDevice(QPointF(308, 100)), ups[1]);

  // A rectangle zoom takes the model values under the logical corners.
  Drag(*s, Qt::LeftButton, QPoint(100, 176), QPoint(300, 256));
  EXPECT_NEAR(s->BottomAxis().Minimum, -0.5, 1e-12);
  EXPECT_NEAR(s->BottomAxis().Maximum, 0.5, 1e-12);
  EXPECT_NEAR(s->LeftAxis().Minimum, -0.53, 1e-12);
  EXPECT_NEAR(s->LeftAxis().Maximum, -0.13, 1e-12);
  Drag(*s, Qt::LeftButton, QPoint(300, 256), QPoint(100, 176));
  EXPECT_EQ(Of(s->BottomAxis()), Home) << "undone";

  // The 16-pixel rule is a distance on the screen: 16 logical pixels do nothing at any ratio.
  Drag(*s, Qt::LeftButton, QPoint(100, 75), QPoint(116, 175));
  EXPECT_EQ(Of(s->BottomAxis()), Home);
  EXPECT_TRUE(s->RangesRestored());

  // A pan by 50 logical pixels moves the view by 50 logical pixels' worth of model.
  Drag(*s, Qt::RightButton, QPoint(200, 150), QPoint(250, 150));
  EXPECT_NEAR(s->BottomAxis().Minimum, -1.25, 1e-12);
  EXPECT_NEAR(s->BottomAxis().Maximum, 0.75, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Ratios, PlotSurfaceRatioTest, ::testing::Values(1.0, 1.5, 2.0));

TEST_F(PlotSurfaceTest, TheScreensRatioUnlessOneIsSetAndOnlyUsableOnes) {
  TPlotSurface surface(TSurfaceKind::Main);
  EXPECT_EQ(surface.DevicePixelRatio(), surface.devicePixelRatioF());
  surface.SetDevicePixelRatio(1.5);
  EXPECT_EQ(surface.DevicePixelRatio(), 1.5);
  for (const double bad : {-1.0, 0.1, 17.0, std::nan(""), HUGE_VAL})
    EXPECT_THROW(surface.SetDevicePixelRatio(bad), EError) << bad;
  EXPECT_EQ(surface.DevicePixelRatio(), 1.5) << "a refusal changes nothing";
  surface.SetDevicePixelRatio(0.0);
  EXPECT_EQ(surface.DevicePixelRatio(), surface.devicePixelRatioF());
}

// Printing into a PDF file.
class PlotPrintTest : public PlotSurfaceTest {
 protected:
  void SetUp() override {
    PlotSurfaceTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    Path = Dir.filePath(QStringLiteral("chart.pdf"));
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(Path);
    Printer.setResolution(300);
    Printer.setFullPage(true);  // device pixels from the paper's corner, as the rendered page
  }
  QTemporaryDir Dir;
  QString Path;
  QPrinter Printer{QPrinter::HighResolution};
};

TEST_F(PlotPrintTest, PrintsOnePageWithTheOverlayInProportion) {
  auto s = Make();
  std::vector<TPixelRect> areas;
  std::vector<int> rightEdges;
  s->OnAfterDraw = [&](TPlotSurface& sender, TCanvas& canvas) {
    areas.push_back(sender.DrawArea());
    rightEdges.push_back(sender.ValueToPixelX(1.0));
    EXPECT_EQ(sender.PlotRect().Left, sender.DrawArea().Left);
    // A white square over the middle fifth of the plot.
    canvas.Pen.Color = canvas.Brush.Color = ColorRGB(255, 255, 255);
    canvas.Rectangle(sender.ValueToPixelX(-0.2), sender.ValueToPixelY(0.15),
                     sender.ValueToPixelX(0.2), sender.ValueToPixelY(-0.15));
    // A field line's tail: cut at the edge of the chart, as on screen.
    canvas.Pen.Color = ColorRGB(0, 200, 255);
    canvas.MoveTo(sender.ValueToPixelX(0.0), sender.ValueToPixelY(0.0));
    canvas.LineTo(sender.ValueToPixelX(0.0), 2000000000);
  };
  // The caller names the document; the surface keeps the name.
  const QString name = QStringLiteral("Halvoran Radiation \u2013 Circular orbit");
  Printer.setDocName(name);
  s->PrintChart(Printer);
  ASSERT_EQ(areas.size(), 1u);
  const TPixelRect a = areas[0];
  // The page is scaled so that the chart has the surface's own size; on the portrait page the
  // 4:3 chart spans the width and stands centred in the height (one unit of rounding).
  EXPECT_EQ(a.Right - a.Left, 400);
  EXPECT_EQ(a.Bottom - a.Top, 300);
  EXPECT_EQ(a.Left, 0);
  const double pageWidth = a.Left + a.Right;  // in the painter's units
  const double deviceScale = Printer.width() / pageWidth;
  const double pageHeight = Printer.height() / deviceScale;
  EXPECT_NEAR(a.Top, (pageHeight - 300) / 2, 1.0);
  EXPECT_EQ(rightEdges[0], a.Right) << "mappings computed for the page";
  EXPECT_EQ(s->PlotRect().Right, 400) << "screen mappings restored";
  EXPECT_EQ(s->ValueToPixelX(1.0), 400);
  EXPECT_EQ(Printer.docName(), name);

  QFile file(Path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5) == "%PDF-");
  file.close();

  const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
  const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
  if (pdfinfo.isEmpty() || pdftoppm.isEmpty()) GTEST_SKIP() << "poppler tools not installed";
  QProcess info;
  info.start(pdfinfo, {Path});
  ASSERT_TRUE(info.waitForFinished(20000));
  const QString text = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Title:")) && text.contains(name))
      << text.toStdString();

  // The page rasterised at 30 dpi: the overlay's white square in the middle of the black chart.
  QProcess render;
  const QString base = Dir.filePath(QStringLiteral("page"));
  render.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"),
                          QStringLiteral("-singlefile"), Path, base});
  ASSERT_TRUE(render.waitForFinished(20000));
  QImage page(base + QStringLiteral(".png"));
  ASSERT_FALSE(page.isNull());
  const double scale = page.width() / pageWidth;  // rendered pixels per unit
  const int cx = static_cast<int>((a.Left + a.Right) / 2 * scale);
  const int cy = static_cast<int>((a.Top + a.Bottom) / 2 * scale);
  const int squareY = static_cast<int>(((a.Top + a.Bottom) / 2 - 16) * scale);  // y = 0.08
  EXPECT_EQ(page.pixel(cx, squareY) & 0xFFFFFF, 0xFFFFFFu) << "overlay";
  EXPECT_EQ(page.pixel(static_cast<int>((a.Left + (a.Right - a.Left) / 8) * scale), cy) & 0xFFFFFF,
            0u)
      << "black chart background";
  EXPECT_EQ(page.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu) << "paper outside the chart";
  EXPECT_EQ(page.pixel(cx, static_cast<int>((a.Bottom + 10) * scale)) & 0xFFFFFF, 0xFFFFFFu)
      << "the overlay is clipped to the chart";
}

// A disk that fills up while the PDF is written: Qt's printer says nothing, the file is cut
// short. /dev/full refuses every write as a full disk does.
TEST_F(PlotPrintTest, APdfThatCouldNotBeWrittenInFullIsReportedByName) {
  const QString full = QStringLiteral("/dev/full");
  if (!QFileInfo::exists(full)) GTEST_SKIP() << "no /dev/full here";
  auto s = Make();
  Printer.setOutputFileName(full);
  try {
    s->PrintChart(Printer);
    ADD_FAILURE() << "no error";
  } catch (const EError& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("/dev/full"), std::string::npos) << text;
    EXPECT_NE(text.find("could not be written in full"), std::string::npos) << text;
  }
  EXPECT_TRUE(QFileInfo::exists(full)) << "a name that is no plain file is never removed";
  EXPECT_EQ(s->PlotRect().Right, 400) << "screen mappings restored";

  // The same printer writes a whole file again once its name is one that can be written.
  Printer.setOutputFileName(Path);
  s->PrintChart(Printer);
  QFile file(Path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().trimmed().endsWith("%%EOF"));
}

TEST_F(PlotPrintTest, AnErrorWhilePrintingAbortsAndIsPassedOn) {
  auto s = Make();
  s->OnAfterDraw = [](TPlotSurface& sender, TCanvas&) {
    // The page's chart stands below the top of the portrait page; the screen's starts at 0.
    if (sender.DrawArea().Top != 0) throw EError(std::string("paper jam"));
  };
  try {
    s->PrintChart(Printer);
    ADD_FAILURE() << "no error";
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "paper jam");
  }
  EXPECT_NE(Printer.printerState(), QPrinter::Active);
  EXPECT_FALSE(QFile::exists(Path)) << "the page drawn in part is not left behind";
  EXPECT_EQ(s->PlotRect().Right, 400) << "screen mappings restored";
  // The surface still works on screen afterwards.
  s->RequestRedraw();
  Settle(*s);
  EXPECT_FALSE(s->RedrawPending());
}

}  // namespace
