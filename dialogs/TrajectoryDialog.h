// What the five trajectory setup dialogs share: a framed group of captioned value boxes, each
// bound to one trajectory parameter, OK and Cancel below. OK stores nothing unless every box
// converts and the engine accepts the trajectory built from the new values.
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
#include "engine/SimulationState.h"
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
  // Converts every box; on a text that is not a number or a trajectory the engine refuses, throws
  // EError with the reason (the button's connection shows it through Guarded) and the dialog
  // stays open with the typed texts, nothing stored. Otherwise stores all and closes with OK.
  void OKBtnClick();
  // Closes with Cancel; nothing is stored.
  void CancelBtnClick();

  QGroupBox* GroupBox1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 protected:
  // Boxes appear top to bottom in the order given, which is also the order OK converts them.
  TTrajectoryDialog(TSimulationState& state, int trajectoryMode, const QString& caption,
                    QSize layoutSize, int layoutDpi,
                    std::initializer_list<TValueBoxDefinition> boxes, QWidget* parent);

  // Each box shows its stored value rounded to six digits with three decimals.
  void FormShow() override;

  QComboBox* Box(const char* name) const;

 private:
  struct TValueBox {
    QComboBox* Edit;
    QString Caption;  // trimmed, for messages
    double TTrajectoryParameters::*Value;
  };

  TSimulationState& State;
  int TrajectoryMode;
  std::vector<TValueBox> Boxes;
};
