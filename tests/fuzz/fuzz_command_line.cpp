// SPDX-License-Identifier: GPL-3.0-or-later
// The core's option parser on arbitrary arguments (the input split at line ends, one argument a
// line, bytes as they come): it starts the animation, renders, prints help or the version, or
// refuses with a code the front-ends word, and what it lets through lies within the bounds the
// rest of the program relies on. The desktop's adapter words every refusal on top.
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "engine/ModelLimits.h"
#include "options/CommandLineOptions.h"

namespace {

[[noreturn]] void Failure(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// The values any run may take, in either mode.
void CheckValues(const TCommandOptions& o) {
  if (o.Ticks && (*o.Ticks < 0 || *o.Ticks > MaxTicks)) Failure("ticks outside their bounds");
  if (o.FromTick < 0 || o.FromTick > MaxTicks) Failure("the first tick outside its bounds");
  if (o.Size && (o.Size->Width < MinPictureSide || o.Size->Width > MaxPictureSide ||
                 o.Size->Height < MinPictureSide || o.Size->Height > MaxPictureSide))
    Failure("a picture size outside its bounds");
  if (o.PixelRatio && !(*o.PixelRatio >= MinPixelRatio && *o.PixelRatio <= MaxPixelRatio))
    Failure("a pixel ratio outside its bounds");
  const TPixelSize size = o.Size.value_or(DefaultPictureSize);
  const double ratio = o.PixelRatio.value_or(DefaultPixelRatio);
  if (std::llround(size.Width * ratio) * std::llround(size.Height * ratio) > MaxDevicePixels)
    Failure("too many device pixels");
  if (o.TrajectoryMode < tmMouse || o.TrajectoryMode > tmBending)
    Failure("an unknown trajectory kind");
  if (!o.Language.empty() && o.Language != "ja" && o.Language != "en")
    Failure("an unknown language let through");
  // The model the run will build: the sizes given, the rest from the start-up model.
  const TSimulationState startUp;
  if (o.ISize.has_value() != o.JSize.has_value()) Failure("one model size without the other");
  if (CheckModelSize(o.ISize.value_or(startUp.ISize), o.JSize.value_or(startUp.JSize),
                     o.WaveFrontSpacing.value_or(startUp.WaveFrontSpacing)))
    Failure("a model the engine refuses let through");
}

void CheckRender(const TCommandOptions& o) {
  if (o.Mode != TOptionsMode::Render) Failure("a render in the animation's mode");
  if (o.RenderFile.empty()) Failure("a render without a file");
  if (!o.Ticks || !o.Size || !o.PixelRatio) Failure("a render without its defaults");
  if (o.FromTick > *o.Ticks) Failure("a first tick after the last");
  if (o.FromTick != 0 && !o.IsVideo()) Failure("a first tick of a picture");
}

void CheckRefusal(const TCommandOptions& o) {
  if (!o.Refusal) Failure("a refusal without a code");
  if (*RefusalCodeName(o.Refusal.Code) == '\0') Failure("a refusal of no known code");
  for (const TRefusalValue& value : o.Refusal.Values)
    if (RefusalValueText(value).empty() && *NonFiniteWord(value) == '\0' &&
        value.Kind != TRefusalValue::TKind::Text)
      Failure("a value the sentence cannot show");
  // Only the options whose values a check of the simulation or the observer's trace refuses.
  if (!o.RefusedOption.empty() && o.RefusedOption != "--model" &&
      o.RefusedOption != "--observer" && o.RefusedOption != "--spectrum-csv")
    Failure("a wrapped refusal of an option that checks no simulation");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      arguments.emplace_back();
    else
      arguments.back() += static_cast<char>(data[i]);
  }
  const TCommandOptions o = ParseCommandOptions(arguments);
  switch (o.Action) {
    case TCommandAction::Refuse:
      CheckRefusal(o);
      break;
    case TCommandAction::Render:
      CheckRender(o);
      CheckValues(o);
      break;
    case TCommandAction::Start:
      if (o.Mode != TOptionsMode::Animation) Failure("a start in the render's mode");
      CheckValues(o);
      break;
    case TCommandAction::Help:
    case TCommandAction::Version:
      break;
  }
  // The desktop reads the same line, as UTF-8, and words a refusal in one line.
  QStringList texts;
  for (const std::string& argument : arguments)
    texts << QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
  const TCommandLine line = ParseCommandLine(texts);
  if (line.Action == TCommandAction::Refuse && line.Message.isEmpty())
    Failure("a refusal without a message");
  return 0;
}
