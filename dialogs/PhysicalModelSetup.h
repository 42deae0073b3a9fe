// SPDX-License-Identifier: GPL-3.0-or-later
// The three switches of the physics: light aberration of the emission directions, tracking of
// the emission point, and the Thomas precession of the charge's rest frame.
#pragma once

#include <QCheckBox>
#include <QPushButton>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationCommands.h"

class TPhysicalModelDlg : public TSetupDialog {
  Q_OBJECT

 public:
  explicit TPhysicalModelDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // Ticks each check box whose switch is on.
  void FormShow() override;
  // Sets the switches from the check boxes and closes with OK.
  void OKBtnClick();
  // Sets the check boxes to the default physics; changes nothing until OK.
  void DefaultBtnClick();

  QCheckBox* LightAbberationCheck = nullptr;
  QCheckBox* TrackEmissionPointCheck = nullptr;
  QCheckBox* ThomasPrecessionCheck = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* DefaultBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  void ShowOptions(const TPhysicsOptions& options);

  TSimulationCommands& Simulation;
};
