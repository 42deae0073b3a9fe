// The main window: start-up, the animation tick, run control, the field picture and the menu
// commands.
#include "mainwindow/Main1.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <string>

#include "app/GuardedCall.h"
#include "dialogs/BendingSetup.h"
#include "dialogs/BetaInfo.h"
#include "dialogs/CircleTrjSetup.h"
#include "dialogs/DipoleOscSetup.h"
#include "dialogs/LineTrjSetup.h"
#include "dialogs/ModalResult.h"
#include "dialogs/ModelSize.h"
#include "dialogs/PhysicalModelSetup.h"
#include "dialogs/RaceTrackSetup.h"
#include "dialogs/ScreenFit.h"
#include "dialogs/SetPlotResolution.h"
#include "dialogs/SimSpeedCnt.h"
#include "dialogs/UndulatorSetup.h"
#include "engine/AnimationStep.h"
#include "export/FileTypeChoice.h"
#include "export/PictureFile.h"
#include "render/MainPicture.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

namespace {

constexpr int ChartTop = 30;
// The logo's grey: the application-workspace colour of the desktop it was made for.
const QColor LogoGrey(171, 171, 171);

// A 16-pixel glyph drawn again for each pixel ratio a screen may have: a single 16-pixel picture
// is enlarged by the button at 1.5 or 2 and its edges come out blurred.
template <class Paint>
QIcon GlyphIcon(Paint paint) {
  QIcon icon;
  for (const double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0}) {
    const int side = static_cast<int>(std::lround(16 * ratio));
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter, ratio);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon RunGlyph() {
  return GlyphIcon([](QPainter& painter, double ratio) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    painter.setPen(QColor(0, 110, 0));
    painter.setBrush(QColor(0, 190, 0));
    painter.drawPolygon(QPolygon({QPoint(4, 2), QPoint(13, 8), QPoint(4, 14)}));
  });
}

QIcon PauseGlyph() {
  return GlyphIcon([](QPainter& painter, double ratio) {
    // The bars' edges on whole device pixels, so that they stay sharp.
    const auto px = [ratio](int logical) { return static_cast<int>(std::lround(logical * ratio)); };
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 60, 170));
    painter.drawRect(px(4), px(3), px(3), px(10));
    painter.drawRect(px(9), px(3), px(3), px(10));
  });
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QString& hint,
                             const QIcon& glyph, QPoint place) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoRaise(true);
  button->setCheckable(true);
  button->setToolTip(hint);
  button->setIcon(glyph);
  button->setGeometry(place.x(), place.y(), 22, 22);
  return button;
}

// One frame of the screen in whole milliseconds, rounded down so that the timer never lags
// behind the screen; 60 pictures a second where the screen does not say.
int FrameIntervalOf(const QScreen* screen) {
  double rate = screen ? screen->refreshRate() : 0.0;
  if (!std::isfinite(rate) || rate < 1.0) rate = 60.0;
  return std::max(1, static_cast<int>(std::floor(1000.0 / rate)));
}

// A file dialog is larger than the free area of a laptop shown at twice its pixels: cut at the
// bottom, its list of types and its buttons would be out of reach.
void FitToScreen(QWidget& dialog) {
  const QScreen* screen = dialog.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) FitWindowInto(dialog, screen->availableGeometry());
}

}  // namespace

TMainForm1::TMainForm1(TSimulationState& state, QWidget* parent)
    : QMainWindow(parent), State(state) {
  Guarded([this] { FormCreate(); });
}

TMainForm1::~TMainForm1() = default;

void TMainForm1::CreateComponents() {
  setWindowTitle(QStringLiteral("HalvoranRadiation"));

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  setCentralWidget(client);
  client->installEventFilter(this);

  Bevel1 = new QFrame(client);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);

  SpeedRunButton = MakeSpeedButton(client, "SpeedRunButton", QStringLiteral("Run Simulation"),
                                   RunGlyph(), QPoint(2, 5));
  SpeedPauseButton = MakeSpeedButton(client, "SpeedPauseButton", QStringLiteral("Pause Simulation"),
                                     PauseGlyph(), QPoint(30, 5));
  auto* speedGroup = new QButtonGroup(this);
  speedGroup->setExclusive(true);
  speedGroup->addButton(SpeedRunButton);
  speedGroup->addButton(SpeedPauseButton);
  SpeedRunButton->setChecked(true);
  // clicked, not toggled: a button set down by code raises no handler.
  connect(SpeedRunButton, &QToolButton::clicked, this,
          [this] { Guarded([this] { SpeedRunButtonClick(); }); });
  connect(SpeedPauseButton, &QToolButton::clicked, this,
          [this] { Guarded([this] { SpeedPauseButtonClick(); }); });

  Chart1 = new TPlotSurface(TSurfaceKind::Main, client);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  // Not guarded here: an error must reach whoever asked for the drawing, the screen's paint
  // (which shows it) or the print command (whose job it aborts before the page is sent).
  Chart1->OnAfterDraw = [this](TPlotSurface& sender, TCanvas& canvas) {
    Chart1AfterDraw(sender, canvas);
  };
  Chart1->OnZoom = [this](TPlotSurface& sender) { Guarded([&] { Chart1Zoom(sender); }); };
  Chart1->OnMouseUp = [this](TPlotSurface&, Qt::MouseButton, int, int) {
    Guarded([this] { Chart1MouseUp(); });
  };
  Chart1->OnRedrawn = [this](TPlotSurface&) { Guarded([this] { Chart1Redrawn(); }); };
  Series1().OnClick = [this](TPointSeries&, int, Qt::MouseButton, Qt::KeyboardModifiers, int x,
                             int y) { Guarded([&] { Series1Click(x, y); }); };

  HalvoranLabLogo = new QLabel(QStringLiteral("Halvoran Radiation"), client);
  HalvoranLabLogo->setObjectName(QStringLiteral("HalvoranLabLogo"));
  QFont logoFont;
  logoFont.setFamilies(
      {QStringLiteral("Arial Black"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  logoFont.setPixelSize(21);
  logoFont.setItalic(true);
  logoFont.setWeight(QFont::Black);
  HalvoranLabLogo->setFont(logoFont);
  QPalette logoPalette = HalvoranLabLogo->palette();
  logoPalette.setColor(QPalette::Window, Qt::black);
  logoPalette.setColor(QPalette::WindowText, LogoGrey);
  HalvoranLabLogo->setPalette(logoPalette);
  HalvoranLabLogo->setAutoFillBackground(true);
  HalvoranLabLogo->setGeometry(41, 59, 258, 33);
  // The logo lies over the plot; presses on it belong to the plot.
  HalvoranLabLogo->setAttribute(Qt::WA_TransparentForMouseEvents);
  HalvoranLabLogo->raise();

  RecordingLabel = new QLabel(client);
  RecordingLabel->setObjectName(QStringLiteral("RecordingLabel"));
  QFont recordingFont = RecordingLabel->font();
  recordingFont.setBold(true);
  RecordingLabel->setFont(recordingFont);
  QPalette recordingPalette = RecordingLabel->palette();
  recordingPalette.setColor(QPalette::WindowText, QColor(220, 0, 0));
  RecordingLabel->setPalette(recordingPalette);
  RecordingLabel->setGeometry(62, 5, 140, 22);
  RecordingLabel->hide();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(10);
  connect(Timer1, &QTimer::timeout, this, [this] {
    Guarded([this] {
      // A tick waits for the picture of the one before, so that every tick is seen.
      if (PictureOutstanding()) {
        TickDeferred = true;
        return;
      }
      Timer1Timer();
    });
  });

  MainMenu1.Build(*menuBar(), *this);
  RetranslateUi();
}

void TMainForm1::RetranslateUi() {
  MainMenu1.Retranslate(Translations);
  SpeedRunButton->setToolTip(tr("Run Simulation"));
  SpeedPauseButton->setToolTip(tr("Pause Simulation"));
  ShowRecordingState();
}

void TMainForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Guarded([this] { RetranslateUi(); });
  QMainWindow::changeEvent(event);
}

void TMainForm1::SetLanguage(TLanguage language) {
  Translations.Install(language);
  MainMenu1.Check(language == TLanguage::English ? "MnuEnglish" : "MnuJapanese");
  // Qt delivers its change notices later; the menu reads right from now on.
  RetranslateUi();
}

void TMainForm1::MnuJapaneseClick() {
  SetLanguage(TLanguage::Japanese);
  KeepLanguage(TLanguage::Japanese);
}

void TMainForm1::MnuEnglishClick() {
  SetLanguage(TLanguage::English);
  KeepLanguage(TLanguage::English);
}

void TMainForm1::KeepLanguage(TLanguage language) {
  if (StoreLanguage(language)) return;
  throw EError(QCoreApplication::translate(
                   "Messages",
                   "The language is changed, but it cannot be kept for the next start: the "
                   "settings file \"%1\" could not be written")
                   .arg(QDir::toNativeSeparators(SettingsFileName())));
}

void TMainForm1::FormCreate() {
  CreateComponents();

  VersionDlg = std::make_unique<TBetaVersionDlg>(this);
  UndulatorDlg = std::make_unique<TUndulatorSetupDlg>(Commands, this);
  ZoomView = std::make_unique<TZoomViewForm>(Commands, this);
  SpeedForm = std::make_unique<TSpeedControlForm>(Commands, this);

  const QScreen* screen = QGuiApplication::primaryScreen();
  FrameMs = FrameIntervalOf(screen);
  const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
  if (screenSize.width() > 0 && screenSize.height() > 0) {
    LastGoodAspectRatio = static_cast<double>(screenSize.height() - ChartTop) / screenSize.width();
  }
  move(0, 0);
  resize(screenSize);
  // Place the central area now, so that the plot has its size before the first show.
  if (layout()) layout()->activate();
  FormResize();

  Series1().AddPoint(0.0, 0.0, ChargeMarkerPen);
  // The start-up values are the program's own and always taken.
  if (TRefusal refusal = Commands.Start()) throw EError(refusal);
  ApplySmoothLines();
  ShowReset();
  Timer1->start();
}

bool TMainForm1::FormShow() {
  if (!VersionDlg || VersionDlg->ShowModal() != mrOk) return false;
  MnuByMouseClick();
  showMaximized();
  return true;
}

void TMainForm1::CreateRemainingWindows() {
  if (!ModelSize) ModelSize = std::make_unique<TModelSizeDlg>(Commands, this);
  if (!PatternForm) PatternForm = std::make_unique<TRadiationPatternForm>(State, this);
  if (!CircleDlg) CircleDlg = std::make_unique<TCircleTrjDlg>(Commands, this);
  if (!LineDlg) LineDlg = std::make_unique<TLineTrjDlg>(Commands, this);
  if (!DipoleDlg) DipoleDlg = std::make_unique<TDipoleOscSetupDlg>(Commands, this);
  if (!RaceTrackDlg) RaceTrackDlg = std::make_unique<TRaceTrackSetupDlg>(Commands, this);
  if (!ResolutionDlg) ResolutionDlg = std::make_unique<TPlotResolutionDlg>(Commands, this);
  if (!BendDlg) BendDlg = std::make_unique<TBendingDlg>(Commands, this);
  if (!PhysicalDlg) PhysicalDlg = std::make_unique<TPhysicalModelDlg>(Commands, this);
  ApplySmoothLines();
}

// ---- Layout ----

void TMainForm1::FormResize() {
  const QWidget* client = centralWidget();
  if (!client || !Chart1) return;
  const int width = client->width();
  const int height = client->height();
  Bevel1->setGeometry(0, 0, width, 2);
  Chart1->setGeometry(0, ChartTop, width, std::max(0, height - ChartTop));

  // A plot with no width or height (the window shrunk to nothing or minimised) has no shape:
  // keep the last one rather than dividing by zero.
  if (Chart1->width() > 0 && Chart1->height() > 0) {
    LastGoodAspectRatio = static_cast<double>(Chart1->height()) / Chart1->width();
  }
  // A video keeps one picture size from its first frame to its last.
  if (Recorder && Chart1->size() != RecordingChartSize) EndRecording(TRecordingEnd::WindowResized);
  // Lower end first: after a far pan the surface may refuse it, and then the rest is skipped.
  Chart1->SetAxisRange(TPlotSurface::TAxisId::Left, -LastGoodAspectRatio, LastGoodAspectRatio);
  Chart1->SetAxisRange(TPlotSurface::TAxisId::Bottom, -1.0, 1.0);
  Series1().RequestRedraw();
}

bool TMainForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    Guarded([this] { FormResize(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm1::closeEvent(QCloseEvent* event) {
  Guarded([&] {
    event->accept();
    // The video is finished before the program ends, so that it plays.
    EndRecording();
    emit Closed();
  });
}

void TMainForm1::MnuExitClick() {
  close();
}

// ---- The animation tick and run control ----

int TMainForm1::EffectiveIntervalMs() const {
  return std::max({1, State.TimerInterval, FrameMs});
}

bool TMainForm1::PictureOutstanding() const {
  if (!Chart1->RedrawPending() || !Chart1->isVisible()) return false;
  // A plot with no area (the window shrunk to its menu and buttons) is never painted either.
  if (Chart1->width() <= 0 || Chart1->height() <= 0) return false;
  // A window that cannot be seen paints nothing; its ticks run by the timer alone.
  const QWindow* handle = window()->windowHandle();
  return handle && handle->isExposed();
}

void TMainForm1::Chart1Redrawn() {
  if (!TickDeferred) return;
  TickDeferred = false;
  // Not from inside the paint: the tick asks for the next one.
  QTimer::singleShot(0, this, [this] {
    Guarded([this] {
      if (Timer1->isActive() && !PictureOutstanding()) Timer1Timer();
    });
  });
}

void TMainForm1::SetTimerEnabled(bool enabled) {
  if (enabled) {
    if (!Timer1->isActive()) Timer1->start();
  } else {
    Timer1->stop();
    TickDeferred = false;
  }
}

void TMainForm1::Timer1Timer() {
  const int interval = EffectiveIntervalMs();
  if (Timer1->interval() != interval) Timer1->setInterval(interval);

  std::optional<TVector2> cursor;
  if (State.TrajectoryMode == tmMouse && Dragging) {
    const QPoint position = CursorSource ? CursorSource() : Chart1->CursorPosition();
    cursor = TVector2{Chart1->PixelToValueX(position.x()), Chart1->PixelToValueY(position.y())};
  }
  // A new pass of the undulator or the bending magnet resets the simulation on the way.
  if (Commands.RunTick(cursor).PassRestarted) ShowReset();
  if (PatternForm) PatternForm->ChargeTicked();

  Series1().SetPointX(0, State.FieldSimulation.ChargePos.X);
  Series1().SetPointY(0, State.FieldSimulation.ChargePos.Y);
  Series1().RequestRedraw();
  // Asked here too, not only after the main plot's picture: a plot that is not painted (hidden,
  // or with no area) must not leave the magnified view standing still.
  if (ZoomView && ZoomView->isVisible()) ZoomView->RequestChartRedraw();
  if (Recorder) RecordTick();
  if (StopAfterTick) SetTimerEnabled(false);
}

void TMainForm1::MnuResetClick() {
  Commands.Reset();
  ShowReset();
}

void TMainForm1::ShowReset() {
  const TVector2 start = ResetStartOf(State).StartPos;
  Series1().SetPointX(0, start.X);
  Series1().SetPointY(0, start.Y);
  Series1().RequestRedraw();
  if (PatternForm) PatternForm->SimulationReset();
}

void TMainForm1::MnuByMouseClick() {
  if (TRefusal refusal = Commands.ChooseTrajectory(tmMouse, Commands.Trajectory()))
    throw EError(refusal);
  MainMenu1.Check("MnuByMouse");
  ShowReset();
}

void TMainForm1::Series1Click(int x, int y) {
  Dragging = Series1().HitTestPoint(x, y) == 0;
}

void TMainForm1::Chart1MouseUp() {
  Dragging = false;
}

void TMainForm1::SpeedRunButtonClick() {
  StopAfterTick = false;
  SetTimerEnabled(true);
  SpeedPauseButton->setChecked(false);
}

void TMainForm1::SpeedPauseButtonClick() {
  // One more tick runs, and that tick switches the timer off: a single step.
  StopAfterTick = true;
  SetTimerEnabled(true);
  SpeedRunButton->setChecked(false);
}

void TMainForm1::MnuRunClick() {
  SpeedRunButton->setChecked(true);
  SetTimerEnabled(true);
}

void TMainForm1::MnuPauseClick() {
  SpeedPauseButton->setChecked(true);
  SetTimerEnabled(false);
}

// ---- The picture ----

void TMainForm1::Chart1AfterDraw(TPlotSurface& sender, TCanvas& canvas) {
  DrawMainOverlay({canvas, sender.Mapping(), TVector2{}, Display().PlotResolution}, State,
                  Display(), sender.Mapping().PixelRatio);
  // The zoom view follows every picture of the main plot.
  if (ZoomView && ZoomView->isVisible()) ZoomView->RequestChartRedraw();
}

void TMainForm1::ToggleDisplaySwitch(bool TDisplaySettings::*setting, const char* itemName) {
  TDisplaySettings display = Display();
  display.*setting = !MainMenu1.IsChecked(itemName);
  if (TRefusal refusal = Commands.SetDisplay(display)) throw EError(refusal);
  MainMenu1.SetChecked(itemName, Display().*setting);
}

void TMainForm1::mnuPlotWaveFrontClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowWaveFronts, "mnuPlotWaveFront");
}

void TMainForm1::mnuPlotEFieldLinesClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowFieldLines, "mnuPlotEFieldLines");
}

void TMainForm1::mnuPlotNodePointsClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowNodePoints, "mnuPlotNodePoints");
}

void TMainForm1::mnuSmoothLinesClick() {
  ToggleDisplaySwitch(&TDisplaySettings::SmoothLines, "mnuSmoothLines");
  ApplySmoothLines();
}

void TMainForm1::ApplySmoothLines() {
  const bool smooth = Display().SmoothLines;
  MainMenu1.SetChecked("mnuSmoothLines", smooth);
  TPlotSurface* const surfaces[] = {Chart1, ZoomView ? &ZoomView->Chart1() : nullptr,
                                    PatternForm ? &PatternForm->Chart1() : nullptr};
  for (TPlotSurface* surface : surfaces) {
    if (!surface || surface->SmoothLines == smooth) continue;
    surface->SmoothLines = smooth;
    surface->RequestRedraw();
  }
}

void TMainForm1::MnuFieldMonitorClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowFieldVectors, "MnuFieldMonitor");
  Series1().RequestRedraw();
}

// ---- Trajectory commands ----

void TMainForm1::TrajectoryChosen(const char* itemName) {
  MainMenu1.Check(itemName);
  ShowReset();
  if (PatternForm) PatternForm->MotionChanged();
}

void TMainForm1::mnuStraightLineClick() {
  if (!LineDlg || LineDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("mnuStraightLine");
}

void TMainForm1::MnuDipoleClick() {
  if (!DipoleDlg || DipoleDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("MnuDipole");
}

void TMainForm1::MnuCircleClick() {
  if (!CircleDlg || CircleDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("MnuCircle");
}

void TMainForm1::MnuUndulatorClick() {
  if (!UndulatorDlg || UndulatorDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("MnuUndulator");
}

void TMainForm1::mnuRacetrackClick() {
  if (!RaceTrackDlg || RaceTrackDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("mnuRacetrack");
}

void TMainForm1::mnuBendingClick() {
  if (!BendDlg || BendDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("mnuBending");
}

// ---- Model size ----

void TMainForm1::ModelResized(const char* itemName) {
  // A video keeps one model from its first frame to its last.
  EndRecording(TRecordingEnd::ModelChanged);
  MnuPauseClick();
  MainMenu1.Check(itemName);
  ShowReset();
  if (PatternForm) PatternForm->MotionChanged();
}

void TMainForm1::ChooseModelSize(const TModelSizePreset& preset, const char* itemName) {
  if (TRefusal refusal =
          Commands.ChooseModelSize({preset.ISize, preset.JSize, preset.WaveFrontSpacing}))
    throw EError(refusal);
  ModelResized(itemName);
}

void TMainForm1::MnuMdlLargeClick() {
  ChooseModelSize(ModelSizeLarge, "MnuMdlLarge");
}
void TMainForm1::MnuMdlMediumClick() {
  ChooseModelSize(ModelSizeMedium, "MnuMdlMedium");
}
void TMainForm1::MnuMdlSmallClick() {
  ChooseModelSize(ModelSizeSmall, "MnuMdlSmall");
}

void TMainForm1::MnuMdlCustomClick() {
  if (!ModelSize || ModelSize->ShowModal() != mrOk) return;
  ModelResized("MnuMdlCustom");
}

// ---- Settings, windows, help, print, zoom ----

void TMainForm1::MnuScaleUnitClick() {}

void TMainForm1::PlotResolution1Click() {
  if (ResolutionDlg) ResolutionDlg->ShowModal();
}

void TMainForm1::PhysicalModelClick() {
  if (PhysicalDlg) PhysicalDlg->ShowModal();
}

void TMainForm1::MnuSpeedClick() {
  if (SpeedForm) SpeedForm->ShowModal();
}

void TMainForm1::mnuShowZoomClick() {
  if (!ZoomView) return;
  ZoomView->show();
  ZoomView->raise();
  // Its "+" and "-" act where it has the focus: opened from the keyboard, it must have it at once.
  ZoomView->activateWindow();
}

void TMainForm1::mnuShowPowerPatternClick() {
  if (!PatternForm) return;
  PatternForm->show();
  PatternForm->raise();
}

void TMainForm1::MnuHelpClick() {
  if (VersionDlg) VersionDlg->ShowModal();
}

QPrinter& TMainForm1::ThePrinter() {
  if (!Printer) Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *Printer;
}

void TMainForm1::MnuPrintClick() {
  QPrinter& printer = ThePrinter();
  bool confirmed = false;
  if (RunPrintDialog) {
    confirmed = RunPrintDialog(printer);
  } else {
    QPrintDialog dialog(&printer, this);
    confirmed = dialog.exec() == QDialog::Accepted;
  }
  if (confirmed) Chart1->PrintChart(printer);
}

void TMainForm1::MnuPrinterSetUpClick() {
  QPrinter& printer = ThePrinter();
  if (RunPageSetupDialog) {
    RunPageSetupDialog(printer);
  } else {
    QPageSetupDialog dialog(&printer, this);
    dialog.exec();
  }
}

void TMainForm1::MnuSavePictureClick() {
  QString path;
  if (RunSavePictureDialog) {
    path = RunSavePictureDialog();
  } else {
    QFileDialog dialog(this, tr("Save picture"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix gets the one of the chosen type.
    OfferFileTypes(dialog, {tr("PNG picture (*.png)"), tr("SVG drawing (*.svg)")});
    dialog.selectFile(QStringLiteral("halvoran-radiation.png"));
    FitToScreen(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      path = dialog.selectedFiles().constFirst();
  }
  if (path.isEmpty()) return;
  TPictureGeometry geometry;
  geometry.LogicalSize = Chart1->size();
  geometry.PixelRatio = Chart1->DevicePixelRatio();
  geometry.Range = {Chart1->BottomAxis(), Chart1->LeftAxis()};
  SaveMainPicture(path, State, Display(), geometry);
}

void TMainForm1::MnuRunPauseClick() {
  if (Timer1->isActive() && !StopAfterTick) {
    MnuPauseClick();
    return;
  }
  SpeedRunButton->setChecked(true);
  SpeedRunButtonClick();
}

void TMainForm1::MnuStepClick() {
  SpeedPauseButton->setChecked(true);
  SpeedPauseButtonClick();
}

void TMainForm1::MnuFullScreenClick() {
  // Only the full-screen flag changes, so that leaving full screen gives back the window as it
  // was: maximised, or at the size and place the user gave it.
  setWindowState(windowState() ^ Qt::WindowFullScreen);
  MainMenu1.SetChecked("MnuFullScreen", isFullScreen());
}

// ---- Recording ----

void TMainForm1::MnuRecordAnimationClick() {
  if (Recorder) {
    EndRecording();
    return;
  }
  // Told before a file is asked for: the plot as it stands is what the video would show.
  Series1().RequestRedraw();
  Chart1->FlushRedraw();
  const QString tooLarge = VideoSizeRefusal(Chart1->Buffer().size());
  if (!tooLarge.isEmpty()) {
    throw EError(tr("The animation cannot be recorded at this size: %1. Make the window smaller, "
                    "then start the recording again.")
                     .arg(tooLarge));
  }
  QString path;
  if (AskRecordingFile) {
    path = AskRecordingFile();
  } else {
    QFileDialog dialog(this, tr("Record animation"));
    dialog.setObjectName(QStringLiteral("RecordingFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix gets the one of the chosen type.
    OfferFileTypes(
        dialog, {tr("MP4 video (*.mp4)"), tr("WebM video (*.webm)"), tr("Animated GIF (*.gif)")});
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitToScreen(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      path = dialog.selectedFiles().constFirst();
    }
  }
  if (path.isEmpty()) return;

  // The picture of the plot as it stands gives the video its size in device pixels.
  Series1().RequestRedraw();
  Chart1->FlushRedraw();
  const QSize pictureSize = Chart1->Buffer().size();
  const std::optional<TVideoFormat> format = VideoFormatOfPath(path);
  const int rate =
      StandardFrameRate(1000.0 / EffectiveIntervalMs(), format.value_or(TVideoFormat::Mp4));
  TVideoRecorderOptions options = RecordingOptions;
  // Ended from outside (SIGTERM at logout, Ctrl+C in the terminal), the window closes as if the
  // user closed it, which finishes the video, instead of dying with the video half written.
  options.OnStopSignal = [this](int) { close(); };
  // Throws with the file and the reason; nothing changes then.
  Recorder = std::make_unique<TVideoRecorder>(path, pictureSize, rate, std::move(options));
  RecordedTicks = 0;
  RecordingChartSize = Chart1->size();
  ShowRecordingState();
}

void TMainForm1::RecordTick() {
  Chart1->FlushRedraw();
  const QImage& picture = Chart1->Buffer();
  // A picture of another size (the screen's pixel ratio changed) ends the file.
  if (Recorder->Failed()) {
    EndRecording();
    return;
  }
  if (picture.size() != Recorder->PictureSize()) {
    EndRecording(TRecordingEnd::PixelRatioChanged);
    return;
  }
  Recorder->AddFrame(picture);
  ++RecordedTicks;
  ShowRecordingTime();
}

void TMainForm1::EndRecording(TRecordingEnd why) {
  if (!Recorder) return;
  const std::unique_ptr<TVideoRecorder> recorder = std::move(Recorder);
  ShowRecordingState();
  // The command that ends a recording goes on whatever became of the file: its error is shown
  // here.
  Guarded([&] {
    const TRecordingSummary summary = recorder->Finish();
    const QString file = QDir::toNativeSeparators(summary.Path);
    // A recording that ends by itself is said so: the REC sign alone goes out unnoticed, and the
    // user would record on into nothing.
    QStringList lines;
    if (why == TRecordingEnd::WindowResized)
      lines << tr("The recording to \"%1\" ended because the window changed its size: a video "
                  "keeps one picture size. The video is complete up to that moment.")
                   .arg(file);
    else if (why == TRecordingEnd::ModelChanged)
      lines << tr("The recording to \"%1\" ended because the model size changed. The video is "
                  "complete up to that moment.")
                   .arg(file);
    else if (why == TRecordingEnd::PixelRatioChanged)
      lines << tr("The recording to \"%1\" ended because the screen's pixel ratio changed: a "
                  "video keeps one picture size. The video is complete up to that moment.")
                   .arg(file);
    if (summary.FramesDropped > 0)
      lines << tr("The animation was recorded to \"%1\", but %2 of its %3 frames were dropped "
                  "because the encoder fell behind; the video stands still at those moments.")
                   .arg(file)
                   .arg(summary.FramesDropped)
                   .arg(summary.FramesWritten + summary.FramesDropped);
    if (lines.isEmpty()) return;
    const QString text = lines.join(QLatin1Char('\n'));
    if (ShowRecordingReport) {
      ShowRecordingReport(text);
    } else {
      auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("HalvoranRadiation"),
                                  text, QMessageBox::Ok, this);
      box->setAttribute(Qt::WA_DeleteOnClose);
      box->open();
    }
  });
}

void TMainForm1::ShowRecordingState() {
  // The language can change before the window has its components.
  if (!RecordingLabel) return;
  if (!Recorder) {
    RecordingLabel->hide();
    MainMenu1.SetCaption("MnuRecordAnimation", "&アニメーションを録画…", "Record animation",
                         Translations);
    return;
  }
  MainMenu1.SetCaption("MnuRecordAnimation", "&録画を停止", "Stop recording", Translations);
  ShowRecordingTime();
  RecordingLabel->show();
}

void TMainForm1::ShowRecordingTime() {
  // The length of the video so far, at its own frame rate.
  const long long seconds = RecordedTicks / Recorder->FrameRate();
  // Read at every tick, so that a language chosen while recording shows at once.
  const QString text = tr("\u25cf REC %1:%2")
                           .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                           .arg(seconds % 60, 2, 10, QLatin1Char('0'));
  // Set only when it reads differently, once a second: a new text repaints the label.
  if (RecordingLabel->text() != text) RecordingLabel->setText(text);
}

void TMainForm1::Chart1Zoom(TPlotSurface& sender) {
  if (sender.width() > 0 && sender.height() > 0) {
    LastGoodAspectRatio = static_cast<double>(sender.height()) / sender.width();
  }
  // Keep the rectangle's width and vertical centre; make its height that of equal scales.
  const double span =
      (sender.BottomAxis().Maximum - sender.BottomAxis().Minimum) * LastGoodAspectRatio;
  const double centre = (sender.LeftAxis().Minimum + sender.LeftAxis().Maximum) * 0.5;
  sender.SetAxisRange(TPlotSurface::TAxisId::Left, centre - span * 0.5, centre + span * 0.5);
  Series1().RequestRedraw();
}

// ---- Music (the submenu stays disabled) ----

void TMainForm1::mnuMusicPlayClick() {
  MediaPlayer1.Play();
  MainMenu1.Check("mnuMusicPlay");
}

void TMainForm1::mnuMusicPAUSEClick() {
  MediaPlayer1.PauseOrResume();
  MainMenu1.Check("mnuMusicPAUSE");
}

void TMainForm1::mnuMusicSTOPClick() {
  MediaPlayer1.StopAndRewind();
  MainMenu1.Check("mnuMusicSTOP");
}
