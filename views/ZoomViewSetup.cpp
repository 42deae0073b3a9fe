// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom view's setup dialog.
#include "views/ZoomViewSetup.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "dialogs/ModalResult.h"
#include "app/GuardedCall.h"

TZoomViewSetupDlg::TZoomViewSetupDlg(TSimulationCommands& simulation, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      Simulation(simulation) {
  setWindowTitle(QStringLiteral("Zoom View Setup Dialog"));
  setFixedSize(499, 171);

  // The three buttons share one parent, which makes them one exclusive group.
  RadioGroup1 = new QGroupBox(QStringLiteral("Tracking Mode"), this);
  RadioGroup1->setGeometry(16, 12, 345, 145);
  rbtnTrackParticle = new QRadioButton(QStringLiteral("on Particle Motion"), RadioGroup1);
  rbtnTrackParticle->setGeometry(24, 30, 300, 24);
  rbtnTrackInitialVel = new QRadioButton(QStringLiteral("on Initial Velocity"), RadioGroup1);
  rbtnTrackInitialVel->setGeometry(24, 66, 300, 24);
  rbtnTrackOFF = new QRadioButton(QStringLiteral("Tracking OFF"), RadioGroup1);
  rbtnTrackOFF->setGeometry(24, 102, 300, 24);
  rbtnTrackParticle->setChecked(true);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setGeometry(384, 20, 96, 30);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setGeometry(384, 60, 96, 30);
  CancelBtn->setAutoDefault(false);

  ShowMessage = [this](const QString& text) {
    QMessageBox::information(this, QGuiApplication::applicationDisplayName(), text);
  };

  connect(OKBtn, &QPushButton::clicked, this, [this] { Guarded([this] { OKBtnClick(); }); });
  // Cancel, Esc and the close box all reject: nothing is stored.
  connect(CancelBtn, &QPushButton::clicked, this, [this] { Guarded([this] { reject(); }); });
}

int TZoomViewSetupDlg::ShowModal() { return exec() == QDialog::Accepted ? mrOk : mrCancel; }

void TZoomViewSetupDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) Guarded([this] { FormShow(); });
}

void TZoomViewSetupDlg::FormShow() {
  switch (Simulation.Display().Zoom.Tracking) {
    case 0:
      rbtnTrackOFF->setChecked(true);
      break;
    case 1:
      rbtnTrackParticle->setChecked(true);
      break;
    case 2:
      rbtnTrackInitialVel->setChecked(true);
      break;
    default:
      // An unknown mode leaves the buttons as the last use of the dialog left them.
      break;
  }
}

void TZoomViewSetupDlg::OKBtnClick() {
  TDisplaySettings display = Simulation.Display();
  if (rbtnTrackParticle->isChecked()) {
    display.Zoom.Tracking = ztParticleMotion;
  } else if (rbtnTrackInitialVel->isChecked()) {
    display.Zoom.Tracking = ztInitialVelocity;
  } else {
    display.Zoom.Tracking = ztOff;
  }
  if (TRefusal refusal = Simulation.SetDisplay(display)) throw EError(refusal);
  if (ShowMessage) ShowMessage(QString::number(Simulation.Display().Zoom.Tracking));
  accept();
}
