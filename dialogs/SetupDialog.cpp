// SPDX-License-Identifier: GPL-3.0-or-later
// The frame shared by the small modal dialogs.
#include "dialogs/SetupDialog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "dialogs/ModalResult.h"
#include "dialogs/NumberText.h"
#include "app/GuardedCall.h"

double ScreenScale(int layoutDpi) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
  return dpi / layoutDpi;
}

QComboBox* MakeValueBox(const char* objectName, const QStringList& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(objectName));
  box->setEditable(true);
  // The suggestions are written with a point; they are offered as the locale writes numbers.
  for (const QString& item : items) box->addItem(LocalizedNumber(item));
  // Enter would otherwise append the typed text to the suggestions, and the inline completion
  // would turn a typed "-0" into the suggested "-0.8".
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  box->setMaxVisibleItems(16);
  return box;
}

TSetupDialog::TSetupDialog(const QString& caption, QSize layoutSize, int layoutDpi, QWidget* parent)
    : QDialog(parent), LayoutSize(layoutSize), LayoutDpi(layoutDpi) {
  setWindowTitle(caption);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);
}

void TSetupDialog::SetTitle(const char* source) {
  TitleSource = source;
  setWindowTitle(QCoreApplication::translate(metaObject()->className(), source));
}

void TSetupDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange && TitleSource) {
    Guarded([this] {
      setWindowTitle(QCoreApplication::translate(metaObject()->className(), TitleSource));
    });
  }
  QDialog::changeEvent(event);
}

void TSetupDialog::FixSize() {
  const double scale = ScreenScale(LayoutDpi);
  QSize size(static_cast<int>(std::lround(LayoutSize.width() * scale)),
             static_cast<int>(std::lround(LayoutSize.height() * scale)));
  if (layout()) size = size.expandedTo(layout()->totalSizeHint());
  setFixedSize(size);
}

void TSetupDialog::SetDefaultButton(QPushButton* button) {
  DefaultButton = button;
  button->setDefault(true);
}

QPushButton* TSetupDialog::MakeButton(const char* objectName, const QString& caption,
                                      std::function<void()> handler) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(QString::fromLatin1(objectName));
  connect(button, &QPushButton::clicked, this,
          [handler = std::move(handler)] { Guarded(handler); });
  return button;
}

QHBoxLayout* TSetupDialog::ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* button : buttons) row->addWidget(button);
  return row;
}

void TSetupDialog::LayOutPage(QWidget* body, std::initializer_list<QPushButton*> buttons) {
  auto* page = new QVBoxLayout(this);
  page->addWidget(body, 1);
  page->addLayout(ButtonRow(buttons));
  FixSize();
}

int TSetupDialog::ShowModal() {
  return exec() == QDialog::Accepted ? mrOk : mrCancel;
}

void TSetupDialog::setVisible(bool visible) {
  Guarded([&] {
    if (visible && !isVisible() && CentreOnShow) {
      const QScreen* screen = QGuiApplication::primaryScreen();
      if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
      }
    }
  });
  QDialog::setVisible(visible);
}

void TSetupDialog::showEvent(QShowEvent* event) {
  Guarded([&] {
    // Only the dialog's own show refills it; a show of the window system (restore) does not.
    if (event->spontaneous()) return;
    FormShow();
    // Every opening starts in the first control with the default button answering Enter,
    // whichever control had the focus when the dialog was closed last time.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
      if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this) &&
          isAncestorOf(w)) {
        w->setFocus(Qt::TabFocusReason);
        break;
      }
    }
    if (DefaultButton) DefaultButton->setDefault(true);
  });
  QDialog::showEvent(event);
}
