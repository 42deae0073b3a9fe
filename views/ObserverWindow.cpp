// SPDX-License-Identifier: GPL-3.0-or-later
// The observer window.
#include "views/ObserverWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <iterator>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "dialogs/ScreenFit.h"
#include "engine/ObserverCsv.h"
#include "engine/PictureScale.h"
#include "fft/FftwRealFft.h"
#include "views/ObserverPowerPlot.h"
#include "views/ObserverText.h"
#include "views/ObserverTracePlot.h"

TObserverForm::TObserverForm(TSimulationCommands& commands, QWidget* parent)
    : QWidget(parent, Qt::Tool), Commands(commands), Fft(std::make_unique<TFftwRealFft>()) {
  btnPlace = new QPushButton(this);
  btnPlace->setObjectName(QStringLiteral("btnPlace"));
  btnPlace->setCheckable(true);
  cbTraceTicks = new QComboBox(this);
  cbTraceTicks->setObjectName(QStringLiteral("cbTraceTicks"));
  for (const int ticks : TraceTickChoices) cbTraceTicks->addItem(QString::number(ticks), ticks);
  btnSaveCsv = new QPushButton(this);
  btnSaveCsv->setObjectName(QStringLiteral("btnSaveCsv"));
  rbtnLinear = new QRadioButton(this);
  rbtnLinear->setObjectName(QStringLiteral("rbtnLinear"));
  rbtnLogarithmic = new QRadioButton(this);
  rbtnLogarithmic->setObjectName(QStringLiteral("rbtnLogarithmic"));
  auto* axis = new QButtonGroup(this);
  axis->addButton(rbtnLinear);
  axis->addButton(rbtnLogarithmic);
  auto* ticksLabel = new QLabel(this);
  ticksLabel->setObjectName(QStringLiteral("LabelTicks"));
  ticksLabel->setBuddy(cbTraceTicks);

  const auto makeLabel = [this](const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setContentsMargins(6, 0, 6, 0);
    // A long line wraps rather than widening a dock beyond its share of the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
  };
  LabelPlace = makeLabel("LabelPlace");
  LabelLeftOut = makeLabel("LabelLeftOut");
  LabelSpectrum = makeLabel("LabelSpectrum");
  LabelSpectrum->hide();

  TracePlot = new TObserverTracePlot(Commands, this);
  TracePlot->setObjectName(QStringLiteral("TracePlot"));
  SpectrumPlot = new TObserverPowerPlot(Commands, Current, this);
  SpectrumPlot->setObjectName(QStringLiteral("SpectrumPlot"));

  auto* tools = new QHBoxLayout;
  tools->setContentsMargins(6, 2, 6, 0);
  tools->addWidget(btnPlace);
  tools->addWidget(ticksLabel);
  tools->addWidget(cbTraceTicks);
  tools->addStretch(1);
  tools->addWidget(btnSaveCsv);
  auto* axisRow = new QHBoxLayout;
  axisRow->setContentsMargins(6, 0, 6, 0);
  axisRow->addWidget(rbtnLinear);
  axisRow->addWidget(rbtnLogarithmic);
  axisRow->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 2);
  layout->setSpacing(2);
  layout->addLayout(tools);
  layout->addWidget(LabelPlace);
  layout->addWidget(TracePlot, 1);
  layout->addWidget(LabelLeftOut);
  layout->addLayout(axisRow);
  layout->addWidget(SpectrumPlot, 1);
  layout->addWidget(LabelSpectrum);

  SpectrumTimer = new QTimer(this);
  SpectrumTimer->setObjectName(QStringLiteral("SpectrumTimer"));
  SpectrumTimer->setInterval(SpectrumIntervalMs);
  connect(SpectrumTimer, &QTimer::timeout, this, [this] {
    Guarded([this] {
      if (SpectrumStale) RefreshSpectrum();
    });
  });

  connect(btnPlace, &QPushButton::clicked, this,
          [this](bool checked) { Guarded([&] { SetPlacing(checked); }); });
  connect(cbTraceTicks, &QComboBox::activated, this, [this](int index) {
    Guarded([&] { SetTraceTicks(cbTraceTicks->itemData(index).toInt()); });
  });
  connect(rbtnLinear, &QRadioButton::clicked, this, [this] { Guarded([&] { SetLogPower(false); }); });
  connect(rbtnLogarithmic, &QRadioButton::clicked, this,
          [this] { Guarded([&] { SetLogPower(true); }); });
  connect(btnSaveCsv, &QPushButton::clicked, this, [this] { Guarded([&] { SaveCsvClick(); }); });

  RetranslateUi();
  SettingsChanged();
}

TObserverForm::~TObserverForm() = default;

void TObserverForm::RetranslateUi() {
  setWindowTitle(ObserverWord("Observer"));
  btnPlace->setText(ObserverWord("Place"));
  btnPlace->setToolTip(ObserverWord(
      "Then click or tap the picture to put the eye there; the eye's marker can also be dragged"));
  if (auto* ticks = findChild<QLabel*>(QStringLiteral("LabelTicks")))
    ticks->setText(ObserverWord("Ticks:"));
  cbTraceTicks->setToolTip(ObserverWord("How many ticks of observer time the trace keeps"));
  btnSaveCsv->setText(ObserverWord("Save as CSV…"));
  btnSaveCsv->setToolTip(ObserverWord("Writes the trace and the spectrum as two CSV files"));
  rbtnLinear->setText(ObserverWord("Linear"));
  rbtnLogarithmic->setText(ObserverWord("Logarithmic"));
  TracePlot->setToolTip(ObserverWord(
      "The field the eye receives, across the line from the path's centre to the eye: the "
      "radiation part and the whole field"));
  SpectrumPlot->setToolTip(ObserverWord(
      "The power spectrum of the radiation part, with the lines theory predicts for the eye"));
  ShowTexts();
  TracePlot->update();
  SpectrumPlot->update();
}

void TObserverForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Guarded([this] { RetranslateUi(); });
  QWidget::changeEvent(event);
}

void TObserverForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Guarded([this] {
    SpectrumTimer->start();
    RefreshSpectrum();
  });
}

void TObserverForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  SpectrumTimer->stop();
}

void TObserverForm::ShowTexts() {
  const TObserverSettings& observer = Commands.Display().Observer;
  LabelPlace->setText(ObserverWord("Eye at x = %1 u, y = %2 u")
                          .arg(QLocale().toString(observer.Place.X, 'f', 3),
                               QLocale().toString(observer.Place.Y, 'f', 3)));
  LabelLeftOut->setText(LeftOutText(Commands.State().ObserverTrace));
  ShowSpectrumNote();
}

// ---- What the main window reports ----

void TObserverForm::ChargeTicked() {
  SpectrumStale = true;
  if (!isVisible()) return;
  TracePlot->update();
  LabelLeftOut->setText(LeftOutText(Commands.State().ObserverTrace));
}

void TObserverForm::SimulationReset() {
  SpectrumStale = true;
  if (isVisible()) ShowTexts();
  TracePlot->update();
}

void TObserverForm::SettingsChanged() {
  const TObserverSettings& observer = Commands.Display().Observer;
  const int index = cbTraceTicks->findData(observer.TraceTicks);
  // A length that is not one of the offered (a scene's) is shown as it is, after the others.
  if (index >= 0) {
    cbTraceTicks->setCurrentIndex(index);
  } else {
    cbTraceTicks->addItem(QString::number(observer.TraceTicks), observer.TraceTicks);
    cbTraceTicks->setCurrentIndex(cbTraceTicks->count() - 1);
  }
  rbtnLogarithmic->setChecked(observer.LogPower);
  rbtnLinear->setChecked(!observer.LogPower);
  SpectrumStale = true;
  ShowTexts();
  TracePlot->update();
  SpectrumPlot->update();
}

// ---- The eye and the settings ----

bool TObserverForm::Placing() const { return btnPlace->isChecked(); }

void TObserverForm::SetPlacing(bool placing) {
  const bool was = Placing();
  btnPlace->setChecked(placing);
  if (was != placing) emit PlacingChanged(placing);
}

void TObserverForm::ChangeObserver(const std::function<void(TObserverSettings&)>& change) {
  TDisplaySettings display = Commands.Display();
  change(display.Observer);
  const TRefusal refusal = Commands.SetDisplay(display);
  // The controls show what holds, whether it changed or was refused.
  SettingsChanged();
  if (refusal) throw EError(refusal);
}

void TObserverForm::MoveEye(TVector2 place) {
  ChangeObserver([place](TObserverSettings& observer) { observer.Place = place; });
}

void TObserverForm::SetTraceTicks(int ticks) {
  ChangeObserver([ticks](TObserverSettings& observer) { observer.TraceTicks = ticks; });
}

void TObserverForm::SetLogPower(bool logPower) {
  ChangeObserver([logPower](TObserverSettings& observer) { observer.LogPower = logPower; });
}

// ---- The spectrum ----

void TObserverForm::RefreshSpectrum() {
  const TSimulationState& state = Commands.State();
  Current = SpectrumOf(state.ObserverTrace, state, Commands.Display().Observer.Place, *Fft);
  SpectrumStale = false;
  ShowSpectrumNote();
  SpectrumPlot->update();
}

void TObserverForm::ShowSpectrumNote() {
  const TSimulationState& state = Commands.State();
  const double secondsPerTick = SecondsPerTick(
      state.ISize, PictureScaleOf(state.TrajectoryMode, Commands.Display().ScaleUnit));
  const QString note = SpectrumNoteText(Current, secondsPerTick);
  LabelSpectrum->setText(note);
  LabelSpectrum->setVisible(!note.isEmpty());
}

// ---- The CSV files ----

void TObserverForm::WriteCsvFile(const QString& path, const std::string& text) {
  const auto failed = [&](const QString& reason) {
    throw EError(ObserverWord("Could not write the CSV file \"%1\": %2")
                     .arg(QDir::toNativeSeparators(path), reason));
  };
  // Written beside its name and renamed into place only when complete: a full disk leaves the
  // file that was there as it was.
  QSaveFile whole(path);
  QFile direct(path);
  const bool device = IsDeviceOrPipe(path);
  QFileDevice& file = device ? static_cast<QFileDevice&>(direct) : whole;
  if (!file.open(QIODevice::WriteOnly)) failed(file.errorString());
  if (!WriteWhole(file, QByteArray::fromStdString(text)) || !file.flush()) {
    const QString reason = file.errorString();
    whole.cancelWriting();
    failed(reason);
  }
  if (!device && !whole.commit()) failed(whole.errorString());
}

void TObserverForm::SaveCsvClick() {
  QString chosen;
  if (AskCsvFile) {
    chosen = AskCsvFile();
  } else {
    QFileDialog dialog(this, ObserverWord("Save as CSV (name-trace.csv and name-spectrum.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(ObserverWord("CSV files (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QStringLiteral("observer.csv"));
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (screen) FitWindowInto(dialog, screen->availableGeometry());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().constFirst();
  }
  if (chosen.isEmpty()) return;
  const auto [tracePath, spectrumPath] = ObserverCsvPaths(chosen);
  // The spectrum of the trace written, not of the one a quarter of a second ago.
  RefreshSpectrum();
  const TObserverTrace& trace = Commands.State().ObserverTrace;
  const auto [fromTick, toTick] = TObserverTracePlot::TickSpan(trace);
  WriteCsvFile(tracePath, ObserverTraceCsv(trace, fromTick, toTick));
  WriteCsvFile(spectrumPath, ObserverSpectrumCsv(Current));
}
