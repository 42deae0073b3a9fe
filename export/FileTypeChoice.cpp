// SPDX-License-Identifier: GPL-3.0-or-later
// The default suffix of a save dialog, following its chosen name filter, and the types of the
// files it lists, named without reading them.
#include "export/FileTypeChoice.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>

#include "app/GuardedCall.h"

namespace {

// Names the type of a listed file from its name alone. Qt's own provider reads the start of
// every file it lists whose name does not tell, and a file whose reading never returns
// (/proc/kmsg, which root may read) then held the dialog, and the program with it, for good.
class TTypeByName : public QFileIconProvider {
 public:
  QString type(const QFileInfo& info) const override {
    // Folders, drives and the rest are named without reading anything.
    if (!info.isFile()) return QFileIconProvider::type(info);
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
  }
};

}  // namespace

QString SuffixOfNameFilter(const QString& nameFilter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  return pattern.match(nameFilter).captured(1);
}

void OfferFileTypes(QFileDialog& dialog, const QStringList& nameFilters) {
  // The dialog does not own its provider; one for all of them lives until the program ends.
  static TTypeByName typeByName;
  dialog.setIconProvider(&typeByName);
  dialog.setNameFilters(nameFilters);
  dialog.setDefaultSuffix(SuffixOfNameFilter(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) {
                     Guarded([&] { dialog.setDefaultSuffix(SuffixOfNameFilter(filter)); });
                   });
}
