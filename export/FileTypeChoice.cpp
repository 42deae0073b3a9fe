// The default suffix of a save dialog, following its chosen name filter.
#include "export/FileTypeChoice.h"

#include <QFileDialog>
#include <QRegularExpression>

#include "app/GuardedCall.h"

QString SuffixOfNameFilter(const QString& nameFilter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  return pattern.match(nameFilter).captured(1);
}

void OfferFileTypes(QFileDialog& dialog, const QStringList& nameFilters) {
  dialog.setNameFilters(nameFilters);
  dialog.setDefaultSuffix(SuffixOfNameFilter(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) {
                     Guarded([&] { dialog.setDefaultSuffix(SuffixOfNameFilter(filter)); });
                   });
}
