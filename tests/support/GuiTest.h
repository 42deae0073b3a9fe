// SPDX-License-Identifier: GPL-3.0-or-later
// Fixture for widget tests: no top-level window may outlive the test that made it.
#pragma once
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override { TopLevelAtStart = QApplication::topLevelWidgets().size(); }
  void TearDown() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), TopLevelAtStart)
        << "a top-level window outlived the test";
  }

 private:
  qsizetype TopLevelAtStart = 0;
};
