// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom view as the user sees it: placement, the magnification buttons and their caption, a
// picture centred on the charge, and the setup dialog's tracking mode.
#include "views/ZoomView.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "dialogs/ModalResult.h"
#include "engine/SimulationCommands.h"
#include "engine/Trajectories.h"
#include "render/FieldDrawing.h"
#include "app/GuardedCall.h"
#include "plot/RasterCanvas.h"
#include "support/ErrorRecordingTest.h"
#include "views/ZoomViewSetup.h"

namespace {

bool HasColor(const QImage& image, int x, int y, TColor color) {
  if (!image.rect().contains(x, y)) return false;
  return (image.pixel(x, y) | 0xFF000000u) == TRasterCanvas::PixelOf(color);
}

// Inside the surface's border, whose bevel has light pixels of its own.
int CountColor(const QImage& image, TColor color) {
  constexpr int Border = 4;
  int count = 0;
  for (int y = Border; y < image.height() - Border; ++y) {
    for (int x = Border; x < image.width() - Border; ++x) {
      count += HasColor(image, x, y, color) ? 1 : 0;
    }
  }
  return count;
}

// A field line may be crossed by a wavefront, which is drawn over it.
bool FieldPictureNear(const QImage& image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (HasColor(image, x + dx, y + dy, FieldLineColor) ||
          HasColor(image, x + dx, y + dy, WaveFrontColor)) {
        return true;
      }
    }
  }
  return false;
}

int CountDifferentPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return count;
}

// Sends a mouse event the way the window system would (QTest's moves carry no buttons here).
void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void RightDrag(QWidget* widget, QPoint from, QPoint to) {
  SendMouse(widget, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
  SendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::RightButton);
  SendMouse(widget, QEvent::MouseButtonRelease, to, Qt::RightButton, Qt::NoButton);
}

// Runs action once the modal dialog is up (the dialog's own loop is running then).
void WhenModal(std::function<void(QWidget*)> action) {
  QTimer::singleShot(10, [action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      WhenModal(action);
      return;
    }
    action(modal);
  });
}

void ClickRadio(QRadioButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
}

class ZoomViewTest : public ErrorRecordingTest {
 protected:
  void SetUp() override {
    ErrorRecordingTest::SetUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    State.FieldSimulation.InitNodes(State.ISize, State.JSize, ModelWidth);
    PutChargeAt({0.0, 0.0});
  }
  void TearDown() override {
    QLocale::setDefault(QLocale::c());
    ErrorRecordingTest::TearDown();
  }

  // The field of a charge at rest at position.
  void PutChargeAt(TVector2 position) {
    State.FieldSimulation.ResetNodes(State.ISize, State.JSize, position, {0.0, 0.0}, ModelWidth,
                                     State.WaveFrontSpacing);
  }

  static void ShowAndWait(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  static QImage Render(TZoomViewForm& view) {
    view.RequestChartRedraw();
    view.Chart1().repaint();
    QCoreApplication::processEvents();
    return view.Chart1().Buffer().copy();
  }

  static QPoint ViewCentre(TZoomViewForm& view) {
    return {view.Chart1().ValueToPixelX(0.0), view.Chart1().ValueToPixelY(0.0)};
  }

  static QRect BottomLeftSixth(const QWidget& window) {
    const QRect screen = window.screen()->geometry();
    return {screen.left(), screen.top() + screen.height() - screen.height() / 3,
            screen.width() / 2, screen.height() / 3};
  }

  static void ExpectRangesFor(TZoomViewForm& view, double scale) {
    // The ranges are computed from the same integers and the same division.
    const double aspect = static_cast<double>(view.Chart1().height()) / view.Chart1().width();
    EXPECT_DOUBLE_EQ(view.Chart1().BottomAxis().Minimum, -1.0 / scale);
    EXPECT_DOUBLE_EQ(view.Chart1().BottomAxis().Maximum, 1.0 / scale);
    EXPECT_DOUBLE_EQ(view.Chart1().LeftAxis().Minimum, -aspect / scale);
    EXPECT_DOUBLE_EQ(view.Chart1().LeftAxis().Maximum, aspect / scale);
  }

  TSimulationState State;

  TDisplaySettings Display;

  TSimulationCommands Commands{State, Display};
};

TEST_F(ZoomViewTest, EveryShowPlacesItInTheBottomLeftSixthOfTheScreen) {
  TZoomViewForm view(Commands);
  EXPECT_EQ(view.windowTitle(), QStringLiteral("Zooming View"));
  ShowAndWait(view);
  const QRect expected = BottomLeftSixth(view);
  EXPECT_EQ(view.frameGeometry(), expected);
  EXPECT_EQ(view.Chart1().geometry(), QRect(0, 34, view.width(), view.height() - 34));

  // The user moves and shrinks it, closes it with the close box and opens it again.
  view.move(expected.left() + 120, expected.top() - 200);
  view.resize(300, 150);
  view.close();
  EXPECT_FALSE(view.isVisible());
  ShowAndWait(view);
  EXPECT_EQ(view.frameGeometry(), expected);
  EXPECT_EQ(view.Chart1().geometry(), QRect(0, 34, view.width(), view.height() - 34));
  ExpectRangesFor(view, 16.0);
}

TEST_F(ZoomViewTest, ScaleButtonsMultiplyByTheirFactorAndShowTheRoundedScale) {
  struct Row {
    const char* presses;
    double scale;
    const char* caption;
  };
  const Row rows[] = {
      {"", 16.0, "x 16.00"},
      {"+", 16.0 * 1.414, "x 22.62"},
      {"-", 16.0 / 1.414, "x 11.32"},
      {"+-", 16.0, "x 16.00"},
      {"++++", 16.0 * 1.414 * 1.414 * 1.414 * 1.414, "x 63.96"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.presses);
    Display.Zoom.Scale = 16.0;
    TZoomViewForm view(Commands);
    EXPECT_EQ(view.Label1->text(), QStringLiteral("x 16.0"));  // until the first show
    ShowAndWait(view);
    for (const char* c = row.presses; *c != '\0'; ++c) {
      QTest::mouseClick(*c == '+' ? view.btnZoomIn : view.btnZoomOut, Qt::LeftButton);
    }
    // "+" then "-" may differ from 16 in the last bit, not more.
    EXPECT_NEAR(Display.Zoom.Scale, row.scale, 1e-12 * row.scale);
    EXPECT_EQ(view.Label1->text(), QString::fromLatin1(row.caption));
    ExpectRangesFor(view, Display.Zoom.Scale);
    EXPECT_TRUE(Shown.isEmpty());
  }
}

TEST_F(ZoomViewTest, CaptionRoundsToFourSignificantDigits) {
  const struct {
    double scale;
    const char* caption;
  } rows[] = {
      {16.0, "x 16.00"},     {22.624, "x 22.62"}, {11.3154, "x 11.32"},
      {127.888, "x 127.90"}, {9999.0, "x 9999.00"}, {0.5, "x 0.50"},
      {12345.6, "x 1.235E+04"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TZoomViewForm::ScaleCaption(row.scale), QString::fromLatin1(row.caption))
        << row.scale;
  }
}

TEST_F(ZoomViewTest, ResizeRefitsTheRangesAndLeavesTheCaption) {
  TZoomViewForm view(Commands);
  ShowAndWait(view);
  QTest::mouseClick(view.btnZoomIn, Qt::LeftButton);
  ASSERT_EQ(view.Label1->text(), QStringLiteral("x 22.62"));

  // A scale the caption has not seen yet: the resize applies it but writes no caption.
  Display.Zoom.Scale = 20.0;
  view.resize(600, 434);
  QCoreApplication::processEvents();
  EXPECT_EQ(view.Chart1().size(), QSize(600, 400));
  ExpectRangesFor(view, 20.0);
  EXPECT_EQ(view.Label1->text(), QStringLiteral("x 22.62"));
}

TEST_F(ZoomViewTest, PictureIsCentredOnTheChargeWhereverItIs) {
  TZoomViewForm view(Commands);
  ShowAndWait(view);
  PutChargeAt({0.0, 0.0});
  const QImage atOrigin = Render(view);

  for (const TVector2 position : {TVector2{0.3, -0.2}, TVector2{-0.71, 0.43}}) {
    SCOPED_TRACE(testing::Message() << position.X << ", " << position.Y);
    PutChargeAt(position);
    const QImage picture = Render(view);
    const QPoint centre = ViewCentre(view);

    // Blue disc with red outline, box of +-5 pixels around the centre.
    EXPECT_TRUE(HasColor(picture, centre.x(), centre.y(), ChargeDiscBrush));
    EXPECT_TRUE(HasColor(picture, centre.x() - 5, centre.y(), ChargeDiscPen));
    EXPECT_TRUE(HasColor(picture, centre.x(), centre.y() - 5, ChargeDiscPen));

    // Every field line leaves the disc along its own direction and crosses the view.
    const double pixelsPerUnit = view.Chart1().width() / (2.0 / Display.Zoom.Scale);
    for (int i = 0; i < State.JSize; ++i) {
      const double angle = State.FieldSimulation.Nodes[1][i].Angle;
      for (const double radius : {10.0, 40.0, 70.0}) {
        const int x = centre.x() + static_cast<int>(std::lround(radius * std::cos(angle)));
        const int y = centre.y() - static_cast<int>(std::lround(radius * std::sin(angle)));
        if (!picture.rect().adjusted(2, 2, -2, -2).contains(x, y)) continue;
        EXPECT_TRUE(FieldPictureNear(picture, x, y))
            << "line " << i << " at " << radius << " px (" << radius / pixelsPerUnit
            << " model units)";
      }
    }

    // The same picture as with the charge at the origin, but for the few pixels where shifted
    // coordinates round to the other side of a half pixel.
    EXPECT_LT(CountDifferentPixels(picture, atOrigin), picture.width() * picture.height() / 500);
  }
}

TEST_F(ZoomViewTest, TailSegmentsStayAttachedToTheirLines) {
  // Far enough out that the whole node table and the start of every tail are in the view.
  Display.Zoom.Scale = 0.25;
  TZoomViewForm view(Commands);
  ShowAndWait(view);
  PutChargeAt({0.3, -0.2});
  const QImage picture = Render(view);
  const QPoint centre = ViewCentre(view);
  const double lastRowPixels =
      State.FieldSimulation.Nodes[State.ISize - 1][0].Radius * view.Chart1().width() /
      (2.0 / Display.Zoom.Scale);
  ASSERT_LT(lastRowPixels + 10.0, view.Chart1().width() / 2.0);

  // Walk out along each line that stays inside the view past its last row: no pixel of the walk
  // is without the line, neither before the last row nor after it on the tail.
  for (int i = 0; i < State.JSize; ++i) {
    const double angle = State.FieldSimulation.Nodes[1][i].Angle;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (double r = 8.0;; r += 1.0) {
      const int x = centre.x() + static_cast<int>(std::lround(r * c));
      const int y = centre.y() - static_cast<int>(std::lround(r * s));
      if (!picture.rect().adjusted(2, 2, -2, -2).contains(x, y)) break;
      if (!FieldPictureNear(picture, x, y)) {
        ADD_FAILURE() << "line " << i << " has a gap at " << r << " px (last row at "
                      << lastRowPixels << " px)";
        break;
      }
    }
  }
}

TEST_F(ZoomViewTest, DrawsBothPlotsWhateverTheMainWindowShows) {
  // A circle run close enough to be in the view if it were drawn; node points would be white.
  Display.Zoom.Scale = 2.0;
  ASSERT_FALSE(Commands.ChooseTrajectory(tmCircle, State.Trajectory));
  TZoomViewForm view(Commands);
  ShowAndWait(view);

  struct Row {
    bool on;
    int tracking;
  };
  std::vector<QImage> pictures;
  for (const Row row : {Row{false, 1}, Row{true, 0}, Row{false, 2}}) {
    Display.ShowFieldLines = row.on;
    Display.ShowWaveFronts = row.on;
    Display.ShowNodePoints = row.on;
    Display.Zoom.Tracking = row.tracking;
    pictures.push_back(Render(view));
  }
  const QImage& picture = pictures.front();
  EXPECT_GT(CountColor(picture, FieldLineColor), 500);
  EXPECT_GT(CountColor(picture, WaveFrontColor), 500);
  EXPECT_EQ(CountColor(picture, NodePointColor), 0);
  EXPECT_EQ(CountColor(picture, TrajectoryColor), 0);
  EXPECT_EQ(pictures[1], picture);
  EXPECT_EQ(pictures[2], picture);
}

TEST_F(ZoomViewTest, RefusedRangeAfterAFarPanShowsItsMessage) {
  TZoomViewForm view(Commands);
  ShowAndWait(view);
  QWidget* chart = &view.Chart1();
  const int bottom = chart->height() - 3;
  // Two upward drags of nearly the full height move the range below -aspect / scale.
  RightDrag(chart, {100, bottom}, {100, 3});
  RightDrag(chart, {100, bottom}, {100, 3});
  const double aspect = static_cast<double>(chart->height()) / chart->width();
  const TAxis panned = view.Chart1().LeftAxis();
  ASSERT_LT(panned.Maximum, -aspect / 16.0);

  QTest::mouseClick(view.btnZoomIn, Qt::LeftButton);
  EXPECT_EQ(Shown, QStringList{QStringLiteral("Axis Minimum Value must be <= Maximum")});
  EXPECT_EQ(view.Label1->text(), QStringLiteral("x 22.62"));
  EXPECT_DOUBLE_EQ(Display.Zoom.Scale, 16.0 * 1.414);
  EXPECT_EQ(view.Chart1().LeftAxis().Minimum, panned.Minimum);
  EXPECT_EQ(view.Chart1().LeftAxis().Maximum, panned.Maximum);

  // Showing the moved and resized window again re-frames it once: one message, not one for the
  // placement's resize and another for the show.
  view.move(200, 100);
  view.resize(300, 200);
  QCoreApplication::processEvents();
  Shown.clear();
  view.close();
  ShowAndWait(view);
  QCoreApplication::processEvents();
  EXPECT_EQ(Shown, QStringList{QStringLiteral("Axis Minimum Value must be <= Maximum")});
}

TEST_F(ZoomViewTest, ScaleStaysFiniteHoweverOftenAButtonIsPressed) {
  TZoomViewForm view(Commands);
  ShowAndWait(view);
  for (int press = 0; press < 2100; ++press) view.btnZoomOutClick();
  EXPECT_GE(Display.Zoom.Scale, MinZoomScale);
  EXPECT_TRUE(std::isfinite(view.Chart1().BottomAxis().Maximum));
  for (int press = 0; press < 4200; ++press) view.btnZoomInClick();
  EXPECT_LE(Display.Zoom.Scale, MaxZoomScale);
  EXPECT_GT(view.Chart1().BottomAxis().Maximum, 0.0);
  Render(view);
  EXPECT_TRUE(Shown.isEmpty());
}

class ZoomViewSetupTest : public ZoomViewTest {};

TEST_F(ZoomViewSetupTest, ShowSelectsTheStoredModeAndLeavesUnknownOnes) {
  TZoomViewSetupDlg dlg(Commands);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Zoom View Setup Dialog"));
  EXPECT_EQ(dlg.size(), QSize(499, 171));
  const struct {
    int tracking;
    QRadioButton* selected;
  } rows[] = {
      {1, dlg.rbtnTrackParticle}, {0, dlg.rbtnTrackOFF},   {2, dlg.rbtnTrackInitialVel},
      {7, dlg.rbtnTrackInitialVel}, {-1, dlg.rbtnTrackInitialVel},
  };
  for (const auto& row : rows) {
    Display.Zoom.Tracking = row.tracking;
    dlg.show();
    EXPECT_TRUE(row.selected->isChecked()) << row.tracking;
    dlg.hide();
  }
}

TEST_F(ZoomViewSetupTest, OkStoresTheModeAndConfirmsItCancelStoresNothing) {
  enum class Close { OkButton, Enter, CancelButton, Escape, CloseBox };
  const struct {
    const char* name;
    int pick;  // 0 off, 2 initial velocity
    Close close;
    int result;
    int tracking;
    QStringList messages;
  } rows[] = {
      {"OFF + OK", 0, Close::OkButton, mrOk, 0, {QStringLiteral("0")}},
      {"initial velocity + Enter", 2, Close::Enter, mrOk, 2, {QStringLiteral("2")}},
      {"OFF + Cancel", 0, Close::CancelButton, mrCancel, 1, {}},
      {"OFF + Esc", 0, Close::Escape, mrCancel, 1, {}},
      {"initial velocity + close box", 2, Close::CloseBox, mrCancel, 1, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Display.Zoom.Tracking = 1;
    TZoomViewSetupDlg dlg(Commands);
    QStringList messages;
    dlg.ShowMessage = [&](const QString& text) { messages << text; };
    bool startedOnParticle = false;
    WhenModal([&](QWidget*) {
      startedOnParticle = dlg.rbtnTrackParticle->isChecked();
      ClickRadio(row.pick == 0 ? dlg.rbtnTrackOFF : dlg.rbtnTrackInitialVel);
      switch (row.close) {
        case Close::OkButton:
          QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
          break;
        case Close::Enter:
          QTest::keyClick(&dlg, Qt::Key_Return);
          break;
        case Close::CancelButton:
          QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
          break;
        case Close::Escape:
          QTest::keyClick(&dlg, Qt::Key_Escape);
          break;
        case Close::CloseBox:
          dlg.close();
          break;
      }
    });
    EXPECT_EQ(dlg.ShowModal(), row.result);
    EXPECT_TRUE(startedOnParticle);
    EXPECT_EQ(Display.Zoom.Tracking, row.tracking);
    EXPECT_EQ(messages, row.messages);
  }
}

TEST_F(ZoomViewSetupTest, SetupButtonOpensTheDialogModally) {
  TZoomViewForm view(Commands);
  ShowAndWait(view);
  TZoomViewSetupDlg& dlg = view.ZoomViewSetupDlg();
  QStringList messages;
  dlg.ShowMessage = [&](const QString& text) { messages << text; };
  QWidget* shown = nullptr;
  WhenModal([&](QWidget* modal) {
    shown = modal;
    ClickRadio(dlg.rbtnTrackOFF);
    QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
  });
  QTest::mouseClick(view.btnSetup, Qt::LeftButton);
  EXPECT_EQ(shown, &dlg);
  EXPECT_EQ(Display.Zoom.Tracking, 0);
  EXPECT_EQ(messages, QStringList{QStringLiteral("0")});
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_TRUE(view.isVisible());
}

}  // namespace
