// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry for binaries that need widgets: the offscreen platform is chosen here, because test
// discovery runs the binary without the environment ctest gives the tests. Settings (the language
// a menu click remembers) go to a folder of this test process alone: never the user's, and never
// one that a test running beside it in parallel writes too.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  const QTemporaryDir settingsFolder;
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, settingsFolder.path());
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
