// SPDX-License-Identifier: GPL-3.0-or-later
// The Help viewer.
#include "views/HelpWindow.h"

#include <QDesktopServices>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/GuardedCall.h"

namespace {

constexpr char EnglishPage[] = ":/docs/model.md";
constexpr char JapanesePage[] = ":/docs/model.ja.md";

// The headings (level 2) the sections begin with, on each language's page.
struct TSectionHeading {
  THelpSection Section;
  const char* English;
  const char* Japanese;  // UTF-8
};
const TSectionHeading SectionHeadings[] = {
    {THelpSection::Undulator, "The undulator", "アンジュレータ"},
};
constexpr int SectionHeadingLevel = 2;

// A comfortable page to read, never more than most of the screen.
constexpr int PreferredWidth = 760;
constexpr int PreferredHeight = 720;

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  Browser = new QTextBrowser(this);
  Browser->setObjectName(QStringLiteral("HelpBrowser"));
  // Links are followed here: the page is a resource, and relative links have nowhere to go.
  Browser->setOpenLinks(false);
  connect(Browser, &QTextBrowser::anchorClicked, this,
          [this](const QUrl& link) { Guarded([&] { FollowLink(link); }); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Browser);

  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  resize(std::min(PreferredWidth, area.width() * 3 / 4),
         std::min(PreferredHeight, area.height() * 7 / 8));
  RetranslateUi();
}

THelpWindow::~THelpWindow() = default;

void THelpWindow::RetranslateUi() {
  setWindowTitle(tr("What the picture shows"));
}

void THelpWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Guarded([this] { RetranslateUi(); });
  QWidget::changeEvent(event);
}

QString THelpWindow::PageResource(TLanguage language) {
  if (language == TLanguage::Japanese && QFile::exists(QString::fromLatin1(JapanesePage)))
    return QString::fromLatin1(JapanesePage);
  return QString::fromLatin1(EnglishPage);
}

void THelpWindow::ShowPage(TLanguage language, THelpSection section, QWidget* over) {
  const QString resource = PageResource(language);
  if (resource != Shown) LoadPage(resource);
  // Before the show, so that the window is shown as one that the modal dialog does not block.
  StayWith(over);
  show();
  raise();
  activateWindow();
  const QTextBlock heading = HeadingOf(section);
  if (heading.isValid())
    Browser->scrollToAnchor(heading.text());
  else
    Browser->verticalScrollBar()->setValue(0);
}

void THelpWindow::LoadPage(const QString& resource) {
  QFile file(resource);
  if (!file.open(QIODevice::ReadOnly))
    throw EError(
        QCoreApplication::translate("Messages", "The help page %1 is missing").arg(resource));
  Browser->document()->setMarkdown(QString::fromUtf8(file.readAll()));
  Shown = resource;
  // Every heading an anchor named by its text, for the sections to be scrolled to.
  for (QTextBlock block = Browser->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 0) continue;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat anchor;
    anchor.setAnchor(true);
    anchor.setAnchorNames({block.text()});
    cursor.mergeCharFormat(anchor);
  }
}

QTextBlock THelpWindow::HeadingOf(THelpSection section) const {
  const bool japanese = Shown == QLatin1String(JapanesePage);
  for (const TSectionHeading& entry : SectionHeadings) {
    if (entry.Section != section) continue;
    const QString heading =
        japanese ? QString::fromUtf8(entry.Japanese) : QString::fromLatin1(entry.English);
    for (QTextBlock block = Browser->document()->begin(); block.isValid(); block = block.next()) {
      if (block.blockFormat().headingLevel() == SectionHeadingLevel &&
          block.text().trimmed() == heading)
        return block;
    }
  }
  return {};
}

void THelpWindow::FollowLink(const QUrl& link) {
  if (link.isRelative() && link.path().isEmpty() && link.hasFragment()) {
    Browser->scrollToAnchor(link.fragment());
    return;
  }
  if (!link.isRelative()) QDesktopServices::openUrl(link);
}

void THelpWindow::StayWith(QWidget* over) {
  QWidget* owner = over ? over->window() : (parentWidget() ? parentWidget()->window() : nullptr);
  if (!owner) return;
  // A window that a modal dialog does not block is one that the dialog owns.
  winId();
  owner->winId();
  if (windowHandle() && owner->windowHandle())
    windowHandle()->setTransientParent(owner->windowHandle());
  if (auto* dialog = qobject_cast<QDialog*>(over)) {
    connect(
        dialog, &QDialog::finished, this, [this] { Guarded([this] { StayWith(nullptr); }); },
        Qt::SingleShotConnection);
  }
}
