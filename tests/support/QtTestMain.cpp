// Test entry for binaries that need widgets: the offscreen platform is chosen here, because test
// discovery runs the binary without the environment ctest gives the tests. Settings (the language
// a menu click remembers) go to Qt's test folder, never the user's.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
