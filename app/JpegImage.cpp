// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG decoding and encoding through libjpeg. libjpeg reports a fatal error by calling error_exit,
// which by default ends the process; here it jumps back to the call, so a damaged picture only
// gives a null image and a message.
//
// The jumps cross only the small functions below, which hold plain C data: a longjmp skips
// destructors, so no C++ object with one may live between setjmp and the libjpeg calls.
#include "app/JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

// A picture larger than this is refused before anything is allocated for it, so that a header
// claiming a huge size cannot exhaust memory; our own pictures are a few hundred pixels wide.
constexpr JDIMENSION MaxSidePixels = 16384;
constexpr unsigned long long MaxPixels = 64ULL * 1024 * 1024;
// libjpeg's own working memory (progressive coefficient buffers and the like).
constexpr long MaxLibjpegMemoryBytes = 512L * 1024 * 1024;
// Files above this size are not read at all.
constexpr qint64 MaxFileBytes = 64LL * 1024 * 1024;

struct TErrorManager {
  jpeg_error_mgr Base;  // first, so that libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<TErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->Message);
  std::longjmp(manager->Jump, 1);
}

void ErrorExit(j_common_ptr cinfo) { JumpBack(cinfo); }

// libjpeg carries on past corrupt data with a warning (a truncated file is padded with grey);
// a picture with holes is refused like one that cannot be read at all.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) JumpBack(cinfo);
}

// libjpeg would print to stderr.
void OutputMessage(j_common_ptr) {}

void InstallErrorManager(TErrorManager& manager) {
  jpeg_std_error(&manager.Base);
  manager.Base.error_exit = ErrorExit;
  manager.Base.emit_message = EmitMessage;
  manager.Base.output_message = OutputMessage;
  manager.Message[0] = '\0';
}

void SetMessage(TErrorManager& manager, const char* text) {
  std::snprintf(manager.Message, sizeof manager.Message, "%s", text);
}

struct TDecoder {
  jpeg_decompress_struct Info;
  TErrorManager Errors;
};

// Reads the header and starts decompression; false with Errors.Message set on failure.
bool StartDecoding(TDecoder& decoder, const unsigned char* data, unsigned long size) {
  if (setjmp(decoder.Errors.Jump)) return false;
  jpeg_create_decompress(&decoder.Info);
  decoder.Info.mem->max_memory_to_use = MaxLibjpegMemoryBytes;
  jpeg_mem_src(&decoder.Info, data, size);
  jpeg_read_header(&decoder.Info, TRUE);
  if (decoder.Info.image_width > MaxSidePixels || decoder.Info.image_height > MaxSidePixels ||
      static_cast<unsigned long long>(decoder.Info.image_width) * decoder.Info.image_height >
          MaxPixels) {
    std::snprintf(decoder.Errors.Message, sizeof decoder.Errors.Message,
                  "the picture claims %u x %u pixels, more than this program accepts",
                  static_cast<unsigned>(decoder.Info.image_width),
                  static_cast<unsigned>(decoder.Info.image_height));
    return false;
  }
  switch (decoder.Info.jpeg_color_space) {
    case JCS_GRAYSCALE:
      decoder.Info.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      decoder.Info.out_color_space = JCS_CMYK;
      break;
    default:
      decoder.Info.out_color_space = JCS_RGB;
      break;
  }
  jpeg_start_decompress(&decoder.Info);
  return true;
}

unsigned char Clamp255(int value) { return static_cast<unsigned char>(value < 0 ? 0 : value > 255 ? 255 : value); }

// Decodes every scanline into RGB32 pixels at bits (bytesPerLine apart).
bool DecodeScanlines(TDecoder& decoder, unsigned char* bits, long bytesPerLine) {
  if (setjmp(decoder.Errors.Jump)) return false;
  jpeg_decompress_struct& info = decoder.Info;
  const int components = info.output_components;
  // The row buffer belongs to libjpeg's image pool and is freed by jpeg_destroy, jump or not.
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             info.output_width * components, 1);
  // Adobe writes CMYK inverted (0 = full ink); others do not.
  const bool invertedInk = info.saw_Adobe_marker;
  while (info.output_scanline < info.output_height) {
    const JDIMENSION y = info.output_scanline;
    if (jpeg_read_scanlines(&info, row, 1) != 1) {
      SetMessage(decoder.Errors, "the picture data ends early");
      return false;
    }
    auto* out = reinterpret_cast<quint32*>(bits + static_cast<long>(y) * bytesPerLine);
    const JSAMPLE* in = row[0];
    for (JDIMENSION x = 0; x < info.output_width; ++x, in += components) {
      int r, g, b;
      if (components == 1) {
        r = g = b = in[0];
      } else if (components == 3) {
        r = in[0], g = in[1], b = in[2];
      } else if (components == 4) {
        const int c = invertedInk ? in[0] : 255 - in[0];
        const int m = invertedInk ? in[1] : 255 - in[1];
        const int ye = invertedInk ? in[2] : 255 - in[2];
        const int k = invertedInk ? in[3] : 255 - in[3];
        r = c * k / 255, g = m * k / 255, b = ye * k / 255;
      } else {
        SetMessage(decoder.Errors, "the picture has an unsupported colour layout");
        return false;
      }
      out[x] = 0xff000000u | (quint32(Clamp255(r)) << 16) | (quint32(Clamp255(g)) << 8) | Clamp255(b);
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

TJpegResult Failure(const QString& name, const char* reason) {
  const QString who = name.isEmpty() ? QStringLiteral("The picture") : QStringLiteral("The picture %1").arg(name);
  return {QImage(), QStringLiteral("%1 could not be decoded: %2").arg(who, QString::fromLocal8Bit(reason))};
}

TJpegResult DecodeNamed(const QByteArray& data, const QString& name) {
  if (data.isEmpty()) return Failure(name, "the data is empty");
  TDecoder decoder;
  std::memset(&decoder, 0, sizeof decoder);
  InstallErrorManager(decoder.Errors);
  decoder.Info.err = &decoder.Errors.Base;

  TJpegResult result;
  if (StartDecoding(decoder, reinterpret_cast<const unsigned char*>(data.constData()),
                    static_cast<unsigned long>(data.size()))) {
    QImage image(static_cast<int>(decoder.Info.output_width), static_cast<int>(decoder.Info.output_height),
                 QImage::Format_RGB32);
    if (image.isNull())
      SetMessage(decoder.Errors, "there is not enough memory for it");
    else if (DecodeScanlines(decoder, image.bits(), static_cast<long>(image.bytesPerLine())))
      result.Image = image;
  }
  const bool failed = result.Image.isNull();
  if (failed) result = Failure(name, decoder.Errors.Message[0] ? decoder.Errors.Message : "unknown error");
  // Safe also when creation itself failed: the zeroed struct has no memory manager to release.
  jpeg_destroy_decompress(&decoder.Info);
  return result;
}

struct TEncoder {
  jpeg_compress_struct Info;
  TErrorManager Errors;
  unsigned char* Output;  // malloc'ed by libjpeg's memory destination
  unsigned long OutputSize;
};

// Encodes width x height RGB888 rows at bits (bytesPerLine apart).
bool EncodeRows(TEncoder& encoder, const unsigned char* bits, int width, int height, long bytesPerLine,
                int quality) {
  if (setjmp(encoder.Errors.Jump)) return false;
  jpeg_compress_struct& info = encoder.Info;
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &encoder.Output, &encoder.OutputSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  // Full-resolution colour: the artwork has thin coloured lines and small text.
  if (quality >= 90)
    for (int i = 0; i < info.num_components; ++i) info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg does not write through the row pointer; its interface is simply not const.
    JSAMPROW row = const_cast<JSAMPLE*>(bits + static_cast<long>(info.next_scanline) * bytesPerLine);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

TJpegResult DecodeJpeg(const QByteArray& data) { return DecodeNamed(data, QString()); }

TJpegResult LoadJpeg(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {QImage(), QStringLiteral("The picture %1 could not be read: %2").arg(path, file.errorString())};
  if (file.size() > MaxFileBytes)
    return {QImage(), QStringLiteral("The picture %1 could not be read: the file is too large").arg(path)};
  return DecodeNamed(file.readAll(), path);
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  TEncoder encoder;
  std::memset(&encoder, 0, sizeof encoder);
  InstallErrorManager(encoder.Errors);
  encoder.Info.err = &encoder.Errors.Base;
  const bool ok = EncodeRows(encoder, rgb.constBits(), rgb.width(), rgb.height(),
                             static_cast<long>(rgb.bytesPerLine()), quality < 1 ? 1 : quality > 100 ? 100 : quality);
  QByteArray bytes;
  if (ok && encoder.Output) bytes = QByteArray(reinterpret_cast<const char*>(encoder.Output), static_cast<qsizetype>(encoder.OutputSize));
  jpeg_destroy_compress(&encoder.Info);
  std::free(encoder.Output);
  return bytes;
}
