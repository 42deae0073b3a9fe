// SPDX-License-Identifier: GPL-3.0-or-later
// The plot resolution: the screen distance between two drawn nodes beyond which the piece
// between them is subdivided into arcs.
#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QString>
#include <functional>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationCommands.h"

class TPlotResolutionDlg : public TSetupDialog {
  Q_OBJECT

 public:
  explicit TPlotResolutionDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // Puts PlotResolution into the box.
  void FormShow() override;
  // Sets the typed whole number and closes with OK; a value outside
  // PlotResolutionMin..PlotResolutionMax is shown clamped, and the dialog stays open for a second
  // look, nothing set yet. A text that is not a whole number gets the warning "Need Integer" and
  // the box shows the current value.
  void OKBtnClick();
  // Puts PlotResolutionDefault into the box; stores nothing.
  void SetDefaultBtnClick();
  void CancelBtnClick();

  QComboBox* List_Resolution = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* SetDefaultBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  // Shows a warning box with one OK button; tests replace it to record the text instead.
  std::function<void(const QString&)> ShowWarning;

 private:
  TSimulationCommands& Simulation;
};
