// SPDX-License-Identifier: GPL-3.0-or-later
// The observer window: where the eye is and how to move it, the field it receives against
// observer time (the trace) and the trace's spectrum with the lines theory predicts, and both
// written as CSV files. It changes the eye only through the commands' display settings.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "engine/ObserverFrequencies.h"
#include "engine/SimulationCommands.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class TObserverPowerPlot;
class TObserverTracePlot;

class TObserverForm : public QWidget {
  Q_OBJECT
 public:
  // A panel for a dock (the main window's); shown with the eye.
  explicit TObserverForm(TSimulationCommands& commands, QWidget* parent = nullptr);
  ~TObserverForm() override;

  // What the main window tells the window: after every tick; after every reset; after the
  // display settings changed by anything but this window (the eye dragged, a scene).
  void ChargeTicked();
  void SimulationReset();
  void SettingsChanged();

  // Place pressed: the next click (or tap) on the main plot puts the eye there. The main window
  // asks Placing(), and ends it once the eye is put.
  bool Placing() const;
  void SetPlacing(bool placing);
  // The eye at place (model units), through the commands; a refusal throws EError (shown by the
  // guard), leaving the eye where it was.
  void MoveEye(TVector2 place);
  // The trace's length and the power axis, through the commands, as their controls set them.
  void SetTraceTicks(int ticks);
  void SetLogPower(bool logPower);

  // The spectrum of the trace as it is now (the timer does this a few times a second while the
  // window shows, not at every tick: a transform of up to 32768 samples each frame would cost
  // more than the picture).
  void RefreshSpectrum();
  const TObserverSpectrum& Spectrum() const { return Current; }

  // Asks for a name and writes the trace and the spectrum beside it (views/ObserverText.h: name
  // "eye.csv" gives eye-trace.csv and eye-spectrum.csv). A file that cannot be written throws
  // EError naming it.
  void SaveCsvClick();
  // Asks for the name; the platform's file dialog unless a test puts its own here. Empty when
  // the user cancels.
  std::function<QString()> AskCsvFile;

  // The trace's lengths offered, in ticks.
  static constexpr int TraceTickChoices[] = {64, 128, 256, 512, 1024, 2048, 4096};
  static constexpr int SpectrumIntervalMs = 250;

  QPushButton* btnPlace = nullptr;
  QComboBox* cbTraceTicks = nullptr;
  QPushButton* btnSaveCsv = nullptr;
  QRadioButton* rbtnLinear = nullptr;
  QRadioButton* rbtnLogarithmic = nullptr;
  QLabel* LabelPlace = nullptr;
  QLabel* LabelLeftOut = nullptr;
  QLabel* LabelSpectrum = nullptr;  // f₀, the undulator's wavelengths
  TObserverTracePlot* TracePlot = nullptr;
  TObserverPowerPlot* SpectrumPlot = nullptr;

 signals:
  // Place was pressed or the eye was put: the main plot shows a cross while it waits for a click.
  void PlacingChanged(bool placing);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  // A new language: every text written again.
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();
  void ShowTexts();
  void ShowSpectrumNote();
  void ChangeObserver(const std::function<void(TObserverSettings&)>& change);
  static void WriteCsvFile(const QString& path, const std::string& text);

  TSimulationCommands& Commands;
  std::unique_ptr<TRealFft> Fft;
  TObserverSpectrum Current;
  // Something the spectrum depends on changed since it was computed: an unchanged trace (the
  // animation paused) is not transformed again.
  bool SpectrumStale = true;
  QTimer* SpectrumTimer = nullptr;
};
