// SPDX-License-Identifier: GPL-3.0-or-later
// The physical model dialog.
#include "dialogs/PhysicalModelSetup.h"

#include <QGroupBox>
#include <QVBoxLayout>

TPhysicalModelDlg::TPhysicalModelDlg(TSimulationCommands& simulation, QWidget* parent)
    : TSetupDialog(QString(), QSize(355, 160), 96, parent), Simulation(simulation) {
  setObjectName(QStringLiteral("PhysicalModelDlg"));
  SetTitle(QT_TR_NOOP("Physical Model"));
  auto* group = new QGroupBox(this);
  auto* checks = new QVBoxLayout(group);
  LightAbberationCheck = new QCheckBox(QStringLiteral("Light Aberration"), group);
  LightAbberationCheck->setObjectName(QStringLiteral("LightAbberationCheck"));
  LightAbberationCheck->setChecked(true);
  TrackEmissionPointCheck = new QCheckBox(QStringLiteral("Track Emission Point"), group);
  TrackEmissionPointCheck->setObjectName(QStringLiteral("TrackEmissionPointCheck"));
  TrackEmissionPointCheck->setChecked(true);
  ThomasPrecessionCheck = new QCheckBox(QStringLiteral("Thomas Precession"), group);
  ThomasPrecessionCheck->setObjectName(QStringLiteral("ThomasPrecessionCheck"));
  ThomasPrecessionCheck->setChecked(true);
  ThomasPrecessionCheck->setToolTip(
      QStringLiteral("Turns the emission directions with the rest frame of the charge, which "
                     "precesses when its path bends, so that the field lines of a curved motion "
                     "follow the exact field."));
  checks->addWidget(LightAbberationCheck);
  checks->addWidget(TrackEmissionPointCheck);
  checks->addWidget(ThomasPrecessionCheck);

  OKBtn = MakeButton("OKBtn", QStringLiteral("OK"), [this] { OKBtnClick(); });
  SetDefaultButton(OKBtn);
  DefaultBtn = MakeButton("DefaultBtn", QStringLiteral("Default"), [this] { DefaultBtnClick(); });
  CancelBtn = MakeButton("CancelBtn", QStringLiteral("Cancel"), [this] { reject(); });
  LayOutPage(group, {OKBtn, DefaultBtn, CancelBtn});
}

void TPhysicalModelDlg::FormShow() {
  ShowOptions(Simulation.Physics());
}

void TPhysicalModelDlg::OKBtnClick() {
  Simulation.SetPhysics({LightAbberationCheck->isChecked(), TrackEmissionPointCheck->isChecked(),
                         ThomasPrecessionCheck->isChecked()});
  accept();
}

void TPhysicalModelDlg::DefaultBtnClick() {
  ShowOptions(DefaultPhysicsOptions);
}

void TPhysicalModelDlg::ShowOptions(const TPhysicsOptions& options) {
  LightAbberationCheck->setChecked(options.LightAberration);
  TrackEmissionPointCheck->setChecked(options.TrackEmissionPoint);
  ThomasPrecessionCheck->setChecked(options.ThomasPrecession);
}
