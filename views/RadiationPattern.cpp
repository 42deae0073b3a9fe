// SPDX-License-Identifier: GPL-3.0-or-later
// The radiation power pattern window.
#include "views/RadiationPattern.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/GuardedCall.h"
#include "dialogs/NumberText.h"
#include "views/WindowPlacement.h"

namespace {

// See the zoom view: the frame's size is known only some time after the first show.
constexpr int FrameSettleMs = 250;
constexpr TColor CurveAqua = ColorRGB(0, 255, 255);
constexpr TColor CurveTeal = ColorRGB(0, 105, 125);

double Largest(const TRadiationPattern& pattern) {
  return *std::max_element(pattern.Values.begin(), pattern.Values.end());
}

}  // namespace

void TRadiationPatternForm::RetranslateUi() {
  setWindowTitle(tr("Radiation Power Pattern"));
  rbtnInstantaneous->setText(tr("Instantaneous"));
  rbtnAveraged->setText(tr("Averaged"));
  rbtnInstantaneous->setToolTip(tr("The pattern of the present moment"));
  rbtnAveraged->setToolTip(
      tr("The mean over one loop or pass of the path, or over the last ticks of the mouse"));
  LabelPower->setToolTip(
      tr("Liénard power radiated into all directions, in q²c/4π per model unit², and its ratio "
         "to Larmor's non-relativistic power of the same acceleration"));
  // The power line is written again in the new language without waiting for a tick: a paused
  // animation, or a path's average, may not write it for a long time.
  if (Shown != nullptr) LabelPower->setText(PowerText(*Shown));
}

void TRadiationPatternForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Guarded([this] { RetranslateUi(); });
  QWidget::changeEvent(event);
}

TRadiationPatternForm::TRadiationPatternForm(const TSimulationState& state, QWidget* parent)
    : QWidget(parent, parent != nullptr ? Qt::Tool : Qt::Tool | Qt::WindowStaysOnTopHint),
      Patterns(state) {
  rbtnInstantaneous = new QRadioButton(this);
  rbtnInstantaneous->setObjectName(QStringLiteral("rbtnInstantaneous"));
  rbtnAveraged = new QRadioButton(this);
  rbtnAveraged->setObjectName(QStringLiteral("rbtnAveraged"));
  rbtnAveraged->setChecked(true);
  auto* group = new QButtonGroup(this);
  group->addButton(rbtnInstantaneous);
  group->addButton(rbtnAveraged);

  LabelPower = new QLabel(this);
  LabelPower->setObjectName(QStringLiteral("LabelPower"));
  // A long power line is cut rather than widening a dock beyond its share of the window.
  LabelPower->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  RetranslateUi();

  Chart = new TPlotSurface(TSurfaceKind::Pattern, this);
  Chart->setObjectName(QStringLiteral("Chart1"));

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(6, 2, 6, 0);
  buttons->addWidget(rbtnInstantaneous);
  buttons->addWidget(rbtnAveraged);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(buttons);
  layout->addWidget(LabelPower);
  LabelPower->setContentsMargins(6, 0, 6, 0);
  layout->addWidget(Chart, 1);

  connect(rbtnInstantaneous, &QRadioButton::clicked, this,
          [this] { Guarded([this] { rbtnInstantaneousClick(); }); });
  connect(rbtnAveraged, &QRadioButton::clicked, this,
          [this] { Guarded([this] { rbtnAveragedClick(); }); });

  FormCreate();
}

TRadiationPatternForm::~TRadiationPatternForm() = default;

void TRadiationPatternForm::FormCreate() {
  const QRect screen = ScreenGeometryOf(*this);
  CreatedOuter = QRect(screen.left() + screen.width() - OuterWidth, screen.top() + OuterTop,
                       OuterWidth, OuterHeight);
  FrameAllowed = PlaceWindowOuter(*this, CreatedOuter);
  Chart->Series1().AddPoint(0.0, 0.0, ColorRGB(255, 0, 0));
  Series2().Marker.Visible = false;
  MotionChanged();
}

void TRadiationPatternForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (!Framed) {
    // The window has its platform window now; some window systems know its frame already.
    Framed = true;
    Guarded([this] { RefitToFrame(); });
    QTimer::singleShot(FrameSettleMs, this, [this] { Guarded([this] { RefitToFrame(); }); });
  }
  Guarded([this] { FormShow(); });
}

// A new shape of the plot needs new ranges to keep its scales equal; like a new show, this
// cancels a zoom.
void TRadiationPatternForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) Guarded([this] { ApplyRanges(); });
}

void TRadiationPatternForm::FormShow() {
  Refresh();
  ApplyRanges();
  Chart->Series1().RequestRedraw();
}

void TRadiationPatternForm::ApplyRanges() {
  const double w = std::max(1, Chart->width());
  const double h = std::max(1, Chart->height());
  const double horizontal = PatternScale * std::max(1.0, w / h);
  const double vertical = PatternScale * std::max(1.0, h / w);
  // Lower end first, as everywhere; a range far off after a pan may be refused (shown to the
  // user by the guard), as the main plot's is.
  Chart->SetAxisRange(TPlotSurface::TAxisId::Left, -vertical, vertical);
  Chart->SetAxisRange(TPlotSurface::TAxisId::Bottom, -horizontal, horizontal);
}

// Only the placement made at creation is corrected, at the first show and shortly after it.
void TRadiationPatternForm::RefitToFrame() {
  // In a dock the dock places it.
  if (!isWindow() || FrameExtraOf(*this) == FrameAllowed) return;
  FrameAllowed = PlaceWindowOuter(*this, CreatedOuter);
}

// ---- What the main window reports ----

void TRadiationPatternForm::ChargeTicked() {
  Patterns.ChargeTicked();
  if (!isVisible()) return;
  if (Mode() == TPatternMode::Averaged && !Patterns.AverageMovesWithTicks()) return;
  Refresh();
}

void TRadiationPatternForm::SimulationReset() {
  Patterns.SimulationReset();
  Refresh();
}

void TRadiationPatternForm::MotionChanged() {
  Patterns.MotionChanged();
  Refresh();
}

// ---- The two modes ----

TRadiationPatternForm::TPatternMode TRadiationPatternForm::Mode() const {
  return rbtnInstantaneous->isChecked() ? TPatternMode::Instantaneous : TPatternMode::Averaged;
}

void TRadiationPatternForm::rbtnInstantaneousClick() { Refresh(); }

void TRadiationPatternForm::rbtnAveragedClick() { Refresh(); }

void TRadiationPatternForm::Refresh() {
  ShowPattern(Mode() == TPatternMode::Instantaneous ? Patterns.Instantaneous()
                                                     : Patterns.Averaged());
}

void TRadiationPatternForm::ShowPattern(const TRadiationPattern& pattern) {
  Shown = &pattern;
  LabelPower->setText(PowerText(pattern));
  TPointSeries& curve = Series2();
  const double largest = Largest(pattern);
  if (!(largest > 0.0)) {
    curve.DrawLine = false;
    curve.RequestRedraw();
    return;
  }
  if (PatternScale == 0.0) {
    PatternScale = 1.0;
    if (isVisible()) ApplyRanges();
  }
  const double scale = CurveRadius * PatternScale / largest;
  const int n = PatternDirectionCount;
  for (int k = 0; k <= n; ++k) {
    const TVector3 direction = PatternDirection(k);
    const double r = scale * pattern.Values[static_cast<std::size_t>(k % n)];
    if (static_cast<int>(curve.Points().size()) <= k) {
      curve.AddPoint(r * direction.X, r * direction.Y, CurveColour);
    } else {
      curve.SetPointX(k, r * direction.X);
      curve.SetPointY(k, r * direction.Y);
    }
  }
  curve.DrawLine = true;
  curve.RequestRedraw();
}

void TRadiationPatternForm::ApplyTheme(TTheme theme) {
  CurveColour = theme == TTheme::Projector ? CurveTeal : CurveAqua;
  TPointSeries& curve = Series2();
  const int count = static_cast<int>(curve.Points().size());
  for (int k = 0; k < count; ++k) curve.SetPointColor(k, CurveColour);
}

QString TRadiationPatternForm::PowerText(const TRadiationPattern& pattern) {
  if (!pattern.Radiates() || !(pattern.Larmor > 0.0)) return tr("No radiation");
  return tr("Power %1 = %2 × Larmor")
      .arg(FormatScientific(pattern.Power), FormatFixed(pattern.Power / pattern.Larmor, 4, 1));
}
