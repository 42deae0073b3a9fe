// SPDX-License-Identifier: GPL-3.0-or-later
// Windows on a small screen: their room in its free area and their place there.
#include "dialogs/ScreenFit.h"

#include <QWidget>
#include <algorithm>

namespace {

// Room for the title bar and the frame that the window system adds: the height of a title bar
// and a frame at twice the pixels, a quarter of it across.
constexpr int FrameRoom = 48;

}  // namespace

QSize ClientRoomIn(const QRect& area) {
  return {area.width() - FrameRoom / 4, area.height() - FrameRoom};
}

void CentreInside(QWidget& window, const QRect& area) {
  const QPoint centred = area.center() - QPoint(window.width() / 2, window.height() / 2);
  window.move(std::max(centred.x(), area.left()),
              std::max(centred.y(), area.top() + FrameRoom / 2));
}

void FitWindowInto(QWidget& window, const QRect& area) {
  const QSize room = ClientRoomIn(area);
  // A window never resized yet takes its size hint when it is first shown.
  const QSize wanted = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
  if (wanted.width() <= room.width() && wanted.height() <= room.height()) return;
  window.resize(wanted.boundedTo(room).expandedTo(window.minimumSizeHint()).expandedTo({1, 1}));
  CentreInside(window, area);
}
