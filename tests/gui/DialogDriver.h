// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the setup dialogs as a user does: types into and picks from their boxes, clicks their
// buttons, presses keys, all while the dialog runs modally, with a way out if a test goes wrong.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs/SetupDialog.h"

// Failure messages show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// Shows dialog modally, runs drive from its event loop and returns ShowModal's result. A drive
// that leaves the dialog open is a failure: the dialog is then closed after a few seconds so that
// the test ends instead of hanging.
inline int RunModal(TSetupDialog& dialog, const std::function<void()>& drive) {
  bool leftOpen = false;
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_TRUE(dialog.isVisible()) << "the dialog should be showing when the user acts";
    // As when the user brings it to the front: keys and clicks go to the active window.
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    drive();
  });
  QTimer fallback;
  fallback.setSingleShot(true);
  QObject::connect(&fallback, &QTimer::timeout, &dialog, [&] {
    leftOpen = true;
    dialog.reject();
  });
  fallback.start(5000);
  const int result = dialog.ShowModal();
  fallback.stop();
  EXPECT_FALSE(leftOpen) << "the dialog was still open when the test gave up on it";
  return result;
}

// Clears the box's text and types text into it key by key.
inline void TypeInto(QComboBox* box, const QString& text) {
  box->setFocus();
  box->clearEditText();
  QTest::keyClicks(box->lineEdit(), text);
}

// Opens the box's list and clicks the item with the given text.
inline void PickItem(QComboBox* box, const QString& item) {
  const int index = box->findText(item);
  ASSERT_GE(index, 0) << item.toStdString() << " is not among the suggestions";
  box->showPopup();
  QAbstractItemView* view = box->view();
  const QRect place = view->visualRect(view->model()->index(index, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, place.center());
}

// Clicks the button where it reacts: a check box only on its box and caption, which need not
// fill the widget.
inline void Click(QAbstractButton* button) {
  QPoint at = button->rect().center();
  if (auto* check = qobject_cast<QCheckBox*>(button)) {
    QStyleOptionButton option;
    option.initFrom(check);
    option.text = check->text();
    at = check->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, check).center();
  }
  QTest::mouseClick(button, Qt::LeftButton, {}, at);
}

inline void PressKey(QComboBox* box, Qt::Key key) {
  QTest::keyClick(box->lineEdit(), key);
}

// The caption standing beside box: the label that names it as its buddy.
inline QString CaptionOf(const QWidget& dialog, const QWidget* box) {
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    if (label->buddy() == box) return label->text();
  return {};
}

inline QStringList ItemsOf(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}
