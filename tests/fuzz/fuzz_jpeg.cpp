// SPDX-License-Identifier: GPL-3.0-or-later
// The JPEG decoder on arbitrary bytes: it gives either a picture or a message, never both or
// neither, and a picture it gives can be encoded and decoded again at the same size.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/JpegImage.h"

namespace {

// Re-encoding is only worth its time on pictures of a usual size.
constexpr qsizetype MaxRoundTripPixels = 1024 * 1024;

[[noreturn]] void Failure(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const TJpegResult result = DecodeJpeg(bytes);
  if (result.Image.isNull() == result.Error.isEmpty())
    Failure("the decoder must give a picture or a message");
  if (result.Image.isNull()) return 0;
  if (static_cast<qsizetype>(result.Image.width()) * result.Image.height() > MaxRoundTripPixels)
    return 0;
  const TJpegResult again = DecodeJpeg(EncodeJpeg(result.Image));
  if (again.Image.isNull() || again.Image.size() != result.Image.size())
    Failure("a decoded picture does not survive encoding and decoding");
  return 0;
}
