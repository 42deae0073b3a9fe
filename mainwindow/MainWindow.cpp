// SPDX-License-Identifier: GPL-3.0-or-later
// The main window itself: its components and their layout with the docked panels, start-up, the
// language and the theme, the Help viewer, the window events, full screen and the music.
#include "mainwindow/MainWindow.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QLayout>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/GuardedCall.h"
#include "app/PictureWordText.h"
#include "dialogs/BendingSetup.h"
#include "dialogs/BetaInfo.h"
#include "dialogs/CircleTrjSetup.h"
#include "dialogs/DipoleOscSetup.h"
#include "dialogs/LineTrjSetup.h"
#include "dialogs/ModalResult.h"
#include "dialogs/ModelSize.h"
#include "dialogs/PhysicalModelSetup.h"
#include "dialogs/RaceTrackSetup.h"
#include "dialogs/ScaleUnit.h"
#include "dialogs/ScreenFit.h"
#include "dialogs/SetPlotResolution.h"
#include "dialogs/SimSpeedCnt.h"
#include "dialogs/UndulatorSetup.h"
#include "render/MainPicture.h"
#include "render/Palette.h"
#include "views/HelpWindow.h"
#include "views/ObserverWindow.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

namespace {

constexpr int ChartTop = 30;
// The docks' column: a share of the window's width within bounds where the pattern's buttons and
// the magnified picture still have room, so that the plot keeps most of the window.
constexpr double DockShare = 0.28;
constexpr int DockMinWidth = 240;
constexpr int DockMaxWidth = 420;
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

QDockWidget* MakeDock(QMainWindow& window, const char* name) {
  auto* dock = new QDockWidget(&window);
  dock->setObjectName(QString::fromLatin1(name));
  dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                    QDockWidget::DockWidgetFloatable);
  dock->hide();
  return dock;
}

// The panel becomes a part of the dock (no window of its own any more), which is titled as the
// panel is, in either language.
void PutInDock(QDockWidget& dock, QWidget& panel) {
  dock.setWidget(&panel);
  dock.setWindowTitle(panel.windowTitle());
  QObject::connect(&panel, &QWidget::windowTitleChanged, &dock, &QWidget::setWindowTitle);
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
  // The eye sees the plot's mouse first (ObserverMouse).
  Chart1->installEventFilter(this);

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
  // Only its letters: a box would hide the field lines under it.
  HalvoranLabLogo->setAutoFillBackground(false);
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

  LessonPanel = new QScrollArea(client);
  LessonPanel->setObjectName(QStringLiteral("LessonPanel"));
  LessonPanel->setWidgetResizable(true);
  LessonPanel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  LessonPanel->setFrameShape(QFrame::NoFrame);
  LessonText = new QLabel;
  LessonText->setObjectName(QStringLiteral("LessonText"));
  LessonText->setTextFormat(Qt::RichText);
  LessonText->setWordWrap(true);
  LessonText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LessonText->setTextInteractionFlags(Qt::TextSelectableByMouse);
  LessonText->setMargin(12);
  QFont lessonFont = LessonText->font();
  lessonFont.setPointSizeF(lessonFont.pointSizeF() * 1.15);
  LessonText->setFont(lessonFont);
  LessonPanel->setWidget(LessonText);
  LessonPanel->hide();
  setAcceptDrops(true);

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
  FillLessonsMenu();
  RetranslateUi();
}

void TMainForm1::RetranslateUi() {
  MainMenu1.Retranslate(Translations);
  // The caption and the legend on the plot speak the language too.
  PictureWords = TranslatedPictureWords();
  if (Chart1) Chart1->RequestRedraw();
  SpeedRunButton->setToolTip(tr("Run Simulation"));
  SpeedPauseButton->setToolTip(tr("Pause Simulation"));
  ShowRecordingState();
  RetitleLessons();
  ShowLessonTexts();
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

void TMainForm1::KeepTheme(TTheme theme) {
  if (StoreTheme(theme)) return;
  throw EError(QCoreApplication::translate(
                   "Messages",
                   "The theme is changed, but it cannot be kept for the next start: the settings "
                   "file \"%1\" could not be written")
                   .arg(QDir::toNativeSeparators(SettingsFileName())));
}

void TMainForm1::ApplyTheme(TTheme theme) {
  TDisplaySettings display = Display();
  display.Theme = theme;
  if (TRefusal refusal = Commands.SetDisplay(display)) throw EError(refusal);
  ShowCaptionAndThemeMarks();
  ApplyThemeToPlots();
}

void TMainForm1::ShowCaptionAndThemeMarks() {
  MainMenu1.SetChecked("mnuShowCaption", Display().ShowCaption);
  MainMenu1.SetChecked("mnuProjectorTheme", Display().Theme == TTheme::Projector);
  PlaceLogo();
}

void TMainForm1::PlaceLogo() {
  if (!HalvoranLabLogo || !Chart1) return;
  // The caption takes the plot's top-left corner; the logo then moves to the top right, where it
  // hides no number of the caption.
  constexpr QSize LogoSize(258, 33);
  constexpr QPoint LogoCorner(41, 59);
  // The caption's widest line (its key of three lines) takes about this much of the plot's
  // width; on a plot too narrow for both the logo gives way.
  constexpr int CaptionWidth = 240;
  const int right = Chart1->x() + Chart1->width() - LogoCorner.x() - LogoSize.width();
  const int x = Display().ShowCaption ? std::max(LogoCorner.x(), right) : LogoCorner.x();
  HalvoranLabLogo->setGeometry(QRect(QPoint(x, LogoCorner.y()), LogoSize));
  HalvoranLabLogo->setVisible(!Display().ShowCaption || x >= Chart1->x() + CaptionWidth);
  const TPalette& palette = PaletteOf(Display().Theme);
  QPalette colours = HalvoranLabLogo->palette();
  colours.setColor(QPalette::Window, QColor(ColorRed(palette.Ground), ColorGreen(palette.Ground),
                                            ColorBlue(palette.Ground)));
  colours.setColor(QPalette::WindowText,
                   Display().Theme == TTheme::Projector ? QColor(90, 90, 90) : LogoGrey);
  HalvoranLabLogo->setPalette(colours);
}

void TMainForm1::ApplyThemeToPlots() {
  const TColor ground = PaletteOf(Display().Theme).Ground;
  TPlotSurface* const surfaces[] = {Chart1, ZoomView ? &ZoomView->Chart1() : nullptr,
                                    PatternForm ? &PatternForm->Chart1() : nullptr};
  for (TPlotSurface* surface : surfaces) {
    if (!surface) continue;
    surface->Ground = ground;
    surface->RequestRedraw();
  }
  if (PatternForm) PatternForm->ApplyTheme(Display().Theme);
  // The observer's plots read the theme when they paint.
  if (Observer) Observer->SettingsChanged();
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
  Observer = std::make_unique<TObserverForm>(Commands, this);
  connect(Observer.get(), &TObserverForm::PlacingChanged, this, [this](bool placing) {
    if (placing)
      Chart1->setCursor(Qt::CrossCursor);
    else
      Chart1->unsetCursor();
  });
  CreateDocks();
  UndulatorDlg->ShowHelp = [this](QWidget& dialog) { ShowHelp(THelpSection::Undulator, &dialog); };

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
  // The theme chosen in an earlier run; the command line may still change it for this one.
  ApplyTheme(StoredTheme());
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
  if (!ScaleDlg) ScaleDlg = std::make_unique<TScaleUnitDlg>(Commands, this);
  if (PatternPanel->widget() != PatternForm.get()) PutInDock(*PatternPanel, *PatternForm);
  ApplySmoothLines();
  ApplyThemeToPlots();
}

// ---- The docked panels ----

void TMainForm1::CreateDocks() {
  // The pattern window is made after the first show; its dock takes it then.
  PatternPanel = MakeDock(*this, "PatternDock");
  ZoomPanel = MakeDock(*this, "ZoomDock");
  PutInDock(*ZoomPanel, *ZoomView);
  addDockWidget(Qt::RightDockWidgetArea, PatternPanel);
  splitDockWidget(PatternPanel, ZoomPanel, Qt::Vertical);
  // The observer has a column of its own, at the right of the other two: its plots need the
  // height of the window.
  ObserverPanel = MakeDock(*this, "ObserverDock");
  PutInDock(*ObserverPanel, *Observer);
  addDockWidget(Qt::RightDockWidgetArea, ObserverPanel, Qt::Horizontal);
  ObserverPanel->installEventFilter(this);
  PatternPanel->hide();
  ZoomPanel->hide();
  ObserverPanel->hide();
}

int TMainForm1::DockWidth() const {
  const int share = static_cast<int>(std::lround(width() * DockShare));
  return std::clamp(share, std::min(DockMinWidth, width() / 2), DockMaxWidth);
}

void TMainForm1::ShowDock(QDockWidget& dock) {
  const bool wasHidden = dock.isHidden();
  dock.show();
  dock.raise();
  if (!wasHidden || dock.isFloating()) return;
  QList<QDockWidget*> docked;
  for (QDockWidget* each : {PatternPanel, ZoomPanel}) {
    if (each && !each->isHidden() && !each->isFloating()) docked.append(each);
  }
  resizeDocks({&dock}, {&dock == ObserverPanel ? ObserverDockWidth() : DockWidth()},
              Qt::Horizontal);
  if (docked.size() == 2) {
    const int half = std::max(1, centralWidget()->height() / 2);
    resizeDocks(docked, {half, half}, Qt::Vertical);
  }
}

// ---- Help ----

void TMainForm1::ShowHelp(THelpSection section, QWidget* over) {
  if (!Help) Help = std::make_unique<THelpWindow>(this);
  Help->ShowPage(Language(), section, over);
}

// ---- Layout ----

void TMainForm1::FormResize() {
  const QWidget* client = centralWidget();
  if (!client || !Chart1) return;
  const int width = client->width();
  const int height = client->height();
  Bevel1->setGeometry(0, 0, width, 2);
  const int panel = LessonPanelWidth();
  const int below = std::max(0, height - ChartTop);
  Chart1->setGeometry(0, ChartTop, width - panel, below);
  if (panel > 0) LessonPanel->setGeometry(width - panel, ChartTop, panel, below);
  PlaceLogo();

  // A plot with no width or height (the window shrunk to nothing or minimised) has no shape:
  // keep the last one rather than dividing by zero.
  if (Chart1->width() > 0 && Chart1->height() > 0) {
    LastGoodAspectRatio = static_cast<double>(Chart1->height()) / Chart1->width();
  }
  // A video keeps one picture size from its first frame to its last.
  if (Recorder && Chart1->size() != RecordingChartSize) EndRecording(TRecordingEnd::WindowResized);
  // Lower end first: after a far pan the surface may refuse it, and then the rest is skipped. A
  // scene's range holds as it was saved, whatever the plot's shape.
  if (SceneView) {
    Chart1->SetAxisRange(TPlotSurface::TAxisId::Left, SceneView->YMin, SceneView->YMax);
    Chart1->SetAxisRange(TPlotSurface::TAxisId::Bottom, SceneView->XMin, SceneView->XMax);
  } else {
    Chart1->SetAxisRange(TPlotSurface::TAxisId::Left, -LastGoodAspectRatio, LastGoodAspectRatio);
    Chart1->SetAxisRange(TPlotSurface::TAxisId::Bottom, -1.0, 1.0);
  }
  Series1().RequestRedraw();
}

bool TMainForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    Guarded([this] { FormResize(); });
  }
  if (watched == Chart1) {
    bool taken = false;
    Guarded([&] { taken = ObserverMouse(*event); });
    if (taken) return true;
  }
  // The panel's close box (docked or floating) hides the eye with it.
  if (watched == ObserverPanel && event->type() == QEvent::Close) {
    Guarded([this] {
      if (Display().Observer.Shown) SetObserverShown(false);
    });
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

void TMainForm1::MnuHelpClick() {
  if (VersionDlg) VersionDlg->ShowModal();
}

void TMainForm1::MnuFullScreenClick() {
  // Only the full-screen flag changes, so that leaving full screen gives back the window as it
  // was: maximised, or at the size and place the user gave it.
  setWindowState(windowState() ^ Qt::WindowFullScreen);
  MainMenu1.SetChecked("MnuFullScreen", isFullScreen());
}

// ---- Recording ----

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
