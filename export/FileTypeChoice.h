// SPDX-License-Identifier: GPL-3.0-or-later
// The file types a save dialog offers for a picture or a video: a name typed without a suffix
// gets the suffix of the type chosen in the dialog's list, whichever type that is.
#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;

// The suffix of a name filter's first pattern: "gif" for "Animated GIF (*.gif)"; empty for none.
QString SuffixOfNameFilter(const QString& nameFilter);

// Gives dialog the name filters, the first one chosen, and keeps its default suffix that of the
// filter the user chooses. The dialog names the types of the files it lists from their names,
// without reading them.
void OfferFileTypes(QFileDialog& dialog, const QStringList& nameFilters);
