// The physical model dialog.
#include "dialogs/PhysicalModelSetup.h"

#include <QGroupBox>
#include <QVBoxLayout>

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

  OKBtn = MakeButton("OKBtn", QStringLiteral("OK"), [this] { OKBtnClick(); });
  SetDefaultButton(OKBtn);
  DefaultBtn = MakeButton("DefaultBtn", QStringLiteral("Default"), [this] { DefaultBtnClick(); });
  CancelBtn = MakeButton("CancelBtn", QStringLiteral("Cancel"), [this] { reject(); });
  LayOutPage(group, {OKBtn, DefaultBtn, CancelBtn});
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
