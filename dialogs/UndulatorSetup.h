// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator parameter dialog: electron velocity and energy, period, number of periods,
// deflection parameter and peak field, linked in pairs, with the derived Lorentz factor,
// radiation wavelength, orbit angle and amplitude.
#pragma once

#include <QDialog>

#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "engine/SimulationCommands.h"
#include "engine/UndulatorRelations.h"

class QComboBox;
class QEvent;
class QLabel;
class QScrollArea;

// The boxes edit a working copy of the undulator's linked quantities (engine/UndulatorRelations.h),
// opened from what runs: every edit of a box works out its partner (β with E, K with Bu) and the
// derived values, and shows them; a refused edit leaves the copy as it was. OK hands the copy to
// the trajectory command; Cancel drops it.
class TUndulatorSetupDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TUndulatorSetupDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // Centres the dialog on its screen and runs it modally: mrOk or mrCancel (dialogs/ModalResult.h).
  // The boxes show what runs at every opening.
  int ShowModal();
  // Sizes the window for a screen whose free area is area: its full size where that fits, else
  // as much as fits, its content then scrolling, so that OK and Cancel stay within reach on a
  // small screen at a large scale.
  void FitInto(const QRect& area);

  // The close box and Esc answer Cancel.
  void reject() override;

  // What the Help button does, the dialog staying open: the main window opens its Help viewer at
  // the undulator's section beside the dialog. Nothing while it is not set.
  std::function<void(QWidget& dialog)> ShowHelp;

 protected:
  // The title follows a change of language.
  void changeEvent(QEvent* event) override;

 private:
  void BuildWindow();
  void SetScrolling(bool on);
  void ConnectUserEdits(QComboBox* box, TUndulatorInput input);
  QComboBox* BoxOf(TUndulatorInput input) const;
  // The edited box's text read and the entry edited with it; a refusal throws EError.
  void EditBox(TUndulatorInput input);
  // EditBox without a word: a text that is no value yet, or refused, changes nothing.
  void TryEdit(TUndulatorInput input) noexcept;
  // Every box and label from the entry, but for the box being typed in.
  void ShowEntry(std::optional<TUndulatorInput> typed);
  void OKBtnClick();

  TSimulationCommands& Simulation;
  TUndulatorEntry Entry;
  // The text of each box (by TUndulatorInput) that the entry stands for.
  std::array<QString, 6> Accepted;

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
};
