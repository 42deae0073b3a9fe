// SPDX-License-Identifier: GPL-3.0-or-later
// The radiation power pattern window: its frame and placement, the empty picture of a charge at
// rest, the two modes chosen by their buttons, the curve and its text, the zoom on the pattern
// and its reset by a new show, and the main window keeping it up to date.
#include "views/RadiationPattern.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <cmath>
#include <optional>

#include "engine/SimulationCommands.h"
#include "plot/RasterCanvas.h"
#include "support/GuiTest.h"
#include "gui/MainFormDriver.h"

namespace {

bool IsColor(QRgb pixel, TColor color) {
  return (pixel | 0xFF000000u) == TRasterCanvas::PixelOf(color);
}

// Blue as the axis lines are drawn; aqua as the pattern curve.
bool IsBlue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; }
bool IsAqua(QRgb p) { return qBlue(p) > 200 && qGreen(p) > 200 && qRed(p) < 60; }

int AquaPixels(const QImage& picture) {
  int aqua = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) aqua += IsAqua(picture.pixel(x, y)) ? 1 : 0;
  }
  return aqua;
}

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

// The curve's point of largest radius: its radius and its direction (radians).
struct TFarthest {
  double Radius = 0.0;
  double Angle = 0.0;
};
TFarthest Farthest(const TPointSeries& curve) {
  TFarthest f;
  for (const TSeriesPoint& p : curve.Points()) {
    const double r = std::hypot(p.X, p.Y);
    if (r > f.Radius) f = {r, std::atan2(p.Y, p.X)};
  }
  return f;
}

class RadiationPatternTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_FALSE(Commands.Start());
  }
  static void ShowAndWait(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  static QImage Render(TRadiationPatternForm& form) {
    form.Chart1().repaint();
    QCoreApplication::processEvents();
    return form.Chart1().Buffer().copy();
  }
  // The circle chosen as its command does: path, reset, then the window told.
  void ChooseCircle(TRadiationPatternForm& form, double beta) {
    TTrajectoryParameters parameters;
    parameters.CircleBeta = beta;
    ASSERT_FALSE(Commands.ChooseTrajectory(tmCircle, parameters));
    form.SimulationReset();
    form.MotionChanged();
  }
  // Ticks as the main window runs them.
  // cursor: where the dragged charge is pulled; none while it is not dragged.
  void Tick(TRadiationPatternForm& form, int ticks, std::optional<TVector2> cursor = std::nullopt) {
    for (int t = 0; t < ticks; ++t) {
      Commands.RunTick(cursor);
      form.ChargeTicked();
    }
  }
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
};

TEST_F(RadiationPatternTest, CreatedInTheTopRightCornerWithButtonsAboveThePlot) {
  TRadiationPatternForm form(State);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Radiation Power Pattern"));
  const QRect screen = form.screen()->geometry();
  ShowAndWait(form);
  EXPECT_EQ(form.frameGeometry(), QRect(screen.right() + 1 - 300, screen.top() + 50, 300, 300));
  EXPECT_EQ(form.rbtnInstantaneous->text(), QStringLiteral("Instantaneous"));
  EXPECT_EQ(form.rbtnAveraged->text(), QStringLiteral("Averaged"));
  EXPECT_TRUE(form.rbtnAveraged->isChecked());
  EXPECT_FALSE(form.rbtnInstantaneous->isChecked());
  // One row of buttons, the text under it, the plot under both across the whole width.
  EXPECT_EQ(form.rbtnInstantaneous->y(), form.rbtnAveraged->y());
  EXPECT_LT(form.rbtnInstantaneous->x(), form.rbtnAveraged->x());
  EXPECT_GE(form.LabelPower->y(), form.rbtnAveraged->geometry().bottom());
  EXPECT_GE(form.Chart1().y(), form.LabelPower->geometry().bottom());
  EXPECT_EQ(form.Chart1().width(), form.width());
  EXPECT_EQ(form.Chart1().geometry().bottom(), form.rect().bottom());
  ASSERT_EQ(form.Series1().Points().size(), 1u);
  EXPECT_EQ(form.Series1().Points()[0].X, 0.0);
  EXPECT_EQ(form.Series1().Points()[0].Y, 0.0);
}

TEST_F(RadiationPatternTest, ChargeAtRestShowsBlueAxesARedDiscAndNoCurve) {
  TRadiationPatternForm form(State);
  ShowAndWait(form);
  for (QRadioButton* mode : {form.rbtnInstantaneous, form.rbtnAveraged}) {
    QTest::mouseClick(mode, Qt::LeftButton);
    ASSERT_TRUE(mode->isChecked());
    Tick(form, 3);
    EXPECT_EQ(form.PatternScale, 0.0);
    EXPECT_TRUE(form.Series2().Points().empty());
    EXPECT_EQ(form.LabelPower->text(), QStringLiteral("No radiation"));
    const QImage picture = Render(form);
    const TPixelRect plot = form.Chart1().PlotRect();

    // Empty ranges map every value to the centre of its axis.
    const int cx = form.Chart1().ValueToPixelX(0.0);
    const int cy = form.Chart1().ValueToPixelY(0.0);
    EXPECT_EQ(cx, (plot.Left + plot.Right) / 2);
    EXPECT_EQ(cy, (plot.Top + plot.Bottom) / 2);
    EXPECT_TRUE(IsColor(picture.pixel(cx, cy), ColorRGB(255, 0, 0)));
    EXPECT_TRUE(IsColor(picture.pixel(cx + 30, cy + 30), ColorRGB(0, 0, 0)));
    int blueColumn = -1;
    for (int x = 0; x < cx && blueColumn < 0; ++x) {
      int blue = 0;
      for (int y = plot.Top; y < plot.Bottom; ++y) blue += IsBlue(picture.pixel(x, y)) ? 1 : 0;
      if (blue > (plot.Bottom - plot.Top) * 3 / 4) blueColumn = x;
    }
    EXPECT_GE(blueColumn, 0) << "no left axis line";
    EXPECT_EQ(AquaPixels(picture), 0) << "a pattern curve is drawn";
  }
}

TEST_F(RadiationPatternTest, ButtonsSwitchBetweenTheLobeOfTheTickAndTheMeanOfTheLoop) {
  TRadiationPatternForm form(State);
  ShowAndWait(form);
  ChooseCircle(form, 0.9);
  Tick(form, 30);

  // Averaged: the circle radiates alike in every direction of its plane over a loop.
  ASSERT_EQ(form.Mode(), TRadiationPatternForm::TPatternMode::Averaged);
  EXPECT_EQ(form.PatternScale, 1.0);
  EXPECT_EQ(form.Chart1().LeftAxis().Maximum, 1.0) << "the shorter side spans +-PatternScale";
  ASSERT_EQ(form.Series2().Points().size(), static_cast<std::size_t>(PatternDirectionCount + 1));
  const TSeriesPoint first = form.Series2().Points().front();
  const TSeriesPoint last = form.Series2().Points().back();
  EXPECT_EQ(first.X, last.X) << "the curve is closed";
  EXPECT_EQ(first.Y, last.Y);
  for (const TSeriesPoint& p : form.Series2().Points()) {
    EXPECT_NEAR(std::hypot(p.X, p.Y), 0.9, 0.03);
  }
  // gamma^4 = 27.7 for an acceleration across the motion at 0.9.
  EXPECT_TRUE(form.LabelPower->text().endsWith(QStringLiteral(" = 27.7 × Larmor")))
      << form.LabelPower->text().toStdString();

  // Instantaneous: one lobe along the velocity, turning with it tick by tick.
  QTest::mouseClick(form.rbtnInstantaneous, Qt::LeftButton);
  ASSERT_EQ(form.Mode(), TRadiationPatternForm::TPatternMode::Instantaneous);
  for (int step = 0; step < 2; ++step) {
    const TFarthest lobe = Farthest(form.Series2());
    EXPECT_NEAR(lobe.Radius, TRadiationPatternForm::CurveRadius, 1e-12);
    const TVector2 beta = State.FieldSimulation.ChargeHistory(0).Beta;
    EXPECT_NEAR(std::remainder(lobe.Angle - std::atan2(beta.Y, beta.X), 2 * M_PI), 0.0, 0.03);
    const double sideways = lobe.Angle + M_PI / 2;
    int across = 0;
    for (const TSeriesPoint& p : form.Series2().Points()) {
      across += std::hypot(p.X, p.Y) > 0.1 && std::cos(std::atan2(p.Y, p.X) - sideways) > 0.7;
    }
    EXPECT_EQ(across, 0) << "a single narrow lobe";
    Tick(form, 35);  // a quarter of the loop
  }
  const QImage picture = Render(form);
  EXPECT_GT(AquaPixels(picture), 40);

  QTest::mouseClick(form.rbtnAveraged, Qt::LeftButton);
  EXPECT_NEAR(Farthest(form.Series2()).Radius, 0.9, 1e-12);
  EXPECT_GT(std::hypot(form.Series2().Points()[90].X, form.Series2().Points()[90].Y), 0.85);
}

TEST_F(RadiationPatternTest, MouseAverageShowsTheStopUntilItLeavesTheLastTicks) {
  TRadiationPatternForm form(State);
  ShowAndWait(form);
  Tick(form, 30, TVector2{0.9, 0.0});  // dragged, then let go
  Tick(form, 10);
  ASSERT_FALSE(form.Series2().Points().empty());
  EXPECT_TRUE(form.Series2().DrawLine);
  // Speeding up and stopping along x at 0.99: the cone about +x.
  EXPECT_LT(std::cos(Farthest(form.Series2()).Angle), 1.0);
  EXPECT_GT(std::cos(Farthest(form.Series2()).Angle), 0.9);
  EXPECT_GT(AquaPixels(Render(form)), 20);

  Tick(form, State.ISize);
  EXPECT_EQ(form.LabelPower->text(), QStringLiteral("No radiation"));
  EXPECT_EQ(AquaPixels(Render(form)), 0);
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
  LeftDrag(chart, {60, 60}, {220, 200});
  Render(form);
  for (const TAxis& axis : {form.Chart1().BottomAxis(), form.Chart1().LeftAxis()}) {
    EXPECT_EQ(axis.Minimum, 0.0);
    EXPECT_EQ(axis.Maximum, 1e-10);
  }
  // Dragging up-left undoes it.
  LeftDrag(chart, {220, 200}, {60, 60});
  Render(form);
  for (const TAxis& axis : {form.Chart1().BottomAxis(), form.Chart1().LeftAxis()}) {
    EXPECT_EQ(axis.Maximum, 0.0);
  }
  EXPECT_TRUE(form.Chart1().RangesRestored());
}

TEST_F(RadiationPatternTest, ZoomIntoTheLobeLastsUntilTheNextShow) {
  TRadiationPatternForm form(State);
  ShowAndWait(form);
  ChooseCircle(form, 0.9);
  QTest::mouseClick(form.rbtnInstantaneous, Qt::LeftButton);
  Tick(form, 5);
  Render(form);
  const TAxis shown = form.Chart1().BottomAxis();
  LeftDrag(&form.Chart1(), {150, 60}, {260, 180});
  Tick(form, 5);  // the ticks redraw the curve but leave the view alone
  Render(form);
  EXPECT_LT(form.Chart1().BottomAxis().Maximum - form.Chart1().BottomAxis().Minimum,
            0.5 * (shown.Maximum - shown.Minimum));
  form.hide();
  ShowAndWait(form);
  EXPECT_EQ(form.Chart1().BottomAxis().Maximum, shown.Maximum);
  EXPECT_EQ(form.Chart1().LeftAxis().Maximum, 1.0);
}

class PatternInMainWindowTest : public MainFormTest {};

TEST_F(PatternInMainWindowTest, FollowsTheTicksAndTheChosenTrajectory) {
  StartUp();
  Form->MnuPauseClick();
  Form->mnuShowPowerPatternClick();
  TRadiationPatternForm& pattern = *Form->RadiationPatternForm();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&pattern));
  EXPECT_TRUE(pattern.Series2().Points().empty());

  WhenModal([](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
  Form->MnuDipoleClick();
  ASSERT_EQ(State.TrajectoryMode, tmDipole);
  // The default dipole at 0.9: four lobes about the y axis, little along x.
  const auto radius = [&](int k) {
    const TSeriesPoint& p = pattern.Series2().Points()[static_cast<std::size_t>(k)];
    return std::hypot(p.X, p.Y);
  };
  ASSERT_EQ(pattern.Series2().Points().size(), 361u);
  EXPECT_LT(radius(0), 0.15);
  EXPECT_NEAR(radius(90 - 18), 0.9, 0.05);
  EXPECT_NEAR(radius(270 + 18), 0.9, 0.05);

  QTest::mouseClick(pattern.rbtnInstantaneous, Qt::LeftButton);
  Form->Timer1Timer();
  const QString before = pattern.LabelPower->text();
  for (int t = 0; t < 7; ++t) Form->Timer1Timer();
  EXPECT_NE(pattern.LabelPower->text(), before) << "the instantaneous pattern follows the ticks";

  WhenModal([](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
  Form->MnuCircleClick();
  QTest::mouseClick(pattern.rbtnAveraged, Qt::LeftButton);
  EXPECT_NEAR(radius(90), 0.9, 0.03) << "the circle's average replaced the dipole's";
}

}  // namespace
