// The command-line parser on arbitrary arguments (the input split at line ends, one argument a
// line): it starts the window, renders, prints help or the version, or refuses with a message,
// and what it lets through lies within the bounds the rest of the program relies on.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/CommandLine.h"
#include "engine/ModelLimits.h"

namespace {

[[noreturn]] void Failure(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

void CheckRender(const TCommandLine& line) {
  if (line.RenderFile.isEmpty()) Failure("a render without a file");
  if (line.Ticks < 0 || line.Ticks > MaxTicks || line.FromTick < 0 || line.FromTick > line.Ticks)
    Failure("ticks outside their bounds");
  if (line.Size.width() < MinPictureSide || line.Size.width() > MaxPictureSide ||
      line.Size.height() < MinPictureSide || line.Size.height() > MaxPictureSide)
    Failure("a picture size outside its bounds");
  if (!(line.PixelRatio >= MinPixelRatio && line.PixelRatio <= MaxPixelRatio))
    Failure("a pixel ratio outside its bounds");
  const long long devicePixels = std::llround(line.Size.width() * line.PixelRatio) *
                                 std::llround(line.Size.height() * line.PixelRatio);
  if (devicePixels > MaxDevicePixels) Failure("too many device pixels");
  if (line.TrajectoryMode < tmMouse || line.TrajectoryMode > tmBending)
    Failure("an unknown trajectory kind");
  // The model the render will build: the sizes given, the rest from the start-up model.
  const TSimulationState startUp;
  if (line.ISize.has_value() != line.JSize.has_value()) Failure("one model size without the other");
  const std::string refusal =
      CheckModelSize(line.ISize.value_or(startUp.ISize), line.JSize.value_or(startUp.JSize),
                     line.WaveFrontSpacing.value_or(startUp.WaveFrontSpacing));
  if (!refusal.empty()) Failure(refusal.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QStringList arguments;
  for (const QByteArray& part : bytes.split('\n')) arguments << QString::fromUtf8(part);
  const TCommandLine line = ParseCommandLine(arguments);
  switch (line.Action) {
    case TCommandAction::Refuse:
      if (line.Message.isEmpty()) Failure("a refusal without a message");
      break;
    case TCommandAction::Render:
      CheckRender(line);
      break;
    case TCommandAction::Start:
      if (!line.Language.isEmpty() && line.Language != QLatin1String("ja") &&
          line.Language != QLatin1String("en"))
        Failure("an unknown language let through");
      break;
    case TCommandAction::Help:
    case TCommandAction::Version:
      break;
  }
  return 0;
}
