// The wave speed window.
#include "dialogs/SimSpeedCnt.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <cmath>

#include "app/GuardedCall.h"

TSpeedControlForm::TSpeedControlForm(TSimulationState& state, QWidget* parent)
    : TSetupDialog(QStringLiteral("Wave Speed"), QSize(331, 124), 120, parent), State(state) {
  setObjectName(QStringLiteral("SpeedControlForm"));
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

void TSpeedControlForm::FormCreate() {
  WaveSpeed->setMaximum(10);
  WaveSpeed->setMinimum(1);
  WaveSpeed->setValue(10);
}

void TSpeedControlForm::WaveSpeedChange() {
  State.TimerInterval = (WaveSpeed->maximum() - WaveSpeed->value()) * 20 + 1;
}

void TSpeedControlForm::btnOKClick() {
  accept();
}
