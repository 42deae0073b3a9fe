// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the main window's tests: a main window on its own state, and a way to act on a
// modal dialog from inside the loop it runs.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "engine/SimulationState.h"
#include "mainwindow/MainWindow.h"
#include "app/GuardedCall.h"
#include "support/ErrorRecordingTest.h"

// Calls act with the next modal dialog as soon as it is open, from the dialog's own loop. Gives
// up after a few seconds, so that a dialog that never opens leaves nothing behind.
inline void WhenModal(std::function<void(QWidget& dialog)> act) {
  auto* poll = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, clock, act] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool open = modal && modal->isVisible();
    if (!open && clock->elapsed() < 5000) return;
    poll->stop();
    poll->deleteLater();
    delete clock;
    if (!open) return;
    act(*modal);
    // A dialog that the action left open (a refusal that keeps it open) is closed after a while,
    // so that the test fails on its expectations rather than hanging.
    QPointer<QWidget> left(modal);
    QTimer::singleShot(3000, [left] {
      if (left && left->isVisible()) left->close();
    });
  });
  poll->start();
}

inline void ClickButton(QWidget& dialog, const char* name) {
  auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  if (button) QTest::mouseClick(button, Qt::LeftButton);
}

// Runs the event loop until done() holds or a few seconds have passed; returns done().
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) QTest::qWait(5);
  return done();
}

class MainFormTest : public ErrorRecordingTest {
 protected:
  void SetUp() override {
    ErrorRecordingTest::SetUp();
    Form = std::make_unique<TMainForm1>(State);
  }
  void TearDown() override {
    Form.reset();
    ErrorRecordingTest::TearDown();
  }

  // The main window on screen and greeted, as after a start-up with OK.
  void StartUp() {
    WhenModal([](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
    ASSERT_TRUE(Form->FormShow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    Form->CreateRemainingWindows();
  }

  // The plot's mappings as of a redraw done now.
  void Redraw() {
    Form->Chart1->RequestRedraw();
    Form->Chart1->FlushRedraw();
  }

  // The display settings changed as a View switch changes them: through the commands.
  void ChangeDisplay(const std::function<void(TDisplaySettings&)>& change) {
    TDisplaySettings display = Form->Display();
    change(display);
    ASSERT_FALSE(Form->Simulation().SetDisplay(display));
  }

  QPoint PixelOf(double x, double y) const {
    return {Form->Chart1->ValueToPixelX(x), Form->Chart1->ValueToPixelY(y)};
  }

  TSimulationState State;
  std::unique_ptr<TMainForm1> Form;
};
