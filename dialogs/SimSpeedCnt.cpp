// SPDX-License-Identifier: GPL-3.0-or-later
// The wave speed window.
#include "dialogs/SimSpeedCnt.h"

#include <QGridLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "app/GuardedCall.h"

TSpeedControlForm::TSpeedControlForm(TSimulationCommands& simulation, QWidget* parent)
    : TSetupDialog(QString(), QSize(331, 124), 120, parent), Simulation(simulation) {
  setObjectName(QStringLiteral("SpeedControlForm"));
  SetTitle(QT_TR_NOOP("Wave Speed"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  CentreOnShow = false;

  WaveSpeed = new QSlider(Qt::Horizontal, this);
  WaveSpeed->setObjectName(QStringLiteral("WaveSpeed"));
  WaveSpeed->setTickPosition(QSlider::TicksBelow);
  WaveSpeed->setTickInterval(1);
  WaveSpeed->setPageStep(1);
  SlowLabel = new QLabel(QStringLiteral("Slow"), this);
  FastLabel = new QLabel(QStringLiteral("Fast"), this);
  btnOK = MakeButton("btnOK", QStringLiteral("OK"), [this] { btnOKClick(); });
  SetDefaultButton(btnOK);
  connect(WaveSpeed, &QSlider::valueChanged, this,
          [this] { Guarded([this] { WaveSpeedChange(); }); });

  auto* grid = new QGridLayout;
  grid->addWidget(SlowLabel, 0, 0, Qt::AlignLeft);
  grid->addWidget(FastLabel, 0, 1, Qt::AlignRight);
  grid->addWidget(WaveSpeed, 1, 0, 1, 2);
  // The slider keeps its natural height at the top; the spare height goes above the button.
  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addStretch(1);
  page->addLayout(ButtonRow({btnOK}));
  FixSize();

  const double scale = ScreenScale(120);
  move(static_cast<int>(std::lround(203 * scale)), static_cast<int>(std::lround(313 * scale)));
  FormCreate();
}

// The thumb at the position nearest to the interval in force, and the interval that position
// stands for. Quiet while the range is set: a slider starts at 0, which the new minimum would
// move to "Slow" on the way.
void TSpeedControlForm::FormCreate() {
  {
    const QSignalBlocker quiet(WaveSpeed);
    WaveSpeed->setRange(SpeedPositionMin, SpeedPositionMax);
    WaveSpeed->setValue(SpeedPositionOf(Simulation.State().TimerInterval));
  }
  WaveSpeedChange();
}

void TSpeedControlForm::WaveSpeedChange() {
  if (TRefusal refusal = Simulation.SetSpeedPosition(WaveSpeed->value())) throw EError(refusal);
}

void TSpeedControlForm::btnOKClick() {
  accept();
}
