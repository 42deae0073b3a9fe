// SPDX-License-Identifier: GPL-3.0-or-later
// Save picture from the File menu, as a user does it: a file chosen, the picture written as PNG
// at the plot's device pixels or as SVG paths, and a file that cannot be written reported by name
// with nothing left behind.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QImage>
#include <QImageReader>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeDatabase>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "MainFormDriver.h"
#include "support/Shades.h"
#include "engine/AnimationStep.h"
#include "export/PictureFile.h"
#include "plot/RasterCanvas.h"
#include "render/FieldDrawing.h"

namespace {

class PictureExportTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Form->CreateRemainingWindows();
    Form->MnuPauseClick();
    // Some field to see: the charge has moved a while.
    State.TrajectoryMode = tmMouse;
    for (int tick = 0; tick < 30; ++tick) {
      PullChargeTowards(State, {0.5, 0.2});
      EmitAndAdvance(State);
    }
    Form->Chart1->Series1().SetPointX(0, State.FieldSimulation.ChargePos.X);
    Form->Chart1->Series1().SetPointY(0, State.FieldSimulation.ChargePos.Y);
  }

  // Chooses path in the save dialog and picks the menu item.
  void SaveAs(const QString& path) {
    int asked = 0;
    Form->RunSavePictureDialog = [&] {
      ++asked;
      return path;
    };
    Form->MainMenu1.Item("MnuSavePicture").trigger();
    EXPECT_EQ(asked, 1);
  }

  QStringList FilesIn(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
  }
};

int CountOf(const QImage& image, TColor color) {
  const QRgb wanted = TRasterCanvas::PixelOf(color);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == wanted;
  return count;
}

// At the screen's ratio and at the ratios of HiDPI screens, aliased and smooth.
TEST_F(PictureExportTest, ThePngIsThePlotAsTheWindowShowsIt) {
  for (const double ratio : {1.0, 1.5, 2.0}) {
    for (const bool smooth : {false, true}) {
      SCOPED_TRACE(QStringLiteral("ratio %1, smooth %2").arg(ratio).arg(smooth).toStdString());
      Form->Chart1->SetDevicePixelRatio(ratio);
      if (Form->MainMenu1.IsChecked("mnuSmoothLines") != smooth)
        Form->MainMenu1.Item("mnuSmoothLines").trigger();
      QTemporaryDir dir;
      const QString path = dir.filePath(QStringLiteral("field.png"));
      SaveAs(path);
      EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();

      QImageReader reader(path);
      EXPECT_EQ(reader.format(), "png");
      const QImage picture = reader.read();
      ASSERT_FALSE(picture.isNull()) << reader.errorString().toStdString();
      EXPECT_EQ(picture.size(), DevicePixelsOf(Form->Chart1->size(), ratio));

      // Pixel for pixel what the plot's own redraw puts on the screen.
      Form->Chart1->RequestRedraw();
      Form->Chart1->FlushRedraw();
      const QImage screen = Form->Chart1->Buffer().convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(screen.size(), picture.size());
      EXPECT_TRUE(picture.convertToFormat(QImage::Format_RGB32) == screen);
      EXPECT_GT(CountShadesOf(picture, FieldLineColor), 1000);
      EXPECT_GT(CountOf(picture, ChargeDiscBrush), 20);
    }
  }
}

TEST_F(PictureExportTest, TheSvgHoldsTheFieldAsPaths) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("field.svg"));
  SaveAs(path);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  int paths = 0;
  int fieldLinePaths = 0;
  QString viewBox;
  QString width;
  QString height;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("svg")) {
      viewBox = xml.attributes().value(QLatin1String("viewBox")).toString();
      width = xml.attributes().value(QLatin1String("width")).toString();
      height = xml.attributes().value(QLatin1String("height")).toString();
    }
    if (xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline")) ++paths;
    // The generator puts the pen on the <g> around the elements drawn with it.
    if (xml.name() == QLatin1String("g") &&
        xml.attributes().value(QLatin1String("stroke")).toString().compare(
            QLatin1String("#00c8ff"), Qt::CaseInsensitive) == 0)
      ++fieldLinePaths;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  // Every one of the 40 field lines is there, each as a few paths: the segments of a line are
  // joined, so that the file stays small enough for a slide (one element per segment made
  // megabytes).
  EXPECT_GE(paths, 40);
  EXPECT_GE(fieldLinePaths, 40);
  EXPECT_LT(paths, 1000);
  EXPECT_LT(file.size(), 1000 * 1000);
  const QSize size = Form->Chart1->size();
  EXPECT_EQ(viewBox, QStringLiteral("0 0 %1 %2").arg(size.width()).arg(size.height()));
  // In pixels, as a viewer shows it: a size in millimetres came back one pixel larger.
  EXPECT_EQ(width, QString::number(size.width()));
  EXPECT_EQ(height, QString::number(size.height()));
  QSvgRenderer renderer(path);
  EXPECT_TRUE(renderer.isValid());
}

TEST_F(PictureExportTest, AFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
  QTemporaryDir dir;
  struct Row {
    QString path;
    const char* reason;  // part of the message
  };
  // A folder that does not exist; a name taken by a folder; a suffix the program does not write.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.png")));
  const Row rows[] = {
      {dir.filePath(QStringLiteral("missing/field.png")), ""},
      {dir.filePath(QStringLiteral("taken.png")), ""},
      {dir.filePath(QStringLiteral("field.bmp")), ".png or .svg"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path.toStdString());
    Shown.clear();
    SaveAs(row.path);
    ASSERT_EQ(Shown.size(), 1);
    EXPECT_TRUE(Shown[0].contains(QDir::toNativeSeparators(row.path))) << Shown[0].toStdString();
    EXPECT_TRUE(Shown[0].contains(QLatin1String(row.reason))) << Shown[0].toStdString();
    EXPECT_GT(Shown[0].size(), QDir::toNativeSeparators(row.path).size() + 30)
        << "a reason follows the name: " << Shown[0].toStdString();
  }
  EXPECT_EQ(FilesIn(dir), QStringList()) << "no file, not even a partial one";
  EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.png"))).isDir());
}

// A screen at 1.5 device pixels per logical pixel: the PNG has the device pixels, the SVG keeps
// the logical size.
TEST_F(PictureExportTest, AFractionalRatioGivesTheDevicePixels) {
  QTemporaryDir dir;
  TPictureGeometry geometry;
  geometry.LogicalSize = QSize(301, 201);
  geometry.PixelRatio = 1.5;
  geometry.Range = DefaultMainRange(geometry.LogicalSize);
  const QString png = dir.filePath(QStringLiteral("field.png"));
  const QString svg = dir.filePath(QStringLiteral("field.svg"));
  SaveMainPicture(png, State, Form->Display(), geometry);
  SaveMainPicture(svg, State, Form->Display(), geometry);
  const QImage picture(png);
  EXPECT_EQ(picture.size(), QSize(452, 302));
  EXPECT_GT(CountOf(picture, FieldLineColor), 500);
  QSvgRenderer renderer(svg);
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 301, 201));
}

TEST_F(PictureExportTest, CancellingTheDialogWritesNothing) {
  QTemporaryDir dir;
  SaveAs(QString());
  EXPECT_TRUE(Shown.isEmpty());
  EXPECT_EQ(FilesIn(dir), QStringList());
}

// The real file dialog: a name typed without a suffix becomes a PNG, or an SVG when that type is
// chosen in the list.
TEST_F(PictureExportTest, TheFileDialogWritesTheNameTyped) {
  const struct {
    int Filter;  // presses of the down key in the list of types
    const char* File;
  } rows[] = {{0, "typed.png"}, {1, "typed.svg"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.File);
    QTemporaryDir dir;
    bool typed = false;
    WhenModal([&](QWidget& dialog) {
      auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      if (!name || !types) return;
      typed = true;
      types->setFocus();
      for (int i = 0; i < row.Filter; ++i) QTest::keyClick(types, Qt::Key_Down);
      name->setText(dir.filePath(QStringLiteral("typed")));
      QTest::keyClick(name, Qt::Key_Return);
    });
    Form->MainMenu1.Item("MnuSavePicture").trigger();
    EXPECT_TRUE(typed);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
    EXPECT_EQ(FilesIn(dir), QStringList{QLatin1String(row.File)});
    EXPECT_FALSE(QImage(dir.filePath(QLatin1String(row.File))).isNull());
  }
}

// The file dialogs name the types of the files they list from their names alone: Qt's own
// listing reads the start of every file in the folder for it, shown or not, and a file whose
// reading never returns (/proc/kmsg, which root may read) then held the dialog, and the program
// with it, for good. A picture without a suffix shows which: named from its content it reads
// "PNG image".
TEST_F(PictureExportTest, TheFileDialogsListFilesWithoutReadingThem) {
  QTemporaryDir dir;
  const QImage image(4, 4, QImage::Format_RGB32);
  ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("picture")), "PNG"));
  ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("named.png")), "PNG"));
  Form->AskRecordingFile = nullptr;
  for (const char* item : {"MnuSavePicture", "MnuRecordAnimation"}) {
    SCOPED_TRACE(item);
    QStringList types;  // of "picture", then of "named.png", as the dialog lists them
    WhenModal([&](QWidget& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (!files || !files->iconProvider()) return;
      for (const char* file : {"picture", "named.png"})
        types << files->iconProvider()->type(QFileInfo(dir.filePath(QLatin1String(file))));
      files->reject();
    });
    Form->MainMenu1.Item(item).trigger();
    ASSERT_EQ(types.size(), 2);
    EXPECT_EQ(types[1], QMimeDatabase().mimeTypeForName(QStringLiteral("image/png")).comment());
    EXPECT_NE(types[0], types[1]);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(PictureExportTest, TheMenuItemHasItsCaptionTooltipAndKey) {
  QAction& item = Form->MainMenu1.Item("MnuSavePicture");
  EXPECT_EQ(item.text(), QString::fromUtf8("&画像を保存…"));
  EXPECT_EQ(item.toolTip(), QStringLiteral("Save picture"));
  EXPECT_EQ(item.shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(Form->MainMenu1.Menu("MnuFile").actions().indexOf(&item),
            Form->MainMenu1.Menu("MnuFile").actions().indexOf(&Form->MainMenu1.Item("MnuPrint")) + 1);
}

}  // namespace
