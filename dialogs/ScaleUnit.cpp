// SPDX-License-Identifier: GPL-3.0-or-later
// The scale unit window.
#include "dialogs/ScaleUnit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "app/GuardedCall.h"
#include "engine/PictureScale.h"

namespace {

// The unit list in the order of TLengthUnit.
constexpr const char* UnitNames[] = {"km", "m", "mm"};
static_assert(std::size(UnitNames) == static_cast<std::size_t>(TLengthUnit::Millimetre) + 1);

// The plot's default width is 2 plot units.
constexpr double DefaultPlotUnits = 2.0;

QComboBox* MakeListBox(const char* objectName, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(objectName));
  box->setEditable(false);
  return box;
}

}  // namespace

TScaleUnitDlg::TScaleUnitDlg(TSimulationCommands& simulation, QWidget* parent)
    : TSetupDialog(QString(), QSize(470, 150), 120, parent), Simulation(simulation) {
  setObjectName(QStringLiteral("ScaleUnitDlg"));
  SetTitle(QT_TR_NOOP("Scale Unit"));

  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  WidthLabel = new QLabel(group);
  WidthLabel->setObjectName(QStringLiteral("WidthLabel"));
  List_Scale = MakeListBox("List_Scale", group);
  List_Unit = MakeListBox("List_Unit", group);
  for (const char* unit : UnitNames) List_Unit->addItem(QString::fromLatin1(unit));
  WidthLabel->setBuddy(List_Scale);
  ScaleNote = new QLabel(group);
  ScaleNote->setObjectName(QStringLiteral("ScaleNote"));
  ScaleNote->setWordWrap(true);
  grid->addWidget(WidthLabel, 0, 0);
  grid->addWidget(List_Scale, 0, 1);
  grid->addWidget(List_Unit, 0, 2);
  grid->setColumnStretch(3, 1);
  grid->addWidget(ScaleNote, 1, 0, 1, 4);

  OKBtn = MakeButton("OKBtn", QString(), [this] { OKBtnClick(); });
  SetDefaultButton(OKBtn);
  CancelBtn = MakeButton("CancelBtn", QString(), [this] { CancelBtnClick(); });
  RetranslateUi();
  LayOutPage(group, {OKBtn, CancelBtn});
  FitSentence();
  FormShow();
}

void TScaleUnitDlg::RetranslateUi() {
  WidthLabel->setText(tr("Window width is equal to"));
  FreeNote =
      tr("The length the plot's default width (2 units) stands for, on every path but the "
         "undulator and the bending magnet.");
  FixedNote = tr("The undulator and the bending magnet set their own scale: the plot is 2 m wide.");
  ShowNote(ScaleIsFixed());
  OKBtn->setText(tr("OK"));
  CancelBtn->setText(tr("Cancel"));
}

void TScaleUnitDlg::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) {
    Guarded([this] {
      RetranslateUi();
      FitSentence();
    });
  }
  TSetupDialog::changeEvent(event);
}

void TScaleUnitDlg::FitSentence() {
  FixSize();
  // FixSize takes the wrapped sentence's height at a width of its own choosing; at the fixed
  // width it may need more lines, as many as the longer of the two sentences.
  if (!layout() || !layout()->hasHeightForWidth()) return;
  const QString shown = ScaleNote->text();
  int needed = height();
  for (const QString& note : {FreeNote, FixedNote}) {
    ScaleNote->setText(note);
    layout()->invalidate();
    needed = std::max(needed, layout()->totalHeightForWidth(width()));
  }
  ScaleNote->setText(shown);
  setFixedHeight(needed);
}

void TScaleUnitDlg::ShowNote(bool fixed) {
  ScaleNote->setText(fixed ? FixedNote : FreeNote);
}

bool TScaleUnitDlg::ScaleIsFixed() const {
  return PictureScaleOf(Simulation.State().TrajectoryMode, Simulation.Display().ScaleUnit).Fixed;
}

void TScaleUnitDlg::FormShow() {
  const TPictureScale scale =
      PictureScaleOf(Simulation.State().TrajectoryMode, Simulation.Display().ScaleUnit);
  List_Scale->clear();
  if (scale.Fixed) {
    // The path's own scale, in metres: the plot's width is 2 u of 1 m.
    List_Scale->addItem(QString::number(DefaultPlotUnits * scale.MetresPerUnit));
    List_Scale->setCurrentIndex(0);
    List_Unit->setCurrentIndex(static_cast<int>(TLengthUnit::Metre));
  } else {
    const TScaleUnit& unit = Simulation.Display().ScaleUnit;
    for (const int value : ScaleUnitScales) {
      List_Scale->addItem(QString::number(value));
      if (value == unit.Scale) List_Scale->setCurrentIndex(List_Scale->count() - 1);
    }
    List_Unit->setCurrentIndex(static_cast<int>(unit.Unit));
  }
  List_Scale->setEnabled(!scale.Fixed);
  List_Unit->setEnabled(!scale.Fixed);
  WidthLabel->setEnabled(!scale.Fixed);
  ShowNote(scale.Fixed);
}

void TScaleUnitDlg::OKBtnClick() {
  if (!ScaleIsFixed()) {
    TDisplaySettings display = Simulation.Display();
    const int scaleIndex = List_Scale->currentIndex();
    if (scaleIndex >= 0 && scaleIndex < static_cast<int>(std::size(ScaleUnitScales)))
      display.ScaleUnit.Scale = ScaleUnitScales[scaleIndex];
    display.ScaleUnit.Unit = static_cast<TLengthUnit>(List_Unit->currentIndex());
    if (TRefusal refusal = Simulation.SetDisplay(display)) throw EError(refusal);
  }
  accept();
}

void TScaleUnitDlg::CancelBtnClick() {
  reject();
}
