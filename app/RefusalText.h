// SPDX-License-Identifier: GPL-3.0-or-later
// The core's refusals worded for the desktop: each code's sentence from the catalogue in the
// language installed, its values put in.
#pragma once

#include <QString>

#include "engine/Refusal.h"

// The catalogues' context of the sentences, the parameters' names and the words of values that
// are not finite.
constexpr char RefusalContext[] = "Refusals";

QString RefusalText(const TRefusal& refusal);

// The sentence of code as written in English, the catalogue's key; null for None.
const char* RefusalSentence(TRefusalCode code);
// The name of parameter as the sentences put it in, in English; null for None.
const char* ParameterWord(TParameter parameter);
