// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom view: the shared field drawing with every point taken relative to the charge.
#include "views/ZoomView.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "dialogs/NumberText.h"
#include "render/ZoomPicture.h"
#include "app/GuardedCall.h"
#include "views/WindowPlacement.h"
#include "views/ZoomViewSetup.h"

namespace {

constexpr int ChartTop = 34;
// The window manager frames a window some time after it is first mapped; by then the frame's
// size is known and the placement is redone once so that the frame, not the client, fills the
// bottom-left sixth of the screen.
constexpr int FrameSettleMs = 250;

QToolButton* MakeSpeedButton(QWidget* parent, const QString& caption, int left, int width) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(left, 4, width, 28);
  return button;
}

}  // namespace

TZoomViewForm::TZoomViewForm(TSimulationCommands& simulation, QWidget* parent)
    : QWidget(parent, parent != nullptr ? Qt::Tool : Qt::Tool | Qt::WindowStaysOnTopHint),
      Simulation(simulation) {
  resize(480, 240);

  btnSetup = MakeSpeedButton(this, QString(), 2, 50);
  btnSetup->setObjectName(QStringLiteral("btnSetup"));
  btnZoomIn = MakeSpeedButton(this, QStringLiteral("+"), 63, 28);
  btnZoomIn->setObjectName(QStringLiteral("btnZoomIn"));
  btnZoomOut = MakeSpeedButton(this, QStringLiteral("-"), 93, 28);
  btnZoomOut->setObjectName(QStringLiteral("btnZoomOut"));

  Label1 = new QLabel(QStringLiteral("x ") + LocalizedNumber(QStringLiteral("16.0")), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(128, 10, 240, Label1->fontMetrics().height() + 2);

  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(0, 0, width(), 3);

  Chart = new TPlotSurface(TSurfaceKind::Zoom, this);
  Chart->setObjectName(QStringLiteral("Chart1"));
  Chart->setGeometry(0, ChartTop, width(), height() - ChartTop);
  Chart->OnAfterDraw = [this](TPlotSurface& sender, TCanvas& canvas) {
    Chart1AfterDraw(sender, canvas);
  };

  SetupDlg = new TZoomViewSetupDlg(simulation, this);

  RetranslateUi();
  // The buttons take no focus; the window itself takes the keys.
  setFocusPolicy(Qt::StrongFocus);
  connect(btnZoomIn, &QToolButton::clicked, this, [this] { Guarded([this] { btnZoomInClick(); }); });
  connect(btnZoomOut, &QToolButton::clicked, this,
          [this] { Guarded([this] { btnZoomOutClick(); }); });
  connect(btnSetup, &QToolButton::clicked, this, [this] { Guarded([this] { btnSetupClick(); }); });

  // The one point of Series1 is only the target of the redraw requests; its marker is hidden.
  Chart->Series1().AddPoint(0.0, 0.0, ColorRGB(255, 0, 0));
}

TZoomViewForm::~TZoomViewForm() = default;

void TZoomViewForm::RetranslateUi() {
  // The view stays open while the language changes; its setup dialog is English in both.
  setWindowTitle(tr("Zooming View"));
  btnSetup->setText(tr("Setup"));
  btnZoomIn->setToolTip(tr("Zoom in (+)"));
  btnZoomOut->setToolTip(tr("Zoom out (-)"));
}

void TZoomViewForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Guarded([this] { RetranslateUi(); });
  QWidget::changeEvent(event);
}

QSize TZoomViewForm::sizeHint() const {
  return {300, ChartTop + 150};
}

void TZoomViewForm::RequestChartRedraw() { Chart->Series1().RequestRedraw(); }

QString TZoomViewForm::ScaleCaption(double scale) {
  return QStringLiteral("x ") + FormatFixed(scale, 4, 2);
}

void TZoomViewForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Spontaneous shows are the window system's (a restore from the task bar), not ours.
  if (!event->spontaneous()) Guarded([this] { FormShow(); });
}

void TZoomViewForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Bevel1->setGeometry(0, 0, width(), 3);
  // FormShow sets the scale itself after placing the window; doing it here as well would show a
  // refused range twice.
  if (!Showing) Guarded([this] { FormResize(); });
}

void TZoomViewForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      Guarded([this] { btnZoomInClick(); });
      return;
    case Qt::Key_Minus:
      Guarded([this] { btnZoomOutClick(); });
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void TZoomViewForm::FormShow() {
  // In a dock the dock places it; only a window of its own is placed here.
  if (isWindow()) PlaceOnScreen();
  PlaceChart();
  SetChartScale(Simulation.Display().Zoom.Scale);
  Label1->setText(ScaleCaption(Simulation.Display().Zoom.Scale));
  RequestChartRedraw();
}

void TZoomViewForm::PlaceOnScreen() {
  const QRect screen = ScreenGeometryOf(*this);
  const int sw = screen.width();
  const int sh = screen.height();
  ShownOuter = QRect(screen.left(), screen.top() + sh - sh / 3, sw / 2, sh / 3);
  Showing = true;
  FrameAllowed = PlaceWindowOuter(*this, ShownOuter);
  Showing = false;
  QTimer::singleShot(FrameSettleMs, this, [this] { Guarded([this] { RefitToFrame(); }); });
}

void TZoomViewForm::RefitToFrame() {
  if (!isWindow() || !isVisible() || FrameExtraOf(*this) == FrameAllowed) return;
  FrameAllowed = PlaceWindowOuter(*this, ShownOuter);
}

void TZoomViewForm::FormResize() {
  PlaceChart();
  SetChartScale(Simulation.Display().Zoom.Scale);
  RequestChartRedraw();
}

void TZoomViewForm::PlaceChart() {
  Chart->setGeometry(0, ChartTop, width(), std::max(0, height() - ChartTop));
}

void TZoomViewForm::SetChartScale(double scale) {
  if (Chart->width() > 0) {
    ChartAspect = static_cast<double>(Chart->height()) / static_cast<double>(Chart->width());
  }
  Chart->SetAxisRange(TPlotSurface::TAxisId::Left, -ChartAspect / scale, ChartAspect / scale);
  Chart->SetAxisRange(TPlotSurface::TAxisId::Bottom, -1.0 / scale, 1.0 / scale);
}

void TZoomViewForm::btnZoomInClick() { ChangeZoomScale(Simulation.Display().Zoom.Scale * ZoomStep); }

void TZoomViewForm::btnZoomOutClick() { ChangeZoomScale(Simulation.Display().Zoom.Scale / ZoomStep); }

void TZoomViewForm::ChangeZoomScale(double scale) {
  TDisplaySettings display = Simulation.Display();
  display.Zoom.Scale = scale;
  if (Simulation.SetDisplay(display)) return;
  Label1->setText(ScaleCaption(Simulation.Display().Zoom.Scale));
  SetChartScale(Simulation.Display().Zoom.Scale);
  RequestChartRedraw();
}

void TZoomViewForm::btnSetupClick() { SetupDlg->ShowModal(); }

void TZoomViewForm::Chart1AfterDraw(TPlotSurface& sender, TCanvas& canvas) {
  DrawZoomOverlay(canvas, sender.Mapping(), Simulation.State(), Simulation.Display());
}
