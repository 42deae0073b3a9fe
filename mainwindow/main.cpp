// Program entry: the command line first. With no arguments (or only a language) the simulation
// state, then the application, then the main window, which greets the user with the version
// window; declining it ends the program. --render writes a file without any display; --help,
// --version and a bad command line print and end.
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QObject>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/GuardedCall.h"
#include "app/Language.h"
#include "engine/SimulationState.h"
#include "export/RenderCommand.h"
#include "mainwindow/Main1.h"

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

int Render(const QString& program, const TCommandLine& line) {
  // A script, a CI job or a server has no display: the picture needs none, whatever platform the
  // environment names.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietNotes);
  int argc = 1;
  QByteArray name = program.toLocal8Bit();
  char* argv[] = {name.data(), nullptr};
  QGuiApplication application(argc, argv);
  // Installed before the render, so that the reasons given while writing come in the language.
  TTranslations translations;
  translations.Install(StartLanguage(line.Language));
  QString message;
  const int status = RunRenderCommand(line, message);
  // One line, whatever the reason's text holds: scripts read stderr line by line.
  if (status != ExitSuccess)
    PrintLine(stderr,
              QStringLiteral("%1: %2").arg(program, TranslatedMessage(message).simplified()));
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
  const TCommandLine line = ParseCommandLine(arguments);
  switch (line.Action) {
    case TCommandAction::Refuse: {
      // The catalogues are installed on an application.
      QCoreApplication core(argc, argv);
      TTranslations translations;
      translations.Install(CommandLineLanguage(arguments));
      PrintLine(stderr, QCoreApplication::translate("Messages", "%1: %2 (see --help)")
                            .arg(program, TranslatedMessage(line.Message)));
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
  mainForm1.CreateRemainingWindows();
  QObject::connect(&mainForm1, &TMainForm1::Closed, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  return application.exec();
}
