// SPDX-License-Identifier: GPL-3.0-or-later
// Error boxes for errors raised inside GUI handlers, and the application's last-resort catch.
#include "app/GuardedCall.h"

#include <QMessageBox>
#include <utility>

namespace {

// The presenter and the "box is open" flag are the only state here; both are UI plumbing,
// kept in function-local statics so that their construction order is never an issue.
std::function<void(const QString&)>& Presenter() {
  static std::function<void(const QString&)> presenter;
  return presenter;
}

bool& BoxShowing() {
  static bool showing = false;
  return showing;
}

// The box does not block: a nested event loop inside a paint or a timer tick would run further
// ticks and paints inside the failing handler. It stays open above the program until the user
// closes it, and no other box opens meanwhile.
void ShowMessageBox(const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("HalvoranRadiation"), text,
                              QMessageBox::Ok, QApplication::activeWindow());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::ApplicationModal);
  QObject::connect(box, &QObject::destroyed, [] { BoxShowing() = false; });
  BoxShowing() = true;
  box->open();
}

}  // namespace

void ShowErrorBox(const QString& text) {
  // A timer tick or paint that fails again while a box is open would open box after box, so
  // further texts are dropped until this one is closed.
  if (BoxShowing()) return;
  // Shown as given: each message is translated where it is written, the core's refusals by
  // their code (EError of a TRefusal).
  if (!Presenter()) {
    ShowMessageBox(text);
    return;
  }
  BoxShowing() = true;
  // A presenter that throws must not leave the flag set, or no error would ever be shown again.
  try {
    Presenter()(text);
  } catch (...) {
  }
  BoxShowing() = false;
}

void SetErrorPresenter(std::function<void(const QString&)> presenter) {
  Presenter() = std::move(presenter);
}

bool GuardedNotify(QApplication& app, QObject* receiver, QEvent* event) {
  bool handled = false;
  // The qualified call skips the virtual dispatch, which would come back here.
  Guarded([&] { handled = app.QApplication::notify(receiver, event); });
  return handled;
}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
  return GuardedNotify(*this, receiver, event);
}
