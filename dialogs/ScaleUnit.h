// SPDX-License-Identifier: GPL-3.0-or-later
// The scale unit: what the default plot's width (2 plot units) stands for on the paths whose
// dialogs give no length unit, chosen from 1, 10 or 100 km, m or mm.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationCommands.h"

class TScaleUnitDlg : public TSetupDialog {
  Q_OBJECT

 public:
  explicit TScaleUnitDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // The lists show the scale unit in force with the sentence that says what it is for, or, while
  // the undulator or the bending magnet runs, their own fixed scale (2 m across the plot),
  // disabled, with the sentence that says why.
  void FormShow() override;
  // Sets the scale unit chosen and closes; with the fixed scale shown it closes and sets nothing.
  void OKBtnClick();
  void CancelBtnClick();

  // Whether the path that runs sets its own scale.
  bool ScaleIsFixed() const;

  QLabel* WidthLabel = nullptr;
  QComboBox* List_Scale = nullptr;
  QComboBox* List_Unit = nullptr;
  QLabel* ScaleNote = nullptr;  // what the unit is for, or why the lists are disabled
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();
  // The fixed size again, tall enough for the longer sentence wrapped at the dialog's width.
  void FitSentence();
  void ShowNote(bool fixed);

  TSimulationCommands& Simulation;
  QString FreeNote;
  QString FixedNote;
};
