// SPDX-License-Identifier: GPL-3.0-or-later
// Whole writes: a device that takes part of a write (a disk filling up) gets the rest in further
// writes, and one that takes nothing more is a failure that keeps the device's reason; names that
// are devices or pipes, which no finished file may replace.
#include "app/FileWriting.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// Takes at most Chunk bytes per write and Capacity bytes in all, then refuses as a full disk does.
class TFillingDevice final : public QIODevice {
 public:
  TFillingDevice(qint64 chunk, qint64 capacity) : Chunk(chunk), Capacity(capacity) {
    open(QIODevice::WriteOnly);
  }
  QByteArray Taken;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    const qint64 room = Capacity - Taken.size();
    if (room <= 0) {
      setErrorString(QStringLiteral("No space left on device"));
      return -1;
    }
    const qint64 n = std::min({size, Chunk, room});
    Taken.append(data, n);
    return n;
  }

 private:
  qint64 Chunk;
  qint64 Capacity;
};

TEST(WholeWriteTest, ShortWritesAreFollowedUpAndAFullDeviceIsAFailure) {
  QByteArray data(10000, '\0');
  for (int i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  struct Row {
    qint64 chunk, capacity;
    bool whole;
  };
  const Row rows[] = {
      {1 << 20, 1 << 20, true},  // takes everything at once
      {4096, 1 << 20, true},     // short writes, room for all
      {1, 10000, true},          // a byte at a time, exactly full
      {1 << 20, 5000, false},    // half taken, then full: the case that left half an SVG
      {4096, 9999, false},       // one byte short
      {4096, 0, false},          // full from the start
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "chunk " << row.chunk << ", capacity " << row.capacity);
    TFillingDevice device(row.chunk, row.capacity);
    EXPECT_EQ(WriteWhole(device, data), row.whole);
    if (row.whole) {
      EXPECT_EQ(device.Taken, data);
    } else {
      EXPECT_EQ(device.errorString(), QStringLiteral("No space left on device"));
      EXPECT_EQ(device.Taken, data.left(row.capacity)) << "what was taken came in order";
    }
  }
}

TEST(WholeWriteTest, NothingToWriteSucceedsWithoutAWrite) {
  TFillingDevice device(4096, 0);
  EXPECT_TRUE(WriteWhole(device, QByteArray()));
}

// Renaming a finished file into the name would put a plain file where the device or pipe was.
TEST(DeviceNameTest, DevicesAndPipesAreToldFromFilesAlsoThroughLinks) {
  QTemporaryDir dir;
  const auto at = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
  QFile plain(at("plain.png"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  ASSERT_EQ(mkfifo(QFile::encodeName(at("pipe.gif")).constData(), 0600), 0);
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.mp4")));
  ASSERT_TRUE(QFile::link(at("pipe.gif"), at("to-pipe.gif")));
  ASSERT_TRUE(QFile::link(at("plain.png"), at("to-plain.png")));
  ASSERT_TRUE(QFile::link(at("nothing.png"), at("dangling.png")));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), at("to-null.mp4")));
  const struct {
    QString Path;
    bool Device;
  } rows[] = {
      {at("plain.png"), false},    {at("missing.png"), false},  {at("folder.mp4"), false},
      {at("to-plain.png"), false}, {at("dangling.png"), false}, {at("pipe.gif"), true},
      {at("to-pipe.gif"), true},   {at("to-null.mp4"), true},   {QStringLiteral("/dev/null"), true},
  };
  for (const auto& row : rows)
    EXPECT_EQ(IsDeviceOrPipe(row.Path), row.Device) << row.Path.toStdString();
}

}  // namespace
