// SPDX-License-Identifier: GPL-3.0-or-later
// Errors raised inside GUI handlers: the handler ends, the error's text is shown in a message
// box, the program goes on. Qt is built without exceptions, so none may unwind through its frames:
// every connection and event override runs its body through Guarded().
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QString>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "app/RefusalText.h"

// An error whose text is meant for the user.
class EError : public std::runtime_error {
 public:
  explicit EError(const std::string& text) : std::runtime_error(text) {}
  explicit EError(const QString& text) : std::runtime_error(text.toStdString()) {}
  // A refusal of the core, worded in the language installed now.
  explicit EError(const TRefusal& refusal) : EError(RefusalText(refusal)) {}
};

// Shows text in an error message box; while one box is open, further errors are dropped so that
// an error repeating on every tick or paint shows one box at a time.
void ShowErrorBox(const QString& text);

// Replaces the message box (tests record the texts instead); an empty function restores the box.
void SetErrorPresenter(std::function<void(const QString&)> presenter);

// Runs body; an exception ends it and is shown with ShowErrorBox. Returns false after an error.
template <class F>
bool Guarded(F&& body) noexcept {
  try {
    body();
    return true;
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromStdString(error.what()));
  } catch (...) {
    ShowErrorBox(QCoreApplication::translate("Messages", "Unknown error"));
  }
  return false;
}

// Delivers event through app's own QApplication::notify inside Guarded; returns whether the event
// was handled (false after an error). TGuardedApplication::notify is this with itself as app.
bool GuardedNotify(QApplication& app, QObject* receiver, QEvent* event);

// Last resort for an event handler that was not wrapped.
class TGuardedApplication : public QApplication {
 public:
  TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};
