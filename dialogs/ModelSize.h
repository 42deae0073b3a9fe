// The custom model size: emission ticks kept per field line (ISize) and the number of field-line
// directions (JSize).
#pragma once

#include <QComboBox>
#include <QPushButton>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationState.h"

class TModelSizeDlg : public TSetupDialog {
  Q_OBJECT

 public:
  explicit TModelSizeDlg(TSimulationState& state, QWidget* parent = nullptr);

  // Puts ISize and JSize into the boxes as decimal integers.
  void FormShow() override;
  // Converts both boxes and checks that the engine can build the model; on a refusal throws
  // EError with the reason (shown by the button's connection), stores nothing and stays open.
  // Otherwise stores both and closes with OK.
  void OKBtnClick();
  void CancelBtnClick();

  QComboBox* List_Isize = nullptr;
  QComboBox* List_Jsize = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  TSimulationState& State;
};
