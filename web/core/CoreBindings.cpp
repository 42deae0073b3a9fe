// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's typed API over the core (declared for the page in halvoran-core.d.ts): the
// simulation's commands, the picture, scenes, the option parser and the undulator's relations, each
// taking and giving plain JavaScript objects. Nothing here decides anything about the model: a
// value the page gives is only carried across, and the core's own checks refuse it.
//
// A JavaScript error must never unwind through these frames (the core is built without
// exceptions and would be left half changed), so every value is checked for its type before
// embind converts it: embind throws on a conversion it cannot make.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/AnimationSpeed.h"
#include "engine/Observer.h"
#include "engine/ObserverCsv.h"
#include "engine/ObserverFrequencies.h"
#include "engine/PictureScale.h"
#include "engine/PictureWords.h"
#include "engine/RadiationPatternTracker.h"
#include "engine/Refusal.h"
#include "engine/SimulationCommands.h"
#include "engine/UndulatorRelations.h"
#include "options/CommandLineOptions.h"
#include "render/MainPicture.h"
#include "render/ZoomPicture.h"
#include "scene/SceneCommands.h"
#include "scene/SceneJson.h"

using emscripten::val;

namespace {

// ---- Refusals ----------------------------------------------------------------------------------

std::string ValueText(const TRefusalValue& value) {
  const char* word = NonFiniteWord(value);
  return *word != '\0' ? std::string(word) : RefusalValueText(value);
}

// { code, parameter, values } for a refusal, null for none.
val RefusalObject(const TRefusal& refusal) {
  if (!refusal) return val::null();
  val values = val::array();
  for (const TRefusalValue& value : refusal.Values) values.call<void>("push", ValueText(value));
  val object = val::object();
  object.set("code", std::string(RefusalCodeName(refusal.Code)));
  object.set("parameter", std::string(ParameterName(refusal.Parameter)));
  object.set("values", values);
  return object;
}

// What JavaScript itself would show of a value the page gave where it does not belong.
TRefusalValue GivenText(const val& value) {
  return TRefusalValue::OfText(val::global("String")(value).as<std::string>());
}

// A number the page gave where a whole number (a count, an index, a mode) is meant: within
// ±2^53, where a double holds every whole number exactly.
std::optional<long long> WholeNumber(double value) {
  if (!(std::fabs(value) <= 9007199254740992.0) || value != std::trunc(value)) return std::nullopt;
  return static_cast<long long>(value);
}

TRefusal NotAWholeNumber(const char* name, double value) {
  return Refused(TRefusalCode::NotAWholeNumber,
                 {TRefusalValue::OfText(name), TRefusalValue::OfNumber(value)});
}

// ---- Objects read field by field ---------------------------------------------------------------

// Fields of a page's object read into a core structure: a field the object does not have keeps
// the structure's value; the first field of the wrong type becomes the refusal, and a command
// that sees it changes nothing.
class TFieldReader {
 public:
  explicit TFieldReader(const val& object)
      : Object(object), Readable(object.typeOf().as<std::string>() == "object" && !object.isNull()) {}

  void Number(const char* name, double& field) {
    const std::optional<val> given = Given(name);
    if (!given) return;
    if (!given->isNumber()) {
      Refuse(Refused(TRefusalCode::NotANumber, {TRefusalValue::OfText(name), GivenText(*given)}));
      return;
    }
    field = given->as<double>();
  }

  void Whole(const char* name, int& field) {
    double value = field;
    Number(name, value);
    const std::optional<long long> whole = WholeNumber(value);
    if (!whole || *whole < INT_MIN || *whole > INT_MAX) {
      Refuse(NotAWholeNumber(name, value));
      return;
    }
    field = static_cast<int>(*whole);
  }

  // Any value: JavaScript's own truth of it.
  void Switch(const char* name, bool& field) {
    if (const std::optional<val> given = Given(name)) field = given->as<bool>();
  }

  val Child(const char* name) const {
    const std::optional<val> given = Given(name);
    return given ? *given : val::undefined();
  }

  void Refuse(const TRefusal& refusal) {
    if (!Refusal) Refusal = refusal;
  }

  TRefusal Refusal;

 private:
  std::optional<val> Given(const char* name) const {
    if (!Readable) return std::nullopt;
    val value = Object[name];
    if (value.isUndefined()) return std::nullopt;
    return value;
  }

  const val& Object;
  bool Readable;
};

// The trajectory's fields under their names in TTrajectoryParameters, for reading and writing.
template <class TVisit>
void VisitTrajectory(TTrajectoryParameters& p, TVisit&& number, auto&& whole) {
  number("CircleRadius", p.CircleRadius);
  number("CircleBeta", p.CircleBeta);
  number("LineBeta", p.LineBeta);
  number("LineStartX", p.LineStartX);
  number("LineStopX", p.LineStopX);
  number("DipoleBeta", p.DipoleBeta);
  number("DipoleAmplitude", p.DipoleAmplitude);
  number("UndBeta", p.UndBeta);
  number("UndPeriod", p.UndPeriod);
  number("UndAmplitude", p.UndAmplitude);
  whole("UndPeriods", p.UndPeriods);
  number("RaceBeta", p.RaceBeta);
  number("RaceRadius", p.RaceRadius);
  number("RaceStraight", p.RaceStraight);
  number("BendBeta", p.BendBeta);
  number("BendRadius", p.BendRadius);
  number("BendAngle", p.BendAngle);
}

TRefusal ReadTrajectory(const val& object, TTrajectoryParameters& parameters) {
  TFieldReader reader(object);
  VisitTrajectory(
      parameters, [&](const char* name, double& field) { reader.Number(name, field); },
      [&](const char* name, int& field) { reader.Whole(name, field); });
  return reader.Refusal;
}

val TrajectoryObject(TTrajectoryParameters parameters) {
  val object = val::object();
  const auto put = [&](const char* name, auto& field) { object.set(name, field); };
  VisitTrajectory(parameters, put, put);
  return object;
}

TRefusal ReadDisplay(const val& object, TDisplaySettings& display) {
  TFieldReader reader(object);
  reader.Switch("ShowFieldLines", display.ShowFieldLines);
  reader.Switch("ShowWaveFronts", display.ShowWaveFronts);
  reader.Switch("ShowNodePoints", display.ShowNodePoints);
  reader.Switch("ShowFieldVectors", display.ShowFieldVectors);
  reader.Switch("SmoothLines", display.SmoothLines);
  reader.Whole("PlotResolution", display.PlotResolution);
  const val zoom = reader.Child("Zoom");
  TFieldReader zoomReader(zoom);
  zoomReader.Number("Scale", display.Zoom.Scale);
  zoomReader.Whole("Tracking", display.Zoom.Tracking);
  reader.Refuse(zoomReader.Refusal);
  reader.Switch("ShowCaption", display.ShowCaption);
  // The codes go to the core as given: its own check refuses a theme or unit it does not know.
  int theme = static_cast<int>(display.Theme);
  reader.Whole("Theme", theme);
  display.Theme = static_cast<TTheme>(theme);
  const val scaleUnit = reader.Child("ScaleUnit");
  TFieldReader unitReader(scaleUnit);
  unitReader.Whole("Scale", display.ScaleUnit.Scale);
  int unit = static_cast<int>(display.ScaleUnit.Unit);
  unitReader.Whole("Unit", unit);
  display.ScaleUnit.Unit = static_cast<TLengthUnit>(unit);
  reader.Refuse(unitReader.Refusal);
  const val observer = reader.Child("Observer");
  TFieldReader observerReader(observer);
  observerReader.Switch("Shown", display.Observer.Shown);
  const val place = observerReader.Child("Place");
  TFieldReader placeReader(place);
  placeReader.Number("X", display.Observer.Place.X);
  placeReader.Number("Y", display.Observer.Place.Y);
  observerReader.Refuse(placeReader.Refusal);
  observerReader.Whole("TraceTicks", display.Observer.TraceTicks);
  observerReader.Switch("LogPower", display.Observer.LogPower);
  reader.Refuse(observerReader.Refusal);
  return reader.Refusal;
}

val DisplayObject(const TDisplaySettings& display) {
  val zoom = val::object();
  zoom.set("Scale", display.Zoom.Scale);
  zoom.set("Tracking", display.Zoom.Tracking);
  val object = val::object();
  object.set("ShowFieldLines", display.ShowFieldLines);
  object.set("ShowWaveFronts", display.ShowWaveFronts);
  object.set("ShowNodePoints", display.ShowNodePoints);
  object.set("ShowFieldVectors", display.ShowFieldVectors);
  object.set("SmoothLines", display.SmoothLines);
  object.set("PlotResolution", display.PlotResolution);
  object.set("Zoom", zoom);
  object.set("ShowCaption", display.ShowCaption);
  object.set("Theme", static_cast<int>(display.Theme));
  val scaleUnit = val::object();
  scaleUnit.set("Scale", display.ScaleUnit.Scale);
  scaleUnit.set("Unit", static_cast<int>(display.ScaleUnit.Unit));
  object.set("ScaleUnit", scaleUnit);
  val place = val::object();
  place.set("X", display.Observer.Place.X);
  place.set("Y", display.Observer.Place.Y);
  val observer = val::object();
  observer.set("Shown", display.Observer.Shown);
  observer.set("Place", place);
  observer.set("TraceTicks", display.Observer.TraceTicks);
  observer.set("LogPower", display.Observer.LogPower);
  object.set("Observer", observer);
  return object;
}

// ---- The observer ------------------------------------------------------------------------------

// A copy of values as a typed array of the page's own (a view of the module's memory would move
// when the memory grows).
template <class T>
val TypedArrayOf(const char* type, const std::vector<T>& values) {
  return val::global(type).new_(val(emscripten::typed_memory_view(values.size(), values.data())));
}

// The real transform of the page's library behind the core's interface: transform(samples) takes
// a Float64Array of N samples (N a power of two) and gives a Float64Array of the N + 2 numbers
// re₀, im₀, re₁, im₁ .. of bins 0 .. N/2. It must not throw (a JavaScript error would unwind
// through the core's frames); what it gives otherwise leaves every bin 0 and Failed set.
class TPageRealFft final : public TRealFft {
 public:
  explicit TPageRealFft(const val& transform)
      : Transform(transform), Callable(transform.typeOf().as<std::string>() == "function") {}

  void Forward(const std::vector<double>& in, std::vector<std::complex<double>>& out) override {
    const std::size_t bins = in.size() / 2 + 1;
    out.assign(bins, std::complex<double>{});
    // One sample is its own transform; the library takes two or more.
    if (in.size() < 2) {
      if (!in.empty()) out[0] = in[0];
      return;
    }
    if (!Callable) {
      Failed = true;
      return;
    }
    const val result = Transform(TypedArrayOf("Float64Array", in));
    if (!result.instanceof(val::global("Float64Array")) ||
        result["length"].as<double>() != static_cast<double>(2 * bins)) {
      Failed = true;
      return;
    }
    // std::complex<double> is laid out as its two doubles, real part first.
    val(emscripten::typed_memory_view(2 * bins, reinterpret_cast<double*>(out.data())))
        .call<void>("set", result);
  }

  bool Failed = false;

 private:
  val Transform;
  bool Callable;
};

val SpectrumObject(const TObserverSpectrum& spectrum, double secondsPerTick, bool transformed) {
  val markers = val::array();
  for (const TSpectrumMarker& marker : spectrum.Markers) {
    val object = val::object();
    object.set("harmonic", marker.Harmonic);
    object.set("low", marker.Low);
    object.set("high", marker.High);
    markers.call<void>("push", object);
  }
  val undulator = val::null();
  if (spectrum.Undulator) {
    const TUndulatorLight& light = *spectrum.Undulator;
    undulator = val::object();
    undulator.set("thetaLow", light.ThetaLow);
    undulator.set("thetaHigh", light.ThetaHigh);
    undulator.set("meanBeta", light.MeanBeta);
    undulator.set("ticksPerPeriod", light.TicksPerPeriod);
    undulator.set("modelWavelengthLow", light.ModelWavelengthLow);
    undulator.set("modelWavelengthHigh", light.ModelWavelengthHigh);
    undulator.set("dialogWavelength", light.DialogWavelength);
    undulator.set("onAxis", light.OnAxis);
  }
  val object = val::object();
  object.set("frequency", TypedArrayOf("Float64Array", spectrum.Frequency));
  object.set("power", TypedArrayOf("Float64Array", spectrum.Power));
  object.set("samplesUsed", spectrum.SamplesUsed);
  object.set("transformLength", spectrum.TransformLength);
  object.set("fundamental", spectrum.Fundamental ? val(*spectrum.Fundamental) : val::null());
  object.set("markers", markers);
  object.set("undulator", undulator);
  object.set("secondsPerTick", secondsPerTick);
  object.set("transformed", transformed);
  return object;
}

// ---- Scenes ------------------------------------------------------------------------------------

// { code, parameter, values, path, cause }: the refusal with the key at fault ("" for the whole
// text) and the command's own refusal of its value (null where the key's value was not refused
// by a command); the page words it as the desktop does, "path: " and the cause's sentence.
val SceneRefusalObject(const TSceneRefusal& refusal) {
  if (!refusal) return val::null();
  val object = RefusalObject(refusal.Refusal);
  object.set("path", refusal.Path);
  object.set("cause", RefusalObject(refusal.Cause));
  return object;
}

val SceneViewObject(const std::optional<TSceneView>& view) {
  if (!view) return val::null();
  val object = val::object();
  object.set("xMin", view->XMin);
  object.set("xMax", view->XMax);
  object.set("yMin", view->YMin);
  object.set("yMax", view->YMax);
  return object;
}

// The texts by language: { ja: { title, notes } }.
val TranslationsObject(const std::vector<TSceneTranslation>& translations) {
  val object = val::object();
  for (const TSceneTranslation& translation : translations) {
    val texts = val::object();
    texts.set("title", translation.Title);
    texts.set("notes", translation.Notes);
    object.set(translation.Language, texts);
  }
  return object;
}

// The texts by language as TranslationsObject gives them; what is not such texts is left out.
std::vector<TSceneTranslation> TranslationsOf(const val& object) {
  std::vector<TSceneTranslation> translations;
  if (object.typeOf().as<std::string>() != "object" || object.isNull()) return translations;
  const val languages = val::global("Object").call<val>("keys", object);
  const unsigned count = languages["length"].as<unsigned>();
  for (unsigned k = 0; k < count; ++k) {
    const std::string language = languages[k].as<std::string>();
    const val texts = object[language];
    if (texts.typeOf().as<std::string>() != "object" || texts.isNull()) continue;
    const val title = texts["title"];
    const val notes = texts["notes"];
    translations.push_back({language, title.isString() ? title.as<std::string>() : std::string(),
                            notes.isString() ? notes.as<std::string>() : std::string()});
  }
  return translations;
}

// A scene's text as the page gave it. A JavaScript string holds at least as many UTF-8 bytes as
// UTF-16 units, so one longer than MaxSceneBytes is refused before it is copied, let alone read.
TSceneRead ReadSceneText(const val& text) {
  TSceneRead read;
  if (!text.isString()) {
    read.Refusal.Refusal = Refused(TRefusalCode::SceneNotJson, {});
    return read;
  }
  const double length = text["length"].as<double>();
  if (length > static_cast<double>(MaxSceneBytes)) {
    read.Refusal.Refusal =
        Refused(TRefusalCode::SceneTooLarge, {TRefusalValue::OfCount(length),
                                              TRefusalValue::OfCount(MaxSceneBytes)});
    return read;
  }
  return ReadScene(text.as<std::string>());
}

// ---- Ranges and presets ------------------------------------------------------------------------

// { xMin, xMax, yMin, yMax }: every field a finite number, each lower end below its upper end;
// anything else is refused and the picture is not drawn.
TRefusal ReadRange(const val& object, TMainRange& range) {
  const char* names[] = {"xMin", "xMax", "yMin", "yMax"};
  double ends[4] = {};
  const bool readable = object.typeOf().as<std::string>() == "object" && !object.isNull();
  for (int k = 0; k < 4; ++k) {
    const val field = readable ? object[names[k]] : val::undefined();
    if (field.typeOf().as<std::string>() != "number")
      return Refused(TRefusalCode::NotANumber, {TRefusalValue::OfText(names[k]), GivenText(field)});
    ends[k] = field.as<double>();
    if (!std::isfinite(ends[k]))
      return Refused(TRefusalCode::NotANumber, {TRefusalValue::OfText(names[k]), GivenText(field)});
  }
  // An upper end must lie above its lower end.
  for (int axis = 0; axis < 2; ++axis) {
    if (!(ends[2 * axis] < ends[2 * axis + 1]))
      return Refused(TRefusalCode::OutOfRange,
                     {TRefusalValue::OfText(names[2 * axis + 1]),
                      TRefusalValue::OfNumber(ends[2 * axis + 1]),
                      TRefusalValue::OfNumber(ends[2 * axis]),
                      TRefusalValue::OfNumber(std::numeric_limits<double>::infinity())});
  }
  range.Horizontal = {false, ends[0], ends[1]};
  range.Vertical = {false, ends[2], ends[3]};
  return {};
}

val RangeObject(const TMainRange& range) {
  val object = val::object();
  object.set("xMin", range.Horizontal.Minimum);
  object.set("xMax", range.Horizontal.Maximum);
  object.set("yMin", range.Vertical.Minimum);
  object.set("yMax", range.Vertical.Maximum);
  return object;
}

val ModelSizeObject(int iSize, int jSize, int spacing) {
  val object = val::object();
  object.set("iSize", iSize);
  object.set("jSize", jSize);
  object.set("waveFrontSpacing", spacing);
  return object;
}

val PhysicsObject(const TPhysicsOptions& physics) {
  val object = val::object();
  object.set("LightAberration", physics.LightAberration);
  object.set("TrackEmissionPoint", physics.TrackEmissionPoint);
  object.set("ThomasPrecession", physics.ThomasPrecession);
  return object;
}

// What the dialogs' Default buttons put back: the start-up display and physics.
val Defaults() {
  val object = val::object();
  object.set("display", DisplayObject(TDisplaySettings{}));
  object.set("physics", PhysicsObject(TPhysicsOptions{}));
  return object;
}

val ModelSizePresets() {
  const auto of = [](const TModelSizePreset& preset) {
    return ModelSizeObject(preset.ISize, preset.JSize, preset.WaveFrontSpacing);
  };
  val presets = val::object();
  presets.set("largest", of(ModelSizeLarge));
  presets.set("medium", of(ModelSizeMedium));
  presets.set("smallest", of(ModelSizeSmall));
  return presets;
}

// ---- The simulation ----------------------------------------------------------------------------

// One simulation with its display settings and the picture it was last drawn into, in the
// browser's byte order.
class TWebSimulation {
 public:
  TWebSimulation() : Commands(State, Settings), Patterns(State) {}

  val Start() { return Changed(Commands.Start()); }

  val ChooseTrajectory(double mode, const val& parameters) {
    const std::optional<long long> whole = WholeNumber(mode);
    if (!whole) return RefusalObject(NotAWholeNumber("mode", mode));
    if (*whole < INT_MIN || *whole > INT_MAX)
      return RefusalObject(
          Refused(TRefusalCode::UnknownTrajectory, {TRefusalValue::OfCount(mode)}));
    TTrajectoryParameters chosen = Commands.Trajectory();
    if (TRefusal refusal = ReadTrajectory(parameters, chosen)) return RefusalObject(refusal);
    return Changed(Commands.ChooseTrajectory(static_cast<int>(*whole), chosen));
  }

  val Trajectory() const { return TrajectoryObject(Commands.Trajectory()); }

  val ChooseModelSize(double iSize, double jSize, double spacing) {
    const std::optional<long long> i = WholeNumber(iSize);
    const std::optional<long long> j = WholeNumber(jSize);
    const std::optional<long long> s = WholeNumber(spacing);
    if (!i) return RefusalObject(NotAWholeNumber("iSize", iSize));
    if (!j) return RefusalObject(NotAWholeNumber("jSize", jSize));
    if (!s) return RefusalObject(NotAWholeNumber("spacing", spacing));
    // The core's limits see the sizes as given before any is narrowed to an int.
    if (TRefusal refusal = CheckModelSize(*i, *j, *s)) return RefusalObject(refusal);
    return Changed(Commands.ChooseModelSize(
        {static_cast<int>(*i), static_cast<int>(*j), static_cast<int>(*s)}));
  }

  void Reset() {
    Commands.Reset();
    Patterns.SimulationReset();
  }

  // (x, y) in model units: where the dragged charge is pulled to.
  val RunTick(bool dragging, double x, double y) {
    std::optional<TVector2> cursor;
    if (dragging) cursor = TVector2{x, y};
    const TTickReport report = Commands.RunTick(cursor);
    if (report.PassRestarted) Patterns.SimulationReset();
    Patterns.ChargeTicked();
    val object = val::object();
    object.set("passRestarted", report.PassRestarted);
    return object;
  }

  val SetDisplay(const val& object) {
    TDisplaySettings display = Commands.Display();
    if (TRefusal refusal = ReadDisplay(object, display)) return RefusalObject(refusal);
    return RefusalObject(Commands.SetDisplay(display));
  }

  val Display() const { return DisplayObject(Commands.Display()); }

  // The words of the pictures in the page's language, one text for each source of
  // pictureWordSources() in its order; anything else is refused and the words stay as they were.
  val SetPictureWords(const val& texts) {
    if (!texts.isArray())
      return RefusalObject(Refused(TRefusalCode::UnexpectedArgument, {GivenText(texts)}));
    const double length = texts["length"].as<double>();
    if (length != static_cast<double>(PictureWordCount)) {
      const auto count = TRefusalValue::OfCount(static_cast<double>(PictureWordCount));
      return RefusalObject(Refused(TRefusalCode::OutOfRange,
                                   {TRefusalValue::OfText("words.length"),
                                    TRefusalValue::OfCount(length), count, count}));
    }
    TPictureWords words;
    for (std::size_t k = 0; k < PictureWordCount; ++k) {
      const val text = texts[static_cast<unsigned>(k)];
      if (!text.isString())
        return RefusalObject(Refused(TRefusalCode::UnexpectedArgument, {GivenText(text)}));
      words.Text[k] = text.as<std::string>();
    }
    Words = std::move(words);
    return val::null();
  }

  void SetPhysics(const val& object) {
    TPhysicsOptions physics = Commands.Physics();
    TFieldReader reader(object);
    reader.Switch("LightAberration", physics.LightAberration);
    reader.Switch("TrackEmissionPoint", physics.TrackEmissionPoint);
    reader.Switch("ThomasPrecession", physics.ThomasPrecession);
    Commands.SetPhysics(physics);
  }

  val SetSpeedPosition(double position) {
    const std::optional<long long> whole = WholeNumber(position);
    if (!whole) return RefusalObject(NotAWholeNumber("position", position));
    if (TRefusal refusal = CheckSpeedPosition(*whole)) return RefusalObject(refusal);
    return RefusalObject(Commands.SetSpeedPosition(static_cast<int>(*whole)));
  }

  int FrameIndex() const { return State.FrameIndex; }

  // The model in force: rows per field line, field lines, rows between drawn wavefronts.
  val ModelSize() const {
    const TModelSize size = Commands.ModelSize();
    return ModelSizeObject(size.ISize, size.JSize, size.WaveFrontSpacing);
  }

  // The whole main picture showing range (the start-up range where it is undefined) into the
  // module's own pixels; the page reads them through Pixels() until the next render.
  val Render(double widthCss, double heightCss, double pixelRatio, const val& range) {
    return DrawPicture(widthCss, heightCss, pixelRatio, [&](TPictureSize logical, TMainRange& shown) {
      shown = DefaultMainRange(logical);
      return range.isUndefined() ? TRefusal{} : ReadRange(range, shown);
    }, false);
  }

  // The magnified view about the charge at the display's zoom scale, into the same pixels.
  val RenderZoom(double widthCss, double heightCss, double pixelRatio) {
    return DrawPicture(widthCss, heightCss, pixelRatio,
                   [](TPictureSize, TMainRange&) { return TRefusal{}; }, true);
  }

  val DefaultRange(double widthCss, double heightCss) const {
    const auto side = [](double v) {
      return std::isfinite(v) ? static_cast<int>(std::clamp(v, 0.0, 2147483647.0)) : 0;
    };
    return RangeObject(DefaultMainRange(TPictureSize{side(widthCss), side(heightCss)}));
  }

  val Charge() const {
    val object = val::object();
    object.set("x", State.FieldSimulation.ChargePos.X);
    object.set("y", State.FieldSimulation.ChargePos.Y);
    return object;
  }

  int TrajectoryMode() const { return State.TrajectoryMode; }

  val Physics() const { return PhysicsObject(Commands.Physics()); }

  int SpeedPosition() const { return SpeedPositionOf(State.TimerInterval); }

  int TickIntervalMs() const { return State.TimerInterval; }

  // One press of the magnified view's + (in) or - (out): the scale times or over ZoomStep.
  val StepZoom(bool zoomIn) {
    TDisplaySettings display = Commands.Display();
    display.Zoom.Scale = zoomIn ? display.Zoom.Scale * ZoomStep : display.Zoom.Scale / ZoomStep;
    return RefusalObject(Commands.SetDisplay(display));
  }

  val SetPlotResolution(double pixels) {
    const std::optional<long long> whole = WholeNumber(pixels);
    if (!whole) return RefusalObject(NotAWholeNumber("pixels", pixels));
    if (TRefusal refusal = CheckPlotResolution(*whole)) return RefusalObject(refusal);
    return RefusalObject(Commands.SetPlotResolution(static_cast<int>(*whole)));
  }

  // The scene of text applied whole, or refused with nothing of it taken: { refusal, view (null:
  // the start-up range), running, title, notes, translations }, the fields beside the refusal
  // being those of the text where it was taken.
  val OpenScene(const val& text) {
    const TSceneRead read = ReadSceneText(text);
    TSceneRefusal refusal = read.Refusal;
    if (!refusal) refusal = CheckScene(read.Scene);
    if (!refusal) {
      if (const TRefusal applied = ApplyScene(read.Scene, Commands)) refusal.Refusal = applied;
    }
    val result = val::object();
    result.set("refusal", SceneRefusalObject(refusal));
    if (refusal) return result;
    Patterns.SimulationReset();
    Patterns.MotionChanged();
    result.set("view", SceneViewObject(read.Scene.View));
    result.set("running", read.Scene.Running);
    result.set("title", read.Scene.Title);
    result.set("notes", read.Scene.Notes);
    result.set("translations", TranslationsObject(read.Scene.Translations));
    return result;
  }

  // The scene file of what runs now with what the page holds beside it; view undefined or null
  // for the start-up range. A view that is no range is left out rather than written.
  std::string SceneText(const val& view, bool running, const val& title, const val& notes,
                        const val& translations) const {
    std::optional<TSceneView> shown;
    TMainRange range;
    if (!view.isUndefined() && !view.isNull() && !ReadRange(view, range))
      shown = TSceneView{range.Horizontal.Minimum, range.Horizontal.Maximum,
                         range.Vertical.Minimum, range.Vertical.Maximum};
    const auto textOf = [](const val& given) {
      return given.isString() ? given.as<std::string>() : std::string();
    };
    TScene scene = SceneOf(Commands, shown, running, textOf(title), textOf(notes));
    scene.Translations = TranslationsOf(translations);
    return WriteScene(scene);
  }

  // What the eye received, oldest first: each sample's observer time (ticks since the trace
  // began), kind (0 received, 1 sent before the last reset, 2 before the kept history) and the
  // signed components of the whole field and of its radiation part along across, the direction
  // across the line from the path's centre to the eye (0 for a sample left out).
  val ObserverTrace() const {
    const TObserverTrace& trace = State.ObserverTrace;
    const auto count = static_cast<std::size_t>(trace.Count());
    const TVector2 across = ObserverAcross(PathCentreOf(State), Settings.Observer.Place);
    std::vector<double> ticks(count);
    std::vector<std::uint8_t> kinds(count);
    std::vector<double> field(count, 0.0);
    std::vector<double> radiation(count, 0.0);
    for (std::size_t i = 0; i < count; ++i) {
      const TObserverSample& sample = trace[static_cast<int>(i)];
      ticks[i] = sample.Tick;
      kinds[i] = static_cast<std::uint8_t>(sample.Kind);
      if (sample.Kind != TObserverSampleKind::Received) continue;
      field[i] = sample.Field.X * across.X + sample.Field.Y * across.Y;
      radiation[i] = sample.Radiation.X * across.X + sample.Radiation.Y * across.Y;
    }
    val direction = val::object();
    direction.set("X", across.X);
    direction.set("Y", across.Y);
    val object = val::object();
    object.set("tick", TypedArrayOf("Float64Array", ticks));
    object.set("kind", TypedArrayOf("Uint8Array", kinds));
    object.set("field", TypedArrayOf("Float64Array", field));
    object.set("radiation", TypedArrayOf("Float64Array", radiation));
    object.set("across", direction);
    object.set("traceTicks", trace.TraceTicks());
    object.set("ticks", static_cast<double>(trace.Ticks()));
    object.set("beforeReset", trace.BeforeResetCount());
    object.set("beyondHistory", trace.BeyondHistoryCount());
    object.set("secondsPerTick", SecondsPerTickNow());
    return object;
  }

  // The spectrum of the trace's radiation part, the transform done by the page's library.
  val ObserverSpectrum(const val& transform) const {
    TPageRealFft fft(transform);
    const TObserverSpectrum spectrum =
        SpectrumOf(State.ObserverTrace, State, Settings.Observer.Place, fft);
    return SpectrumObject(spectrum, SecondsPerTickNow(), !fft.Failed);
  }

  // The trace's CSV text: every received sample from fromTick to toTick (the trace's ticks).
  std::string ObserverTraceCsvText(double fromTick, double toTick) const {
    return ObserverTraceCsv(State.ObserverTrace, fromTick, toTick);
  }

  std::string ObserverSpectrumCsvText(const val& transform) const {
    TPageRealFft fft(transform);
    return ObserverSpectrumCsv(SpectrumOf(State.ObserverTrace, State, Settings.Observer.Place, fft));
  }

  val RadiationPattern(bool averaged) {
    const TRadiationPattern& pattern = averaged ? Patterns.Averaged() : Patterns.Instantaneous();
    val values = val::array();
    for (double value : pattern.Values) values.call<void>("push", value);
    val object = val::object();
    object.set("values", values);
    object.set("power", pattern.Power);
    object.set("larmor", pattern.Larmor);
    object.set("radiates", pattern.Radiates());
    return object;
  }

 private:
  double SecondsPerTickNow() const {
    return SecondsPerTick(State.ISize, PictureScaleOf(State.TrajectoryMode, Settings.ScaleUnit));
  }

  // A command that changed the motion: the averages start again from it.
  val Changed(const TRefusal& refusal) {
    if (!refusal) Patterns.MotionChanged();
    return RefusalObject(refusal);
  }

  template <class TRangeOf>
  val DrawPicture(double widthCss, double heightCss, double pixelRatio, TRangeOf&& rangeOf,
              bool zoom) {
    val result = val::object();
    result.set("width", 0);
    result.set("height", 0);
    const std::optional<long long> width = WholeNumber(widthCss);
    const std::optional<long long> height = WholeNumber(heightCss);
    TRefusal refusal;
    if (!width) {
      refusal = NotAWholeNumber("widthCss", widthCss);
    } else if (!height) {
      refusal = NotAWholeNumber("heightCss", heightCss);
    } else if (!(std::isfinite(pixelRatio) && pixelRatio > 0.0)) {
      refusal = Refused(TRefusalCode::OutOfRange,
                        {TRefusalValue::OfText("pixelRatio"), TRefusalValue::OfNumber(pixelRatio),
                         TRefusalValue::OfNumber(0.0),
                         TRefusalValue::OfNumber(std::numeric_limits<double>::infinity())});
    } else {
      const auto side = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, 0, INT_MAX));
      };
      const TPictureSize logical{side(*width), side(*height)};
      TMainRange shown;
      refusal = rangeOf(logical, shown);
      if (!refusal) refusal = Draw(logical, pixelRatio, shown, zoom);
    }
    if (!refusal) {
      result.set("width", Picture.Width);
      result.set("height", Picture.Height);
    }
    result.set("refusal", RefusalObject(refusal));
    return result;
  }

 public:
  val Pixels() const {
    const std::size_t bytes = static_cast<std::size_t>(Picture.Width) *
                              static_cast<std::size_t>(Picture.Height) * sizeof(std::uint32_t);
    const val view(emscripten::typed_memory_view(
        bytes, reinterpret_cast<const unsigned char*>(PictureMemory.get())));
    // ImageData takes only a Uint8ClampedArray: the same bytes under that type.
    return val::global("Uint8ClampedArray").new_(view["buffer"], view["byteOffset"], view["length"]);
  }

 private:
  TRefusal Draw(TPictureSize logical, double pixelRatio, const TMainRange& range, bool zoom) {
    const TPictureSize device = DevicePixelsOf(logical, pixelRatio);
    const auto count =
        static_cast<std::uint64_t>(device.Width) * static_cast<std::uint64_t>(device.Height);
    // The bytes must be countable in wasm32's size_t and the memory to be had: anything else is
    // refused, and the last picture is gone rather than shown at a size it no longer has.
    if (device != Picture) {
      PictureMemory.reset();
      Picture = {};
      if (count > static_cast<std::uint64_t>(MaxDevicePixels)) return PictureTooLarge(device);
      PictureMemory.reset(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(count)]);
      if (!PictureMemory) return PictureTooLarge(device);
      Picture = device;
    }
    const TPixelBuffer buffer{PictureMemory.get(), device.Width, device.Height, device.Width,
                              TByteOrder::Rgba};
    if (zoom)
      RenderZoomPictureInto(buffer, State, Settings, pixelRatio);
    else
      RenderMainPictureInto(buffer, State, Settings, pixelRatio, range, Words);
    return {};
  }

  TSimulationState State;
  TDisplaySettings Settings;
  TSimulationCommands Commands;
  TRadiationPatternTracker Patterns;
  TPictureWords Words = TPictureWords::English();
  TPictureSize Picture;
  std::unique_ptr<std::uint32_t[]> PictureMemory;
};

// ---- The option parser -------------------------------------------------------------------------

template <class T>
val Optional(const std::optional<T>& value) {
  return value ? val(*value) : val::null();
}

const char* ActionName(TCommandAction action) {
  switch (action) {
    case TCommandAction::Start: return "Start";
    case TCommandAction::Render: return "Render";
    case TCommandAction::Help: return "Help";
    case TCommandAction::Version: return "Version";
    case TCommandAction::Refuse: return "Refuse";
  }
  return "";
}

const char* OutputName(TOutputKind output) {
  switch (output) {
    case TOutputKind::Png: return "Png";
    case TOutputKind::Svg: return "Svg";
    case TOutputKind::Mp4: return "Mp4";
    case TOutputKind::WebM: return "WebM";
    case TOutputKind::Gif: return "Gif";
  }
  return "";
}

// The options of a page's address as the command line reads them, or the refusal with the
// option it names (option "" where the refusal's values name it).
val ParseOptions(const val& arguments) {
  std::vector<std::string> typed;
  if (arguments.isArray()) {
    const unsigned length = arguments["length"].as<unsigned>();
    for (unsigned k = 0; k < length; ++k) {
      const val argument = arguments[k];
      if (!argument.isString()) {
        return RefusalObject(Refused(TRefusalCode::UnexpectedArgument, {GivenText(argument)}));
      }
      typed.push_back(argument.as<std::string>());
    }
  }
  const TCommandOptions o = ParseCommandOptions(typed);
  if (o.Action == TCommandAction::Refuse) {
    val refusal = RefusalObject(o.Refusal);
    refusal.set("option", o.RefusedOption);
    return refusal;
  }
  val size = val::null();
  if (o.Size) {
    size = val::object();
    size.set("width", o.Size->Width);
    size.set("height", o.Size->Height);
  }
  val object = val::object();
  object.set("action", std::string(ActionName(o.Action)));
  object.set("mode", std::string(o.Mode == TOptionsMode::Render ? "Render" : "Animation"));
  object.set("language", o.Language);
  object.set("renderFile", o.RenderFile);
  object.set("output", std::string(OutputName(o.Output)));
  object.set("trajectoryMode", o.TrajectoryMode);
  object.set("ticks", Optional(o.Ticks));
  object.set("fromTick", o.FromTick);
  object.set("size", size);
  object.set("pixelRatio", Optional(o.PixelRatio));
  object.set("iSize", Optional(o.ISize));
  object.set("jSize", Optional(o.JSize));
  object.set("waveFrontSpacing", Optional(o.WaveFrontSpacing));
  object.set("waveFronts", o.WaveFronts);
  object.set("nodePoints", o.NodePoints);
  object.set("fieldArrows", o.FieldArrows);
  object.set("fieldLines", o.FieldLines);
  object.set("smooth", Optional(o.Smooth));
  object.set("caption", Optional(o.Caption));
  object.set("theme", o.Theme ? val(static_cast<int>(*o.Theme)) : val::null());
  val observer = val::null();
  if (o.Observer) {
    observer = val::object();
    observer.set("X", o.Observer->X);
    observer.set("Y", o.Observer->Y);
  }
  object.set("observer", observer);
  return object;
}

// ---- The undulator's linked quantities ---------------------------------------------------------

// Entry fields the object does not have, or has of the wrong type, keep entry's values.
void ReadUndulatorEntry(const val& object, TUndulatorEntry& entry) {
  TFieldReader reader(object);
  reader.Number("Beta", entry.Beta);
  reader.Number("EnergyMeV", entry.EnergyMeV);
  reader.Number("PeriodCm", entry.PeriodCm);
  reader.Whole("Periods", entry.Periods);
  reader.Number("K", entry.K);
  reader.Number("FieldKG", entry.FieldKG);
  reader.Number("AmplitudeM", entry.AmplitudeM);
}

val UndulatorEntryObject(const TUndulatorEntry& entry) {
  val object = val::object();
  object.set("Beta", entry.Beta);
  object.set("EnergyMeV", entry.EnergyMeV);
  object.set("PeriodCm", entry.PeriodCm);
  object.set("Periods", entry.Periods);
  object.set("K", entry.K);
  object.set("FieldKG", entry.FieldKG);
  object.set("AmplitudeM", entry.AmplitudeM);
  return object;
}

TTrajectoryParameters TrajectoryOf(const val& object) {
  TTrajectoryParameters parameters;
  ReadTrajectory(object, parameters);
  return parameters;
}

val UndulatorEntry(const val& trajectory) {
  return UndulatorEntryObject(UndulatorEntryOf(TrajectoryOf(trajectory)));
}

std::optional<TUndulatorInput> UndulatorInputNamed(const std::string& name) {
  constexpr std::pair<const char*, TUndulatorInput> Inputs[] = {
      {"Beta", TUndulatorInput::Beta}, {"Energy", TUndulatorInput::Energy},
      {"Period", TUndulatorInput::Period}, {"Periods", TUndulatorInput::Periods},
      {"K", TUndulatorInput::K}, {"Field", TUndulatorInput::Field}};
  for (const auto& [inputName, input] : Inputs)
    if (name == inputName) return input;
  return std::nullopt;
}

val EditUndulatorOf(const val& entryObject, const std::string& inputName, double value) {
  TUndulatorEntry entry;
  ReadUndulatorEntry(entryObject, entry);
  TRefusal refusal;
  if (const std::optional<TUndulatorInput> input = UndulatorInputNamed(inputName)) {
    refusal = EditUndulator(entry, *input, value);
  } else {
    refusal = Refused(TRefusalCode::UnknownOption, {TRefusalValue::OfText(inputName)});
  }
  val result = val::object();
  result.set("entry", UndulatorEntryObject(entry));
  result.set("refusal", RefusalObject(refusal));
  return result;
}

val UndulatorDerived(const val& entryObject) {
  TUndulatorEntry entry;
  ReadUndulatorEntry(entryObject, entry);
  const TUndulatorDerived derived = UndulatorDerivedOf(entry);
  val object = val::object();
  object.set("Gamma", derived.Gamma);
  object.set("RadWavelengthUm", derived.RadWavelengthUm);
  object.set("MaxAngle", derived.MaxAngle);
  object.set("AmplitudeM", derived.AmplitudeM);
  return object;
}

// The trajectory given with the entry's path written into it.
val ApplyUndulatorEntryOf(const val& entryObject, const val& trajectory) {
  TUndulatorEntry entry;
  ReadUndulatorEntry(entryObject, entry);
  TTrajectoryParameters parameters = TrajectoryOf(trajectory);
  ApplyUndulatorEntry(entry, parameters);
  return TrajectoryObject(parameters);
}

// The English sources of the pictures' words, in the order setPictureWords takes their texts.
val PictureWordSourcesOf() {
  val sources = val::array();
  for (const std::string_view source : PictureWordSources)
    sources.call<void>("push", std::string(source));
  return sources;
}

// Every code a refusal can carry (all but None): the keys the page's catalogue must word.
val RefusalCodes() {
  constexpr TRefusalCode Codes[] = {
#define HALVORAN_CODE_ENTRY(name) TRefusalCode::name,
      HALVORAN_REFUSAL_CODES(HALVORAN_CODE_ENTRY)
#undef HALVORAN_CODE_ENTRY
  };
  val names = val::array();
  for (const TRefusalCode code : Codes)
    if (code != TRefusalCode::None) names.call<void>("push", std::string(RefusalCodeName(code)));
  return names;
}

}  // namespace

EMSCRIPTEN_BINDINGS(halvoran_core) {
  emscripten::class_<TWebSimulation>("Simulation")
      .constructor<>()
      .function("start", &TWebSimulation::Start)
      .function("chooseTrajectory", &TWebSimulation::ChooseTrajectory)
      .function("trajectory", &TWebSimulation::Trajectory)
      .function("chooseModelSize", &TWebSimulation::ChooseModelSize)
      .function("reset", &TWebSimulation::Reset)
      .function("runTick", &TWebSimulation::RunTick)
      .function("setDisplay", &TWebSimulation::SetDisplay)
      .function("display", &TWebSimulation::Display)
      .function("setPictureWords", &TWebSimulation::SetPictureWords)
      .function("setPhysics", &TWebSimulation::SetPhysics)
      .function("setSpeedPosition", &TWebSimulation::SetSpeedPosition)
      .function("frameIndex", &TWebSimulation::FrameIndex)
      .function("modelSize", &TWebSimulation::ModelSize)
      .function("render", &TWebSimulation::Render)
      .function("pixels", &TWebSimulation::Pixels)
      .function("renderZoom", &TWebSimulation::RenderZoom)
      .function("defaultRange", &TWebSimulation::DefaultRange)
      .function("charge", &TWebSimulation::Charge)
      .function("trajectoryMode", &TWebSimulation::TrajectoryMode)
      .function("physics", &TWebSimulation::Physics)
      .function("speedPosition", &TWebSimulation::SpeedPosition)
      .function("tickIntervalMs", &TWebSimulation::TickIntervalMs)
      .function("stepZoom", &TWebSimulation::StepZoom)
      .function("setPlotResolution", &TWebSimulation::SetPlotResolution)
      .function("radiationPattern", &TWebSimulation::RadiationPattern)
      .function("observerTrace", &TWebSimulation::ObserverTrace)
      .function("observerSpectrum", &TWebSimulation::ObserverSpectrum)
      .function("observerTraceCsv", &TWebSimulation::ObserverTraceCsvText)
      .function("observerSpectrumCsv", &TWebSimulation::ObserverSpectrumCsvText)
      .function("openScene", &TWebSimulation::OpenScene)
      .function("sceneText", &TWebSimulation::SceneText);
  emscripten::constant("maxSceneBytes", static_cast<double>(MaxSceneBytes));
  emscripten::constant("observerSubTicks", ObserverSubTicks);
  emscripten::constant("observerTraceTicksMin", ObserverTraceTicksMin);
  emscripten::constant("observerTraceTicksMax", ObserverTraceTicksMax);
  emscripten::constant("observerPlaceLimit", ObserverPlaceLimit);
  emscripten::function("parseOptions", &ParseOptions);
  emscripten::function("undulatorEntry", &UndulatorEntry);
  emscripten::function("editUndulator", &EditUndulatorOf);
  emscripten::function("undulatorDerived", &UndulatorDerived);
  emscripten::function("applyUndulatorEntry", &ApplyUndulatorEntryOf);
  emscripten::function("refusalCodes", &RefusalCodes);
  emscripten::function("pictureWordSources", &PictureWordSourcesOf);
  emscripten::function("modelSizePresets", &ModelSizePresets);
  emscripten::function("defaults", &Defaults);
}
