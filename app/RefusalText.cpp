// SPDX-License-Identifier: GPL-3.0-or-later
// Each refusal code's sentence, written in English and looked up in the installed catalogue.
#include "app/RefusalText.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

struct TSentence {
  TRefusalCode Code;
  const char* Text;
};

// %1, %2, ... are the refusal's values in their order; a parameter's name comes first where the
// sentence names one.
const TSentence Sentences[] = {
    {TRefusalCode::NotFinite, QT_TRANSLATE_NOOP("Refusals", "The %1 must be a finite number (%2 was given).")},
    {TRefusalCode::SpeedNotPositive, QT_TRANSLATE_NOOP("Refusals", "The speed must be greater than 0 (%1 was given).")},
    {TRefusalCode::SpeedTooHigh, QT_TRANSLATE_NOOP("Refusals", "The speed must be below the wave speed: at most %1 of it (%2 was given).")},
    {TRefusalCode::WaveSpeedNotPositive, QT_TRANSLATE_NOOP("Refusals", "The wave speed must be greater than 0 (%1 was given).")},
    {TRefusalCode::MustNotBeZero, QT_TRANSLATE_NOOP("Refusals", "The %1 must not be 0.")},
    {TRefusalCode::PositionsEqual, QT_TRANSLATE_NOOP("Refusals", "The start and stop positions must differ (both are %1).")},
    {TRefusalCode::RaceTrackSigns, QT_TRANSLATE_NOOP("Refusals", "The bending radius and the straight section must have the same sign (%1 and %2 were given).")},
    {TRefusalCode::UndulatorPeriodNotPositive, QT_TRANSLATE_NOOP("Refusals", "The undulator period must be greater than 0 (%1 was given).")},
    {TRefusalCode::TooFewPeriods, QT_TRANSLATE_NOOP("Refusals", "The number of periods must be at least %1 (%2 was given).")},
    {TRefusalCode::TooManyPeriods, QT_TRANSLATE_NOOP("Refusals", "The undulator would have %1 periods; at most %2 fit.")},
    {TRefusalCode::BendingSigns, QT_TRANSLATE_NOOP("Refusals", "The bending radius and angle must have the same sign (%1 and %2 were given).")},
    {TRefusalCode::BendingAngleRange, QT_TRANSLATE_NOOP("Refusals", "The bending angle must lie between -%1 and %1 degrees (%2 was given).")},
    {TRefusalCode::UnknownTrajectory, QT_TRANSLATE_NOOP("Refusals", "Unknown trajectory kind %1.")},
    {TRefusalCode::PathTooLongEstimate, QT_TRANSLATE_NOOP("Refusals", "The path is too long for the speed %1: it would take about %2 ticks (at most %3).")},
    {TRefusalCode::PathTooLong, QT_TRANSLATE_NOOP("Refusals", "The path is too long for the speed %1: it would take more than %2 ticks.")},
    {TRefusalCode::SpeedTooLowToMove, QT_TRANSLATE_NOOP("Refusals", "The speed %1 is too low to move the charge.")},
    {TRefusalCode::PathTooLarge, QT_TRANSLATE_NOOP("Refusals", "The path is too large to compute.")},
    {TRefusalCode::PathPieceWithoutDirection, QT_TRANSLATE_NOOP("Refusals", "The path has a piece without a direction; change its dimensions.")},
    {TRefusalCode::PathTooShort, QT_TRANSLATE_NOOP("Refusals", "The path is too short for the speed %1: the charge would cross it in less than two ticks.")},
    {TRefusalCode::TooFewRows, QT_TRANSLATE_NOOP("Refusals", "The number of field points per field line must be at least %1 (%2 was given).")},
    {TRefusalCode::TooFewLines, QT_TRANSLATE_NOOP("Refusals", "The number of field lines must be at least %1 (%2 was given).")},
    {TRefusalCode::WaveFrontSpacingTooSmall, QT_TRANSLATE_NOOP("Refusals", "The wavefront spacing must be at least %1 (%2 was given).")},
    {TRefusalCode::RowsBelowWaveFrontSpacing, QT_TRANSLATE_NOOP("Refusals", "The number of field points per field line must be at least %1, the number of field points between two wavefronts (%2 was given).")},
    {TRefusalCode::ModelTooLarge, QT_TRANSLATE_NOOP("Refusals", "A model of %1 field points x %2 field lines is too large: it needs %3 nodes, at most %4.")},
    {TRefusalCode::PlotResolutionRange, QT_TRANSLATE_NOOP("Refusals", "The plot resolution must lie between %1 and %2 pixels (%3 was given).")},
    {TRefusalCode::ZoomScaleRange, QT_TRANSLATE_NOOP("Refusals", "The magnification must lie between %1 and %2 (%3 was given).")},
    {TRefusalCode::SpeedPositionRange, QT_TRANSLATE_NOOP("Refusals", "The speed setting must lie between %1 and %2 (%3 was given).")},
    {TRefusalCode::ZoomTrackingUnknown, QT_TRANSLATE_NOOP("Refusals", "Unknown tracking mode %1 of the magnified view.")},
    {TRefusalCode::ThemeUnknown, QT_TRANSLATE_NOOP("Refusals", "Unknown theme %1 of the picture.")},
    {TRefusalCode::ScaleUnitUnknown, QT_TRANSLATE_NOOP("Refusals", "The plot width can stand for 1, 10 or 100 km, m or mm (%1 and unit %2 were given).")},
    {TRefusalCode::ObserverPlaceRange, QT_TRANSLATE_NOOP("Refusals", "The observer must stay within %1 plot units of the centre each way (%2, %3 was given).")},
    {TRefusalCode::ObserverTraceTicksRange, QT_TRANSLATE_NOOP("Refusals", "The observer's trace must cover between %1 and %2 ticks (%3 was given).")},
    {TRefusalCode::EnergyNotPositive, QT_TRANSLATE_NOOP("Refusals", "The electron energy must be greater than 0 MeV (%1 was given).")},
    {TRefusalCode::UndulatorOutOfRange, QT_TRANSLATE_NOOP("Refusals", "These undulator values are too large to work out.")},
    {TRefusalCode::PictureTooLarge, QT_TRANSLATE_NOOP("Refusals", "Not enough memory for a picture of %1 x %2 pixels.")},
    // The command line's: one line each, the option first as it was typed.
    {TRefusalCode::UnexpectedArgument, QT_TRANSLATE_NOOP("Refusals", "unexpected argument '%1'")},
    {TRefusalCode::UnknownOption, QT_TRANSLATE_NOOP("Refusals", "unknown option '%1'")},
    {TRefusalCode::GivenTwice, QT_TRANSLATE_NOOP("Refusals", "%1 is given twice")},
    {TRefusalCode::MissingValue, QT_TRANSLATE_NOOP("Refusals", "%1 needs a value")},
    {TRefusalCode::TakesNoValue, QT_TRANSLATE_NOOP("Refusals", "%1 takes no value")},
    {TRefusalCode::NotAWholeNumber, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' is not a whole number")},
    {TRefusalCode::NotANumber, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' is not a number")},
    {TRefusalCode::NotAPair, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' is not of the form WxH")},
    {TRefusalCode::NotAPoint, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' is not of the form X,Y")},
    {TRefusalCode::OutOfRange, QT_TRANSLATE_NOOP("Refusals", "%1: %2 is outside %3 .. %4")},
    {TRefusalCode::EmptyFileName, QT_TRANSLATE_NOOP("Refusals", "%1: the file name is empty")},
    {TRefusalCode::BadSuffix, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' does not end in .png, .svg, .mp4, .webm or .gif")},
    {TRefusalCode::OnlySuffix, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' has no file name before its suffix")},
    {TRefusalCode::UnknownLanguage, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' is not ja or en")},
    {TRefusalCode::UnknownTrajectoryName, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' is not %3")},
    {TRefusalCode::UnknownModelName, QT_TRANSLATE_NOOP("Refusals", "%1: '%2' is not %3 or IxJ")},
    {TRefusalCode::ExcludeEachOther, QT_TRANSLATE_NOOP("Refusals", "%1 and %2 exclude each other")},
    {TRefusalCode::NeedsRender, QT_TRANSLATE_NOOP("Refusals", "%1 needs --render FILE")},
    {TRefusalCode::OnlyForVideos, QT_TRANSLATE_NOOP("Refusals", "%1 applies to videos (.mp4, .webm, .gif) only")},
    {TRefusalCode::NeedsObserver, QT_TRANSLATE_NOOP("Refusals", "%1 needs --observer X,Y")},
    {TRefusalCode::FromAfterTicks, QT_TRANSLATE_NOOP("Refusals", "--from %1 lies after --ticks %2")},
    {TRefusalCode::TooManyDevicePixels, QT_TRANSLATE_NOOP("Refusals", "--size %1x%2 at --scale %3 needs more than %4 x %5 device pixels")},
    // A scene file's: the key's path first where one is at fault.
    {TRefusalCode::SceneTooLarge, QT_TRANSLATE_NOOP("Refusals", "The scene file is too large: %1 bytes, at most %2.")},
    {TRefusalCode::SceneNotUtf8, QT_TRANSLATE_NOOP("Refusals", "The scene file is not UTF-8 text (a bad byte at offset %1).")},
    {TRefusalCode::SceneNotJson, QT_TRANSLATE_NOOP("Refusals", "The scene file is not valid JSON.")},
    {TRefusalCode::SceneTooDeep, QT_TRANSLATE_NOOP("Refusals", "The scene file is nested deeper than a scene goes (at most %1 levels).")},
    {TRefusalCode::SceneNotAScene, QT_TRANSLATE_NOOP("Refusals", "This is not a Halvoran Radiation scene (%1).")},
    {TRefusalCode::SceneNewerVersion, QT_TRANSLATE_NOOP("Refusals", "The scene is of version %1; this program reads versions up to %2.")},
    {TRefusalCode::SceneUnknownKey, QT_TRANSLATE_NOOP("Refusals", "Unknown key %1 in the scene.")},
    {TRefusalCode::SceneKeyTwice, QT_TRANSLATE_NOOP("Refusals", "The key %1 is given twice in the scene.")},
    {TRefusalCode::SceneMissingKey, QT_TRANSLATE_NOOP("Refusals", "The scene has no %1.")},
    {TRefusalCode::SceneWrongType, QT_TRANSLATE_NOOP("Refusals", "%1 must be of the JSON type %2.")},
    {TRefusalCode::SceneValueRefused, QT_TRANSLATE_NOOP("Refusals", "The value of %1 is refused.")},
    {TRefusalCode::SceneViewEmpty, QT_TRANSLATE_NOOP("Refusals", "%1: the view must run from a lower to a higher value (%2 .. %3 was given).")},
    {TRefusalCode::SceneUnreadable, QT_TRANSLATE_NOOP("Refusals", "The scene file \"%1\" cannot be read: %2")},
    {TRefusalCode::SceneNotWritten, QT_TRANSLATE_NOOP("Refusals", "Could not save the scene \"%1\": %2")},
    {TRefusalCode::CsvNotWritten, QT_TRANSLATE_NOOP("Refusals", "Could not save the CSV file \"%1\": %2")},
};

// The names of the parameters as the sentences put them in.
struct TParameterWord {
  TParameter Parameter;
  const char* Text;
};
const TParameterWord ParameterWords[] = {
    {TParameter::Speed, QT_TRANSLATE_NOOP("Refusals", "speed")},
    {TParameter::StartPosition, QT_TRANSLATE_NOOP("Refusals", "start position")},
    {TParameter::StopPosition, QT_TRANSLATE_NOOP("Refusals", "stop position")},
    {TParameter::OscillationAmplitude, QT_TRANSLATE_NOOP("Refusals", "oscillation amplitude")},
    {TParameter::CircleRadius, QT_TRANSLATE_NOOP("Refusals", "circle radius")},
    {TParameter::BendingRadius, QT_TRANSLATE_NOOP("Refusals", "bending radius")},
    {TParameter::StraightSection, QT_TRANSLATE_NOOP("Refusals", "straight section")},
    {TParameter::UndulatorPeriod, QT_TRANSLATE_NOOP("Refusals", "undulator period")},
    {TParameter::BendingAngle, QT_TRANSLATE_NOOP("Refusals", "bending angle")},
    {TParameter::WaveSpeed, QT_TRANSLATE_NOOP("Refusals", "wave speed")},
};
// The words of a value that is not a number (NonFiniteWord), for the catalogue.
[[maybe_unused]] const char* const NonFiniteWords[] = {QT_TRANSLATE_NOOP("Refusals", "infinity"),
                                                       QT_TRANSLATE_NOOP("Refusals", "minus infinity"),
                                                       QT_TRANSLATE_NOOP("Refusals", "not a number")};

QString Translated(const char* text) {
  return QCoreApplication::translate(RefusalContext, text);
}

QString ValueText(const TRefusalValue& value) {
  const char* word = NonFiniteWord(value);
  if (*word != '\0') return Translated(word);
  return QString::fromStdString(RefusalValueText(value));
}

// pattern with %1 .. %9 replaced in one pass, so that a value holding "%2" (a typed text) is not
// taken for a place holder.
QString PutIn(const QString& pattern, const QStringList& values) {
  QString result;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('%') && i + 1 < pattern.size() && pattern[i + 1] >= QLatin1Char('1') &&
        pattern[i + 1] <= QLatin1Char('9')) {
      const qsizetype index = pattern[i + 1].unicode() - '1';
      if (index < values.size()) {
        result += values[index];
        ++i;
        continue;
      }
    }
    result += c;
  }
  return result;
}

}  // namespace

const char* RefusalSentence(TRefusalCode code) {
  for (const TSentence& s : Sentences)
    if (s.Code == code) return s.Text;
  return nullptr;
}

const char* ParameterWord(TParameter parameter) {
  for (const TParameterWord& w : ParameterWords)
    if (w.Parameter == parameter) return w.Text;
  return nullptr;
}

QString RefusalText(const TRefusal& refusal) {
  const char* sentence = RefusalSentence(refusal.Code);
  if (!sentence) return QString::fromLatin1(RefusalCodeName(refusal.Code));
  QStringList values;
  if (const char* word = ParameterWord(refusal.Parameter)) values << Translated(word);
  for (const TRefusalValue& value : refusal.Values) values << ValueText(value);
  return PutIn(Translated(sentence), values);
}
