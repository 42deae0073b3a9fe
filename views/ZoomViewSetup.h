// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom view's setup dialog: stores the tracking mode of the magnified view (off, on particle
// motion, on initial velocity) and confirms the stored value in a message box.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "engine/SimulationCommands.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

class TZoomViewSetupDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TZoomViewSetupDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // Runs the dialog modally: mrOk after OK, mrCancel after Cancel, Esc or the close box.
  int ShowModal();

  QGroupBox* RadioGroup1 = nullptr;
  QRadioButton* rbtnTrackParticle = nullptr;
  QRadioButton* rbtnTrackInitialVel = nullptr;
  QRadioButton* rbtnTrackOFF = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  // Shows the confirmation after OK; an information box unless replaced (tests record the text).
  std::function<void(const QString& text)> ShowMessage;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void OKBtnClick();

  TSimulationCommands& Simulation;
};
