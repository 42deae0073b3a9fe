// SPDX-License-Identifier: GPL-3.0-or-later
// What the five trajectory setup dialogs share: a framed group of captioned value boxes, each
// bound to one trajectory parameter, OK and Cancel below. The boxes show the parameters in force;
// OK hands them, with the typed values, to the trajectory command, which takes them all or none.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <vector>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationCommands.h"
#include "engine/TrajectoryParameters.h"

// One row of the group: the box's object name, the caption beside it, its suggested items and
// the parameter it edits.
struct TValueBoxDefinition {
  const char* Name;
  QString Caption;
  QStringList Items;
  double TTrajectoryParameters::*Value;
};

class TTrajectoryDialog : public TSetupDialog {
  Q_OBJECT

 public:
  // Converts every box and chooses the trajectory with the values; on a text that is not a number
  // or a trajectory the commands refuse, throws EError with the reason (the button's connection
  // shows it through Guarded) and the dialog stays open with the typed texts, nothing changed.
  // Otherwise the trajectory runs and the dialog closes with OK.
  void OKBtnClick();
  // Closes with Cancel; nothing changes, and the next opening shows the parameters in force.
  void CancelBtnClick();

  QGroupBox* GroupBox1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 protected:
  // Boxes appear top to bottom in the order given, which is also the order OK converts them.
  // The dialog that derives titles the window (SetTitle) with the path it sets.
  TTrajectoryDialog(TSimulationCommands& simulation, int trajectoryMode, QSize layoutSize,
                    int layoutDpi, std::initializer_list<TValueBoxDefinition> boxes,
                    QWidget* parent);

  // Each box shows its parameter in force rounded to six digits with three decimals.
  void FormShow() override;

  QComboBox* Box(const char* name) const;

 private:
  struct TValueBox {
    QComboBox* Edit;
    QString Caption;  // trimmed, for messages
    double TTrajectoryParameters::*Value;
  };

  TSimulationCommands& Simulation;
  int TrajectoryMode;
  std::vector<TValueBox> Boxes;
};
