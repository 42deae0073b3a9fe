// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's side of the command line: the arguments handed to the core's parser as UTF-8, its
// values turned into Qt's types, its refusal worded from the catalogue.
#include "app/CommandLine.h"

#include <QFile>
#include <string>
#include <vector>

#include "app/RefusalText.h"

TSceneRefusal ReadSceneFile(const QString& path, std::optional<TScene>& scene) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.read(static_cast<qint64>(MaxSceneBytes) + 1);
  if (!file.isOpen() || file.error() != QFileDevice::NoError) {
    TSceneRefusal refusal;
    refusal.Refusal = Refused(TRefusalCode::SceneUnreadable,
                              {TRefusalValue::OfText(path.toStdString()),
                               TRefusalValue::OfText(file.errorString().toStdString())});
    return refusal;
  }
  TSceneRead read = ReadScene(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (read) scene = std::move(read.Scene);
  return read.Refusal;
}

QString SceneRefusalText(const TSceneRefusal& refusal) {
  if (refusal.Cause)
    return QStringLiteral("%1: %2").arg(QString::fromStdString(refusal.Path), RefusalText(refusal.Cause));
  return RefusalText(refusal.Refusal);
}

QString CommandLineMessage(const TCommandLine& line) {
  if (!line.SceneRefusal) return CommandLineRefusalText(line.Options);
  // The unreadable file's sentence names the file already.
  if (line.SceneRefusal.Refusal.Code == TRefusalCode::SceneUnreadable)
    return SceneRefusalText(line.SceneRefusal);
  return QStringLiteral("%1: %2").arg(line.SceneFile, SceneRefusalText(line.SceneRefusal));
}

QString CommandLineRefusalText(const TCommandOptions& options) {
  const QString sentence = RefusalText(options.Refusal);
  if (options.RefusedOption.empty()) return sentence;
  return QStringLiteral("%1: %2").arg(QString::fromStdString(options.RefusedOption), sentence);
}

TCommandLine ParseCommandLine(const QStringList& arguments) {
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(arguments.size()));
  for (const QString& argument : arguments) texts.push_back(argument.toStdString());

  TCommandLine line;
  line.Options = ParseCommandOptions(texts);
  const TCommandOptions& o = line.Options;
  line.Action = o.Action;
  if (o.Action == TCommandAction::Refuse) {
    line.Message = CommandLineRefusalText(o);
    return line;
  }
  line.Language = QString::fromStdString(o.Language);
  line.SceneFile = QString::fromStdString(o.SceneFile);
  line.SaveSceneFile = QString::fromStdString(o.SaveSceneFile);
  line.RenderFile = QString::fromStdString(o.RenderFile);
  line.Output = o.Output;
  line.TrajectoryMode = o.TrajectoryMode;
  line.Ticks = o.Ticks.value_or(DefaultTicks);
  line.FromTick = o.FromTick;
  const TPixelSize size = o.Size.value_or(DefaultPictureSize);
  line.Size = QSize(size.Width, size.Height);
  line.PixelRatio = o.PixelRatio.value_or(DefaultPixelRatio);
  line.ISize = o.ISize;
  line.JSize = o.JSize;
  line.WaveFrontSpacing = o.WaveFrontSpacing;
  line.WaveFronts = o.WaveFronts;
  line.NodePoints = o.NodePoints;
  line.FieldArrows = o.FieldArrows;
  line.FieldLines = o.FieldLines;
  line.Smooth = o.Smooth;
  line.Caption = o.Caption;
  line.Theme = o.Theme;
  return line;
}

void ReadCommandLineScene(TCommandLine& line) {
  const bool reads = line.Action == TCommandAction::Start || line.Action == TCommandAction::Render;
  if (line.SceneFile.isEmpty() || !reads) return;
  line.SceneRefusal = ReadSceneFile(line.SceneFile, line.Scene);
  if (line.SceneRefusal) {
    line.Action = TCommandAction::Refuse;
    line.Message = CommandLineMessage(line);
  }
}

QString CommandLineUsage(const QString& program) {
  return QStringLiteral(
             "Usage: %1 [options]\n"
             "       %1 --render FILE [options]\n"
             "       %1 --help | --version\n"
             "\n"
             "Without --render the window opens with the options given, and --ticks runs that\n"
             "many ticks and pauses. With --render the picture (.png, .svg) after --ticks ticks,\n"
             "or the video (.mp4, .webm, .gif) of the ticks --from .. --ticks, is written to FILE\n"
             "without any display.\n"
             "\n"
             "  --trajectory KIND  the charge's path with its default parameters (mouse);\n"
             "                     KIND is %2\n"
             "  --ticks N          ticks to run, 0 .. %3 (300; the window runs on)\n"
             "  --from K           first tick of a video or of the observer's files, 0 .. N\n"
             "                     (0); --render only\n"
             "  --size WxH         picture (or the window's plot) size in logical pixels,\n"
             "                     %4 .. %5 each (1280x720; the window fills the screen)\n"
             "  --scale S          device pixels per logical pixel, %6 .. %7 (1; the window\n"
             "                     the screen's)\n"
             "  --model SIZE       %8, or IxJ: rows x field lines (as the window\n"
             "                     starts)\n"
             "  --wavefronts       draw the wavefronts\n"
             "  --nodes            draw the node points\n"
             "  --arrows           draw the arrows of the exact field, with their legend\n"
             "  --no-field-lines   leave out the field lines\n"
             "  --smooth           smooth lines (as the window starts)\n"
             "  --aliased          aliased lines\n"
             "  --caption          the caption, its key and the scale bar (as the window starts)\n"
             "  --no-caption       leave them out\n"
             "  --observer X,Y     show the observer (an eye) at X,Y in plot units, each\n"
             "                     -%9 .. %9, with a line from where the charge sent what it\n"
             "                     receives now\n"
             "  --observer-csv FILE  with --render and --observer: what the eye receives at\n"
             "                     ticks --from .. --ticks, 8 samples a tick, written to FILE\n"
             "                     (tick,charge_x,charge_y,ex,ey,ex_rad,ey_rad; e/unit^2)\n"
             "  --spectrum-csv FILE  likewise its spectrum (frequency in cycles per tick,\n"
             "                     harmonic of the path's own frequency, power with largest\n"
             "                     1); --ticks - --from at most %10\n"
             "  --theme NAME       dark (light lines on black) or projector (dark lines on a\n"
             "                     light ground); the window remembers its last\n"
             "  --language ja|en   the language of the window and the messages\n"
             "  --scene FILE       start from the scene in FILE; the options given beside it\n"
             "                     change it\n"
             "  --save-scene FILE  write the scene the other options describe to FILE and end\n"
             "\n"
             "Exit status: 0 written, 1 the file could not be written, 2 a bad command line or\n"
             "scene file, 130 or 143 stopped by SIGINT or SIGTERM (nothing written).\n")
      .arg(program, QString::fromStdString(TrajectoryNames()), QString::number(MaxTicks),
           QString::number(MinPictureSide), QString::number(MaxPictureSide),
           QString::number(MinPixelRatio), QString::number(MaxPixelRatio),
           QString::fromStdString(ModelNames()), QString::number(ObserverPlaceLimit),
           QString::number(ObserverTraceTicksMax));
}

QString ProgramVersion() {
  return QStringLiteral(HALVORAN_VERSION);
}
