// Placing the auxiliary windows by their outer rectangle.
#include "views/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

QRect ScreenGeometryOf(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect();
}

QSize FrameExtraOf(const QWidget& window) {
  if (!window.isWindow()) return {};
  const QSize extra = window.frameGeometry().size() - window.geometry().size();
  return {std::max(0, extra.width()), std::max(0, extra.height())};
}

QSize PlaceWindowOuter(QWidget& window, const QRect& outer) {
  const QSize extra = FrameExtraOf(window);
  // A top-level window's position is that of its frame; its size is that of the client.
  window.move(outer.topLeft());
  window.resize(std::max(1, outer.width() - extra.width()),
                std::max(1, outer.height() - extra.height()));
  return extra;
}

void FitWindowInto(QWidget& window, const QRect& area) {
  // Room for the title bar and the frame that the window system adds.
  constexpr int FrameRoom = 48;
  const QSize room(area.width() - FrameRoom / 4, area.height() - FrameRoom);
  // A window never resized yet takes its size hint when it is first shown.
  const QSize wanted = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
  if (wanted.width() <= room.width() && wanted.height() <= room.height()) return;
  const QSize fits = wanted.boundedTo(room).expandedTo(window.minimumSizeHint()).expandedTo({1, 1});
  window.resize(fits);
  const QPoint centred = area.center() - QPoint(fits.width() / 2, fits.height() / 2);
  window.move(std::max(centred.x(), area.left()),
              std::max(centred.y(), area.top() + FrameRoom / 2));
}
