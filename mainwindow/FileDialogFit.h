// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs the main window opens, fitted into the screen's free area.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "dialogs/ScreenFit.h"

// A file dialog is larger than the free area of a laptop shown at twice its pixels: cut at the
// bottom, its list of types and its buttons would be out of reach.
inline void FitToScreen(QWidget& dialog) {
  const QScreen* screen = dialog.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) FitWindowInto(dialog, screen->availableGeometry());
}
