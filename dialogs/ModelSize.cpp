// SPDX-License-Identifier: GPL-3.0-or-later
// The custom model size dialog.
#include "dialogs/ModelSize.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <utility>

#include "dialogs/NumberText.h"
#include "engine/ModelLimits.h"
#include "app/GuardedCall.h"

TModelSizeDlg::TModelSizeDlg(TSimulationCommands& simulation, QWidget* parent)
    : TSetupDialog(QString(), QSize(443, 148), 120, parent), Simulation(simulation) {
  setObjectName(QStringLiteral("ModelSizeDlg"));
  SetTitle(QT_TR_NOOP("Model Size"));
  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  grid->setColumnStretch(1, 1);
  auto* pointsLabel = new QLabel(QStringLiteral("Number of Field Points"), group);
  auto* perLineLabel = new QLabel(QStringLiteral("per Field Line"), group);
  List_Isize =
      MakeValueBox("List_Isize", {"100", "200", "300", "400", "500", "1000", "2000"}, group);
  auto* linesLabel = new QLabel(QStringLiteral("Number of Field Lines"), group);
  List_Jsize = MakeValueBox("List_Jsize", {"10", "20", "30", "40", "50", "100", "200"}, group);
  pointsLabel->setBuddy(List_Isize);
  linesLabel->setBuddy(List_Jsize);
  grid->addWidget(pointsLabel, 0, 0);
  grid->addWidget(perLineLabel, 1, 0);
  grid->addWidget(List_Isize, 0, 1, 2, 1, Qt::AlignVCenter);
  grid->addWidget(linesLabel, 2, 0);
  grid->addWidget(List_Jsize, 2, 1);

  OKBtn = MakeButton("OKBtn", QStringLiteral("OK"), [this] { OKBtnClick(); });
  SetDefaultButton(OKBtn);
  CancelBtn = MakeButton("CancelBtn", QStringLiteral("Cancel"), [this] { CancelBtnClick(); });
  LayOutPage(group, {OKBtn, CancelBtn});
}

void TModelSizeDlg::FormShow() {
  List_Isize->setEditText(QString::number(Simulation.State().ISize));
  List_Jsize->setEditText(QString::number(Simulation.State().JSize));
}

void TModelSizeDlg::OKBtnClick() {
  // Both are converted before the command sees either: half a pair would be a model nobody
  // asked for.
  int iSize = 0;
  int jSize = 0;
  for (auto [box, value] : {std::pair{List_Isize, &iSize}, std::pair{List_Jsize, &jSize}}) {
    try {
      *value = ParseInteger(box->currentText());
    } catch (const EError&) {
      box->setFocus();
      box->lineEdit()->selectAll();
      throw;
    }
  }
  TModelSize size = Simulation.ModelSize();
  size.ISize = iSize;
  size.JSize = jSize;
  if (TRefusal refusal = Simulation.ChooseModelSize(size)) throw EError(refusal);
  accept();
}

void TModelSizeDlg::CancelBtnClick() {
  reject();
}
