// SPDX-License-Identifier: GPL-3.0-or-later
// A recording of the circle is compact and close to its pictures: decoded, its luma within SSIM
// 0.98 of every picture drawn, in fewer bytes than a bound; and the similarity measure itself.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "engine/SimulationCommands.h"
#include "export/VideoRecorder.h"
#include "plot/MainPictureImage.h"
#include "tests/export/LumaSimilarity.h"

namespace {

// The default circle (beta 0.9) from tick 60 on, the field filling most of the picture.
std::vector<QImage> CirclePictures(QSize size, int count) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  if (commands.Start() || commands.ChooseTrajectory(tmCircle, TTrajectoryParameters{}))
    ADD_FAILURE() << "the default circle was refused";
  for (int tick = 0; tick < 60; ++tick) commands.RunTick();
  std::vector<QImage> pictures;
  for (int k = 0; k < count; ++k) {
    commands.RunTick();
    pictures.push_back(RenderMainPicture(state, display, size, 1.0, DefaultMainRange(size)));
  }
  return pictures;
}

struct TPlane {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Values;
};

TPlane Filled(int width, int height, uint8_t value) {
  return {width, height, std::vector<uint8_t>(static_cast<std::size_t>(width) * height, value)};
}

double Ssim(const TPlane& a, const TPlane& b) {
  return LumaSsim(a.Values.data(), a.Width, b.Values.data(), b.Width, a.Width, a.Height);
}

TEST(LumaSimilarity, IsOneForEqualPlanesAndFallsWithWhatAnEyeSees) {
  TPlane lines = Filled(64, 48, 16);
  for (int row = 0; row < lines.Height; row += 6)
    for (int column = 0; column < lines.Width; ++column)
      lines.Values[row * lines.Width + column] = 200;
  TPlane shifted = lines;  // the lines one row lower
  for (int row = lines.Height - 1; row > 0; --row)
    for (int column = 0; column < lines.Width; ++column)
      shifted.Values[row * lines.Width + column] = lines.Values[(row - 1) * lines.Width + column];
  TPlane noisy = lines;
  std::mt19937 random(7);
  for (uint8_t& value : noisy.Values) value = static_cast<uint8_t>(value + random() % 3);
  TPlane darker = lines;  // the same structure, 40 levels darker
  for (uint8_t& value : darker.Values) value = static_cast<uint8_t>(value > 40 ? value - 40 : 16);
  const struct {
    const char* Name;
    const TPlane& A;
    const TPlane& B;
    double Least, Most;
  } rows[] = {
      {"equal line art", lines, lines, 1.0, 1.0},
      {"equal flat grey", Filled(64, 48, 128), Filled(64, 48, 128), 1.0, 1.0},
      {"black against white", Filled(64, 48, 16), Filled(64, 48, 235), 0.1, 0.2},
      {"lines moved by a row", lines, shifted, -0.5, 0.3},
      {"two levels of noise", lines, noisy, 0.99, 0.99999},
      {"the same lines darker", lines, darker, 0.8, 0.99},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const double ssim = Ssim(row.A, row.B);
    EXPECT_GE(ssim, row.Least - 1e-9);
    EXPECT_LE(ssim, row.Most + 1e-9);
    EXPECT_NEAR(ssim, Ssim(row.B, row.A), 1e-12) << "symmetric";
  }
}

TEST(LumaSimilarity, StudioLumaIsBt601) {
  QImage picture(4, 1, QImage::Format_RGB32);
  const struct {
    QRgb Colour;
    int Luma;
  } rows[] = {{qRgb(0, 0, 0), 16},
              {qRgb(255, 255, 255), 235},
              {qRgb(255, 0, 0), 81},
              {qRgb(0, 191, 255), 137}};
  for (int k = 0; k < 4; ++k) picture.setPixel(k, 0, rows[k].Colour);
  const std::vector<uint8_t> luma = StudioLuma(picture);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(luma[k], rows[k].Luma) << k;
}

struct TRecordingRow {
  const char* Name;
  bool Live;
  QSize Size;
  double LeastSsim;
  double MostBytesPerPicture;
};

class RecordingSizeTest : public ::testing::TestWithParam<TRecordingRow> {};

// Line art on black that moves a little every tick: the encoder must neither spend the bytes of
// new pictures on it nor blur its lines away.
TEST_P(RecordingSizeTest, TheCircleDecodesCloseToItsPicturesInFewBytes) {
  const TRecordingRow row = GetParam();
  const QSize size = row.Size;
  const std::vector<QImage> pictures = CirclePictures(size, 120);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("circle.mp4"));
  TVideoRecorderOptions options;
  options.Live = row.Live;
  {
    TVideoRecorder recorder(path, size, 60, options);
    // Each picture waits for a free slot: none is dropped, and the size does not vary from run
    // to run.
    for (const QImage& picture : pictures) {
      while (!recorder.AddFrame(picture) && !recorder.Failed())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(recorder.Finish().FramesWritten, static_cast<long long>(pictures.size()));
  }
  double sum = 0.0;
  int decoded = 0;
  EXPECT_TRUE(
      DecodeLuma(path, [&](int index, const uint8_t* luma, int stride, int width, int height) {
        ASSERT_LT(index, static_cast<int>(pictures.size()));
        ASSERT_EQ(QSize(width, height), size);
        const std::vector<uint8_t> drawn = StudioLuma(pictures[index]);
        sum += LumaSsim(drawn.data(), width, luma, stride, width, height);
        ++decoded;
      }));
  EXPECT_EQ(decoded, static_cast<int>(pictures.size()));
  EXPECT_GE(sum / std::max(1, decoded), row.LeastSsim);
  const double bytesPerPicture =
      static_cast<double>(QFileInfo(path).size()) / static_cast<double>(pictures.size());
  EXPECT_LT(bytesPerPicture, row.MostBytesPerPicture);
}

// The bounds: about 1.3 times the bytes measured; the SSIM is the mean over the pictures.
INSTANTIATE_TEST_SUITE_P(Settings, RecordingSizeTest,
                         ::testing::Values(TRecordingRow{"live", true, {960, 516}, 0.98, 44000.0},
                                           TRecordingRow{
                                               "compact", false, {960, 516}, 0.98, 35000.0}),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
