// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PictureWordText.h"

#include <QCoreApplication>
#include <QString>

TPictureWords TranslatedPictureWords() {
  TPictureWords words;
  for (std::size_t k = 0; k < PictureWordCount; ++k) {
    const std::string source(PictureWordSources[k]);
    words.Text[k] = QCoreApplication::translate(PictureWordContext, source.c_str()).toStdString();
  }
  return words;
}
