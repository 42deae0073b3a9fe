// SPDX-License-Identifier: GPL-3.0-or-later
// The windows a user opens on a laptop of 1280 x 720 pixels shown at twice their size, 640 x 360
// logical pixels: each one lies on the screen, its title bar included, with every button and list
// within reach.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>

#include "MainFormDriver.h"
#include "app/JpegImage.h"
#include "dialogs/BetaInfo.h"
#include "dialogs/Pictures.h"
#include "dialogs/UndulatorSetup.h"

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
  const char* const items[] = {"MnuSavePicture",  "MnuRecordAnimation", "MnuHelp",
                               "MnuMdlCustom",    "PlotResolution1",    "PhysicalModel",
                               "MnuSpeed",        "MnuCircle",          "MnuScaleUnit"};
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
        EXPECT_TRUE(area.contains(shown))
            << part->metaObject()->className() << " " << part->objectName().toStdString();
      }
      dialog.close();
    });
    Form->MainMenu1.Item(item).trigger();
    EXPECT_TRUE(opened);
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

// The pictures of the version window and the undulator dialog come at the screen's own pixels,
// drawn twice as fine, not a picture of half the pixels enlarged.
TEST_F(SmallScreenTest, ThePicturesAreShownAtTheScreensPixels) {
  TBetaVersionDlg version;
  const QPixmap greeting = version.Image1->pixmap();
  EXPECT_EQ(greeting.devicePixelRatio(), 2.0);
  EXPECT_EQ(greeting.size(), QSize(1202, 674));

  TUndulatorSetupDlg undulator(Form->Simulation());
  int pictures = 0;
  for (const QLabel* label : undulator.findChildren<QLabel*>()) {
    if (!label->objectName().endsWith(QStringLiteral(".jpg"))) continue;
    ++pictures;
    const QPixmap picture = label->pixmap();
    EXPECT_EQ(picture.devicePixelRatio(), 2.0) << label->objectName().toStdString();
    EXPECT_EQ(picture.size(), label->size() * 2) << label->objectName().toStdString();
  }
  EXPECT_EQ(pictures, 9);  // the orbit, six symbols and two brackets
}

// Where the finer picture is missing or damaged, the picture itself is shown; at 1 it is always
// the picture itself.
TEST(FinePictures, ThePictureItselfStandsInForAFinerOneThatCannotBeRead) {
  QTemporaryDir folder;
  QImage coarse(8, 4, QImage::Format_RGB32);
  coarse.fill(Qt::red);
  QImage fine(16, 8, QImage::Format_RGB32);
  fine.fill(Qt::blue);
  const auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile file(QDir(folder.path()).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  write(QStringLiteral("both.jpg"), EncodeJpeg(coarse));
  write(QStringLiteral("both@2x.jpg"), EncodeJpeg(fine));
  write(QStringLiteral("alone.jpg"), EncodeJpeg(coarse));
  write(QStringLiteral("damaged.jpg"), EncodeJpeg(coarse));
  write(QStringLiteral("damaged@2x.jpg"), QByteArray("not a picture"));
  const struct {
    const char* Name;
    double Ratio;
    QSize Size;
    double PictureRatio;
  } rows[] = {
      {"both.jpg", 2.0, {16, 8}, 2.0},   {"both.jpg", 1.5, {16, 8}, 2.0},
      {"both.jpg", 1.0, {8, 4}, 1.0},    {"alone.jpg", 2.0, {8, 4}, 1.0},
      {"damaged.jpg", 2.0, {8, 4}, 1.0},
  };
  for (const auto& row : rows) {
    const TJpegResult loaded =
        LoadJpegFor(QDir(folder.path()).filePath(QLatin1String(row.Name)), row.Ratio);
    EXPECT_TRUE(loaded.Error.isEmpty()) << row.Name << " at " << row.Ratio;
    EXPECT_EQ(loaded.Image.size(), row.Size) << row.Name << " at " << row.Ratio;
    EXPECT_EQ(loaded.Image.devicePixelRatio(), row.PictureRatio) << row.Name << " at " << row.Ratio;
  }
}

}  // namespace
