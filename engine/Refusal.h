// SPDX-License-Identifier: GPL-3.0-or-later
// Why a value the user set was refused: a code with the values it names. The core never words a
// refusal; each front-end turns the code into a sentence from its own catalogue, in the language
// of the session, putting the values in as %1, %2, ... in their order.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// The parameter a refusal is about, named by the front-end in its language.
#define HALVORAN_PARAMETERS(X) \
  X(None) \
  X(Speed) \
  X(StartPosition) \
  X(StopPosition) \
  X(OscillationAmplitude) \
  X(CircleRadius) \
  X(BendingRadius) \
  X(StraightSection) \
  X(UndulatorPeriod) \
  X(BendingAngle) \
  X(WaveSpeed)

enum class TParameter {
#define HALVORAN_ENUM_ENTRY(name) name,
  HALVORAN_PARAMETERS(HALVORAN_ENUM_ENTRY)
};


// Each code with the values its sentence takes, in their order.
#define HALVORAN_REFUSAL_CODES(X) \
  X(None)  \
  /* Trajectories. Values: the number given (and the bound where the sentence names one). */ \
  X(NotFinite) /* Parameter; %1 the value */ \
  X(SpeedNotPositive) /* %1 the speed */ \
  X(SpeedTooHigh) /* %1 the largest speed taken (0.9999), %2 the speed */ \
  X(WaveSpeedNotPositive) /* %1 the wave speed */ \
  X(MustNotBeZero) /* Parameter */ \
  X(PositionsEqual) /* %1 both positions */ \
  X(RaceTrackSigns) /* %1 radius, %2 straight section */ \
  X(UndulatorPeriodNotPositive) /* %1 the period */ \
  X(TooFewPeriods) /* %1 the least (1), %2 the number given */ \
  X(TooManyPeriods) /* %1 the periods it would have, %2 the most that fit */ \
  X(BendingSigns) /* %1 radius, %2 angle */ \
  X(BendingAngleRange) /* %1 the bound (180), %2 the angle */ \
  X(UnknownTrajectory) /* %1 the mode */ \
  X(PathTooLongEstimate) /* %1 speed, %2 about how many ticks, %3 the most */ \
  X(PathTooLong) /* %1 speed, %2 the most ticks */ \
  X(SpeedTooLowToMove) /* %1 speed */ \
  X(PathTooLarge)  \
  X(PathPieceWithoutDirection)  \
  X(PathTooShort) /* %1 speed */ \
  /* Model sizes. */ \
  X(TooFewRows) /* %1 the least (2), %2 the rows given */ \
  X(TooFewLines) /* %1 the least (1), %2 the lines given */ \
  X(WaveFrontSpacingTooSmall) /* %1 the least (1), %2 the spacing given */ \
  X(RowsBelowWaveFrontSpacing) /* %1 the spacing, %2 the rows given */ \
  X(ModelTooLarge) /* %1 rows, %2 lines, %3 nodes needed, %4 the most */ \
  /* Display and speed. */ \
  X(PlotResolutionRange) /* %1 least, %2 most, %3 given */ \
  X(ZoomScaleRange) /* %1 least, %2 most, %3 given */ \
  X(SpeedPositionRange) /* %1 least, %2 most, %3 given */ \
  X(ZoomTrackingUnknown) /* %1 given */ \
  X(ThemeUnknown) /* %1 given */ \
  X(ScaleUnitUnknown) /* %1 scale given, %2 unit given (0 km, 1 m, 2 mm) */ \
  X(ObserverPlaceRange) /* %1 the most |x| and |y|, %2 x given, %3 y given */ \
  X(ObserverTraceTicksRange) /* %1 least, %2 most, %3 given */ \
  /* The undulator's linked quantities. */ \
  X(EnergyNotPositive) /* %1 E given, MeV */ \
  X(UndulatorOutOfRange) /* a result too large or too small to hold (an overflow) */ \
  /* The picture. */ \
  X(PictureTooLarge) /* %1 width, %2 height in device pixels */ \
  /* The command line. Values: the option (or argument) as typed, then the text given to it. */ \
  X(UnexpectedArgument) /* %1 the argument */ \
  X(UnknownOption) /* %1 the option */ \
  X(GivenTwice) /* %1 the option */ \
  X(MissingValue) /* %1 the option */ \
  X(TakesNoValue) /* %1 the option */ \
  X(NotAWholeNumber) /* %1 option, %2 text */ \
  X(NotANumber) /* %1 option, %2 text */ \
  X(NotAPair) /* %1 option, %2 text (not WxH) */ \
  X(NotAPoint) /* %1 option, %2 text (not X,Y) */ \
  X(OutOfRange) /* %1 option, %2 text, %3 least, %4 most */ \
  X(EmptyFileName) /* %1 option */ \
  X(BadSuffix) /* %1 option, %2 file */ \
  X(OnlySuffix) /* %1 option, %2 file (a suffix with no name before it) */ \
  X(UnknownLanguage) /* %1 option, %2 text */ \
  X(UnknownTrajectoryName) /* %1 option, %2 text, %3 the names taken ("mouse|line|...") */ \
  X(UnknownModelName) /* %1 option, %2 text, %3 the names taken ("small|medium|large") */ \
  X(ExcludeEachOther) /* %1 and %2 the two options */ \
  X(NeedsRender) /* %1 the option that means something only in a render */ \
  X(OnlyForVideos) /* %1 the option */ \
  X(NeedsObserver) /* %1 the option that means something only with --observer */ \
  X(FromAfterTicks) /* %1 the first tick, %2 the last */ \
  X(TooManyDevicePixels) /* %1 width, %2 height, %3 scale as typed, %4 x %5 the most */ \
  /* Scene files. Values: the key's path ("trajectory.LineBeta") first where the code names one. */ \
  X(SceneTooLarge) /* %1 the bytes given, %2 the most */ \
  X(SceneNotUtf8) /* %1 the offset of the first bad byte */ \
  X(SceneNotJson)  \
  X(SceneTooDeep) /* %1 the most levels of nesting */ \
  X(SceneNotAScene) /* %1 path (format, version, or empty for the whole text) */ \
  X(SceneNewerVersion) /* %1 the version given, %2 the newest read */ \
  X(SceneUnknownKey) /* %1 path */ \
  X(SceneKeyTwice) /* %1 path */ \
  X(SceneMissingKey) /* %1 path */ \
  X(SceneWrongType) /* %1 path, %2 the JSON type wanted (number, integer, boolean, string, object) */ \
  X(SceneValueRefused) /* %1 path; the command's own refusal goes beside it */ \
  X(SceneViewEmpty) /* %1 path, %2 the lower bound, %3 the upper */ \
  /* A front-end's scene files. */ \
  X(SceneUnreadable) /* %1 the file, %2 the system's reason */ \
  X(SceneNotWritten) /* %1 the file, %2 the system's reason */ \
  /* The observer's files. */ \
  X(CsvNotWritten) /* %1 the file, %2 the system's reason */

enum class TRefusalCode {
  HALVORAN_REFUSAL_CODES(HALVORAN_ENUM_ENTRY)
};
#undef HALVORAN_ENUM_ENTRY


// One value of a refusal, as the sentence shows it: a measured number, a count (a whole number),
// or a text as given.
struct TRefusalValue {
  enum class TKind { Number, Count, Text };
  TKind Kind = TKind::Number;
  double Number = 0.0;
  double Count = 0.0;  // a whole number, perhaps beyond 64 bits (an estimate of ticks)
  std::string Text;

  static TRefusalValue OfNumber(double v) { return {TKind::Number, v, 0.0, {}}; }
  static TRefusalValue OfCount(double v) { return {TKind::Count, 0.0, v, {}}; }
  static TRefusalValue OfText(std::string v) { return {TKind::Text, 0.0, 0.0, std::move(v)}; }
};

struct TRefusal {
  TRefusalCode Code = TRefusalCode::None;
  TParameter Parameter = TParameter::None;
  std::vector<TRefusalValue> Values;

  explicit operator bool() const { return Code != TRefusalCode::None; }
};

inline TRefusal Refused(TRefusalCode code, std::initializer_list<TRefusalValue> values = {},
                        TParameter parameter = TParameter::None) {
  return {code, parameter, values};
}

// The code's name as written in the enum ("SpeedTooHigh"): the key of its sentence in the
// catalogues both front-ends share.
const char* RefusalCodeName(TRefusalCode code);
const char* ParameterName(TParameter parameter);

// A value as the sentence shows it, in the C locale. A number: three decimals in the range people
// type ("1.500"), more where three would hide what was typed ("0.99995", "0.0278"), scientific
// outside it ("1.00E-12"); a count: "42", scientific from 10^7. A number that is not finite
// gives "" and its word below, which the front-end translates.
std::string RefusalValueText(const TRefusalValue& value);
// "infinity", "minus infinity" or "not a number" for a value that is not finite; "" otherwise.
const char* NonFiniteWord(const TRefusalValue& value);
