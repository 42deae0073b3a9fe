// SPDX-License-Identifier: GPL-3.0-or-later
// The Help viewer: the page "What the picture shows" (docs/model.md, or its Japanese version where
// the program has one) read from the program's resources, in a window beside the others.
#pragma once

#include <QString>
#include <QTextBlock>
#include <QWidget>

#include "app/Language.h"

class QEvent;
class QTextBrowser;
class QUrl;

// The parts of the page a window can open the viewer at.
enum class THelpSection { Top, Undulator };

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  // A window of its own that stays with parent (the main window); not modal.
  explicit THelpWindow(QWidget* parent = nullptr);
  ~THelpWindow() override;

  // Shows the page for language at section's heading (the top where the page has no such
  // heading), raised and active. over: the modal dialog it is opened from, beside which it must
  // still take the mouse and the keys until that dialog closes.
  void ShowPage(TLanguage language, THelpSection section, QWidget* over = nullptr);

  // The resource of a language's page: the Japanese one where it was built in, the English one
  // otherwise.
  static QString PageResource(TLanguage language);
  // The resource the viewer shows now; empty before the first ShowPage.
  const QString& PageShown() const { return Shown; }
  // The heading block of section in the page shown; an invalid block where it has none.
  QTextBlock HeadingOf(THelpSection section) const;

  QTextBrowser* Browser = nullptr;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();
  // Loads the page from its resource, each heading made an anchor named by its text.
  void LoadPage(const QString& resource);
  // A link to a part of the page scrolls there; others open in the system's browser.
  void FollowLink(const QUrl& link);
  // The window the viewer's own window stays with: over while it is open, the parent otherwise.
  void StayWith(QWidget* over);

  QString Shown;
};
