// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up, the animation loop with run, pause, single step, reset and mouse
// drive, the field picture after every redraw of the plot, and the menu commands. Defined by job:
// MainWindow.cpp (the window itself), AnimationLoop.cpp, ModelCommands.cpp, FileCommands.cpp,
// SceneCommands.cpp and RecordingSession.cpp.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Language.h"
#include "engine/PictureWords.h"
#include "engine/SimulationCommands.h"
#include "export/VideoRecorder.h"
#include "render/FieldDrawing.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MusicPlayer.h"
#include "plot/PlotSurface.h"
#include "scene/Scene.h"
#include "views/HelpWindow.h"

class QAction;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QLabel;
class QPrinter;
class QScrollArea;
class QTimer;
class QToolButton;
class TBendingDlg;
class TBetaVersionDlg;
class TCircleTrjDlg;
class TDipoleOscSetupDlg;
class TLineTrjDlg;
class TModelSizeDlg;
class TObserverForm;
class TPhysicalModelDlg;
class TPlotResolutionDlg;
class TRaceTrackSetupDlg;
class TRadiationPatternForm;
class TScaleUnitDlg;
class TSpeedControlForm;
class TUndulatorSetupDlg;
class TZoomViewForm;

class TMainForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // FormCreate: creates the version window, the undulator dialog, the zoom view and the wave
  // speed window (which sets TimerInterval), covers the screen, lays out the plot, adds the
  // charge marker, sizes the node table and resets. The timer runs from here on.
  explicit TMainForm1(TSimulationState& state, QWidget* parent = nullptr);
  ~TMainForm1() override;

  // Shows the version window modally. OK: mouse mode, then the window is shown maximised and
  // true returned. Anything else: false, the window stays hidden and the program is to end.
  bool FormShow();
  // The windows created after the main window has been shown, in their order of creation.
  void CreateRemainingWindows();

  // Animation and run control.
  void FormResize();
  void Timer1Timer();
  void MnuResetClick();
  void MnuByMouseClick();
  void Series1Click(int x, int y);
  void Chart1MouseUp();
  void SpeedRunButtonClick();
  void SpeedPauseButtonClick();
  void MnuRunClick();
  void MnuPauseClick();
  void MnuExitClick();

  // The picture after every redraw of Chart1.
  void Chart1AfterDraw(TPlotSurface& sender, TCanvas& canvas);
  void mnuPlotWaveFrontClick();
  void mnuPlotEFieldLinesClick();
  void mnuPlotNodePointsClick();
  void mnuSmoothLinesClick();
  // Arrows of the exact field over the main plot and the zoom view; shown at once, paused or not.
  void MnuFieldMonitorClick();

  // Menu commands.
  void mnuStraightLineClick();
  void MnuDipoleClick();
  void MnuCircleClick();
  void MnuUndulatorClick();
  void mnuRacetrackClick();
  void mnuBendingClick();
  void MnuMdlLargeClick();
  void MnuMdlMediumClick();
  void MnuMdlSmallClick();
  void MnuMdlCustomClick();
  void MnuScaleUnitClick();
  void PlotResolution1Click();
  void PhysicalModelClick();
  void MnuSpeedClick();
  // The magnified view and the power pattern are panels docked beside the plot (they may be
  // floated); the items show them, the magnified view with the keyboard's focus.
  void mnuShowZoomClick();
  void mnuShowPowerPatternClick();
  // The eye: shown with its panel (docked at the right, may be floated) or both hidden, through
  // the display settings; the panel's close box hides the eye too.
  void mnuObserverClick();
  void SetObserverShown(bool shown);
  // The View menu's mark, the panel and the picture as the display settings hold the eye, after
  // something other than its item changed them (a scene).
  void ShowObserverState();
  // The caption with its scale bar, drawn or not; and the projector theme, on or off and
  // remembered for the next start.
  void mnuShowCaptionClick();
  void mnuProjectorThemeClick();
  // The version window.
  void MnuHelpClick();
  // The Help viewer at the top of the page "What the picture shows".
  void MnuHelpModelClick();
  // The theme of this start, not remembered (the command line's --theme): every picture drawn
  // again in it, the View menu's mark with it. A refusal throws EError, to be shown by the guard.
  void ApplyTheme(TTheme theme);
  // The View menu's marks of the caption and the theme as the display settings hold them, after
  // something other than their items changed them (a scene, the command line).
  void ShowCaptionAndThemeMarks();
  // The logo over the plot: clear of the caption, in the theme's colours.
  void PlaceLogo();
  void MnuPrintClick();
  // The page setup dialog on the printer that the next print uses: its page and orientation hold.
  void MnuPrinterSetUpClick();
  // Asks for a file and writes the main plot as the window shows it: PNG at the screen's device
  // pixels, or SVG, by the file's suffix.
  void MnuSavePictureClick();
  // Space: pauses a running animation, otherwise runs it on as the run button does.
  void MnuRunPauseClick();
  // S: one tick, then paused, as the pause button does.
  void MnuStepClick();
  void MnuFullScreenClick();
  // Starts recording the animation into a video file the user names, one frame per tick from
  // the next tick on; while recording, the item stops it and the file is finished.
  void MnuRecordAnimationClick();
  bool Recording() const { return Recorder != nullptr; }
  // Height over width of the plot as last laid out with a size (a plot of no size keeps it).
  double AspectRatio() const { return LastGoodAspectRatio; }
  // A single step was asked for: the next tick switches the timer off.
  bool StepPending() const { return StopAfterTick; }
  // What the picture shows, and the commands that change it and the simulation.
  const TDisplaySettings& Display() const { return DisplaySettings; }
  TSimulationCommands& Simulation() { return Commands; }
  void Chart1Zoom(TPlotSurface& sender);
  // Scenes. Open and Save ask for a file; a lesson item opens its built-in scene.
  void MnuOpenSceneClick();
  void MnuSaveSceneClick();
  // Reads the scene file at path and applies the whole of it (ApplyWholeScene, the file's name
  // in the title); a refusal is shown with the file's name and leaves the window as it was.
  bool OpenSceneFile(const QString& path);
  // The simulation's parts through the commands, all or nothing, then the rest of it
  // (ShowSceneRest); name is the file shown in the window's title.
  TRefusal ApplyWholeScene(const TScene& scene, const QString& name);
  // What the simulation's commands do not hold, after they took scene: the menus' marks, the
  // plot's range, run or pause, the title and notes beside the plot, the file's name in the title.
  void ShowSceneRest(const TScene& scene, const QString& name);
  // The scene the window shows: the simulation, the plot's range (none while it is the start-up
  // range), whether it runs, and the texts of the scene last opened.
  TScene CurrentScene() const;
  bool Running() const;
  void mnuMusicPlayClick();
  void mnuMusicPAUSEClick();
  void mnuMusicSTOPClick();

  // The language of menus, hints and messages: installed at once, every text written again.
  // Choosing it from the menu also remembers it for the next run; SetLanguage alone does not (the
  // command line's choice holds for one run).
  void MnuJapaneseClick();
  void MnuEnglishClick();
  void SetLanguage(TLanguage language);
  TLanguage Language() const { return Translations.Current(); }

  // The shortest time between two ticks: one frame of the screen, so that no tick's picture is
  // skipped; slower wave speeds keep their own interval.
  int FrameIntervalMs() const { return FrameMs; }
  // The interval the timer runs at for the current TimerInterval.
  int EffectiveIntervalMs() const;

  // Components.
  QFrame* Bevel1 = nullptr;
  QToolButton* SpeedRunButton = nullptr;
  QToolButton* SpeedPauseButton = nullptr;
  TPlotSurface* Chart1 = nullptr;
  TPointSeries& Series1() { return Chart1->Series1(); }
  QTimer* Timer1 = nullptr;
  QLabel* HalvoranLabLogo = nullptr;
  // The caption's and the legend's words in the session's language.
  TPictureWords PictureWords = TPictureWords::English();
  QLabel* RecordingLabel = nullptr;  // "● REC 00:12" beside the speed buttons while recording
  // The lesson's paragraph at the plot's right: the scene's title in bold above its notes, hidden
  // while the scene has no notes.
  QScrollArea* LessonPanel = nullptr;
  QLabel* LessonText = nullptr;
  TMainMenu MainMenu1;
  TMusicPlayer MediaPlayer1;

  // The windows, each created once (null before it is created).
  TBetaVersionDlg* BetaVersionDlg() const { return VersionDlg.get(); }
  TUndulatorSetupDlg* UndulatorSetupDlg() const { return UndulatorDlg.get(); }
  TZoomViewForm* ZoomViewForm() const { return ZoomView.get(); }
  TSpeedControlForm* SpeedControlForm() const { return SpeedForm.get(); }
  TModelSizeDlg* ModelSizeDlg() const { return ModelSize.get(); }
  TRadiationPatternForm* RadiationPatternForm() const { return PatternForm.get(); }
  TCircleTrjDlg* CircleTrjDlg() const { return CircleDlg.get(); }
  TLineTrjDlg* LineTrjDlg() const { return LineDlg.get(); }
  TDipoleOscSetupDlg* DipoleOscSetupDlg() const { return DipoleDlg.get(); }
  TRaceTrackSetupDlg* RaceTrackSetupDlg() const { return RaceTrackDlg.get(); }
  TPlotResolutionDlg* PlotResolutionDlg() const { return ResolutionDlg.get(); }
  TBendingDlg* BendingDlg() const { return BendDlg.get(); }
  TPhysicalModelDlg* PhysicalModelDlg() const { return PhysicalDlg.get(); }
  TScaleUnitDlg* ScaleUnitDlg() const { return ScaleDlg.get(); }
  THelpWindow* HelpWindow() const { return Help.get(); }
  // The docks that hold the magnified view and the power pattern, made with the window.
  QDockWidget* ZoomDock() const { return ZoomPanel; }
  QDockWidget* PatternDock() const { return PatternPanel; }
  TObserverForm* ObserverForm() const { return Observer.get(); }
  QDockWidget* ObserverDock() const { return ObserverPanel; }
  // The eye's marker is held by the mouse: each move puts the eye under the cursor.
  bool DraggingEye = false;
  // A press this close to the eye's marker (logical pixels) takes hold of it.
  static constexpr double EyeGrabRadius = 8.0;

  // The charge's marker is held by the mouse: each tick pulls the charge towards the cursor.
  bool Dragging = false;
  // Where the tick reads the cursor while the charge is dragged, in Chart1's device pixels; the
  // real cursor unless a test puts its own source here.
  std::function<QPoint()> CursorSource;
  // Runs the print dialog for printer and says whether to print; the platform's dialog unless a
  // test puts its own here.
  std::function<bool(QPrinter& printer)> RunPrintDialog;
  // Runs the page setup dialog for printer and says whether it was accepted.
  std::function<bool(QPrinter& printer)> RunPageSetupDialog;
  // Asks for the picture file to write; empty when the user cancels.
  std::function<QString()> RunSavePictureDialog;
  // Asks for the video file to record into; empty when the user cancels. The platform's file
  // dialog unless a test puts its own here.
  std::function<QString()> AskRecordingFile;
  // Tells the user why a recording ended without being asked to, and what a finished recording
  // lost (frames dropped while the encoder fell behind); a message box unless a test puts its own
  // here.
  std::function<void(const QString& text)> ShowRecordingReport;
  // Ask for the scene file to open or to save to; empty when the user cancels. The platform's
  // file dialog unless a test puts its own here.
  std::function<QString()> AskOpenSceneFile;
  std::function<QString()> AskSaveSceneFile;
  // The queue and encoder of the next recording (tests hold the worker or name an encoder).
  TVideoRecorderOptions RecordingOptions;

 signals:
  // The window was closed: the program ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A local .json file dropped on the window is opened as a scene; other drops are not taken.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Remembers the language chosen in the menu; a settings file that cannot be written is reported
  // (the language stays changed for this run).
  void KeepLanguage(TLanguage language);
  // Remembers the theme chosen in the menu, reported as the language is.
  void KeepTheme(TTheme theme);
  // The two docks at the right of the plot, the pattern above the magnified view, both hidden.
  void CreateDocks();
  // Shows a dock; one that was hidden and is docked gets its share of the window's width.
  void ShowDock(QDockWidget& dock);
  // The width of the docks' column: the plot keeps most of the window. The observer's column,
  // with its two plots, takes a larger share.
  int DockWidth() const;
  int ObserverDockWidth() const;
  // The main plot's presses, moves and releases as the eye takes them: after Place, a press puts
  // the eye; a press on its marker drags it. True when the event was the eye's, so that the
  // plot's own gestures (the charge's drag, zoom, pan) do not see it.
  bool ObserverMouse(QEvent& event);
  // The eye under the main plot's point logical (the widget's logical pixels).
  void PlaceEyeAt(QPointF logical);
  // The Help viewer at section, made at its first use; over: the modal dialog it is opened from.
  void ShowHelp(THelpSection section, QWidget* over);
  // Every plot surface of the program on the theme's ground, drawn again.
  void ApplyThemeToPlots();
  void FormCreate();
  void CreateComponents();
  // The texts that follow the language: menu captions and tooltips, the speed buttons' hints.
  void RetranslateUi();
  // The Lessons menu's items from the built-in scenes' index, and their titles in the language
  // installed.
  void FillLessonsMenu();
  void RetitleLessons();
  // The texts of the scene shown, in the language installed; the panel hidden without notes.
  void ShowLessonTexts();
  // The plot's width beside the lesson's panel.
  int LessonPanelWidth() const;
  // What the window shows after a trajectory dialog chose its trajectory: the menu's mark, the
  // charge at the start, the pattern of the new motion.
  void TrajectoryChosen(const char* itemName);
  void ChooseModelSize(const TModelSizePreset& preset, const char* itemName);
  // After the model size changed: recording ended, paused, the menu's mark, the charge at the
  // start, the pattern of the new table.
  void ModelResized(const char* itemName);
  // The charge's marker at the start and the pattern reset: what the window shows after any
  // reset of the simulation.
  void ShowReset();
  // A View menu switch of the display settings turned over, and its check mark with it.
  void ToggleDisplaySwitch(bool TDisplaySettings::*setting, const char* itemName);
  // A deferred tick runs as soon as the picture of the last one has been painted.
  void Chart1Redrawn();
  // Every plot surface of the program draws smooth or aliased as State.SmoothLines says.
  void ApplySmoothLines();
  bool PictureOutstanding() const;
  void SetTimerEnabled(bool enabled);
  QPrinter& ThePrinter();
  // Recording: the tick's picture handed to the recorder; the end of a recording with its report
  // (errors shown, the command that ends it goes on); the item's caption and the REC label.
  void RecordTick();
  // Why a recording ends: asked for by the user (or the window closed), or because the picture
  // changed in a way one video cannot hold.
  enum class TRecordingEnd { Asked, WindowResized, ModelChanged, PixelRatioChanged };
  void EndRecording(TRecordingEnd why = TRecordingEnd::Asked);
  void ShowRecordingState();
  void ShowRecordingTime();

  TSimulationState& State;
  // The scene last opened, for its texts (in every language it has) and its view: none keeps
  // the start-up range at every resize.
  TScene SceneShown;
  std::optional<TSceneView> SceneView;
  struct TLesson {
    QAction* Item;
    TScene Scene;
    QString File;
  };
  std::vector<TLesson> Lessons;
  TDisplaySettings DisplaySettings;
  TSimulationCommands Commands{State, DisplaySettings};
  bool StopAfterTick = false;  // a single step: the tick switches the timer off
  // Declared before the windows, so that it leaves the application after them.
  TTranslations Translations;
  int FrameMs = 16;
  bool TickDeferred = false;
  double LastGoodAspectRatio = 0.5;
  std::unique_ptr<QPrinter> Printer;
  std::unique_ptr<TVideoRecorder> Recorder;
  long long RecordedTicks = 0;
  QSize RecordingChartSize;  // the plot's size in logical pixels when the recording began

  std::unique_ptr<TBetaVersionDlg> VersionDlg;
  std::unique_ptr<TUndulatorSetupDlg> UndulatorDlg;
  std::unique_ptr<TZoomViewForm> ZoomView;
  std::unique_ptr<TSpeedControlForm> SpeedForm;
  std::unique_ptr<TModelSizeDlg> ModelSize;
  std::unique_ptr<TRadiationPatternForm> PatternForm;
  std::unique_ptr<TCircleTrjDlg> CircleDlg;
  std::unique_ptr<TLineTrjDlg> LineDlg;
  std::unique_ptr<TDipoleOscSetupDlg> DipoleDlg;
  std::unique_ptr<TRaceTrackSetupDlg> RaceTrackDlg;
  std::unique_ptr<TPlotResolutionDlg> ResolutionDlg;
  std::unique_ptr<TBendingDlg> BendDlg;
  std::unique_ptr<TPhysicalModelDlg> PhysicalDlg;
  std::unique_ptr<TScaleUnitDlg> ScaleDlg;
  std::unique_ptr<THelpWindow> Help;
  std::unique_ptr<TObserverForm> Observer;
  QDockWidget* ZoomPanel = nullptr;     // owned by the window
  QDockWidget* PatternPanel = nullptr;  // owned by the window
  QDockWidget* ObserverPanel = nullptr;  // owned by the window
};
