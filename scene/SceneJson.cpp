// SPDX-License-Identifier: GPL-3.0-or-later
// The scene file through nlohmann-json, without exceptions: the text is parsed with exceptions
// off and checked for is_discarded, and every value's type is checked before it is read, so that
// no accessor that could throw is ever reached.
#include "scene/SceneJson.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using TJson = nlohmann::ordered_json;

struct TNamedValue {
  const char* Name;
  int Value;
};
// The command line's names for the same modes.
const TNamedValue Modes[] = {
    {"mouse", tmMouse},         {"line", tmStraightLine}, {"dipole", tmDipole},
    {"circle", tmCircle},       {"racetrack", tmRaceTrack}, {"undulator", tmUndulator},
    {"bending", tmBending},
};
const TNamedValue Trackings[] = {
    {"off", ztOff}, {"motion", ztParticleMotion}, {"velocity", ztInitialVelocity}};
const TNamedValue LengthUnits[] = {{"km", static_cast<int>(TLengthUnit::Kilometre)},
                                   {"m", static_cast<int>(TLengthUnit::Metre)},
                                   {"mm", static_cast<int>(TLengthUnit::Millimetre)}};

const TNamedValue* Named(std::span<const TNamedValue> table, std::string_view name) {
  for (const TNamedValue& entry : table)
    if (name == entry.Name) return &entry;
  return nullptr;
}
const char* NameOf(std::span<const TNamedValue> table, int value) {
  for (const TNamedValue& entry : table)
    if (entry.Value == value) return entry.Name;
  return nullptr;
}

// A key of a section and the member it holds; the same tables write and read, so that the two
// cannot drift apart.
template <class S>
struct TKey {
  const char* Name;
  std::variant<double S::*, int S::*, bool S::*> Member;
};

using P = TTrajectoryParameters;
const TKey<P> TrajectoryKeys[] = {
    {"LineBeta", &P::LineBeta},         {"LineStartX", &P::LineStartX},
    {"LineStopX", &P::LineStopX},       {"DipoleBeta", &P::DipoleBeta},
    {"DipoleAmplitude", &P::DipoleAmplitude}, {"CircleBeta", &P::CircleBeta},
    {"CircleRadius", &P::CircleRadius}, {"RaceBeta", &P::RaceBeta},
    {"RaceRadius", &P::RaceRadius},     {"RaceStraight", &P::RaceStraight},
    {"UndBeta", &P::UndBeta},           {"UndPeriod", &P::UndPeriod},
    {"UndAmplitude", &P::UndAmplitude}, {"UndPeriods", &P::UndPeriods},
    {"BendBeta", &P::BendBeta},         {"BendRadius", &P::BendRadius},
    {"BendAngle", &P::BendAngle},
};
const TKey<TModelSize> ModelKeys[] = {{"ISize", &TModelSize::ISize},
                                      {"JSize", &TModelSize::JSize},
                                      {"WaveFrontSpacing", &TModelSize::WaveFrontSpacing}};
using D = TDisplaySettings;
const TKey<D> DisplayKeys[] = {
    {"ShowFieldLines", &D::ShowFieldLines},   {"ShowWaveFronts", &D::ShowWaveFronts},
    {"ShowNodePoints", &D::ShowNodePoints},   {"ShowFieldVectors", &D::ShowFieldVectors},
    {"SmoothLines", &D::SmoothLines},         {"PlotResolution", &D::PlotResolution},
    {"ShowCaption", &D::ShowCaption},
};
// What the plot's width stands for: "PlotWidth": 100 with "PlotWidthUnit": "m".
const TKey<TScaleUnit> ScaleUnitKeys[] = {{"PlotWidth", &TScaleUnit::Scale}};
// The eye, written in this order: shown or not, its place, its trace and spectrum.
using O = TObserverSettings;
const TKey<O> ObserverShownKeys[] = {{"ObserverShown", &O::Shown}};
const TKey<TVector2> ObserverPlaceKeys[] = {{"ObserverX", &TVector2::X}, {"ObserverY", &TVector2::Y}};
const TKey<O> ObserverTraceKeys[] = {{"ObserverTraceTicks", &O::TraceTicks},
                                     {"ObserverLogPower", &O::LogPower}};
const TKey<TZoomSettings> ZoomKeys[] = {{"ZoomScale", &TZoomSettings::Scale}};
const TKey<TPhysicsOptions> PhysicsKeys[] = {
    {"LightAberration", &TPhysicsOptions::LightAberration},
    {"TrackEmissionPoint", &TPhysicsOptions::TrackEmissionPoint},
    {"ThomasPrecession", &TPhysicsOptions::ThomasPrecession}};
const TKey<TScene> AnimationKeys[] = {{"SpeedPosition", &TScene::SpeedPosition},
                                      {"Running", &TScene::Running}};
const TKey<TSceneView> ViewKeys[] = {{"XMin", &TSceneView::XMin},
                                     {"XMax", &TSceneView::XMax},
                                     {"YMin", &TSceneView::YMin},
                                     {"YMax", &TSceneView::YMax}};

template <class S>
void Write(TJson& section, std::span<const TKey<S>> keys, const S& source) {
  for (const TKey<S>& key : keys)
    std::visit([&](auto member) { section[key.Name] = source.*member; }, key.Member);
}

TJson Texts(const std::string& title, const std::string& notes) {
  TJson texts = TJson::object();
  texts["title"] = title;
  texts["notes"] = notes;
  return texts;
}

TRefusalValue Text(std::string text) {
  return TRefusalValue::OfText(std::move(text));
}
TRefusalValue Count(double v) {
  return TRefusalValue::OfCount(v);
}

std::string Joined(const std::string& path, std::string_view key) {
  return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// Offset of the first byte that does not belong to well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF), or npos.
std::size_t BadUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (i + length > text.size()) return i;
    if (byte(i + 1) < low || byte(i + 1) > high) return i;
    for (std::size_t k = 2; k < length; ++k)
      if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return i;
    i += length;
  }
  return std::string_view::npos;
}

// The deepest nesting of objects and arrays, outside strings; read before the parser so that a
// text of a million brackets costs no more than its length.
int NestingDepth(std::string_view text) {
  int depth = 0, deepest = 0;
  bool inString = false, escaped = false;
  for (const char c : text) {
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      if (++depth > deepest) deepest = depth;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return deepest;
}

// A language of a translation: "ja", "pt-br".
bool IsLanguage(std::string_view name) {
  if (name.size() < 2 || name.size() > 8) return false;
  for (const char c : name)
    if (!((c >= 'a' && c <= 'z') || c == '-')) return false;
  return name.front() != '-' && name.back() != '-';
}

int HeldInt(const TJson& value) {
  if (value.is_number_unsigned()) {
    const auto v = value.get<std::uint64_t>();
    return v > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(v);
  }
  const auto v = value.get<std::int64_t>();
  return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

class TReader {
 public:
  TSceneRefusal Fault;

  void Fail(TRefusalCode code, const std::string& path, std::initializer_list<TRefusalValue> more = {}) {
    if (Fault) return;
    Fault.Path = path;
    Fault.Refusal.Code = code;
    Fault.Refusal.Values.push_back(Text(path));
    Fault.Refusal.Values.insert(Fault.Refusal.Values.end(), more);
  }
  void Refuse(const std::string& path, TRefusal cause) {
    if (Fault) return;
    Fail(TRefusalCode::SceneValueRefused, path);
    Fault.Cause = std::move(cause);
  }

  // Only the keys named are in object.
  void OnlyKeys(const TJson& object, const std::string& path, const std::vector<std::string_view>& names) {
    for (auto it = object.begin(); it != object.end() && !Fault; ++it) {
      bool known = false;
      for (std::string_view name : names) known = known || it.key() == name;
      if (!known) Fail(TRefusalCode::SceneUnknownKey, Joined(path, it.key()));
    }
  }

  // The section named key of parent: null where it is absent (or refused).
  const TJson* Section(const TJson& parent, const std::string& path, const char* key) {
    const auto it = parent.find(key);
    if (it == parent.end()) return nullptr;
    if (!it->is_object()) {
      Fail(TRefusalCode::SceneWrongType, Joined(path, key), {Text("object")});
      return nullptr;
    }
    return &*it;
  }

  const TJson* Value(const TJson& object, const std::string& path, const char* key, bool required) {
    const auto it = object.find(key);
    if (it != object.end()) return &*it;
    if (required) Fail(TRefusalCode::SceneMissingKey, Joined(path, key));
    return nullptr;
  }

  void ReadText(const TJson& object, const std::string& path, const char* key, std::string& text) {
    const TJson* value = Value(object, path, key, false);
    if (!value) return;
    if (!value->is_string())
      Fail(TRefusalCode::SceneWrongType, Joined(path, key), {Text("string")});
    else
      text = value->get_ref<const std::string&>();
  }

  template <class S>
  void Members(const TJson& object, const std::string& path, std::span<const TKey<S>> keys, S& target,
               bool required = false) {
    for (const TKey<S>& key : keys) {
      const TJson* value = Value(object, path, key.Name, required);
      if (!value || Fault) continue;
      const std::string at = Joined(path, key.Name);
      if (auto* real = std::get_if<double S::*>(&key.Member)) {
        if (!value->is_number()) return Fail(TRefusalCode::SceneWrongType, at, {Text("number")});
        target.*(*real) = value->get<double>();
      } else if (auto* whole = std::get_if<int S::*>(&key.Member)) {
        if (!value->is_number_integer())
          return Fail(TRefusalCode::SceneWrongType, at, {Text("integer")});
        target.*(*whole) = HeldInt(*value);
      } else if (auto* flag = std::get_if<bool S::*>(&key.Member)) {
        if (!value->is_boolean()) return Fail(TRefusalCode::SceneWrongType, at, {Text("boolean")});
        target.*(*flag) = value->get<bool>();
      }
    }
  }

  template <class S>
  static void AddNames(std::vector<std::string_view>& names, std::span<const TKey<S>> keys) {
    for (const TKey<S>& key : keys) names.push_back(key.Name);
  }

  // A name of table at key, or a refusal with cause (the code of an unknown name).
  void ReadName(const TJson& object, const std::string& path, const char* key, bool required,
                std::span<const TNamedValue> table, TRefusalCode unknown, int& target) {
    const TJson* value = Value(object, path, key, required);
    if (!value || Fault) return;
    const std::string at = Joined(path, key);
    if (!value->is_string()) return Fail(TRefusalCode::SceneWrongType, at, {Text("string")});
    const std::string& name = value->get_ref<const std::string&>();
    if (const TNamedValue* entry = Named(table, name))
      target = entry->Value;
    else
      Refuse(at, Refused(unknown, {Text(name)}));
  }

  void Read(const TJson& root, TScene& scene);
};

void TReader::Read(const TJson& root, TScene& scene) {
  if (!root.is_object()) return Fail(TRefusalCode::SceneNotAScene, "");
  const TJson* format = Value(root, "", "format", true);
  if (!format) return;
  if (!format->is_string()) return Fail(TRefusalCode::SceneWrongType, "format", {Text("string")});
  if (format->get_ref<const std::string&>() != SceneFormatName)
    return Fail(TRefusalCode::SceneNotAScene, "format");
  const TJson* version = Value(root, "", "version", true);
  if (!version) return;
  if (!version->is_number_integer())
    return Fail(TRefusalCode::SceneWrongType, "version", {Text("integer")});
  // Before the keys: a newer file's new keys are told as its version, which is what to do about
  // them.
  const int given = HeldInt(*version);
  if (given > SceneFormatVersion)
    return Fail(TRefusalCode::SceneNewerVersion, "version",
                {Count(given), Count(SceneFormatVersion)});
  if (given < 1) return Fail(TRefusalCode::SceneNotAScene, "version");
  OnlyKeys(root, "",
           {"format", "version", "title", "notes", "translations", "trajectory", "model",
            "display", "physics", "animation", "view"});
  ReadText(root, "", "title", scene.Title);
  ReadText(root, "", "notes", scene.Notes);

  if (const TJson* translations = Section(root, "", "translations")) {
    for (auto it = translations->begin(); it != translations->end() && !Fault; ++it) {
      const std::string at = Joined("translations", it.key());
      if (!IsLanguage(it.key())) return Fail(TRefusalCode::SceneUnknownKey, at);
      if (!it->is_object()) return Fail(TRefusalCode::SceneWrongType, at, {Text("object")});
      TSceneTranslation translation{it.key(), {}, {}};
      OnlyKeys(*it, at, {"title", "notes"});
      ReadText(*it, at, "title", translation.Title);
      ReadText(*it, at, "notes", translation.Notes);
      scene.Translations.push_back(std::move(translation));
    }
  }

  const TJson* trajectory = Section(root, "", "trajectory");
  if (Fault) return;
  if (!trajectory) return Fail(TRefusalCode::SceneMissingKey, "trajectory.mode");
  std::vector<std::string_view> names{"mode"};
  AddNames<P>(names, TrajectoryKeys);
  OnlyKeys(*trajectory, "trajectory", names);
  ReadName(*trajectory, "trajectory", "mode", true, Modes, TRefusalCode::UnknownTrajectory,
           scene.TrajectoryMode);
  Members<P>(*trajectory, "trajectory", TrajectoryKeys, scene.Trajectory);

  if (const TJson* model = Section(root, "", "model")) {
    names.clear();
    AddNames<TModelSize>(names, ModelKeys);
    OnlyKeys(*model, "model", names);
    Members<TModelSize>(*model, "model", ModelKeys, scene.Model);
  }
  if (const TJson* display = Section(root, "", "display")) {
    names.clear();
    AddNames<D>(names, DisplayKeys);
    AddNames<TZoomSettings>(names, ZoomKeys);
    names.push_back("ZoomTracking");
    AddNames<TScaleUnit>(names, ScaleUnitKeys);
    names.push_back("PlotWidthUnit");
    AddNames<O>(names, ObserverShownKeys);
    AddNames<TVector2>(names, ObserverPlaceKeys);
    AddNames<O>(names, ObserverTraceKeys);
    OnlyKeys(*display, "display", names);
    Members<D>(*display, "display", DisplayKeys, scene.Display);
    Members<TZoomSettings>(*display, "display", ZoomKeys, scene.Display.Zoom);
    ReadName(*display, "display", "ZoomTracking", false, Trackings,
             TRefusalCode::ZoomTrackingUnknown, scene.Display.Zoom.Tracking);
    Members<TScaleUnit>(*display, "display", ScaleUnitKeys, scene.Display.ScaleUnit);
    TObserverSettings& observer = scene.Display.Observer;
    Members<O>(*display, "display", ObserverShownKeys, observer);
    Members<TVector2>(*display, "display", ObserverPlaceKeys, observer.Place);
    Members<O>(*display, "display", ObserverTraceKeys, observer);
    if (const TJson* unit = Value(*display, "display", "PlotWidthUnit", false); unit && !Fault) {
      if (!unit->is_string())
        return Fail(TRefusalCode::SceneWrongType, "display.PlotWidthUnit", {Text("string")});
      const std::string& name = unit->get_ref<const std::string&>();
      if (const TNamedValue* entry = Named(LengthUnits, name))
        scene.Display.ScaleUnit.Unit = static_cast<TLengthUnit>(entry->Value);
      else
        Refuse("display.PlotWidthUnit", Refused(TRefusalCode::ScaleUnitUnknown,
                                                {Count(scene.Display.ScaleUnit.Scale), Text(name)}));
    }
  }
  if (const TJson* physics = Section(root, "", "physics")) {
    names.clear();
    AddNames<TPhysicsOptions>(names, PhysicsKeys);
    OnlyKeys(*physics, "physics", names);
    Members<TPhysicsOptions>(*physics, "physics", PhysicsKeys, scene.Physics);
  }
  if (const TJson* animation = Section(root, "", "animation")) {
    names.clear();
    AddNames<TScene>(names, AnimationKeys);
    OnlyKeys(*animation, "animation", names);
    Members<TScene>(*animation, "animation", AnimationKeys, scene);
  }
  if (const TJson* view = Section(root, "", "view")) {
    names.clear();
    AddNames<TSceneView>(names, ViewKeys);
    OnlyKeys(*view, "view", names);
    // A range is all four bounds or none: one bound alone says nothing of the others.
    TSceneView range;
    Members<TSceneView>(*view, "view", ViewKeys, range, true);
    if (!Fault) scene.View = range;
  }
}

// The key of the trajectory's parameter a refusal of CheckTrajectory is about.
std::string TrajectoryKey(int mode, const TRefusal& refusal) {
  const char* beta = "trajectory";
  switch (mode) {
    case tmStraightLine: beta = "LineBeta"; break;
    case tmDipole: beta = "DipoleBeta"; break;
    case tmCircle: beta = "CircleBeta"; break;
    case tmRaceTrack: beta = "RaceBeta"; break;
    case tmUndulator: beta = "UndBeta"; break;
    case tmBending: beta = "BendBeta"; break;
    default: break;
  }
  const char* key = nullptr;
  switch (refusal.Parameter) {
    case TParameter::Speed: key = beta; break;
    case TParameter::StartPosition: key = "LineStartX"; break;
    case TParameter::StopPosition: key = "LineStopX"; break;
    case TParameter::OscillationAmplitude:
      key = mode == tmUndulator ? "UndAmplitude" : "DipoleAmplitude";
      break;
    case TParameter::CircleRadius: key = "CircleRadius"; break;
    case TParameter::BendingRadius: key = mode == tmRaceTrack ? "RaceRadius" : "BendRadius"; break;
    case TParameter::StraightSection: key = "RaceStraight"; break;
    case TParameter::UndulatorPeriod: key = "UndPeriod"; break;
    case TParameter::BendingAngle: key = "BendAngle"; break;
    case TParameter::None:
    case TParameter::WaveSpeed: break;
  }
  if (!key) {
    switch (refusal.Code) {
      case TRefusalCode::SpeedNotPositive:
      case TRefusalCode::SpeedTooHigh:
      case TRefusalCode::SpeedTooLowToMove:
      case TRefusalCode::PathTooLongEstimate:
      case TRefusalCode::PathTooLong:
      case TRefusalCode::PathTooShort: key = beta; break;
      case TRefusalCode::PositionsEqual: key = "LineStopX"; break;
      case TRefusalCode::RaceTrackSigns: key = "RaceStraight"; break;
      case TRefusalCode::UndulatorPeriodNotPositive: key = "UndPeriod"; break;
      case TRefusalCode::TooFewPeriods:
      case TRefusalCode::TooManyPeriods: key = "UndPeriods"; break;
      case TRefusalCode::BendingSigns:
      case TRefusalCode::BendingAngleRange: key = "BendAngle"; break;
      case TRefusalCode::UnknownTrajectory: key = "mode"; break;
      default: key = "trajectory"; break;
    }
  }
  const std::string name = key;
  return name == "trajectory" ? name : "trajectory." + name;
}

const char* ModelKey(TRefusalCode code) {
  switch (code) {
    case TRefusalCode::TooFewRows:
    case TRefusalCode::RowsBelowWaveFrontSpacing: return "model.ISize";
    case TRefusalCode::TooFewLines: return "model.JSize";
    case TRefusalCode::WaveFrontSpacingTooSmall: return "model.WaveFrontSpacing";
    default: return "model";
  }
}

}  // namespace

const char* SceneTrajectoryName(int mode) {
  return NameOf(Modes, mode);
}

std::string WriteScene(const TScene& scene) {
  TJson root = TJson::object();
  root["format"] = SceneFormatName;
  root["version"] = SceneFormatVersion;
  root["title"] = scene.Title;
  root["notes"] = scene.Notes;
  if (!scene.Translations.empty()) {
    TJson& translations = root["translations"] = TJson::object();
    for (const TSceneTranslation& t : scene.Translations)
      translations[t.Language] = Texts(t.Title, t.Notes);
  }
  TJson& trajectory = root["trajectory"] = TJson::object();
  const char* mode = SceneTrajectoryName(scene.TrajectoryMode);
  // A mode without a name is written as a number, which reading refuses, rather than dropped.
  if (mode)
    trajectory["mode"] = mode;
  else
    trajectory["mode"] = scene.TrajectoryMode;
  Write<P>(trajectory, TrajectoryKeys, scene.Trajectory);
  Write<TModelSize>(root["model"] = TJson::object(), ModelKeys, scene.Model);
  TJson& display = root["display"] = TJson::object();
  Write<D>(display, DisplayKeys, scene.Display);
  Write<TZoomSettings>(display, ZoomKeys, scene.Display.Zoom);
  if (const char* tracking = NameOf(Trackings, scene.Display.Zoom.Tracking))
    display["ZoomTracking"] = tracking;
  else
    display["ZoomTracking"] = scene.Display.Zoom.Tracking;
  Write<TScaleUnit>(display, ScaleUnitKeys, scene.Display.ScaleUnit);
  if (const char* unit = NameOf(LengthUnits, static_cast<int>(scene.Display.ScaleUnit.Unit)))
    display["PlotWidthUnit"] = unit;
  else
    display["PlotWidthUnit"] = static_cast<int>(scene.Display.ScaleUnit.Unit);
  Write<O>(display, ObserverShownKeys, scene.Display.Observer);
  Write<TVector2>(display, ObserverPlaceKeys, scene.Display.Observer.Place);
  Write<O>(display, ObserverTraceKeys, scene.Display.Observer);
  Write<TPhysicsOptions>(root["physics"] = TJson::object(), PhysicsKeys, scene.Physics);
  Write<TScene>(root["animation"] = TJson::object(), AnimationKeys, scene);
  if (scene.View) Write<TSceneView>(root["view"] = TJson::object(), ViewKeys, *scene.View);
  // A title that is not UTF-8 (typed in another encoding) has its bad bytes replaced rather
  // than failing the whole file.
  return root.dump(2, ' ', false, TJson::error_handler_t::replace) + "\n";
}

TSceneRead ReadScene(std::string_view text) {
  TSceneRead read;
  TReader reader;
  const auto refused = [&] {
    read.Scene = TScene{};
    read.Refusal = reader.Fault;
    return read;
  };
  const auto fail = [&](TRefusalCode code, std::initializer_list<TRefusalValue> values) {
    reader.Fault.Refusal = Refused(code, values);
    return refused();
  };
  if (text.size() > MaxSceneBytes)
    return fail(TRefusalCode::SceneTooLarge,
                {Count(static_cast<double>(text.size())), Count(static_cast<double>(MaxSceneBytes))});
  std::size_t skipped = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
    skipped = 3;
  }
  if (const std::size_t bad = BadUtf8(text); bad != std::string_view::npos)
    return fail(TRefusalCode::SceneNotUtf8, {Count(static_cast<double>(bad + skipped))});
  if (NestingDepth(text) > MaxSceneDepth)
    return fail(TRefusalCode::SceneTooDeep, {Count(MaxSceneDepth)});

  // A key given twice would otherwise quietly take one of its values: the parser's callback
  // keeps the keys of each open object and the path to it.
  struct TLevel {
    std::vector<std::string> Keys;
    std::string Key;  // the last key read in it
  };
  std::vector<TLevel> levels;
  std::string twice;
  const auto callback = [&](int, TJson::parse_event_t event, TJson& parsed) {
    using E = TJson::parse_event_t;
    if (event == E::object_start || event == E::array_start) {
      levels.push_back({});
    } else if (event == E::object_end || event == E::array_end) {
      if (!levels.empty()) levels.pop_back();
    } else if (event == E::key && !levels.empty() && parsed.is_string()) {
      const std::string& key = parsed.get_ref<const std::string&>();
      TLevel& level = levels.back();
      bool seen = false;
      for (const std::string& k : level.Keys) seen = seen || k == key;
      if (seen && twice.empty()) {
        for (std::size_t k = 0; k + 1 < levels.size(); ++k) twice = Joined(twice, levels[k].Key);
        twice = Joined(twice, key);
      }
      level.Keys.push_back(key);
      level.Key = key;
    }
    return true;
  };
  const TJson root = TJson::parse(text.begin(), text.end(), callback, /*allow_exceptions=*/false);
  if (root.is_discarded()) return fail(TRefusalCode::SceneNotJson, {});
  if (!twice.empty()) {
    reader.Fail(TRefusalCode::SceneKeyTwice, twice);
    return refused();
  }
  reader.Read(root, read.Scene);
  if (reader.Fault) return refused();
  if (TSceneRefusal refusal = CheckScene(read.Scene)) {
    reader.Fault = std::move(refusal);
    return refused();
  }
  return read;
}

TSceneRefusal CheckScene(const TScene& scene) {
  TReader reader;
  if (TRefusal r = CheckModelSize(scene.Model)) {
    reader.Refuse(ModelKey(r.Code), std::move(r));
  } else if (TRefusal t = CheckTrajectory(scene.TrajectoryMode, scene.Trajectory,
                                          WaveVelocityOf(scene.Model.ISize))) {
    reader.Refuse(TrajectoryKey(scene.TrajectoryMode, t), std::move(t));
  } else if (TRefusal p = CheckPlotResolution(scene.Display.PlotResolution)) {
    reader.Refuse("display.PlotResolution", std::move(p));
  } else if (TRefusal z = CheckZoomSettings(scene.Display.Zoom)) {
    reader.Refuse(z.Code == TRefusalCode::ZoomScaleRange ? "display.ZoomScale"
                                                         : "display.ZoomTracking",
                  std::move(z));
  } else if (TRefusal u = CheckScaleUnit(scene.Display.ScaleUnit)) {
    reader.Refuse("display.PlotWidth", std::move(u));
  } else if (TRefusal o = CheckObserver(scene.Display.Observer)) {
    const TVector2 place = scene.Display.Observer.Place;
    const char* key = o.Code == TRefusalCode::ObserverTraceTicksRange ? "display.ObserverTraceTicks"
                      : std::fabs(place.X) > ObserverPlaceLimit  ? "display.ObserverX"
                                                                 : "display.ObserverY";
    reader.Refuse(key, std::move(o));
  } else if (TRefusal s = CheckSpeedPosition(scene.SpeedPosition)) {
    reader.Refuse("animation.SpeedPosition", std::move(s));
  } else if (scene.View) {
    const TSceneView& v = *scene.View;
    const auto range = [&](const char* path, double low, double high) {
      if (!(std::isfinite(low) && std::isfinite(high) && low < high))
        reader.Fail(TRefusalCode::SceneViewEmpty, path,
                    {TRefusalValue::OfNumber(low), TRefusalValue::OfNumber(high)});
    };
    range("view.XMax", v.XMin, v.XMax);
    range("view.YMax", v.YMin, v.YMax);
  }
  return reader.Fault;
}
