// The windows a user opens on a laptop of 1280 x 720 pixels shown at twice their size, 640 x 360
// logical pixels: each one lies on the screen, its title bar included, with every button and list
// within reach.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

#include "MainFormDriver.h"

namespace {

// The offscreen platform reads its screens from a file named before the application starts, and
// the scale is set then too; this binary's screen is the laptop's.
const bool LaptopScreen = [] {
  static QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath(QStringLiteral("screen.json"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 720,
                  "logicalDpi": 96, "logicalBaseDpi": 96}]})");
  file.close();
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path.toLocal8Bit());
  qputenv("QT_SCALE_FACTOR", "2");
  return true;
}();

// Room for a title bar above the window's client area, as a window system adds one.
constexpr int TitleBar = 20;

class SmallScreenTest : public MainFormTest {};

TEST_F(SmallScreenTest, TheScreenIsTheLaptops) {
  ASSERT_TRUE(LaptopScreen);
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->geometry().size(), QSize(640, 360));
  EXPECT_EQ(screen->devicePixelRatio(), 2.0);
}

TEST_F(SmallScreenTest, EveryWindowFromTheMenuLiesOnTheScreenWithItsButtonsInReach) {
  const char* const items[] = {"MnuSavePicture", "MnuRecordAnimation", "MnuHelp",
                               "MnuMdlCustom",   "PlotResolution1",    "PhysicalModel",
                               "MnuSpeed",       "MnuCircle"};
  StartUp();
  Form->MnuPauseClick();
  Form->RunSavePictureDialog = nullptr;
  Form->AskRecordingFile = nullptr;
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  for (const char* item : items) {
    SCOPED_TRACE(item);
    bool opened = false;
    WhenModal([&](QWidget& dialog) {
      opened = true;
      const QRect window = dialog.geometry();
      EXPECT_TRUE(area.adjusted(0, TitleBar, 0, 0).contains(window))
          << window.x() << ", " << window.y() << " " << window.width() << " x " << window.height();
      for (QWidget* part : dialog.findChildren<QWidget*>()) {
        if (!part->isVisibleTo(&dialog)) continue;
        if (!qobject_cast<QAbstractButton*>(part) && !qobject_cast<QComboBox*>(part)) continue;
        const QRect shown(part->mapToGlobal(QPoint(0, 0)), part->size());
        EXPECT_TRUE(area.contains(shown)) << part->metaObject()->className() << " "
                                          << part->objectName().toStdString();
      }
      dialog.close();
    });
    Form->MainMenu1.Item(item).trigger();
    EXPECT_TRUE(opened);
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

}  // namespace
