// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user drives it: start-up with the version window, dragging the
// charge, run, pause and single step, reset, the end-of-path rules, resizing and the picture.
#include <gtest/gtest.h>

#include <QAction>
#include <QDockWidget>
#include <QFont>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>
#include <cmath>
#include <functional>

#include "MainFormDriver.h"
#include "dialogs/SimSpeedCnt.h"
#include "engine/AnimationStep.h"
#include "engine/Trajectories.h"
#include "plot/RasterCanvas.h"
#include "support/Shades.h"
#include "views/ZoomView.h"

namespace {

std::uint32_t Pixel(TColor color) {
  return TRasterCanvas::PixelOf(color);
}

using MainWindowTest = MainFormTest;

TEST_F(MainWindowTest, IsCreatedWithItsComponentsAndARestingCharge) {
  EXPECT_EQ(Form->windowTitle(), "HalvoranRadiation");
  EXPECT_EQ(Form->SpeedRunButton->geometry(), QRect(2, 5, 22, 22));
  EXPECT_EQ(Form->SpeedPauseButton->geometry(), QRect(30, 5, 22, 22));
  EXPECT_EQ(Form->SpeedRunButton->toolTip(), "Run Simulation");
  EXPECT_EQ(Form->SpeedPauseButton->toolTip(), "Pause Simulation");
  EXPECT_TRUE(Form->SpeedRunButton->isChecked());
  EXPECT_FALSE(Form->SpeedPauseButton->isChecked());
  EXPECT_TRUE(Form->SpeedRunButton->autoRaise());
  EXPECT_EQ(Form->Chart1->objectName(), "Chart1");
  EXPECT_EQ(Form->Chart1->y(), 30);
  EXPECT_EQ(Form->Chart1->width(), Form->centralWidget()->width());
  EXPECT_EQ(Form->HalvoranLabLogo->text(), "Halvoran Radiation");
  // At the top right, clear of the caption at the top left; back at the left without it.
  EXPECT_EQ(Form->HalvoranLabLogo->geometry(),
            QRect(Form->Chart1->width() - 41 - 258, 59, 258, 33));
  Form->MainMenu1.Item("mnuShowCaption").trigger();
  EXPECT_EQ(Form->HalvoranLabLogo->geometry(), QRect(41, 59, 258, 33));
  Form->MainMenu1.Item("mnuShowCaption").trigger();
  EXPECT_TRUE(Form->HalvoranLabLogo->isVisibleTo(Form.get()));
  // A plot too narrow for both (docked windows beside it): the logo gives way to the caption.
  const QSize wide = Form->size();
  Form->showNormal();
  Form->resize(440, wide.height());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Chart1->width() < 480; }, 5000));
  EXPECT_FALSE(Form->HalvoranLabLogo->isVisibleTo(Form.get()));
  Form->resize(wide);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Chart1->width() == wide.width(); }, 5000));
  EXPECT_TRUE(Form->HalvoranLabLogo->isVisibleTo(Form.get()));
  EXPECT_TRUE(Form->HalvoranLabLogo->font().italic());
  EXPECT_EQ(Form->HalvoranLabLogo->font().pixelSize(), 21);
  EXPECT_TRUE(Form->Timer1->isActive());

  // The wave speed window has set its interval; the node table has the default size.
  EXPECT_EQ(State.TimerInterval, 1);
  EXPECT_EQ(State.FieldSimulation.Nodes.size(), 201u);
  EXPECT_EQ(State.FieldSimulation.Nodes[0].size(), 41u);
  ASSERT_EQ(Form->Series1().Points().size(), 1u);
  EXPECT_EQ(Form->Series1().Points()[0].X, 0.0);
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, 0.0);
  EXPECT_NEAR(Form->AspectRatio(),
              static_cast<double>(Form->Chart1->height()) / Form->Chart1->width(), 1e-15);
  EXPECT_EQ(Form->Chart1->BottomAxis().Minimum, -1.0);
  EXPECT_EQ(Form->Chart1->LeftAxis().Maximum, Form->AspectRatio());
}

// At 1.5 and 2 the run and pause glyphs are drawn at the screen's pixels, not a 16-pixel picture
// enlarged: the pause bars have no blurred edge.
TEST_F(MainWindowTest, TheSpeedButtonsGlyphsAreSharpAtFractionalRatios) {
  for (const double ratio : {1.25, 1.5, 2.0}) {
    for (QToolButton* button : {Form->SpeedRunButton, Form->SpeedPauseButton}) {
      const QSize size = button->iconSize();
      const QImage glyph =
          button->icon().pixmap(size, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
      EXPECT_EQ(glyph.size(), (QSizeF(size) * ratio).toSize())
          << button->objectName().toStdString() << " at " << ratio;
      if (button != Form->SpeedPauseButton) continue;
      int blended = 0;
      for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) {
          const QRgb pixel = glyph.pixel(x, y);
          if (qAlpha(pixel) != 0 && pixel != qRgb(40, 60, 170)) ++blended;
        }
      EXPECT_EQ(blended, 0) << "at " << ratio;
    }
  }
}

TEST_F(MainWindowTest, TheVersionWindowAcceptedShowsTheMainWindowInMouseMode) {
  State.TrajectoryMode = tmCircle;
  WhenModal([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
  ASSERT_TRUE(Form->FormShow());
  EXPECT_TRUE(Form->isVisible());
  EXPECT_TRUE(Form->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(State.TrajectoryMode, tmMouse);
  EXPECT_TRUE(Form->MainMenu1.IsChecked("MnuByMouse"));
}

TEST_F(MainWindowTest, TheVersionWindowDeclinedLeavesTheMainWindowHidden) {
  WhenModal([](QWidget& dialog) { dialog.close(); });
  EXPECT_FALSE(Form->FormShow());
  EXPECT_FALSE(Form->isVisible());
}

// At start-up a stray Esc must not end the program: the greeting stays until OK or its close box.
TEST_F(MainWindowTest, EscAtTheVersionWindowDoesNothing) {
  bool stayedOpen = false;
  WhenModal([&stayedOpen](QWidget& dialog) {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCoreApplication::processEvents();
    stayedOpen = dialog.isVisible();
    ClickButton(dialog, "OKBtn");
  });
  ASSERT_TRUE(Form->FormShow());
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(Form->isVisible());
}

TEST_F(MainWindowTest, TheDraggedChargeFollowsTheCursorNoFasterThanTheWave) {
  StartUp();
  Form->MnuPauseClick();
  Redraw();
  const QPoint marker = PixelOf(0.0, 0.0);
  QPoint cursor = marker + QPoint(300, 0);
  Form->CursorSource = [&cursor] { return cursor; };

  QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, marker);
  EXPECT_TRUE(Form->Dragging);
  // Far from the cursor: 0.99 of the wave speed (0.01 per tick) each tick.
  for (int tick = 0; tick < 10; ++tick) Form->Timer1Timer();
  // The cursor's row lies up to half a pixel off the axis, so the path bends by a hair.
  const double pixel = 2.0 / Form->Chart1->width();
  EXPECT_NEAR(VectorLength(State.FieldSimulation.ChargePos), 10 * 0.0099, 1e-9);
  EXPECT_NEAR(State.FieldSimulation.ChargePos.Y, 0.0, pixel);
  EXPECT_EQ(Form->Series1().Points()[0].X, State.FieldSimulation.ChargePos.X);

  // Close to it: a fifth of the gap per tick.
  cursor = PixelOf(State.FieldSimulation.ChargePos.X, 0.0) + QPoint(3, 0);
  const double target = Form->Chart1->PixelToValueX(cursor.x());
  const double gap = target - State.FieldSimulation.ChargePos.X;
  Form->Timer1Timer();
  EXPECT_NEAR(target - State.FieldSimulation.ChargePos.X, 0.8 * gap, 1e-12);

  QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, cursor);
  EXPECT_FALSE(Form->Dragging);
  const double releasedAt = State.FieldSimulation.ChargePos.X;
  cursor = marker + QPoint(-300, 0);
  for (int tick = 0; tick < 5; ++tick) Form->Timer1Timer();
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, releasedAt);
  EXPECT_NEAR(State.FieldSimulation.Beta, 0.0, 1e-12);
}

// At 1.5 or 2 a logical pixel is not a whole number of device pixels: the pointer's fractions
// decide the device pixel it lies in, and the dragged charge comes to rest in that one.
TEST_F(MainWindowTest, TheDraggedChargeComesToRestInThePixelUnderThePointer) {
  struct Row {
    double ratio;
    QPointF offset;  // from the press, in logical pixels
  };
  const Row rows[] = {
      {1.5, {9.0 + 2.0 / 3.0, 5.0 + 2.0 / 3.0}},
      {1.5, {-(6.0 + 1.0 / 3.0), 7.0 + 1.0 / 3.0}},
      {2.0, {8.5, -4.5}},
      {2.0, {-3.5, 6.5}},
  };
  StartUp();
  Form->MnuPauseClick();
  for (const Row& row : rows) {
    Form->MnuResetClick();
    Form->Chart1->SetDevicePixelRatio(row.ratio);
    Redraw();
    const QPoint press = (QPointF(PixelOf(0.0, 0.0)) / row.ratio).toPoint();
    QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, press);
    ASSERT_TRUE(Form->Dragging) << row.ratio;
    const QPointF pointer = QPointF(press) + row.offset;
    // As the window system delivers it: the widget's position rounded, the window's exact.
    const QPointF scene = pointer + QPointF(Form->Chart1->mapTo(Form.get(), QPoint(0, 0)));
    QMouseEvent move(QEvent::MouseMove, pointer.toPoint(), scene, Form->mapToGlobal(scene),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form->Chart1, &move);
    for (int tick = 0; tick < 150; ++tick) Form->Timer1Timer();
    const QPoint under(static_cast<int>(std::floor(pointer.x() * row.ratio)),
                       static_cast<int>(std::floor(pointer.y() * row.ratio)));
    EXPECT_EQ(PixelOf(State.FieldSimulation.ChargePos.X, State.FieldSimulation.ChargePos.Y), under)
        << row.ratio << " at " << pointer.x() << ", " << pointer.y();
    QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, pointer.toPoint());
    EXPECT_FALSE(Form->Dragging);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(MainWindowTest, APressAwayFromTheMarkerGrabsNothing) {
  StartUp();
  Form->MnuPauseClick();
  Redraw();
  const QPoint away = PixelOf(0.0, 0.0) + QPoint(40, 40);
  Form->CursorSource = [away] { return away; };
  QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, away);
  EXPECT_FALSE(Form->Dragging);
  for (int tick = 0; tick < 5; ++tick) Form->Timer1Timer();
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, 0.0);
  QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, away);
}

TEST_F(MainWindowTest, ThePauseButtonStepsOneTickAtATime) {
  StartUp();
  Form->MainMenu1.Item("MnuPause").trigger();
  EXPECT_FALSE(Form->Timer1->isActive());
  EXPECT_TRUE(Form->SpeedPauseButton->isChecked());
  EXPECT_FALSE(Form->StepPending());  // setting the button down by code clicks nothing

  const int start = State.FrameIndex;
  for (int step = 1; step <= 3; ++step) {
    QTest::mouseClick(Form->SpeedPauseButton, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !Form->Timer1->isActive(); }));
    EXPECT_EQ(State.FrameIndex, start + step);
  }
  // Run from the menu keeps the single step: one more tick, then stopped again.
  Form->MainMenu1.Item("MnuRun").trigger();
  EXPECT_TRUE(Form->SpeedRunButton->isChecked());
  ASSERT_TRUE(WaitFor([&] { return !Form->Timer1->isActive(); }));
  EXPECT_EQ(State.FrameIndex, start + 4);

  // Only the run button runs on.
  QTest::mouseClick(Form->SpeedRunButton, Qt::LeftButton);
  EXPECT_FALSE(Form->StepPending());
  ASSERT_TRUE(WaitFor([&] { return State.FrameIndex >= start + 10; }));
  EXPECT_TRUE(Form->Timer1->isActive());
  EXPECT_FALSE(Form->SpeedPauseButton->isChecked());
}

TEST_F(MainWindowTest, EveryTickIsPaintedAndNoneComesFasterThanTheScreen) {
  struct Row {
    int timerInterval;
    int expected;
  };
  const int frame = Form->FrameIntervalMs();
  const Row rows[] = {{1, frame}, {21, std::max(21, frame)}, {181, 181}};
  for (const Row& row : rows) {
    State.TimerInterval = row.timerInterval;
    EXPECT_EQ(Form->EffectiveIntervalMs(), row.expected);
  }
  State.TimerInterval = 1;

  StartUp();
  int paints = 0;
  const auto shown = Form->Chart1->OnRedrawn;
  Form->Chart1->OnRedrawn = [&paints, shown](TPlotSurface& sender) {
    ++paints;
    shown(sender);
  };
  const int start = State.FrameIndex;
  paints = 0;
  ASSERT_TRUE(WaitFor([&] { return State.FrameIndex >= start + 20; }));
  // A tick waits for the picture of the one before it.
  EXPECT_LE(State.FrameIndex - start, paints + 1);
  EXPECT_EQ(Form->Timer1->interval(), frame);
}

TEST_F(MainWindowTest, ResetPutsTheChargeBackAtRest) {
  Form->MnuPauseClick();
  Redraw();
  Form->Dragging = true;
  Form->CursorSource = [] { return QPoint(5000, 0); };
  for (int tick = 0; tick < 5; ++tick) Form->Timer1Timer();
  ASSERT_GT(std::abs(State.FieldSimulation.ChargePos.X), 0.0);
  Form->Dragging = false;

  Form->MainMenu1.Item("MnuReset").trigger();
  EXPECT_EQ(State.FrameIndex, 0);
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, 0.0);
  EXPECT_EQ(State.FieldSimulation.ChargePos.Y, 0.0);
  EXPECT_EQ(Form->Series1().Points()[0].X, 0.0);
  EXPECT_FALSE(Form->Timer1->isActive());  // a reset does not touch the timer
}

TEST_F(MainWindowTest, TheLineStopsAndTheUndulatorRestartsRunning) {
  Form->MnuPauseClick();
  TFieldSimulation& field = State.FieldSimulation;
  const auto choose = [&](int mode) {
    ASSERT_FALSE(Form->Simulation().ChooseTrajectory(mode, State.Trajectory));
    Form->MnuResetClick();
  };
  const auto& samples = State.PathGeneration.Path.Samples;

  choose(tmStraightLine);
  const int last = State.PathGeneration.Path.SampleCount - 2;
  for (int tick = 0; tick < last + 3; ++tick) Form->Timer1Timer();
  EXPECT_EQ(State.FrameIndex, last);
  EXPECT_EQ(field.Beta, 0.0);
  EXPECT_EQ(Form->Series1().Points()[0].X, samples[static_cast<std::size_t>(last)].X);

  choose(tmUndulator);
  Form->MnuRunClick();
  State.FrameIndex = State.PathGeneration.Path.SampleCount - 2;
  Form->Timer1Timer();
  // Restarted, and on to the sample after the start, as every tick after a reset.
  EXPECT_EQ(State.FrameIndex, 1);
  EXPECT_TRUE(Form->Timer1->isActive());
  EXPECT_TRUE(Form->SpeedRunButton->isChecked());
  EXPECT_EQ(field.ChargePos.X, samples[1].X);
  EXPECT_NEAR(field.Nodes[1][0].EmitX, samples[0].X, 1e-12);
  Form->MnuPauseClick();
}

TEST_F(MainWindowTest, APlotWithNoSizeKeepsTheLastAspectRatio) {
  StartUp();
  const double before = Form->AspectRatio();
  Form->centralWidget()->resize(0, 0);
  EXPECT_EQ(Form->AspectRatio(), before);
  Form->centralWidget()->resize(400, 10);
  EXPECT_EQ(Form->AspectRatio(), before);
  EXPECT_TRUE(std::isfinite(Form->Chart1->LeftAxis().Minimum));
  Form->centralWidget()->resize(400, 230);
  EXPECT_EQ(Form->AspectRatio(), 0.5);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

// A plot that is never painted (no area left, or the window hidden) must not hold the ticks back,
// and the magnified view must go on following the charge.
TEST_F(MainWindowTest, AnUnpaintedPlotHoldsNeitherTheTicksNorTheMagnifiedView) {
  const struct {
    const char* Name;
    std::function<void(TMainForm1&)> Hide;
  } rows[] = {
      {"no height", [](TMainForm1& form) { form.centralWidget()->resize(400, 10); }},
      {"no width", [](TMainForm1& form) { form.centralWidget()->resize(0, 300); }},
      // The view floated out of its dock, a window of its own that stays up.
      {"window hidden",
       [](TMainForm1& form) {
         form.ZoomDock()->setFloating(true);
         form.hide();
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Form = std::make_unique<TMainForm1>(State);
    StartUp();
    Form->mnuShowZoomClick();
    TZoomViewForm& zoom = *Form->ZoomViewForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&zoom));
    int zoomPictures = 0;
    zoom.Chart1().OnRedrawn = [&zoomPictures](TPlotSurface&) { ++zoomPictures; };

    row.Hide(*Form);
    QCoreApplication::processEvents();
    const int start = State.FrameIndex;
    zoomPictures = 0;
    EXPECT_TRUE(WaitFor([&] { return State.FrameIndex >= start + 10 && zoomPictures >= 5; }))
        << "ticks " << State.FrameIndex - start << ", magnified pictures " << zoomPictures;
    EXPECT_TRUE(Form->SpeedRunButton->isChecked());
    zoom.Chart1().OnRedrawn = nullptr;
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(MainWindowTest, ARefusedRangeOnResizeIsShownAndTheRangesStay) {
  StartUp();
  // As after panning the view far down.
  Form->Chart1->SetAxisRange(TPlotSurface::TAxisId::Left, -100.0, -90.0);
  Form->centralWidget()->resize(500, 400);
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_EQ(Shown[0], "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(Form->Chart1->LeftAxis().Minimum, -100.0);
  EXPECT_EQ(Form->Chart1->LeftAxis().Maximum, -90.0);
  EXPECT_TRUE(Form->Timer1->isActive());
}

TEST_F(MainWindowTest, AZoomRectangleKeepsEqualScalesAboutItsVerticalCentre) {
  StartUp();
  Form->MnuPauseClick();
  Redraw();
  // A tall, narrow rectangle to the right of the charge, dragged right and down.
  const QPoint from = PixelOf(0.2, 0.3);
  const QPoint to = PixelOf(0.4, -0.1);
  const double top = Form->Chart1->PixelToValueY(from.y());
  const double bottom = Form->Chart1->PixelToValueY(to.y());
  QTest::mousePress(Form->Chart1, Qt::LeftButton, {}, from);
  QTest::mouseMove(Form->Chart1, to);
  QTest::mouseRelease(Form->Chart1, Qt::LeftButton, {}, to);

  const TAxis& horizontal = Form->Chart1->BottomAxis();
  const TAxis& vertical = Form->Chart1->LeftAxis();
  EXPECT_NEAR(horizontal.Minimum, Form->Chart1->PixelToValueX(from.x()), 1e-12);
  const double span = (horizontal.Maximum - horizontal.Minimum) * Form->AspectRatio();
  EXPECT_NEAR(vertical.Maximum - vertical.Minimum, span, 1e-12);
  EXPECT_NEAR((vertical.Maximum + vertical.Minimum) / 2, (top + bottom) / 2, 1e-12);
}

TEST_F(MainWindowTest, ThePictureShowsTheFieldTheDiscAndTheChosenExtras) {
  StartUp();
  Form->MnuPauseClick();
  Redraw();
  const QImage& picture = Form->Chart1->Buffer();
  const QPoint centre = PixelOf(0.0, 0.0);
  EXPECT_EQ(picture.pixel(centre), Pixel(ChargeDiscBrush));
  EXPECT_EQ(picture.pixel(centre + QPoint(100, 0)), Pixel(FieldLineColor));

  // Field lines off: the disc goes, the series marker (its own fill) stays.
  Form->MainMenu1.Item("mnuPlotEFieldLines").trigger();
  EXPECT_FALSE(Form->Display().ShowFieldLines);
  Redraw();
  EXPECT_EQ(Form->Chart1->Buffer().pixel(centre), Pixel(ColorRGB(255, 0, 128)));
  EXPECT_NE(Form->Chart1->Buffer().pixel(centre + QPoint(100, 0)), Pixel(FieldLineColor));

  // Wavefronts on: the marked row 5 is a circle of 5 ticks x 0.01.
  // Wavefronts on: after a reset every fifth row is marked, so row 20 is a circle of radius 0.2.
  Form->MainMenu1.Item("mnuPlotWaveFront").trigger();
  Form->MnuResetClick();
  Redraw();
  const int radius = PixelOf(0.2, 0.0).x() - centre.x();
  // Smooth lines: a shade of the colour at about half its strength or more, within a pixel.
  const auto colourNear = [&](QPoint p, TColor colour) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (IsShadeOf(Form->Chart1->Buffer().pixel(p + QPoint(dx, dy)), colour)) return true;
    return false;
  };
  EXPECT_TRUE(colourNear(centre + QPoint(0, -radius), WaveFrontColor));
  EXPECT_TRUE(colourNear(centre + QPoint(-radius, 0), WaveFrontColor));

  // The trajectory is drawn outside mouse mode only.
  TFieldSimulation& field = State.FieldSimulation;
  BuildTrajectory(State.PathGeneration, tmCircle, State.Trajectory, field.WaveVelocity);
  Redraw();
  const QPoint onCircle = PixelOf(0.0, State.PathGeneration.Path.Samples[34].Y);
  // Yellow over whatever was there (here the wavefront it crosses): red and green strong, blue
  // weak.
  const auto yellowNear = [&](QPoint p) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QRgb c = Form->Chart1->Buffer().pixel(p + QPoint(dx, dy));
        if (qRed(c) >= 150 && qGreen(c) >= 150 && qBlue(c) < 80) return true;
      }
    return false;
  };
  EXPECT_FALSE(yellowNear(onCircle));
  State.TrajectoryMode = tmCircle;
  Redraw();
  EXPECT_TRUE(yellowNear(onCircle));
}

}  // namespace
