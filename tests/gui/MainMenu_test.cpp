// SPDX-License-Identifier: GPL-3.0-or-later
// The main menu: its tree of captions, tooltips, groups and marks, and each command driven end to
// end through its dialog (accepted, cancelled, refused), the model sizes and printing.
#include <gtest/gtest.h>

#include <iterator>

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "MainFormDriver.h"
#include "engine/AnimationStep.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

namespace {

class MainMenuTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Form->CreateRemainingWindows();
    Form->MnuPauseClick();
  }
  QAction& Item(const char* name) { return Form->MainMenu1.Item(name); }
  bool Checked(const char* name) { return Form->MainMenu1.IsChecked(name); }

  // Picks the item with its dialog driven by drive.
  void Choose(const char* name, std::function<void(QWidget&)> drive) {
    WhenModal(std::move(drive));
    Item(name).trigger();
  }
  static void Type(QWidget& dialog, const char* box, const QString& text) {
    auto* combo = dialog.findChild<QComboBox*>(QString::fromLatin1(box));
    ASSERT_NE(combo, nullptr) << box;
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), text);
  }
};

TEST_F(MainMenuTest, TheTreeHasItsCaptionsAndEnglishTooltips) {
  struct Row {
    const char* name;
    const char* caption;
    const char* meaning;
  };
  const Row rows[] = {
      {"MnuFile", "&ファイル", "File"},
      {"MnuPrinterSetUp", "&プリンタ設定", "Printer setup"},
      {"MnuPrint", "&プリント", "Print"},
      {"MnuSavePicture", "&画像を保存…", "Save picture"},
      {"MnuRecordAnimation", "&アニメーションを録画…", "Record animation"},
      {"MnuExit", "&終了", "Exit"},
      {"Setup", "&セットアップ", "Setup"},
      {"MnuTrajectory", "&放射の種類", "Kind of radiation"},
      {"MnuByMouse", "&マウス入力", "Mouse input"},
      {"mnuStraightLine", "&直線", "Straight line"},
      {"MnuDipole", "&単振動", "Harmonic oscillation"},
      {"MnuCircle", "&円軌道", "Circular orbit"},
      {"MnuUndulator", "&アンジュレータ", "Undulator"},
      {"mnuRacetrack", "&レーストラック", "Race track"},
      {"mnuBending", "&偏向磁石", "Bending magnet"},
      {"MnuModelSize", "&計算モデルの大きさ", "Size of the computation model"},
      {"MnuMdlLarge", "&最大", "Largest"},
      {"MnuMdlMedium", "&中間", "Medium"},
      {"MnuMdlSmall", "&最小", "Smallest"},
      {"MnuMdlCustom", "&任意サイズ", "Any size"},
      {"MnuScaleUnit", "&スケール単位", "Scale unit"},
      {"PlotResolution1", "&プロット分解能", "Plot resolution"},
      {"PhysicalModel", "&物理モデル\u3000", "Physical model"},
      {"MnuSpeed", "&波の速さ", "Wave speed"},
      {"mnuSoundEffect", "&音楽効果", "Music effect"},
      {"mnuMusicPlay", "Music PLAY", nullptr},
      {"mnuMusicPAUSE", "Music PAUSE", nullptr},
      {"mnuMusicSTOP", "Music STOP", nullptr},
      {"MnuView", "&表示", "View"},
      {"mnuFieldPlot", "&表示方法", "Display method"},
      {"mnuPlotWaveFront", "&波面を表示", "Show wavefronts"},
      {"mnuPlotEFieldLines", "&電気力線表示", "Show electric field lines"},
      {"mnuPlotNodePoints", "&ノードポイント表示", "Show node points"},
      {"mnuShowZoom", "&拡大ウインドウ表示", "Show magnified window"},
      {"mnuShowPowerPattern", "&パワーパターン表示", "Show power pattern"},
      {"mnuShowCaption", "&キャプションと縮尺", "Caption and scale bar"},
      {"mnuProjectorTheme", "&プロジェクタ用配色", "Projector theme"},
      {"MnuFullScreen", "&全画面表示", "Full screen"},
      {"MnuFieldMonitor", "&電界ベクトル表示", "Show field vectors"},
      {"MnuRuns", "&実行", "Run"},
      {"MnuReset", "&リセット", "Reset"},
      {"MnuRun", "&実行", "Run"},
      {"MnuPause", "&一時停止", "Pause"},
      {"MnuRunPause", "&実行／一時停止", "Run / pause"},
      {"MnuStep", "&コマ送り", "Single step"},
      {"MnuOpenScene", "&シーンを開く…", "Open scene"},
      {"MnuSaveScene", "&シーンを保存…", "Save scene"},
      {"MnuLessons", "&レッスン", "Lessons"},
      {"MnuHelpMenu", "&ヘルプ", "Help"},
      {"MnuHelpModel", "&図の見方", "What the picture shows"},
      {"MnuHelp", "&バージョン情報", "Version information"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Item(row.name).text(), QString::fromUtf8(row.caption));
    if (row.meaning) {
      EXPECT_EQ(Item(row.name).toolTip(), QString::fromUtf8(row.meaning));
    }
  }
  EXPECT_TRUE(Item("PhysicalModel").text().endsWith(QChar(0x3000)));

  // The menu bar holds the six top-level items in order; help is a submenu of the page viewer
  // and the version window.
  const QList<QAction*> top = Form->menuBar()->actions();
  const char* order[] = {"MnuFile", "Setup", "MnuView", "MnuRuns", "MnuLessons", "MnuHelpMenu"};
  ASSERT_EQ(top.size(), static_cast<int>(std::size(order)));
  for (int i = 0; i < top.size(); ++i) EXPECT_EQ(top[i]->objectName(), order[i]);
  const QList<QAction*> help = Form->MainMenu1.Menu("MnuHelpMenu").actions();
  ASSERT_EQ(help.size(), 2);
  EXPECT_EQ(help[0]->objectName(), "MnuHelpModel");
  EXPECT_EQ(help[1]->objectName(), "MnuHelp");
  // The two new View switches come right after the power pattern.
  const QList<QAction*> view = Form->MainMenu1.Menu("MnuView").actions();
  const auto at = [&](const char* name) {
    for (int i = 0; i < view.size(); ++i)
      if (view[i]->objectName() == QLatin1String(name)) return i;
    return -1;
  };
  EXPECT_EQ(at("mnuShowCaption"), at("mnuShowPowerPattern") + 1);
  EXPECT_EQ(at("mnuProjectorTheme"), at("mnuShowPowerPattern") + 2);
  EXPECT_TRUE(Form->MainMenu1.Menu("MnuTrajectory").toolTipsVisible());
  // The trajectory kinds sit in the Setup menu's first submenu, in the table's order.
  const QList<QAction*> kinds = Form->MainMenu1.Menu("MnuTrajectory").actions();
  ASSERT_EQ(kinds.size(), 7);
  EXPECT_EQ(kinds[0]->objectName(), "MnuByMouse");
  EXPECT_EQ(kinds[6]->objectName(), "mnuBending");
}

TEST_F(MainMenuTest, GroupsAndMarksAreAsAtStartUp) {
  const auto groupOf = [&](const char* name) { return Item(name).actionGroup(); };
  QActionGroup* kinds = groupOf("MnuByMouse");
  ASSERT_NE(kinds, nullptr);
  EXPECT_TRUE(kinds->isExclusive());
  for (const char* name : {"mnuStraightLine", "MnuDipole", "MnuCircle", "MnuUndulator",
                           "mnuRacetrack", "mnuBending"}) {
    EXPECT_EQ(groupOf(name), kinds) << name;
  }
  QActionGroup* sizes = groupOf("MnuMdlMedium");
  ASSERT_NE(sizes, nullptr);
  EXPECT_NE(sizes, kinds);
  EXPECT_EQ(groupOf("MnuMdlCustom"), sizes);
  EXPECT_EQ(groupOf("mnuMusicPlay"), groupOf("mnuMusicSTOP"));
  EXPECT_EQ(groupOf("mnuPlotWaveFront"), nullptr);  // independent check items
  EXPECT_EQ(groupOf("MnuFieldMonitor"), nullptr);
  EXPECT_TRUE(Item("MnuFieldMonitor").isCheckable());
  for (const char* name : {"mnuShowCaption", "mnuProjectorTheme"}) {
    EXPECT_EQ(groupOf(name), nullptr) << name;
    EXPECT_TRUE(Item(name).isCheckable()) << name;
  }

  for (const char* name :
       {"MnuByMouse", "MnuMdlMedium", "mnuMusicSTOP", "mnuPlotEFieldLines", "mnuShowCaption"}) {
    EXPECT_TRUE(Checked(name)) << name;
  }
  for (const char* name : {"MnuCircle", "MnuMdlLarge", "mnuPlotWaveFront", "mnuPlotNodePoints",
                           "MnuFieldMonitor", "mnuProjectorTheme"}) {
    EXPECT_FALSE(Checked(name)) << name;
  }
  EXPECT_FALSE(Item("mnuSoundEffect").isEnabled());
  EXPECT_TRUE(Item("MnuPrint").isEnabled());
}

TEST_F(MainMenuTest, DisplayTogglesFlipTheirOptionAndMark) {
  Item("mnuPlotWaveFront").trigger();
  EXPECT_TRUE(Checked("mnuPlotWaveFront"));
  EXPECT_TRUE(Form->Display().ShowWaveFronts);
  Item("mnuPlotWaveFront").trigger();
  EXPECT_FALSE(Checked("mnuPlotWaveFront"));
  EXPECT_FALSE(Form->Display().ShowWaveFronts);
  Item("mnuPlotNodePoints").trigger();
  EXPECT_TRUE(Form->Display().ShowNodePoints);
  Item("mnuPlotEFieldLines").trigger();
  EXPECT_FALSE(Form->Display().ShowFieldLines);
  EXPECT_FALSE(Checked("mnuPlotEFieldLines"));
  EXPECT_TRUE(Form->Display().ShowCaption);
  Item("mnuShowCaption").trigger();
  EXPECT_FALSE(Form->Display().ShowCaption);
  EXPECT_FALSE(Checked("mnuShowCaption"));
  Item("mnuProjectorTheme").trigger();
  EXPECT_EQ(Form->Display().Theme, TTheme::Projector);
  EXPECT_TRUE(Checked("mnuProjectorTheme"));
  Item("mnuProjectorTheme").trigger();
  EXPECT_EQ(Form->Display().Theme, TTheme::Dark);
  EXPECT_FALSE(Checked("mnuProjectorTheme"));
}

TEST_F(MainMenuTest, EachTrajectoryAcceptedSetsModeMarkPathAndResets) {
  struct Row {
    const char* item;
    int mode;
  };
  const Row rows[] = {{"mnuStraightLine", tmStraightLine},
                      {"MnuDipole", tmDipole},
                      {"MnuCircle", tmCircle},
                      {"MnuUndulator", tmUndulator},
                      {"mnuRacetrack", tmRaceTrack},
                      {"mnuBending", tmBending}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    State.FrameIndex = 17;
    Choose(row.item, [](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
    EXPECT_EQ(State.TrajectoryMode, row.mode);
    EXPECT_TRUE(Checked(row.item));
    EXPECT_FALSE(Checked("MnuByMouse"));
    EXPECT_GE(State.PathGeneration.Path.SampleCount, 2);
    EXPECT_EQ(State.FrameIndex, 0);
    const TResetStart start = ResetStartOf(State);
    EXPECT_NEAR(State.FieldSimulation.ChargePos.X, start.StartPos.X, 1e-12);
    EXPECT_EQ(Form->Series1().Points()[0].X, start.StartPos.X);
    EXPECT_FALSE(Form->Timer1->isActive());  // the timer is not touched
  }
  // The default circle: 140 samples at the default size.
  Choose("MnuCircle", [](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
  EXPECT_EQ(State.PathGeneration.Path.SampleCount, 140);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(MainMenuTest, ACancelledDialogChangesNothing) {
  Choose("MnuCircle", [](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
  const int samples = State.PathGeneration.Path.SampleCount;
  State.FrameIndex = 9;
  for (const char* item : {"mnuStraightLine", "MnuUndulator", "mnuBending"}) {
    SCOPED_TRACE(item);
    Choose(item, [](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(State.TrajectoryMode, tmCircle);
    EXPECT_TRUE(Checked("MnuCircle"));
    EXPECT_FALSE(Checked(item));
    EXPECT_EQ(State.PathGeneration.Path.SampleCount, samples);
    EXPECT_EQ(State.FrameIndex, 9);
  }
  Choose("MnuDipole", [](QWidget& dialog) { dialog.close(); });
  EXPECT_EQ(State.TrajectoryMode, tmCircle);
  EXPECT_TRUE(Checked("MnuCircle"));
}

TEST_F(MainMenuTest, ATrajectoryTheEngineRefusesChangesNothing) {
  Choose("MnuCircle", [](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
  const int samples = State.PathGeneration.Path.SampleCount;
  const double nodeX = State.FieldSimulation.Nodes[5][3].X;
  // An undulator period of 0 cm: the dialog takes it, the engine cannot build it.
  Choose("MnuUndulator", [](QWidget& dialog) {
    Type(dialog, "List_Lu", QStringLiteral("0"));
    ClickButton(dialog, "OKBtn");
  });
  ASSERT_FALSE(Shown.isEmpty());
  EXPECT_TRUE(Shown.last().contains("period")) << Shown.join("; ").toStdString();
  EXPECT_EQ(State.TrajectoryMode, tmCircle);
  EXPECT_TRUE(Checked("MnuCircle"));
  EXPECT_FALSE(Checked("MnuUndulator"));
  EXPECT_EQ(State.PathGeneration.Path.SampleCount, samples);
  EXPECT_EQ(State.FieldSimulation.Nodes[5][3].X, nodeX);
}

TEST_F(MainMenuTest, ModelSizePresetsPauseResizeAndReset) {
  struct Row {
    const char* item;
    TModelSizePreset size;
  };
  const Row rows[] = {{"MnuMdlLarge", ModelSizeLarge},
                      {"MnuMdlSmall", ModelSizeSmall},
                      {"MnuMdlMedium", ModelSizeMedium}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    Form->MnuRunClick();
    Item(row.item).trigger();
    EXPECT_FALSE(Form->Timer1->isActive());
    EXPECT_TRUE(Form->SpeedPauseButton->isChecked());
    EXPECT_EQ(State.ISize, row.size.ISize);
    EXPECT_EQ(State.JSize, row.size.JSize);
    EXPECT_EQ(State.WaveFrontSpacing, row.size.WaveFrontSpacing);
    EXPECT_TRUE(Checked(row.item));
    EXPECT_EQ(State.FieldSimulation.Nodes.size(), static_cast<std::size_t>(row.size.ISize) + 1);
    EXPECT_EQ(State.FieldSimulation.Nodes[0].size(), static_cast<std::size_t>(row.size.JSize) + 1);
    EXPECT_DOUBLE_EQ(State.FieldSimulation.WaveVelocity, ModelWidth / row.size.ISize);
    EXPECT_EQ(State.FrameIndex, 0);
  }
}

TEST_F(MainMenuTest, ANewModelSizeRunsThePathAtTheSpeedItsDialogGave) {
  // The samples lie one tick's travel apart, beta x the wave speed ModelWidth / ISize: kept from
  // the old size, a model twice as tall would run the circle at twice its 0.9, faster than light.
  Choose("MnuCircle", [](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
  struct Row {
    const char* item;
    int rows;
  };
  for (const Row& row : {Row{"MnuMdlLarge", 400}, Row{"MnuMdlSmall", 100},
                         Row{"MnuMdlMedium", 200}}) {
    SCOPED_TRACE(row.item);
    Item(row.item).trigger();
    const auto& samples = State.PathGeneration.Path.Samples;
    ASSERT_GE(samples.size(), 2u);
    const double step = std::hypot(samples[1].X - samples[0].X, samples[1].Y - samples[0].Y);
    // A chord of the arc step: shorter by a share of s^2 / 24 R^2, under 4e-4 here.
    EXPECT_NEAR(step / (ModelWidth / row.rows), 0.9, 1e-3);
    // And the charge takes those steps.
    const TVector2 before = State.FieldSimulation.ChargePos;
    Form->Timer1Timer();
    const TVector2 after = State.FieldSimulation.ChargePos;
    EXPECT_NEAR(std::hypot(after.X - before.X, after.Y - before.Y) / (ModelWidth / row.rows), 0.9,
                1e-3);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(MainMenuTest, ACancelledUndulatorEditNeverReachesThePathKept) {
  // Edits typed into the undulator dialog and cancelled are gone. The path chosen before must run
  // on as chosen at a new size and after a reset: sampled again from the cancelled 0.5 and K 5,
  // it would crawl at half the speed and swing five times as far, and a reset entering at 0.5
  // would send a kink out along every line at each new pass.
  Choose("MnuUndulator", [](QWidget& dialog) { ClickButton(dialog, "OKBtn"); });
  const auto swing = [this] {
    const auto& samples = State.PathGeneration.Path.Samples;
    const auto [low, high] = std::minmax_element(
        samples.begin(), samples.end(), [](const auto& a, const auto& b) { return a.Y < b.Y; });
    return high->Y - low->Y;
  };
  const double chosenSwing = swing();
  Choose("MnuUndulator", [](QWidget& dialog) {
    Type(dialog, "List_beta", QStringLiteral("0.5"));
    Type(dialog, "List_K", QStringLiteral("5"));
    ClickButton(dialog, "CancelBtn");
  });
  ASSERT_EQ(State.Trajectory.UndBeta, 0.95) << "the cancelled edit was kept";
  for (const char* item : {"MnuMdlSmall", "MnuMdlLarge", "MnuMdlMedium", "MnuReset"}) {
    SCOPED_TRACE(item);
    Item(item).trigger();
    const double w = State.FieldSimulation.WaveVelocity;
    const auto& samples = State.PathGeneration.Path.Samples;
    // On the entry straight the samples lie one step of arc apart along x.
    EXPECT_NEAR((samples[1].X - samples[0].X) / w, 0.95, 1e-9);
    // The crests fall between samples differently at each step: within a few per cent.
    EXPECT_NEAR(swing(), chosenSwing, 0.03 * chosenSwing);
    EXPECT_NEAR(State.FieldSimulation.Beta, 0.95, 1e-12) << "the reset's arrival speed";
    const double before = State.FieldSimulation.ChargePos.X;
    Form->Timer1Timer();
    EXPECT_NEAR((State.FieldSimulation.ChargePos.X - before) / w, 0.95, 1e-9);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(MainMenuTest, ASizeAtWhichThePathCannotBeSampledChangesNothing) {
  // A line at 0.0006 of the wave speed takes 166,667 ticks at 200 rows and twice that at 400,
  // beyond what a path may hold.
  Choose("mnuStraightLine", [](QWidget& dialog) {
    Type(dialog, "List_Velocity", QStringLiteral("0.0006"));
    ClickButton(dialog, "OKBtn");
  });
  ASSERT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
  const int samples = State.PathGeneration.Path.SampleCount;
  const double nodeX = State.FieldSimulation.Nodes[5][3].X;
  Item("MnuMdlLarge").trigger();
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown.last().contains("ticks")) << Shown.last().toStdString();
  Choose("MnuMdlCustom", [](QWidget& dialog) {
    Type(dialog, "List_Isize", QStringLiteral("2000"));
    ClickButton(dialog, "OKBtn");
  });
  EXPECT_EQ(Shown.size(), 2);
  EXPECT_EQ(State.ISize, 200);
  EXPECT_TRUE(Checked("MnuMdlMedium"));
  EXPECT_FALSE(Checked("MnuMdlLarge"));
  EXPECT_FALSE(Checked("MnuMdlCustom"));
  EXPECT_EQ(State.FieldSimulation.Nodes.size(), 201u);
  EXPECT_EQ(State.PathGeneration.Path.SampleCount, samples);
  EXPECT_EQ(State.FieldSimulation.Nodes[5][3].X, nodeX);
}

TEST_F(MainMenuTest, TheCustomSizeRebuildsOnOkOnly) {
  Choose("MnuMdlCustom", [](QWidget& dialog) {
    Type(dialog, "List_Isize", QStringLiteral("300"));
    Type(dialog, "List_Jsize", QStringLiteral("30"));
    ClickButton(dialog, "OKBtn");
  });
  EXPECT_EQ(State.ISize, 300);
  EXPECT_EQ(State.JSize, 30);
  EXPECT_EQ(State.WaveFrontSpacing, 5);  // kept
  EXPECT_TRUE(Checked("MnuMdlCustom"));
  EXPECT_EQ(State.FieldSimulation.Nodes.size(), 301u);
  EXPECT_FALSE(Form->Timer1->isActive());

  Item("MnuMdlMedium").trigger();
  Form->MnuRunClick();
  Choose("MnuMdlCustom", [](QWidget& dialog) {
    Type(dialog, "List_Isize", QStringLiteral("50"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(State.ISize, 200);
  EXPECT_TRUE(Checked("MnuMdlMedium"));
  EXPECT_FALSE(Checked("MnuMdlCustom"));
  EXPECT_TRUE(Form->Timer1->isActive());  // a cancelled custom size does not pause
  Form->MnuPauseClick();
}

TEST_F(MainMenuTest, PrintWritesTheChartToTheChosenPrinter) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("chart.pdf"));
  bool asked = false;
  Form->RunPrintDialog = [&](QPrinter& printer) {
    asked = true;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  };
  Item("MnuPrint").trigger();
  EXPECT_TRUE(asked);
  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
  EXPECT_GT(pdf.size(), 1000);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();

  // Cancelling the print dialog prints nothing.
  const QString second = dir.filePath(QStringLiteral("none.pdf"));
  Form->RunPrintDialog = [&](QPrinter& printer) {
    printer.setOutputFileName(second);
    return false;
  };
  Item("MnuPrint").trigger();
  EXPECT_FALSE(QFile::exists(second));
}

// A canvas whose drawing fails at the first line, as a printer running out of memory would.
class TFailingCanvas : public TCanvas {
 public:
  void LineTo(int, int) override { throw EError(std::string("out of ink")); }
  void Ellipse(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
};

TEST_F(MainMenuTest, AFailingPageAbortsThePrintAndIsReportedOnce) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("chart.pdf"));
  QPrinter* used = nullptr;
  Form->RunPrintDialog = [&](QPrinter& printer) {
    used = &printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  };
  // The window's own drawing fails on the page only; the screen keeps drawing.
  const auto windowDrawing = Form->Chart1->OnAfterDraw;
  int pages = 0;
  Form->Chart1->OnAfterDraw = [&](TPlotSurface& sender, TCanvas& canvas) {
    if (sender.DrawArea().Left == 0) return windowDrawing(sender, canvas);
    ++pages;
    TFailingCanvas failing;
    windowDrawing(sender, failing);
  };
  Item("MnuPrint").trigger();
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(Shown, QStringList{QStringLiteral("out of ink")});
  ASSERT_NE(used, nullptr);
  EXPECT_NE(used->printerState(), QPrinter::Active) << "the job is not left running";
  EXPECT_FALSE(QFile::exists(file)) << "no page drawn in part is left as the printout";
  EXPECT_EQ(Form->Chart1->PlotRect().Left, 0) << "the screen's mappings are back";

  // The next print, with nothing failing, goes through.
  Shown.clear();
  Form->Chart1->OnAfterDraw = windowDrawing;
  Item("MnuPrint").trigger();
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
  EXPECT_EQ(used->printerState(), QPrinter::Idle);
  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
}

TEST_F(MainMenuTest, WindowsAndSettingsOpenFromTheMenu) {
  // The panels are docked in the main window (not shown here): shown with it.
  Item("mnuShowZoom").trigger();
  ASSERT_NE(Form->ZoomViewForm(), nullptr);
  EXPECT_TRUE(Form->ZoomViewForm()->isVisibleTo(Form.get()));
  Item("mnuShowPowerPattern").trigger();
  ASSERT_NE(Form->RadiationPatternForm(), nullptr);
  EXPECT_TRUE(Form->RadiationPatternForm()->isVisibleTo(Form.get()));

  // Help shows the version window; its result is ignored.
  bool shown = false;
  Choose("MnuHelp", [&shown](QWidget& dialog) {
    shown = dialog.windowTitle() == "Version Info.";
    dialog.close();
  });
  EXPECT_TRUE(shown);

  for (const char* item : {"PlotResolution1", "PhysicalModel", "MnuSpeed"}) {
    bool opened = false;
    Choose(item, [&opened](QWidget& dialog) {
      opened = true;
      dialog.close();
    });
    EXPECT_TRUE(opened) << item;
  }
  bool scaleUnit = false;
  Choose("MnuScaleUnit", [&scaleUnit](QWidget& dialog) {
    scaleUnit = dialog.windowTitle() == "Scale Unit";
    dialog.close();
  });
  EXPECT_TRUE(scaleUnit);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(MainMenuTest, MusicCommandsOnlyMoveTheirMarks) {
  Form->mnuMusicPlayClick();
  EXPECT_EQ(Form->MediaPlayer1.Mode(), TMusicState::Playing);
  EXPECT_TRUE(Checked("mnuMusicPlay"));
  Form->mnuMusicPAUSEClick();
  EXPECT_EQ(Form->MediaPlayer1.Mode(), TMusicState::Paused);
  Form->mnuMusicPAUSEClick();
  EXPECT_EQ(Form->MediaPlayer1.Mode(), TMusicState::Playing);
  EXPECT_TRUE(Checked("mnuMusicPAUSE"));
  Form->mnuMusicSTOPClick();
  EXPECT_EQ(Form->MediaPlayer1.Mode(), TMusicState::Stopped);
  EXPECT_EQ(Form->MediaPlayer1.Position(), 0);
  EXPECT_TRUE(Checked("mnuMusicSTOP"));
  EXPECT_FALSE(Checked("mnuMusicPlay"));
}

}  // namespace
