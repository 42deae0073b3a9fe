// SPDX-License-Identifier: GPL-3.0-or-later
// The shared part of the trajectory setup dialogs.
#include "dialogs/TrajectoryDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/NumberText.h"
#include "app/GuardedCall.h"

namespace {

// "Start Position x (u):" names its box as "Start Position x (u)" in a message that goes on ": ...".
QString MessageName(const QString& caption) {
  QString name = caption.trimmed();
  while (!name.isEmpty() && (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(';'))))
    name = name.chopped(1).trimmed();
  return name;
}

}  // namespace

TTrajectoryDialog::TTrajectoryDialog(TSimulationCommands& simulation, int trajectoryMode,
                                     QSize layoutSize, int layoutDpi,
                                     std::initializer_list<TValueBoxDefinition> boxes,
                                     QWidget* parent)
    : TSetupDialog(QString(), layoutSize, layoutDpi, parent),
      Simulation(simulation),
      TrajectoryMode(trajectoryMode) {
  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* grid = new QGridLayout(GroupBox1);
  grid->setColumnStretch(1, 1);
  int row = 0;
  for (const TValueBoxDefinition& definition : boxes) {
    auto* label = new QLabel(definition.Caption, GroupBox1);
    QComboBox* edit = MakeValueBox(definition.Name, definition.Items, GroupBox1);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    Boxes.push_back({edit, MessageName(definition.Caption), definition.Value});
    ++row;
  }

  OKBtn = MakeButton("OKBtn", QStringLiteral("OK"), [this] { OKBtnClick(); });
  SetDefaultButton(OKBtn);
  CancelBtn = MakeButton("CancelBtn", QStringLiteral("Cancel"), [this] { CancelBtnClick(); });
  LayOutPage(GroupBox1, {OKBtn, CancelBtn});
}

QComboBox* TTrajectoryDialog::Box(const char* name) const {
  for (const TValueBox& box : Boxes)
    if (box.Edit->objectName() == QLatin1String(name)) return box.Edit;
  return nullptr;
}

void TTrajectoryDialog::FormShow() {
  for (const TValueBox& box : Boxes)
    box.Edit->setEditText(FormatFixed(Simulation.Trajectory().*box.Value, 6, 3));
}

void TTrajectoryDialog::OKBtnClick() {
  // Every box is converted into a candidate first, so that a refusal leaves the parameters in
  // force as a whole as they were and the typed texts in place for correcting.
  TTrajectoryParameters candidate = Simulation.Trajectory();
  for (const TValueBox& box : Boxes) {
    try {
      candidate.*box.Value = ParseFloat(box.Edit->currentText());
    } catch (const EError& error) {
      box.Edit->setFocus();
      box.Edit->lineEdit()->selectAll();
      throw EError(box.Caption + QStringLiteral(": ") + QString::fromStdString(error.what()));
    }
  }
  // The command also refuses the circle dialog's zero radius (the orbit would be a point) and a
  // speed that reaches the wave's.
  if (TRefusal refusal = Simulation.ChooseTrajectory(TrajectoryMode, candidate)) throw EError(refusal);
  accept();
}

void TTrajectoryDialog::CancelBtnClick() {
  reject();
}
