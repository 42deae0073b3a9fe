// The physical model dialog.
#include "dialogs/PhysicalModelSetup.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "plot/GuardedCall.h"

TPhysicalModelDlg::TPhysicalModelDlg(TSimulationState& state, QWidget* parent)
    : TSetupDialog(QStringLiteral("Dialog"), QSize(355, 130), 96, parent), State(state) {
  setObjectName(QStringLiteral("PhysicalModelDlg"));
  auto* group = new QGroupBox(this);
  auto* checks = new QVBoxLayout(group);
  LightAbberationCheck = new QCheckBox(QStringLiteral("Light Abberation"), group);
  LightAbberationCheck->setObjectName(QStringLiteral("LightAbberationCheck"));
  LightAbberationCheck->setChecked(true);
  TrackEmissionPointCheck = new QCheckBox(QStringLiteral("Track Emission Point"), group);
  TrackEmissionPointCheck->setObjectName(QStringLiteral("TrackEmissionPointCheck"));
  TrackEmissionPointCheck->setChecked(true);
  checks->addWidget(LightAbberationCheck);
  checks->addWidget(TrackEmissionPointCheck);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  SetDefaultButton(OKBtn);
  DefaultBtn = new QPushButton(QStringLiteral("Default"), this);
  DefaultBtn->setObjectName(QStringLiteral("DefaultBtn"));
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  connect(OKBtn, &QPushButton::clicked, this, [this] { Guarded([this] { OKBtnClick(); }); });
  connect(DefaultBtn, &QPushButton::clicked, this,
          [this] { Guarded([this] { DefaultBtnClick(); }); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { Guarded([this] { reject(); }); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(DefaultBtn);
  buttons->addWidget(CancelBtn);
  auto* page = new QVBoxLayout(this);
  page->addWidget(group, 1);
  page->addLayout(buttons);
  FixSize();
}

void TPhysicalModelDlg::FormShow() {
  LightAbberationCheck->setChecked(State.FieldSimulation.LightAberration);
  TrackEmissionPointCheck->setChecked(State.FieldSimulation.TrackEmissionPoint);
}

void TPhysicalModelDlg::OKBtnClick() {
  State.FieldSimulation.LightAberration = LightAbberationCheck->isChecked();
  State.FieldSimulation.TrackEmissionPoint = TrackEmissionPointCheck->isChecked();
  accept();
}

void TPhysicalModelDlg::DefaultBtnClick() {
  LightAbberationCheck->setChecked(true);
  TrackEmissionPointCheck->setChecked(true);
}
