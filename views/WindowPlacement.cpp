// SPDX-License-Identifier: GPL-3.0-or-later
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
