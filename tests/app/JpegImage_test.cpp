// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG pictures: good files decode to their size and colours; damaged or hostile data gives a null
// image and a message, never a crash, an exit or a huge allocation.
#include "app/JpegImage.h"

#include <QColor>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <jpeglib.h>
#include <gtest/gtest.h>

namespace {

struct TColourBlock {
  QColor Colour;
  QRect Area;
};

// Six solid blocks of 32 x 32 pixels; the block centres are far enough from the edges that
// JPEG's 8 x 8 transforms leave them nearly exact.
const std::vector<TColourBlock>& Blocks() {
  static const std::vector<TColourBlock> blocks = {
      {QColor(255, 0, 0), QRect(0, 0, 32, 32)},    {QColor(0, 255, 0), QRect(32, 0, 32, 32)},
      {QColor(0, 0, 255), QRect(64, 0, 32, 32)},   {QColor(255, 255, 255), QRect(0, 32, 32, 32)},
      {QColor(0, 0, 0), QRect(32, 32, 32, 32)},    {QColor(128, 64, 200), QRect(64, 32, 32, 32)},
  };
  return blocks;
}

QImage BlockImage() {
  QImage image(96, 64, QImage::Format_RGB32);
  QPainter painter(&image);
  for (const TColourBlock& block : Blocks()) painter.fillRect(block.Area, block.Colour);
  return image;
}

// A picture with detail everywhere, so that every stretch of the file carries image data.
QByteArray DetailedJpeg() {
  QImage image(80, 56, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb((x * 37) % 256, (y * 53) % 256, (x * y) % 256));
  return EncodeJpeg(image);
}

// A file written with libjpeg directly in a colour layout our encoder does not write: the left
// half of every row holds left, the right half right (one sample per component).
QByteArray RawJpeg(int width, int height, J_COLOR_SPACE space, const std::vector<JSAMPLE>& left,
                   const std::vector<JSAMPLE>& right) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* output = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &output, &size);
  const int components = static_cast<int>(left.size());
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width * components));
  for (int x = 0; x < width; ++x)
    for (int c = 0; c < components; ++c)
      row[static_cast<size_t>(x * components + c)] = (x < width / 2 ? left : right)[static_cast<size_t>(c)];
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(output), static_cast<qsizetype>(size));
  jpeg_destroy_compress(&info);
  std::free(output);
  return bytes;
}

// Rewrites the frame header's size, as a hostile file would.
QByteArray WithClaimedSize(QByteArray jpeg, int width, int height) {
  for (qsizetype i = 2; i + 8 < jpeg.size(); ++i) {
    const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xff && (marker == 0xc0 || marker == 0xc2)) {
      jpeg[i + 5] = char(height >> 8), jpeg[i + 6] = char(height & 0xff);
      jpeg[i + 7] = char(width >> 8), jpeg[i + 8] = char(width & 0xff);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header found";
  return jpeg;
}

void ExpectRefused(const TJpegResult& result, const char* what) {
  EXPECT_TRUE(result.Image.isNull()) << what;
  EXPECT_TRUE(result.Error.startsWith(QStringLiteral("The picture"))) << what << ": " << result.Error.toStdString();
  EXPECT_TRUE(result.Error.contains(QStringLiteral("could not be"))) << what << ": " << result.Error.toStdString();
}

TEST(JpegImage, EncodedPictureDecodesToItsSizeAndColours) {
  const QByteArray jpeg = EncodeJpeg(BlockImage());
  ASSERT_GE(jpeg.size(), 4);
  EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xff);
  EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xd8);

  const TJpegResult result = DecodeJpeg(jpeg);
  ASSERT_FALSE(result.Image.isNull()) << result.Error.toStdString();
  EXPECT_TRUE(result.Error.isEmpty());
  EXPECT_EQ(result.Image.size(), QSize(96, 64));
  EXPECT_EQ(result.Image.format(), QImage::Format_RGB32);
  // Quality 90 with full-resolution colour: a block centre stays within a few levels.
  constexpr int Tolerance = 6;
  for (const TColourBlock& block : Blocks()) {
    const QColor got = result.Image.pixelColor(block.Area.center());
    EXPECT_NEAR(got.red(), block.Colour.red(), Tolerance) << block.Colour.name().toStdString();
    EXPECT_NEAR(got.green(), block.Colour.green(), Tolerance) << block.Colour.name().toStdString();
    EXPECT_NEAR(got.blue(), block.Colour.blue(), Tolerance) << block.Colour.name().toStdString();
  }
}

TEST(JpegImage, GrayscaleFileDecodesToGreyPixels) {
  const TJpegResult result = DecodeJpeg(RawJpeg(64, 16, JCS_GRAYSCALE, {40}, {220}));
  ASSERT_FALSE(result.Image.isNull()) << result.Error.toStdString();
  EXPECT_EQ(result.Image.size(), QSize(64, 16));
  EXPECT_EQ(result.Image.format(), QImage::Format_RGB32);
  constexpr int Tolerance = 4;  // flat areas at quality 95
  const QRgb dark = result.Image.pixel(8, 8), light = result.Image.pixel(56, 8);
  EXPECT_NEAR(qRed(dark), 40, Tolerance);
  EXPECT_EQ(qRed(dark), qGreen(dark));
  EXPECT_EQ(qRed(dark), qBlue(dark));
  EXPECT_NEAR(qRed(light), 220, Tolerance);
  EXPECT_EQ(qRed(light), qBlue(light));
}

TEST(JpegImage, CmykFileDecodesToItsColours) {
  // libjpeg marks CMYK files as Adobe's, which store the ink inverted: 255 is no ink.
  const TJpegResult result = DecodeJpeg(RawJpeg(64, 16, JCS_CMYK, {0, 255, 255, 255}, {255, 255, 255, 255}));
  ASSERT_FALSE(result.Image.isNull()) << result.Error.toStdString();
  constexpr int Tolerance = 6;  // flat areas at quality 95
  const QRgb cyan = result.Image.pixel(8, 8), white = result.Image.pixel(56, 8);
  EXPECT_NEAR(qRed(cyan), 0, Tolerance);
  EXPECT_NEAR(qGreen(cyan), 255, Tolerance);
  EXPECT_NEAR(qBlue(cyan), 255, Tolerance);
  EXPECT_NEAR(qRed(white), 255, Tolerance);
  EXPECT_NEAR(qBlue(white), 255, Tolerance);
}

TEST(JpegImage, EveryTruncationIsRefused) {
  const QByteArray jpeg = DetailedJpeg();
  ASSERT_FALSE(DecodeJpeg(jpeg).Image.isNull());
  for (qsizetype length = 0; length < jpeg.size(); ++length) {
    const TJpegResult result = DecodeJpeg(jpeg.left(length));
    EXPECT_TRUE(result.Image.isNull()) << "length " << length;
    EXPECT_FALSE(result.Error.isEmpty()) << "length " << length;
  }
  // The reason is libjpeg's own words after our lead-in.
  const TJpegResult cut = DecodeJpeg(jpeg.left(jpeg.size() / 2));
  EXPECT_TRUE(cut.Error.startsWith(QStringLiteral("The picture could not be decoded: "))) << cut.Error.toStdString();
  EXPECT_GT(cut.Error.size(), QStringLiteral("The picture could not be decoded: ").size() + 5);
}

TEST(JpegImage, RandomBytesAreRefused) {
  std::mt19937 random(20240601);
  for (const int size : {1, 2, 3, 10, 100, 1000, 20000}) {
    for (int trial = 0; trial < 20; ++trial) {
      QByteArray bytes(size, '\0');
      for (char& byte : bytes) byte = static_cast<char>(random() & 0xff);
      // Half of them start like a JPEG file, so that the decoder gets past the first marker.
      if (trial % 2 == 1 && size >= 2) bytes[0] = char(0xff), bytes[1] = char(0xd8);
      ExpectRefused(DecodeJpeg(bytes), "random bytes");
    }
  }
}

TEST(JpegImage, DamagedPictureDataNeverCrashes) {
  // Corrupt entropy data may decode to a garbled picture of the right size or be refused;
  // either is acceptable, a crash is not.
  const QByteArray jpeg = DetailedJpeg();
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    QByteArray damaged = jpeg;
    for (int flips = 0; flips < 1 + trial % 8; ++flips)
      damaged[static_cast<qsizetype>(random() % static_cast<unsigned>(jpeg.size()))] = static_cast<char>(random() & 0xff);
    const TJpegResult result = DecodeJpeg(damaged);
    if (result.Image.isNull())
      EXPECT_FALSE(result.Error.isEmpty());
    else
      EXPECT_TRUE(result.Error.isEmpty());
  }
}

TEST(JpegImage, HugeClaimedSizeIsRefusedBeforeAllocating) {
  const QByteArray small = EncodeJpeg(BlockImage());
  const struct {
    int Width, Height;
  } claims[] = {{65000, 65000}, {20000, 8}, {8, 20000}, {16000, 16000}};
  for (const auto& claim : claims) {
    const TJpegResult result = DecodeJpeg(WithClaimedSize(small, claim.Width, claim.Height));
    ExpectRefused(result, "huge header");
    EXPECT_TRUE(result.Error.contains(QString::number(claim.Width))) << result.Error.toStdString();
  }
}

TEST(JpegImage, EmptyDataIsRefused) { ExpectRefused(DecodeJpeg(QByteArray()), "empty array"); }

TEST(JpegImage, LoadNamesTheFileItCouldNotUse) {
  const TJpegResult missing = LoadJpeg(QStringLiteral("/nonexistent/picture.jpg"));
  EXPECT_TRUE(missing.Image.isNull());
  EXPECT_TRUE(missing.Error.contains(QStringLiteral("/nonexistent/picture.jpg"))) << missing.Error.toStdString();

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("cut.jpg"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(DetailedJpeg().left(300));
  file.close();
  const TJpegResult cut = LoadJpeg(path);
  EXPECT_TRUE(cut.Image.isNull());
  EXPECT_TRUE(cut.Error.startsWith(QStringLiteral("The picture %1 could not be decoded: ").arg(path))) << cut.Error.toStdString();
}

TEST(JpegImage, NullImageEncodesToNothing) { EXPECT_TRUE(EncodeJpeg(QImage()).isEmpty()); }

// Our own artwork, as committed: each file decodes to the size the windows lay out for.
TEST(JpegImage, CommittedArtworkDecodes) {
  const struct {
    const char* Name;
    QSize Size;
  } pictures[] = {
      {"greeting.jpg", {601, 337}},         {"undulator-orbit.jpg", {513, 177}},
      {"symbol-beta.jpg", {96, 24}},        {"symbol-gamma.jpg", {96, 24}},
      {"symbol-lambda-u.jpg", {96, 24}},    {"symbol-lambda-rad.jpg", {96, 24}},
      {"symbol-phi.jpg", {96, 24}},         {"symbol-a.jpg", {96, 24}},
      {"link-bracket.jpg", {24, 60}},
  };
  for (const auto& picture : pictures) {
    const TJpegResult result = LoadJpeg(QStringLiteral(HALVORAN_TEST_DATA_DIR "/") + QLatin1String(picture.Name));
    EXPECT_TRUE(result.Error.isEmpty()) << result.Error.toStdString();
    EXPECT_EQ(result.Image.size(), picture.Size) << picture.Name;
  }
}

}  // namespace
