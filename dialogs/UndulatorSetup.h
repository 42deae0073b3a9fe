// The undulator parameter dialog: electron velocity and energy, period, number of periods,
// deflection parameter and peak field, linked in pairs and stored live into the simulation state,
// with the derived Lorentz factor, radiation wavelength, orbit angle and amplitude.
#pragma once

#include <QDialog>

#include "engine/SimulationState.h"

class QComboBox;
class QLabel;
class QScrollArea;

// The standard undulator relations, with E the kinetic energy in eV, λu the period in metres and
// Bu the peak field in tesla:
//   γ = 1 / √(1 − β²),  E = (γ − 1) × 511000,  K = 93 × Bu × λu,
//   λrad = λu / (2γ²) × (1 + K²/2),  φ = K / γ,  a = λu φ / (2π).
// Every edit of a box other than N stores all six boxes, recomputes the edited box's linked
// partner (β with E, K with Bu) and the derived values, and shows them. OK stores the six boxes
// once more and leaves the derived values as the last edit made them. Cancel undoes nothing:
// what the edits stored stays stored; the caller acts on OK only.
class TUndulatorSetupDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TUndulatorSetupDlg(TSimulationState& state, QWidget* parent = nullptr);

  // Centres the dialog on its screen and runs it modally: mrOk or mrCancel (dialogs/ModalResult.h).
  // The boxes keep their texts from one opening to the next.
  int ShowModal();
  // Sizes the window for a screen whose free area is area: its full size where that fits, else
  // as much as fits, its content then scrolling, so that OK and Cancel stay within reach on a
  // small screen at a large scale.
  void FitInto(const QRect& area);

  // The close box and Esc answer Cancel.
  void reject() override;

 private:
  void BuildWindow();
  void SetScrolling(bool on);
  void ConnectUserEdits(QComboBox* box, void (TUndulatorSetupDlg::*handler)());

  // Converts the boxes in the order β, E, λu, K, N, Bu and stores each right after converting
  // it; a box that fails stops it there, and AllOrNothing puts back what was stored. An energy
  // box that still shows the text a β edit wrote into it stands for the energy that edit
  // computed, not for the text's two decimals: γ = 1 + E / 511 keV from "0.20" would be 1.391
  // for β = 0.7, whose γ is 1.400.
  void ReadAllParameter();
  // Writes the four derived labels from the stored values.
  void SetSlaveParameter();
  // λrad, φ and a from the stored λu, K and γ, each stored as soon as it is computed.
  void UpdateCommonDerived();
  void ShowRadWavelength();
  // A new λu or a new Bu: K = 93 × Bu × λu follows, γ from E.
  void KFromFieldAndPeriod();

  void List_betaChange();
  void List_EnergyChange();
  void List_LuChange();
  void List_KChange();
  void List_BuChange();
  void OKBtnClick();
  // Runs handler; if it fails, the undulator's stored values are put back as they were.
  void AllOrNothing(void (TUndulatorSetupDlg::*handler)());

  TSimulationState& State;

  QComboBox* List_beta = nullptr;
  QComboBox* List_Energy = nullptr;
  QComboBox* List_Lu = nullptr;
  QComboBox* List_Np = nullptr;
  QComboBox* List_K = nullptr;
  QComboBox* List_Bu = nullptr;
  QLabel* LabelGamma = nullptr;
  QLabel* LabelLrad = nullptr;
  QLabel* LabelMaxAngle = nullptr;
  QLabel* LabelAmplitude = nullptr;
  QScrollArea* Scroll = nullptr;
  QSize FullSize;
  // The text the last β edit wrote into the energy box, and the energy in eV it was written for.
  QString EnergyWritten;
  double EnergyWrittenEv = 0.0;
};
