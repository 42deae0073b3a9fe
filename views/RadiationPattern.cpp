// The radiation power pattern window.
#include "views/RadiationPattern.h"

#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/GuardedCall.h"
#include "views/WindowPlacement.h"

namespace {

// See the zoom view: the frame's size is known only some time after the first show.
constexpr int FrameSettleMs = 250;

}  // namespace

TRadiationPatternForm::TRadiationPatternForm(TSimulationState& state, QWidget* parent)
    : QWidget(parent, parent != nullptr ? Qt::Tool : Qt::Tool | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QStringLiteral("Radiation Power Pattern"));

  Chart = new TPlotSurface(TSurfaceKind::Pattern, this);
  Chart->setObjectName(QStringLiteral("Chart1"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Chart);

  FormCreate(state);
}

TRadiationPatternForm::~TRadiationPatternForm() = default;

void TRadiationPatternForm::FormCreate(const TSimulationState& state) {
  const QRect screen = ScreenGeometryOf(*this);
  CreatedOuter = QRect(screen.left() + screen.width() - OuterWidth, screen.top() + OuterTop,
                       OuterWidth, OuterHeight);
  FrameAllowed = PlaceWindowOuter(*this, CreatedOuter);
  Chart->Series1().AddPoint(0.0, 0.0, ColorRGB(255, 0, 0));

  const auto directions = static_cast<std::size_t>(std::max(0, state.JSize + 1));
  PowerPattern.assign(directions, 0.1);
  PowerPatternPrevious.assign(directions, 0.1);
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

void TRadiationPatternForm::FormShow() {
  Chart->SetAxisRange(TPlotSurface::TAxisId::Left, -PatternScale, PatternScale);
  Chart->SetAxisRange(TPlotSurface::TAxisId::Bottom, -PatternScale, PatternScale);
  Chart->Series1().RequestRedraw();
}

// Only the placement made at creation is corrected, at the first show and shortly after it.
void TRadiationPatternForm::RefitToFrame() {
  if (FrameExtraOf(*this) == FrameAllowed) return;
  FrameAllowed = PlaceWindowOuter(*this, CreatedOuter);
}
