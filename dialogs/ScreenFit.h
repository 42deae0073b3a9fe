// SPDX-License-Identifier: GPL-3.0-or-later
// Windows on a small screen (a laptop shown at twice its pixels has 640 x 360 logical pixels):
// the room a window may take of a screen's free area, and where it goes there.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// The largest client size a window may take in area (a screen's free area): the area less the
// room of the title bar and frame that the window system adds.
QSize ClientRoomIn(const QRect& area);

// Moves the window to the middle of area, its title bar inside.
void CentreInside(QWidget& window, const QRect& area);

// A window larger than the client room of area is made as large as fits, its content's minimum
// size permitting, and centred there; a window that fits is left as it is.
void FitWindowInto(QWidget& window, const QRect& area);
