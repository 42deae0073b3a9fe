// SPDX-License-Identifier: GPL-3.0-or-later
// The words the core sets into pictures, worded for the desktop from the catalogue in the
// language installed.
#pragma once

#include "engine/PictureWords.h"

constexpr char PictureWordContext[] = "PictureWords";

TPictureWords TranslatedPictureWords();
