// The command-line parser: every option checked with a one-line reason, nothing run.
#include "app/CommandLine.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <string>

#include "engine/ModelLimits.h"
#include "engine/SimulationState.h"

namespace {

struct TNamedValue {
  const char* Name;
  int Value;
};

const TNamedValue Trajectories[] = {
    {"mouse", tmMouse},         {"line", tmStraightLine}, {"dipole", tmDipole},
    {"circle", tmCircle},       {"undulator", tmUndulator}, {"racetrack", tmRaceTrack},
    {"bending", tmBending},
};

struct TNamedModel {
  const char* Name;
  TModelSizePreset Preset;
};
const TNamedModel Models[] = {
    {"small", ModelSizeSmall}, {"medium", ModelSizeMedium}, {"large", ModelSizeLarge}};

struct TNamedOutput {
  const char* Suffix;
  TOutputKind Kind;
};
const TNamedOutput Outputs[] = {{"png", TOutputKind::Png},   {"svg", TOutputKind::Svg},
                                {"mp4", TOutputKind::Mp4},   {"webm", TOutputKind::WebM},
                                {"gif", TOutputKind::Gif}};

// Raised inside the parser with the one-line reason; never leaves it.
struct TRefusal {
  QString Message;
};

[[noreturn]] void Refuse(const QString& message) { throw TRefusal{message}; }

// A whole number of plain digits (no sign, no blanks) within low .. high; one of more than nine
// digits lies beyond every bound the options have.
int WholeNumber(const QString& option, const QString& text, int low, int high) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
  if (!digits.match(text).hasMatch())
    Refuse(QStringLiteral("%1: '%2' is not a whole number").arg(option, text));
  const int value = text.size() <= 9 ? text.toInt() : -1;
  if (value < low || value > high || text.size() > 9)
    Refuse(QStringLiteral("%1: %2 is outside %3 .. %4")
               .arg(option, text, QString::number(low), QString::number(high)));
  return value;
}

double RealNumber(const QString& option, const QString& text, double low, double high) {
  static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
  bool ok = false;
  const double value = number.match(text).hasMatch() ? QLocale::c().toDouble(text, &ok) : 0.0;
  if (!ok || !std::isfinite(value))
    Refuse(QStringLiteral("%1: '%2' is not a number").arg(option, text));
  if (value < low || value > high)
    Refuse(QStringLiteral("%1: %2 is outside %3 .. %4")
               .arg(option, text, QString::number(low), QString::number(high)));
  return value;
}

// "WxH" (or "W×H" written with an x of either case) as two whole numbers.
void Pair(const QString& option, const QString& text, int low, int high, int& first, int& second) {
  static const QRegularExpression pair(QStringLiteral("^([0-9]+)[xX]([0-9]+)$"));
  const QRegularExpressionMatch match = pair.match(text);
  if (!match.hasMatch())
    Refuse(QStringLiteral("%1: '%2' is not of the form WxH").arg(option, text));
  first = WholeNumber(option, match.captured(1), low, high);
  second = WholeNumber(option, match.captured(2), low, high);
}

template <class T, std::size_t N>
const T* Find(const T (&table)[N], const QString& name) {
  for (const T& entry : table)
    if (name == QLatin1String(entry.Name)) return &entry;
  return nullptr;
}

template <class T, std::size_t N>
QString NamesOf(const T (&table)[N]) {
  QStringList names;
  for (const T& entry : table) names << QLatin1String(entry.Name);
  return names.join(QLatin1Char('|'));
}

// The suffix is what follows the last dot of the file's own name, so that a dot in a folder's
// name (dir.v2/a) is no suffix.
TOutputKind OutputOf(const QString& file) {
  if (file.isEmpty()) Refuse(QStringLiteral("--render: the file name is empty"));
  const QFileInfo info(file);
  const QString suffix = info.suffix().toLower();
  const TNamedOutput* found = nullptr;
  for (const TNamedOutput& output : Outputs)
    if (suffix == QLatin1String(output.Suffix)) found = &output;
  if (!found)
    Refuse(
        QStringLiteral("--render: '%1' does not end in .png, .svg, .mp4, .webm or .gif").arg(file));
  // ".png" (or "..png") is a suffix alone: it would be written as a hidden file that the user
  // does not see in the folder, most likely a name left out by mistake.
  static const QRegularExpression onlyDots(QStringLiteral("^\\.*$"));
  if (onlyDots.match(info.completeBaseName()).hasMatch())
    Refuse(QStringLiteral("--render: '%1' has no file name before its suffix").arg(file));
  return found->Kind;
}

void ReadModel(const QString& text, TCommandLine& line) {
  if (const TNamedModel* model = Find(Models, text)) {
    line.ISize = model->Preset.ISize;
    line.JSize = model->Preset.JSize;
    line.WaveFrontSpacing = model->Preset.WaveFrontSpacing;
    return;
  }
  static const QRegularExpression custom(QStringLiteral("^[0-9]+[xX][0-9]+$"));
  if (!custom.match(text).hasMatch())
    Refuse(QStringLiteral("--model: '%1' is not %2 or IxJ").arg(text, NamesOf(Models)));
  int rows = 0;
  int lines = 0;
  Pair(QStringLiteral("--model"), text, 0, 999999999, rows, lines);
  const std::string refusal = CheckModelSize(rows, lines, TSimulationState{}.WaveFrontSpacing);
  if (!refusal.empty())
    Refuse(QStringLiteral("--model: %1").arg(QString::fromStdString(refusal)));
  line.ISize = rows;
  line.JSize = lines;
  // The spacing the check used, the start-up one.
  line.WaveFrontSpacing.reset();
}

// The options that mean something only with --render, with whether each was given.
struct TRenderOnly {
  QString FirstGiven;
  bool From = false;
};

TCommandLine Parse(const QStringList& arguments) {
  TCommandLine line;
  bool help = false;
  bool version = false;
  bool render = false;
  TRenderOnly renderOnly;
  // Options already given. A second one would silently override the first, and which of the
  // two the user meant cannot be told.
  QStringList given;

  for (int i = 0; i < arguments.size(); ++i) {
    const QString argument = arguments[i];
    QString name = argument;
    std::optional<QString> attached;
    if (argument.startsWith(QLatin1String("--"))) {
      const int equals = argument.indexOf(QLatin1Char('='));
      if (equals > 0) {
        name = argument.left(equals);
        attached = argument.mid(equals + 1);
      }
    } else {
      Refuse(QStringLiteral("unexpected argument '%1'").arg(argument));
    }
    // Only a known option gets into the list: an unknown one is refused at its first sight.
    if (given.contains(name)) Refuse(QStringLiteral("%1 is given twice").arg(name));
    const auto value = [&]() -> QString {
      if (attached) return *attached;
      if (i + 1 >= arguments.size()) Refuse(QStringLiteral("%1 needs a value").arg(name));
      return arguments[++i];
    };
    const auto flag = [&] {
      if (attached) Refuse(QStringLiteral("%1 takes no value").arg(name));
    };
    const auto renderOption = [&] {
      if (renderOnly.FirstGiven.isEmpty()) renderOnly.FirstGiven = name;
    };

    if (name == QLatin1String("--help")) {
      flag();
      help = true;
    } else if (name == QLatin1String("--version")) {
      flag();
      version = true;
    } else if (name == QLatin1String("--language")) {
      const QString language = value();
      if (language != QLatin1String("ja") && language != QLatin1String("en"))
        Refuse(QStringLiteral("--language: '%1' is not ja or en").arg(language));
      line.Language = language;
    } else if (name == QLatin1String("--render")) {
      line.RenderFile = value();
      line.Output = OutputOf(line.RenderFile);
      render = true;
    } else if (name == QLatin1String("--trajectory")) {
      renderOption();
      const QString text = value();
      const TNamedValue* trajectory = Find(Trajectories, text);
      if (!trajectory)
        Refuse(QStringLiteral("--trajectory: '%1' is not %2").arg(text, NamesOf(Trajectories)));
      line.TrajectoryMode = trajectory->Value;
    } else if (name == QLatin1String("--ticks")) {
      renderOption();
      line.Ticks = WholeNumber(name, value(), 0, MaxTicks);
    } else if (name == QLatin1String("--from")) {
      renderOption();
      line.FromTick = WholeNumber(name, value(), 0, MaxTicks);
      renderOnly.From = true;
    } else if (name == QLatin1String("--size")) {
      renderOption();
      int width = 0;
      int height = 0;
      Pair(name, value(), MinPictureSide, MaxPictureSide, width, height);
      line.Size = QSize(width, height);
    } else if (name == QLatin1String("--scale")) {
      renderOption();
      line.PixelRatio = RealNumber(name, value(), MinPixelRatio, MaxPixelRatio);
    } else if (name == QLatin1String("--model")) {
      renderOption();
      ReadModel(value(), line);
    } else if (name == QLatin1String("--wavefronts")) {
      renderOption();
      flag();
      line.WaveFronts = true;
    } else if (name == QLatin1String("--nodes")) {
      renderOption();
      flag();
      line.NodePoints = true;
    } else if (name == QLatin1String("--arrows")) {
      renderOption();
      flag();
      line.FieldArrows = true;
    } else if (name == QLatin1String("--no-field-lines")) {
      renderOption();
      flag();
      line.FieldLines = false;
    } else if (name == QLatin1String("--smooth") || name == QLatin1String("--aliased")) {
      renderOption();
      flag();
      // The other of the two is given already (the same one is refused above as given twice).
      if (line.Smooth.has_value())
        Refuse(QStringLiteral("--smooth and --aliased exclude each other"));
      line.Smooth = name == QLatin1String("--smooth");
    } else {
      Refuse(QStringLiteral("unknown option '%1'").arg(name));
    }
    given << name;
  }

  if (help) {
    line.Action = TCommandAction::Help;
    return line;
  }
  if (version) {
    line.Action = TCommandAction::Version;
    return line;
  }
  if (!render) {
    if (!renderOnly.FirstGiven.isEmpty())
      Refuse(QStringLiteral("%1 needs --render FILE").arg(renderOnly.FirstGiven));
    return line;
  }
  if (renderOnly.From && !line.IsVideo())
    Refuse(QStringLiteral("--from applies to videos (.mp4, .webm, .gif) only"));
  if (line.FromTick > line.Ticks)
    Refuse(QStringLiteral("--from %1 lies after --ticks %2").arg(line.FromTick).arg(line.Ticks));
  const long long deviceWidth = std::llround(line.Size.width() * line.PixelRatio);
  const long long deviceHeight = std::llround(line.Size.height() * line.PixelRatio);
  if (deviceWidth * deviceHeight > MaxDevicePixels) {
    Refuse(QStringLiteral("--size %1x%2 at --scale %3 needs more than %4 device pixels")
               .arg(line.Size.width())
               .arg(line.Size.height())
               .arg(line.PixelRatio)
               .arg(MaxDevicePixels));
  }
  line.Action = TCommandAction::Render;
  return line;
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
  try {
    return Parse(arguments);
  } catch (const TRefusal& refusal) {
    TCommandLine line;
    line.Action = TCommandAction::Refuse;
    line.Message = refusal.Message;
    return line;
  }
}

QString CommandLineUsage(const QString& program) {
  return QStringLiteral(
             "Usage: %1 [--language ja|en]\n"
             "       %1 --render FILE [options]\n"
             "       %1 --help | --version\n"
             "\n"
             "Without --render the window opens. With --render the picture (.png, .svg) after\n"
             "--ticks ticks, or the video (.mp4, .webm, .gif) of the ticks --from .. --ticks, is\n"
             "written to FILE without any display.\n"
             "\n"
             "  --trajectory KIND  the charge's path with its default parameters (mouse);\n"
             "                     KIND is %2\n"
             "  --ticks N          ticks to run, 0 .. %3 (300)\n"
             "  --from K           first tick of a video, 0 .. N (0)\n"
             "  --size WxH         picture size in logical pixels, %4 .. %5 each (1280x720)\n"
             "  --scale S          device pixels per logical pixel, %6 .. %7 (1)\n"
             "  --model SIZE       %8, or IxJ: rows x field lines (as the window\n"
             "                     starts)\n"
             "  --wavefronts       draw the wavefronts\n"
             "  --nodes            draw the node points\n"
             "  --arrows           draw the arrows of the exact field, with their legend\n"
             "  --no-field-lines   leave out the field lines\n"
             "  --smooth           smooth lines (as the window starts)\n"
             "  --aliased          aliased lines\n"
             "  --language ja|en   the language of the window\n"
             "\n"
             "Exit status: 0 written, 1 the file could not be written, 2 a bad command line,\n"
             "130 or 143 stopped by SIGINT or SIGTERM (nothing written).\n")
      .arg(program, NamesOf(Trajectories), QString::number(MaxTicks),
           QString::number(MinPictureSide), QString::number(MaxPictureSide),
           QString::number(MinPixelRatio), QString::number(MaxPixelRatio), NamesOf(Models));
}

QString ProgramVersion() {
  return QStringLiteral(HALVORAN_VERSION);
}
