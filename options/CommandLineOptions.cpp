// SPDX-License-Identifier: GPL-3.0-or-later
// The option parser on plain strings: each argument read in its turn, the first fault refused with
// its code and the texts as typed. No exceptions: the core is also built without them.
#include "options/CommandLineOptions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <locale>
#include <sstream>
#include <string_view>
#include <utility>

#include "engine/ModelLimits.h"

namespace {

struct TNamedValue {
  const char* Name;
  int Value;
};
const TNamedValue Trajectories[] = {
    {"mouse", tmMouse},     {"line", tmStraightLine},   {"dipole", tmDipole},
    {"circle", tmCircle},   {"undulator", tmUndulator}, {"racetrack", tmRaceTrack},
    {"bending", tmBending},
};
const TNamedValue Themes[] = {
    {"dark", static_cast<int>(TTheme::Dark)},
    {"projector", static_cast<int>(TTheme::Projector)},
};

struct TNamedModel {
  const char* Name;
  TModelSizePreset Preset;
};
const TNamedModel Models[] = {
    {"small", ModelSizeSmall}, {"medium", ModelSizeMedium}, {"large", ModelSizeLarge}};

struct TNamedOutput {
  const char* Name;
  TOutputKind Kind;
};
const TNamedOutput Outputs[] = {{"png", TOutputKind::Png},
                                {"svg", TOutputKind::Svg},
                                {"mp4", TOutputKind::Mp4},
                                {"webm", TOutputKind::WebM},
                                {"gif", TOutputKind::Gif}};

template <class T, std::size_t N>
const T* Find(const T (&table)[N], std::string_view name) {
  for (const T& entry : table)
    if (name == entry.Name) return &entry;
  return nullptr;
}

template <class T, std::size_t N>
std::string NamesOf(const T (&table)[N]) {
  std::string names;
  for (const T& entry : table) {
    if (!names.empty()) names += '|';
    names += entry.Name;
  }
  return names;
}

TRefusalValue Text(std::string text) {
  return TRefusalValue::OfText(std::move(text));
}
TRefusalValue Count(double v) {
  return TRefusalValue::OfCount(v);
}
// A bound as the sentence shows it: every digit of a whole one ("0 .. 999999999", "1 .. 4"),
// where a count would go over to "1.00E+09".
TRefusalValue Bound(double v) {
  if (v != std::floor(v)) return TRefusalValue::OfNumber(v);
  return Text(std::to_string(static_cast<long long>(v)));
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number of plain digits (no sign, no blanks) within low .. high. One of more than nine
// digits lies beyond every bound the options have, and is not read at all.
TRefusal WholeNumber(const std::string& option, const std::string& text, int low, int high,
                     int& value) {
  if (!AllDigits(text)) return Refused(TRefusalCode::NotAWholeNumber, {Text(option), Text(text)});
  long long read = -1;
  if (text.size() <= 9) {
    read = 0;
    for (const char c : text) read = read * 10 + (c - '0');
  }
  if (read < low || read > high)
    return Refused(TRefusalCode::OutOfRange, {Text(option), Text(text), Bound(low), Bound(high)});
  value = static_cast<int>(read);
  return {};
}

// Digits with at most one decimal point between digits ("1.5", not "1.", ".5", "1e3" or "1,5"),
// read in the C locale whatever the user's is. False for anything else, and for a number beyond
// a double.
bool PlainReal(std::string_view text, double& value) {
  const std::size_t point = text.find('.');
  bool plain = AllDigits(text.substr(0, point));
  if (point != std::string_view::npos) plain = plain && AllDigits(text.substr(point + 1));
  if (!plain) return false;
  std::istringstream stream{std::string(text)};
  stream.imbue(std::locale::classic());
  double read = 0.0;
  stream >> read;
  // Hundreds of digits overflow the double: failed, or infinite.
  if (stream.fail() || !std::isfinite(read)) return false;
  value = read;
  return true;
}

TRefusal RealNumber(const std::string& option, const std::string& text, double low, double high,
                    double& value) {
  double read = 0.0;
  if (!PlainReal(text, read)) return Refused(TRefusalCode::NotANumber, {Text(option), Text(text)});
  if (read < low || read > high)
    return Refused(TRefusalCode::OutOfRange, {Text(option), Text(text), Bound(low), Bound(high)});
  value = read;
  return {};
}

// "WxH" (the x of either case) as two whole numbers, each within low .. high.
TRefusal Pair(const std::string& option, const std::string& text, int low, int high, int& first,
              int& second) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos || !AllDigits(std::string_view(text).substr(0, x)) ||
      !AllDigits(std::string_view(text).substr(x + 1)))
    return Refused(TRefusalCode::NotAPair, {Text(option), Text(text)});
  if (TRefusal refusal = WholeNumber(option, text.substr(0, x), low, high, first)) return refusal;
  return WholeNumber(option, text.substr(x + 1), low, high, second);
}

// "X,Y" as two plain real numbers, each with a minus sign or none ("-0.5,0.25"): a place in the
// model plane, checked as the display's commands check the eye.
TRefusal ReadObserver(const std::string& option, const std::string& text,
                      TCommandOptions& options) {
  const std::size_t comma = text.find(',');
  const auto coordinate = [&](std::string_view part, double& value) {
    const bool negative = !part.empty() && part.front() == '-';
    if (negative) part.remove_prefix(1);
    if (!PlainReal(part, value)) return false;
    if (negative) value = -value;
    return true;
  };
  TVector2 place;
  if (comma == std::string::npos ||
      !coordinate(std::string_view(text).substr(0, comma), place.X) ||
      !coordinate(std::string_view(text).substr(comma + 1), place.Y))
    return Refused(TRefusalCode::NotAPoint, {Text(option), Text(text)});
  TObserverSettings observer;
  observer.Shown = true;
  observer.Place = place;
  if (TRefusal refusal = CheckObserver(observer)) {
    options.RefusedOption = option;
    return refusal;
  }
  options.Observer = place;
  return {};
}

// The suffix is what follows the last dot of the file's own name, so that a dot in a folder's
// name (dir.v2/a) is no suffix.
TRefusal OutputOf(const std::string& option, const std::string& file, TOutputKind& kind) {
  if (file.empty()) return Refused(TRefusalCode::EmptyFileName, {Text(option)});
  const std::size_t slash = file.rfind('/');
  const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  std::string suffix = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  for (char& c : suffix)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const TNamedOutput* output = Find(Outputs, suffix);
  if (!output) return Refused(TRefusalCode::BadSuffix, {Text(option), Text(file)});
  // ".png" (or "..png") is a suffix alone: it would be written as a hidden file that the user
  // does not see in the folder, most likely a name left out by mistake.
  const std::string_view before = std::string_view(name).substr(0, dot);
  if (std::all_of(before.begin(), before.end(), [](char c) { return c == '.'; }))
    return Refused(TRefusalCode::OnlySuffix, {Text(option), Text(file)});
  kind = output->Kind;
  return {};
}

TRefusal ReadModel(const std::string& option, const std::string& text, TCommandOptions& options) {
  if (const TNamedModel* model = Find(Models, text)) {
    options.ISize = model->Preset.ISize;
    options.JSize = model->Preset.JSize;
    options.WaveFrontSpacing = model->Preset.WaveFrontSpacing;
    return {};
  }
  int rows = 0;
  int lines = 0;
  if (TRefusal refusal = Pair(option, text, 0, 999999999, rows, lines)) {
    if (refusal.Code == TRefusalCode::NotAPair)
      return Refused(TRefusalCode::UnknownModelName,
                     {Text(option), Text(text), Text(NamesOf(Models))});
    return refusal;
  }
  // Checked with the start-up spacing, which the model keeps.
  if (TRefusal refusal = CheckModelSize(rows, lines, TSimulationState{}.WaveFrontSpacing)) {
    options.RefusedOption = option;
    return refusal;
  }
  options.ISize = rows;
  options.JSize = lines;
  options.WaveFrontSpacing.reset();
  return {};
}

class TParser {
 public:
  explicit TParser(const std::vector<std::string>& arguments) : Arguments(arguments) {}

  // No refusal: Options holds what the arguments ask for.
  TRefusal Parse();

  TCommandOptions Options;

 private:
  TRefusal ReadArgument();
  TRefusal Finish();

  // The option's value, attached ("--ticks=5") or the next argument.
  TRefusal Value(std::string& value) {
    if (Attached) {
      value = *Attached;
      return {};
    }
    if (Next >= Arguments.size()) return Refused(TRefusalCode::MissingValue, {Text(Name)});
    value = Arguments[Next++];
    return {};
  }
  TRefusal Flag() const {
    if (Attached) return Refused(TRefusalCode::TakesNoValue, {Text(Name)});
    return {};
  }

  const std::vector<std::string>& Arguments;
  std::size_t Next = 0;
  // The option being read, and its value where one was attached to it.
  std::string Name;
  std::optional<std::string> Attached;
  // Options already given. A second one would silently override the first, and which of the
  // two the user meant cannot be told.
  std::vector<std::string> Given;
  bool Help = false;
  bool Version = false;
  bool Render = false;
  bool From = false;
  std::string ScaleText;
};

TRefusal TParser::Parse() {
  while (Next < Arguments.size())
    if (TRefusal refusal = ReadArgument()) return refusal;
  return Finish();
}

TRefusal TParser::ReadArgument() {
  const std::string& argument = Arguments[Next++];
  if (argument.rfind("--", 0) != 0)
    return Refused(TRefusalCode::UnexpectedArgument, {Text(argument)});
  Name = argument;
  Attached.reset();
  const std::size_t equals = argument.find('=');
  if (equals != std::string::npos) {
    Name = argument.substr(0, equals);
    Attached = argument.substr(equals + 1);
  }
  // Only a known option gets into the list: an unknown one is refused at its first sight.
  if (std::find(Given.begin(), Given.end(), Name) != Given.end())
    return Refused(TRefusalCode::GivenTwice, {Text(Name)});

  TCommandOptions& o = Options;
  std::string value;
  TRefusal refusal;
  if (Name == "--help") {
    refusal = Flag();
    Help = true;
  } else if (Name == "--version") {
    refusal = Flag();
    Version = true;
  } else if (Name == "--language") {
    if (!(refusal = Value(value))) {
      if (value == "ja" || value == "en")
        o.Language = value;
      else
        refusal = Refused(TRefusalCode::UnknownLanguage, {Text(Name), Text(value)});
    }
  } else if (Name == "--render") {
    if (!(refusal = Value(value))) refusal = OutputOf(Name, value, o.Output);
    o.RenderFile = value;
    Render = true;
  } else if (Name == "--scene" || Name == "--save-scene") {
    if (!(refusal = Value(value)) && value.empty())
      refusal = Refused(TRefusalCode::EmptyFileName, {Text(Name)});
    (Name == "--scene" ? o.SceneFile : o.SaveSceneFile) = value;
  } else if (Name == "--observer") {
    if (!(refusal = Value(value))) refusal = ReadObserver(Name, value, o);
  } else if (Name == "--observer-csv" || Name == "--spectrum-csv") {
    if (!(refusal = Value(value)) && value.empty())
      refusal = Refused(TRefusalCode::EmptyFileName, {Text(Name)});
    (Name == "--observer-csv" ? o.ObserverCsvFile : o.SpectrumCsvFile) = value;
  } else if (Name == "--trajectory") {
    if (!(refusal = Value(value))) {
      if (const TNamedValue* trajectory = Find(Trajectories, value))
        o.TrajectoryMode = trajectory->Value;
      else
        refusal = Refused(TRefusalCode::UnknownTrajectoryName,
                          {Text(Name), Text(value), Text(NamesOf(Trajectories))});
    }
  } else if (Name == "--ticks") {
    int ticks = 0;
    if (!(refusal = Value(value)) && !(refusal = WholeNumber(Name, value, 0, MaxTicks, ticks)))
      o.Ticks = ticks;
  } else if (Name == "--from") {
    if (!(refusal = Value(value))) refusal = WholeNumber(Name, value, 0, MaxTicks, o.FromTick);
    From = true;
  } else if (Name == "--size") {
    TPixelSize size;
    if (!(refusal = Value(value)) &&
        !(refusal = Pair(Name, value, MinPictureSide, MaxPictureSide, size.Width, size.Height)))
      o.Size = size;
  } else if (Name == "--scale") {
    double ratio = 0.0;
    if (!(refusal = Value(value)) &&
        !(refusal = RealNumber(Name, value, MinPixelRatio, MaxPixelRatio, ratio)))
      o.PixelRatio = ratio;
    ScaleText = value;
  } else if (Name == "--model") {
    if (!(refusal = Value(value))) refusal = ReadModel(Name, value, o);
  } else if (Name == "--wavefronts") {
    refusal = Flag();
    o.WaveFronts = true;
  } else if (Name == "--nodes") {
    refusal = Flag();
    o.NodePoints = true;
  } else if (Name == "--arrows") {
    refusal = Flag();
    o.FieldArrows = true;
  } else if (Name == "--no-field-lines") {
    refusal = Flag();
    o.FieldLines = false;
  } else if (Name == "--smooth" || Name == "--aliased") {
    refusal = Flag();
    // The other of the two is given already (the same one is refused above as given twice).
    if (!refusal && o.Smooth.has_value())
      refusal = Refused(TRefusalCode::ExcludeEachOther, {Text("--smooth"), Text("--aliased")});
    o.Smooth = Name == "--smooth";
  } else if (Name == "--caption" || Name == "--no-caption") {
    refusal = Flag();
    if (!refusal && o.Caption.has_value())
      refusal = Refused(TRefusalCode::ExcludeEachOther, {Text("--caption"), Text("--no-caption")});
    o.Caption = Name == "--caption";
  } else if (Name == "--theme") {
    if (!(refusal = Value(value))) {
      if (const TNamedValue* theme = Find(Themes, value))
        o.Theme = static_cast<TTheme>(theme->Value);
      else
        refusal = Refused(TRefusalCode::UnknownTrajectoryName,
                          {Text(Name), Text(value), Text(NamesOf(Themes))});
    }
  } else {
    return Refused(TRefusalCode::UnknownOption, {Text(Name)});
  }
  if (refusal) return refusal;
  Given.push_back(Name);
  o.GivenOptions.push_back(Name);
  return {};
}

TRefusal TParser::Finish() {
  TCommandOptions& o = Options;
  o.Mode = Render ? TOptionsMode::Render : TOptionsMode::Animation;
  if (Help) {
    o.Action = TCommandAction::Help;
    return {};
  }
  if (Version) {
    o.Action = TCommandAction::Version;
    return {};
  }
  const bool saveScene = !o.SaveSceneFile.empty();
  if (saveScene && Render)
    return Refused(TRefusalCode::ExcludeEachOther, {Text("--render"), Text("--save-scene")});
  // The eye's files hold what it received over the ticks a render runs.
  const std::pair<const char*, const std::string*> eyeFiles[] = {
      {"--observer-csv", &o.ObserverCsvFile}, {"--spectrum-csv", &o.SpectrumCsvFile}};
  for (const auto& [option, file] : eyeFiles) {
    if (file->empty()) continue;
    if (!o.Observer) return Refused(TRefusalCode::NeedsObserver, {Text(option)});
    if (!Render) return Refused(TRefusalCode::NeedsRender, {Text(option)});
  }
  if (Render) {
    // A picture shows one tick, but the eye's files cover --from .. --ticks beside it.
    if (From && !o.IsVideo() && !o.WritesObserverFiles())
      return Refused(TRefusalCode::OnlyForVideos, {Text("--from")});
    o.Ticks = o.Ticks.value_or(DefaultTicks);
    o.Size = o.Size.value_or(DefaultPictureSize);
    o.PixelRatio = o.PixelRatio.value_or(DefaultPixelRatio);
    if (o.FromTick > *o.Ticks)
      return Refused(TRefusalCode::FromAfterTicks, {Count(o.FromTick), Count(*o.Ticks)});
    // The spectrum is taken of one trace, which holds at most ObserverTraceTicksMax ticks; the
    // trace's rows are gathered as the ticks run and have no such bound.
    const int span = *o.Ticks - o.FromTick;
    if (!o.SpectrumCsvFile.empty() && span > ObserverTraceTicksMax) {
      o.RefusedOption = "--spectrum-csv";
      return Refused(TRefusalCode::ObserverTraceTicksRange,
                     {Count(0), Count(ObserverTraceTicksMax), Count(span)});
    }
  } else if (From) {
    // The animation (and a scene) has no first tick of a video.
    return Refused(TRefusalCode::NeedsRender, {Text("--from")});
  }
  // The window and the page draw at this size too.
  const TPixelSize size = o.Size.value_or(DefaultPictureSize);
  const double ratio = o.PixelRatio.value_or(DefaultPixelRatio);
  const long long deviceWidth = std::llround(size.Width * ratio);
  const long long deviceHeight = std::llround(size.Height * ratio);
  if (deviceWidth * deviceHeight > MaxDevicePixels) {
    return Refused(
        TRefusalCode::TooManyDevicePixels,
        {Count(size.Width), Count(size.Height), Text(ScaleText.empty() ? "1" : ScaleText),
         Count(MaxPictureSide), Count(MaxPictureSide)});
  }
  o.Action = Render ? TCommandAction::Render : TCommandAction::Start;
  return {};
}

}  // namespace

TCommandOptions ParseCommandOptions(const std::vector<std::string>& arguments) {
  TParser parser(arguments);
  if (TRefusal refusal = parser.Parse()) {
    // Nothing of a refused line is taken.
    TCommandOptions refused;
    refused.Action = TCommandAction::Refuse;
    refused.Refusal = std::move(refusal);
    refused.RefusedOption = parser.Options.RefusedOption;
    return refused;
  }
  return parser.Options;
}

std::string TrajectoryNames() {
  return NamesOf(Trajectories);
}

std::string ModelNames() {
  return NamesOf(Models);
}
