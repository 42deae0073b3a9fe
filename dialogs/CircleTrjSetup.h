// Setup dialog of the circular orbit: speed and radius.
#pragma once

#include "dialogs/TrajectoryDialog.h"

class TCircleTrjDlg : public TTrajectoryDialog {
  Q_OBJECT

 public:
  explicit TCircleTrjDlg(TSimulationState& state, QWidget* parent = nullptr);

  QComboBox* List_Velocity = nullptr;
  QComboBox* List_Radius = nullptr;

 protected:
  // A zero radius gets a message of its own: the orbit would be a point.
  std::string CheckCandidate(const TTrajectoryParameters& candidate) const override;
};
