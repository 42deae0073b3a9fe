// SPDX-License-Identifier: GPL-3.0-or-later
// The plot resolution dialog.
#include "dialogs/SetPlotResolution.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "dialogs/NumberText.h"
#include "app/GuardedCall.h"

TPlotResolutionDlg::TPlotResolutionDlg(TSimulationCommands& simulation, QWidget* parent)
    : TSetupDialog(QString(), QSize(443, 123), 120, parent), Simulation(simulation) {
  setObjectName(QStringLiteral("PlotResolutionDlg"));
  SetTitle(QT_TR_NOOP("Plot Resolution"));
  ShowWarning = [this](const QString& text) {
    QMessageBox::warning(this, QCoreApplication::translate("Messages", "Warning"), text,
                         QMessageBox::Ok);
  };

  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  grid->setColumnStretch(1, 1);
  auto* label = new QLabel(QStringLiteral("Plot Resolution (pixel)"), group);
  List_Resolution = MakeValueBox("List_Resolution", {"10", "20", "30", "40", "50", "100"}, group);
  // A whole number of pixels: an input method's composition has nothing to offer here.
  List_Resolution->setAttribute(Qt::WA_InputMethodEnabled, false);
  List_Resolution->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
  label->setBuddy(List_Resolution);
  grid->addWidget(label, 0, 0);
  grid->addWidget(List_Resolution, 0, 1);

  OKBtn = MakeButton("OKBtn", QStringLiteral("OK"), [this] { OKBtnClick(); });
  SetDefaultButton(OKBtn);
  SetDefaultBtn =
      MakeButton("SetDefaultBtn", QStringLiteral("Set Default"), [this] { SetDefaultBtnClick(); });
  CancelBtn = MakeButton("CancelBtn", QStringLiteral("Cancel"), [this] { CancelBtnClick(); });
  LayOutPage(group, {OKBtn, SetDefaultBtn, CancelBtn});
}

void TPlotResolutionDlg::FormShow() {
  List_Resolution->setEditText(QString::number(Simulation.Display().PlotResolution));
}

void TPlotResolutionDlg::OKBtnClick() {
  int resolution = 0;
  try {
    resolution = ParseInteger(List_Resolution->currentText());
  } catch (const EError&) {
    ShowWarning(QCoreApplication::translate("Messages", "Need Integer"));
    List_Resolution->setEditText(QString::number(Simulation.Display().PlotResolution));
    return;
  }
  // Out of range: the nearest value taken is shown, and the dialog stays open so that the user
  // sees what will be used before confirming it; nothing changes until then.
  if (CheckPlotResolution(resolution)) {
    const int nearest = resolution > PlotResolutionMax ? PlotResolutionMax : PlotResolutionMin;
    List_Resolution->setEditText(QString::number(nearest));
    return;
  }
  if (TRefusal refusal = Simulation.SetPlotResolution(resolution)) throw EError(refusal);
  accept();
}

void TPlotResolutionDlg::SetDefaultBtnClick() {
  List_Resolution->setEditText(QString::number(PlotResolutionDefault));
}

void TPlotResolutionDlg::CancelBtnClick() {
  reject();
}
