// SPDX-License-Identifier: GPL-3.0-or-later
// Placing the auxiliary windows by their outer rectangle (frame included) on the screen they
// belong to.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// The whole screen the window is on (its primary screen before it has been shown).
QRect ScreenGeometryOf(const QWidget& window);

// What the window manager's frame adds to the client size; empty until the window has been framed.
QSize FrameExtraOf(const QWidget& window);

// Moves the frame's top-left corner to outer's and sizes the client so that the frame fills
// outer, with the frame as far as it is known now. Returns the frame size it allowed for.
QSize PlaceWindowOuter(QWidget& window, const QRect& outer);
