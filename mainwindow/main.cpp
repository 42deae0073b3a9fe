// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the command line first. Without --render the simulation state, then the
// application, then the main window, which greets the user with the version window (declining it
// ends the program) and then takes the options given. --render writes a file without any
// display; --help, --version and a bad command line print and end.
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QObject>
#include <cstdio>
#include <utility>

#include "app/CommandLine.h"
#include "app/GuardedCall.h"
#include "app/Language.h"
#include "app/RefusalText.h"
#include "engine/SimulationCommands.h"
#include "engine/SimulationState.h"
#include "export/RenderCommand.h"
#include "mainwindow/MainWindow.h"
#include "plot/PlotSurface.h"

namespace {

void PrintLine(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
}

// Qt's notes about the missing desktop session (no runtime folder, no fonts configured) mean
// nothing to a script: stderr carries only the program's own line.
void QuietNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) PrintLine(stderr, message);
}

// The language of this run as far as the command line tells it: a refused command line is not
// read to its end, and the messages about it still follow a --language given before or after
// the fault. Anything but ja or en leaves the remembered language.
TLanguage CommandLineLanguage(const QStringList& arguments) {
  QString code;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--language") && i + 1 < arguments.size())
      code = arguments[i + 1];
    else if (argument.startsWith(QLatin1String("--language=")))
      code = argument.mid(11);
  }
  return StartLanguage(code);
}

// A command without a window, run with the translations of the run installed (so that the
// reasons given while writing come in its language); a failure's reason as one line on stderr,
// whatever its text holds: scripts read stderr line by line.
int RunTold(const QString& program, const TCommandLine& line,
            int (*command)(const TCommandLine&, QString&)) {
  TTranslations translations;
  translations.Install(StartLanguage(line.Language));
  QString message;
  const int status = command(line, message);
  if (status != ExitSuccess)
    PrintLine(stderr, QStringLiteral("%1: %2").arg(program, message.simplified()));
  return status;
}

int Render(const QString& program, const TCommandLine& line) {
  // A script, a CI job or a server has no display: the picture needs none, whatever platform the
  // environment names.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietNotes);
  int argc = 1;
  QByteArray name = program.toLocal8Bit();
  char* argv[] = {name.data(), nullptr};
  QGuiApplication application(argc, argv);
  return RunTold(program, line, RunRenderCommand);
}

// The options of a window's start tried on a simulation of its own first, so that a model and a
// path that do not go together (a path crossed in less than two ticks) are refused as a render's
// are, before any window opens. The window's simulation at start is this one.
TRefusal CheckStart(const TCommandLine& line) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  return ApplyCommandLine(line, simulation);
}

// The options given, applied to the shown window through its simulation's commands as its menus
// would, with the menus' marks to match; before the remaining windows are made, which take the
// smooth or aliased lines and the simulation as it is then.
void ApplyToWindow(TMainForm1& form, const TCommandLine& line) {
  if (TRefusal refusal = ApplyCommandLine(line, form.Simulation())) throw EError(refusal);
  // The charge's marker at the start of its path.
  form.MnuResetClick();
  // The menus' marks, and what the commands do not hold: the scene's view, run or pause, its
  // title and notes beside the plot and its file's name in the title.
  TScene rest;
  if (line.Scene) rest = *line.Scene;
  form.ShowSceneRest(rest, line.Scene ? QFileInfo(line.SceneFile).fileName() : QString());
}

// The plot's size and scale, and the ticks run before the animation pauses (the picture a render
// of those ticks shows, and the pattern with them).
void SizeAndRun(TMainForm1& form, const TCommandOptions& options) {
  if (options.PixelRatio) form.Chart1->SetDevicePixelRatio(*options.PixelRatio);
  if (options.Size) {
    // The window around a plot of the size asked for, instead of the whole screen.
    form.showNormal();
    const QSize around = form.size() - form.Chart1->size();
    form.resize(QSize(options.Size->Width, options.Size->Height) + around);
  }
  if (options.Ticks) {
    for (int tick = 0; tick < *options.Ticks; ++tick) form.Timer1Timer();
    form.MnuPauseClick();
  }
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
  TCommandLine line = ParseCommandLine(arguments);
  ReadCommandLineScene(line);
  switch (line.Action) {
    case TCommandAction::Refuse: {
      // The catalogues are installed on an application.
      QCoreApplication core(argc, argv);
      TTranslations translations;
      translations.Install(CommandLineLanguage(arguments));
      // A scene file's refusal is about the file, not the usage.
      if (line.SceneRefusal)
        PrintLine(stderr, QStringLiteral("%1: %2").arg(program, CommandLineMessage(line)));
      else
        PrintLine(stderr, QCoreApplication::translate("Messages", "%1: %2 (see --help)")
                              .arg(program, CommandLineRefusalText(line.Options)));
      return ExitUsage;
    }
    case TCommandAction::Help:
      std::fputs(CommandLineUsage(program).toLocal8Bit().constData(), stdout);
      return ExitSuccess;
    case TCommandAction::Version:
      PrintLine(stdout, QStringLiteral("%1 %2").arg(program, ProgramVersion()));
      return ExitSuccess;
    case TCommandAction::Render:
      return Render(program, line);

    case TCommandAction::Start:
      if (line.Options.SavesScene()) {
        QCoreApplication core(argc, argv);
        return RunTold(program, line, RunSaveSceneCommand);
      }
      if (const TRefusal refusal = CheckStart(line)) {
        QCoreApplication core(argc, argv);
        TTranslations translations;
        translations.Install(StartLanguage(line.Language));
        PrintLine(stderr, QStringLiteral("%1: %2").arg(program, RefusalText(refusal)));
        return ExitUsage;
      }
      break;
  }

  // Declared first so that it outlives every window.
  TSimulationState state;
  TGuardedApplication application(argc, argv);
  // The program ends with its main window, whichever other windows are open.
  application.setQuitOnLastWindowClosed(false);
  // Our icon on every window, and the desktop entry that a taskbar matches the windows with.
  QIcon icon;
  for (const char* size : {"48", "128", "256"})
    icon.addFile(QStringLiteral(":/icons/%1.png").arg(QLatin1String(size)));
  application.setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.HalvoranRadiation"));

  TMainForm1 mainForm1(state);
  // --language holds for this run; without it the language chosen in an earlier run.
  mainForm1.SetLanguage(StartLanguage(line.Language));
  bool greeted = false;
  Guarded([&] { greeted = mainForm1.FormShow(); });
  if (!greeted) return 0;
  Guarded([&] { ApplyToWindow(mainForm1, line); });
  mainForm1.CreateRemainingWindows();
  Guarded([&] { SizeAndRun(mainForm1, line.Options); });
  QObject::connect(&mainForm1, &TMainForm1::Closed, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  return application.exec();
}
