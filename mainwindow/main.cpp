// Program entry: the simulation state first, then the application, then the main window, which
// greets the user with the version window; declining it ends the program.
#include <QObject>

#include "engine/SimulationState.h"
#include "mainwindow/Main1.h"
#include "app/GuardedCall.h"

int main(int argc, char** argv) {
  // Declared first so that it outlives every window.
  TSimulationState state;
  TGuardedApplication application(argc, argv);
  // The program ends with its main window, whichever other windows are open.
  application.setQuitOnLastWindowClosed(false);

  TMainForm1 mainForm1(state);
  bool greeted = false;
  Guarded([&] { greeted = mainForm1.FormShow(); });
  if (!greeted) return 0;
  mainForm1.CreateRemainingWindows();
  QObject::connect(&mainForm1, &TMainForm1::Closed, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  return application.exec();
}
