// SPDX-License-Identifier: GPL-3.0-or-later
// Fixture for widget tests that look at the errors the user would be shown: instead of message
// boxes, which would block the test, the texts are recorded in Shown in the order they came.
#pragma once
#include <QString>
#include <QStringList>

#include "app/GuardedCall.h"
#include "support/GuiTest.h"

class ErrorRecordingTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetErrorPresenter([this](const QString& text) { Shown << text; });
  }
  void TearDown() override {
    SetErrorPresenter({});
    GuiTest::TearDown();
  }

  QStringList Shown;
};
