// The zoom view's setup dialog: stores the tracking mode ZoomTracking (0 off, 1 on particle
// motion, 2 on initial velocity) and confirms the stored value in a message box.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "engine/SimulationState.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

class TZoomViewSetupDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TZoomViewSetupDlg(TSimulationState& state, QWidget* parent = nullptr);

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

  TSimulationState& State;
};
