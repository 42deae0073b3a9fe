// SPDX-License-Identifier: GPL-3.0-or-later
// The custom model size: emission ticks kept per field line (ISize) and the number of field-line
// directions (JSize).
#pragma once

#include <QComboBox>
#include <QPushButton>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationCommands.h"

class TModelSizeDlg : public TSetupDialog {
  Q_OBJECT

 public:
  explicit TModelSizeDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // Puts ISize and JSize into the boxes as decimal integers.
  void FormShow() override;
  // Converts both boxes and chooses the model size with them (the wavefront spacing kept); on a
  // refusal throws EError with the reason (shown by the button's connection), changes nothing
  // and stays open. Otherwise the model is rebuilt and the dialog closes with OK.
  void OKBtnClick();
  void CancelBtnClick();

  QComboBox* List_Isize = nullptr;
  QComboBox* List_Jsize = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  TSimulationCommands& Simulation;
};
