// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part of the eye: its View item and panel, and the main plot's mouse as the
// eye takes it (put after Place, dragged by its marker).
#include "mainwindow/MainWindow.h"

#include <QDockWidget>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "app/GuardedCall.h"
#include "views/ObserverWindow.h"

namespace {

// The observer's column: wider than the others, as it holds two plots with their labels.
constexpr double ObserverDockShare = 0.34;
constexpr int ObserverDockMinWidth = 300;
constexpr int ObserverDockMaxWidth = 560;

}  // namespace

int TMainForm1::ObserverDockWidth() const {
  const int share = static_cast<int>(std::lround(width() * ObserverDockShare));
  return std::clamp(share, std::min(ObserverDockMinWidth, width() / 2), ObserverDockMaxWidth);
}

void TMainForm1::mnuObserverClick() {
  // From the settings in force rather than the mark, which a scene may have left behind.
  SetObserverShown(!Display().Observer.Shown);
}

void TMainForm1::SetObserverShown(bool shown) {
  TDisplaySettings display = Display();
  display.Observer.Shown = shown;
  if (TRefusal refusal = Commands.SetDisplay(display)) throw EError(refusal);
  ShowObserverState();
}

void TMainForm1::ShowObserverState() {
  const bool shown = Display().Observer.Shown;
  MainMenu1.SetChecked("mnuObserver", shown);
  if (!shown) DraggingEye = false;
  if (Observer) {
    if (!shown) Observer->SetPlacing(false);
    Observer->SettingsChanged();
  }
  if (ObserverPanel) {
    if (shown && ObserverPanel->isHidden()) ShowDock(*ObserverPanel);
    if (!shown && !ObserverPanel->isHidden()) ObserverPanel->hide();
  }
  // The eye's marker in the picture.
  Series1().RequestRedraw();
}

void TMainForm1::PlaceEyeAt(QPointF logical) {
  const QPoint device = Chart1->ToDevice(logical);
  Observer->MoveEye({Chart1->PixelToValueX(device.x()), Chart1->PixelToValueY(device.y())});
  Series1().RequestRedraw();
}

bool TMainForm1::ObserverMouse(QEvent& event) {
  const QEvent::Type type = event.type();
  if (!Observer || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                    type != QEvent::MouseButtonRelease))
    return false;
  auto& mouse = static_cast<QMouseEvent&>(event);
  const QPointF at = mouse.position();
  if (type == QEvent::MouseButtonPress) {
    if (mouse.button() != Qt::LeftButton) return false;
    if (Observer->Placing()) {
      // Put once: the next click is the plot's again. A refused place ends the waiting too.
      Observer->SetPlacing(false);
      Guarded([&] { PlaceEyeAt(at); });
      return true;
    }
    if (!Display().Observer.Shown) return false;
    // The charge's own marker keeps its drag where the two lie together.
    const QPoint device = Chart1->ToDevice(at);
    if (Series1().HitTestPoint(device.x(), device.y()) == 0) return false;
    const TVector2 place = Display().Observer.Place;
    const double ratio = Chart1->DevicePixelRatio();
    const QPointF eye(Chart1->ValueToPixelX(place.X) / ratio, Chart1->ValueToPixelY(place.Y) / ratio);
    if (std::hypot(at.x() - eye.x(), at.y() - eye.y()) > EyeGrabRadius) return false;
    DraggingEye = true;
    return true;
  }
  if (!DraggingEye) return false;
  if (type == QEvent::MouseButtonRelease) {
    if (mouse.button() != Qt::LeftButton) return true;
    DraggingEye = false;
  }
  // A refused place (dragged beyond the limits) ends the drag, so that one box is shown.
  if (!Guarded([&] { PlaceEyeAt(at); })) DraggingEye = false;
  return true;
}
