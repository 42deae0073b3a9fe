// SPDX-License-Identifier: GPL-3.0-or-later
// The menu tree as one table: level, component name, caption, meaning, handler, group, marks.
#include "mainwindow/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <cstdlib>
#include <vector>

#include "mainwindow/MainWindow.h"
#include "app/GuardedCall.h"

namespace {

using THandler = void (TMainForm1::*)();

enum class TKind { Submenu, Command };

struct TMenuEntry {
  int Level;  // 1: on the menu bar
  TKind Kind;
  const char* Name;
  const char* Caption;  // UTF-8; "&" marks the access key; translated in the context TMainMenu
  const char* Meaning;  // the Japanese caption's tooltip; the English caption where none is given
  THandler Handler;     // nullptr: the item does nothing
  int Group;            // 0: none; -1: an independent check item; 1..3: a radio group
  bool Checked;
  bool Enabled;
};

constexpr int CheckItem = -1;

// clang-format off
const TMenuEntry MenuTable[] = {
  {1, TKind::Submenu, "MnuFile",            "&ファイル",            "File",                          nullptr, 0, false, true},
  {2, TKind::Command, "MnuPrinterSetUp",    "&プリンタ設定",        "Printer setup",                 &TMainForm1::MnuPrinterSetUpClick, 0, false, true},
  {2, TKind::Command, "MnuPrint",           "&プリント",            "Print",                         &TMainForm1::MnuPrintClick, 0, false, true},
  {2, TKind::Command, "MnuSavePicture",     "&画像を保存…",         "Save picture",                  &TMainForm1::MnuSavePictureClick, 0, false, true},
  {2, TKind::Command, "MnuRecordAnimation", "&アニメーションを録画…", "Record animation",         &TMainForm1::MnuRecordAnimationClick, 0, false, true},
  {2, TKind::Command, "MnuOpenScene",       "&シーンを開く…",       "Open scene",                    &TMainForm1::MnuOpenSceneClick, 0, false, true},
  {2, TKind::Command, "MnuSaveScene",       "&シーンを保存…",       "Save scene",                    &TMainForm1::MnuSaveSceneClick, 0, false, true},
  {2, TKind::Command, "MnuExit",            "&終了",                "Exit",                          &TMainForm1::MnuExitClick, 0, false, true},
  {1, TKind::Submenu, "Setup",              "&セットアップ",        "Setup",                         nullptr, 0, false, true},
  {2, TKind::Submenu, "MnuTrajectory",      "&放射の種類",          "Kind of radiation",             nullptr, 0, false, true},
  {3, TKind::Command, "MnuByMouse",         "&マウス入力",          "Mouse input",                   &TMainForm1::MnuByMouseClick, 2, true, true},
  {3, TKind::Command, "mnuStraightLine",    "&直線",                "Straight line",                 &TMainForm1::mnuStraightLineClick, 2, false, true},
  {3, TKind::Command, "MnuDipole",          "&単振動",              "Harmonic oscillation",          &TMainForm1::MnuDipoleClick, 2, false, true},
  {3, TKind::Command, "MnuCircle",          "&円軌道",              "Circular orbit",                &TMainForm1::MnuCircleClick, 2, false, true},
  {3, TKind::Command, "MnuUndulator",       "&アンジュレータ",      "Undulator",                     &TMainForm1::MnuUndulatorClick, 2, false, true},
  {3, TKind::Command, "mnuRacetrack",       "&レーストラック",      "Race track",                    &TMainForm1::mnuRacetrackClick, 2, false, true},
  {3, TKind::Command, "mnuBending",         "&偏向磁石",            "Bending magnet",                &TMainForm1::mnuBendingClick, 2, false, true},
  {2, TKind::Submenu, "MnuModelSize",       "&計算モデルの大きさ",  "Size of the computation model", nullptr, 0, false, true},
  {3, TKind::Command, "MnuMdlLarge",        "&最大",                "Largest",                       &TMainForm1::MnuMdlLargeClick, 3, false, true},
  {3, TKind::Command, "MnuMdlMedium",       "&中間",                "Medium",                        &TMainForm1::MnuMdlMediumClick, 3, true, true},
  {3, TKind::Command, "MnuMdlSmall",        "&最小",                "Smallest",                      &TMainForm1::MnuMdlSmallClick, 3, false, true},
  {3, TKind::Command, "MnuMdlCustom",       "&任意サイズ",          "Any size",                      &TMainForm1::MnuMdlCustomClick, 3, false, true},
  {2, TKind::Command, "MnuScaleUnit",       "&スケール単位",        "Scale unit",                    &TMainForm1::MnuScaleUnitClick, 0, false, true},
  {2, TKind::Command, "PlotResolution1",    "&プロット分解能",      "Plot resolution",               &TMainForm1::PlotResolution1Click, 0, false, true},
  {2, TKind::Command, "PhysicalModel",      "&物理モデル\u3000",    "Physical model",                &TMainForm1::PhysicalModelClick, 0, false, true},
  {2, TKind::Command, "MnuSpeed",           "&波の速さ",            "Wave speed",                    &TMainForm1::MnuSpeedClick, 0, false, true},
  {2, TKind::Submenu, "mnuSoundEffect",     "&音楽効果",            "Music effect",                  nullptr, 0, false, false},
  {3, TKind::Command, "mnuMusicPlay",       "Music PLAY",           "Music play",                    &TMainForm1::mnuMusicPlayClick, 1, false, true},
  {3, TKind::Command, "mnuMusicPAUSE",      "Music PAUSE",          "Music pause",                   &TMainForm1::mnuMusicPAUSEClick, 1, false, true},
  {3, TKind::Command, "mnuMusicSTOP",       "Music STOP",           "Music stop",                    &TMainForm1::mnuMusicSTOPClick, 1, true, true},
  {1, TKind::Submenu, "MnuView",            "&表示",                "View",                          nullptr, 0, false, true},
  {2, TKind::Submenu, "mnuFieldPlot",       "&表示方法",            "Display method",                nullptr, 0, false, true},
  {3, TKind::Command, "mnuPlotWaveFront",   "&波面を表示",          "Show wavefronts",               &TMainForm1::mnuPlotWaveFrontClick, CheckItem, false, true},
  {3, TKind::Command, "mnuPlotEFieldLines", "&電気力線表示",        "Show electric field lines",     &TMainForm1::mnuPlotEFieldLinesClick, CheckItem, true, true},
  {3, TKind::Command, "mnuPlotNodePoints",  "&ノードポイント表示",  "Show node points",              &TMainForm1::mnuPlotNodePointsClick, CheckItem, false, true},
  {3, TKind::Command, "mnuSmoothLines",     "&滑らかな線",          "Smooth lines",                  &TMainForm1::mnuSmoothLinesClick, CheckItem, true, true},
  {2, TKind::Command, "mnuShowZoom",        "&拡大ウインドウ表示",  "Show magnified window",         &TMainForm1::mnuShowZoomClick, 0, false, true},
  {2, TKind::Command, "mnuShowPowerPattern","&パワーパターン表示",  "Show power pattern",            &TMainForm1::mnuShowPowerPatternClick, 0, false, true},
  {2, TKind::Command, "mnuShowCaption",     "&キャプションと縮尺",  "Caption and scale bar",         &TMainForm1::mnuShowCaptionClick, CheckItem, true, true},
  {2, TKind::Command, "mnuProjectorTheme",  "&プロジェクタ用配色",  "Projector theme",               &TMainForm1::mnuProjectorThemeClick, CheckItem, false, true},
  {2, TKind::Command, "MnuFullScreen",      "&全画面表示",          "Full screen",                   &TMainForm1::MnuFullScreenClick, CheckItem, false, true},
  {2, TKind::Command, "MnuFieldMonitor",    "&電界ベクトル表示",    "Show field vectors",            &TMainForm1::MnuFieldMonitorClick, CheckItem, false, true},
  {2, TKind::Command, "mnuObserver",        "&観測点",              "Observer",                      &TMainForm1::mnuObserverClick, CheckItem, false, true},
  {2, TKind::Submenu, "MnuLanguage",        "&言語 / Language",     "Language",                      nullptr, 0, false, true},
  {3, TKind::Command, "MnuJapanese",        "日本語",               "Japanese",                      &TMainForm1::MnuJapaneseClick, 4, true, true},
  {3, TKind::Command, "MnuEnglish",         "English",              "English",                       &TMainForm1::MnuEnglishClick, 4, false, true},
  {1, TKind::Submenu, "MnuRuns",            "&実行",                "Run",                           nullptr, 0, false, true},
  {2, TKind::Command, "MnuReset",           "&リセット",            "Reset",                         &TMainForm1::MnuResetClick, 0, false, true},
  {2, TKind::Command, "MnuRun",             "&実行",                "Run",                           &TMainForm1::MnuRunClick, 0, false, true},
  {2, TKind::Command, "MnuPause",           "&一時停止",            "Pause",                         &TMainForm1::MnuPauseClick, 0, false, true},
  {2, TKind::Command, "MnuRunPause",        "&実行／一時停止",      "Run / pause",                   &TMainForm1::MnuRunPauseClick, 0, false, true},
  {2, TKind::Command, "MnuStep",            "&コマ送り",            "Single step",                   &TMainForm1::MnuStepClick, 0, false, true},
  // Its items are the built-in lessons, added by the window from their index.
  {1, TKind::Submenu, "MnuLessons",         "&レッスン",            "Lessons",                       nullptr, 0, false, true},
  {1, TKind::Submenu, "MnuHelpMenu",        "&ヘルプ",              "Help",                          nullptr, 0, false, true},
  {2, TKind::Command, "MnuHelpModel",       "&図の見方",            "What the picture shows",        &TMainForm1::MnuHelpModelClick, 0, false, true},
  {2, TKind::Command, "MnuHelp",            "&バージョン情報",      "Version information",           &TMainForm1::MnuHelpClick, 0, false, true},
};
// clang-format on

// The keys shown beside their items. Space and the letters act while the main window is active.
struct TShortcutEntry {
  const char* Name;
  const char* Keys;  // Qt's portable text
};
const TShortcutEntry ShortcutTable[] = {
    {"MnuSavePicture", "Ctrl+S"}, {"MnuPrint", "Ctrl+P"}, {"MnuExit", "Ctrl+Q"},
    {"MnuFullScreen", "F11"},     {"MnuReset", "R"},      {"MnuRunPause", "Space"},
    {"MnuStep", "S"},             {"MnuOpenScene", "Ctrl+O"}, {"MnuSaveScene", "Ctrl+Shift+S"},
    {"MnuHelpModel", "F1"},
};

// The caption without its access key, its ellipsis and the blank that ends some Japanese captions.
QString PlainCaption(const QString& caption) {
  QString plain = QString(caption).remove(QLatin1Char('&')).trimmed();
  if (plain.endsWith(QChar(0x2026))) plain.chop(1);
  if (plain.endsWith(QLatin1String("..."))) plain.chop(3);
  return plain.trimmed();
}

}  // namespace

void TMainMenu::Build(QMenuBar& bar, TMainForm1& form) {
  std::vector<QMenu*> openMenus;  // openMenus[level - 2] is the submenu that level-N items go in
  std::map<int, QActionGroup*> groups;

  for (const TMenuEntry& entry : MenuTable) {
    openMenus.resize(static_cast<std::size_t>(entry.Level - 1));
    QMenu* parentMenu = entry.Level > 1 ? openMenus.back() : nullptr;
    const QString caption = QString::fromUtf8(entry.Caption);
    const QString meaning = QString::fromUtf8(entry.Meaning);

    QAction* action = nullptr;
    if (entry.Kind == TKind::Submenu) {
      QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : bar.addMenu(caption);
      menu->setObjectName(QString::fromUtf8(entry.Name));
      menu->setToolTipsVisible(true);
      Menus[entry.Name] = menu;
      openMenus.push_back(menu);
      action = menu->menuAction();
    } else {
      action = parentMenu ? parentMenu->addAction(caption) : bar.addAction(caption);
    }
    action->setObjectName(QString::fromUtf8(entry.Name));
    action->setToolTip(meaning);
    action->setStatusTip(meaning);
    action->setEnabled(entry.Enabled);
    Items[entry.Name] = action;

    if (entry.Group != 0) {
      action->setCheckable(true);
      if (entry.Group > 0) {
        QActionGroup*& group = groups[entry.Group];
        if (!group) {
          group = new QActionGroup(&form);
          group->setObjectName(QStringLiteral("RadioGroup%1").arg(entry.Group));
          group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        }
        group->addAction(action);
        GroupOf[action] = group;
        if (entry.Checked) ConfirmedInGroup[group] = action;
      }
      action->setChecked(entry.Checked);
    }

    if (entry.Handler) {
      const THandler handler = entry.Handler;
      QObject::connect(action, &QAction::triggered, &form, [this, action, handler, &form] {
        Guarded([&] {
          UndoAutomaticCheck(*action);
          (form.*handler)();
        });
      });
    }
  }
  for (const TShortcutEntry& entry : ShortcutTable)
    Item(entry.Name).setShortcut(QKeySequence(QString::fromLatin1(entry.Keys)));
}

void TMainMenu::Retranslate(const TTranslations& translations) {
  for (const TMenuEntry& entry : MenuTable) {
    if (Items.count(entry.Name) != 0)
      SetCaption(entry.Name, entry.Caption, entry.Meaning, translations);
  }
}

void TMainMenu::SetCaption(const char* name, const char* caption, const char* meaning,
                           const TTranslations& translations) {
  const QString written = QString::fromUtf8(caption);
  const QString english = QString::fromUtf8(meaning);
  QString text = written;
  QString tooltip = english;
  if (translations.Current() == TLanguage::English) {
    text = translations.Lookup(TLanguage::English, "TMainMenu", caption);
    // An item the catalogue does not know yet still reads in English.
    if (text.isEmpty()) text = english.isEmpty() ? written : english;
    tooltip = PlainCaption(written);
  }
  QAction& action = Item(name);
  action.setText(text);
  action.setToolTip(tooltip);
  action.setStatusTip(tooltip);
}

void TMainMenu::UndoAutomaticCheck(QAction& action) {
  if (!action.isCheckable()) return;
  const auto group = GroupOf.find(&action);
  if (group == GroupOf.end()) {
    action.setChecked(!action.isChecked());
    return;
  }
  const auto confirmed = ConfirmedInGroup.find(group->second);
  if (confirmed != ConfirmedInGroup.end()) confirmed->second->setChecked(true);
}

QAction& TMainMenu::Item(const char* name) const {
  const auto found = Items.find(name);
  if (found == Items.end()) std::abort();
  return *found->second;
}

QMenu& TMainMenu::Menu(const char* name) const {
  const auto found = Menus.find(name);
  if (found == Menus.end()) std::abort();
  return *found->second;
}

void TMainMenu::Check(const char* name) {
  QAction& action = Item(name);
  action.setChecked(true);
  const auto group = GroupOf.find(&action);
  if (group != GroupOf.end()) ConfirmedInGroup[group->second] = &action;
}

void TMainMenu::SetChecked(const char* name, bool checked) {
  Item(name).setChecked(checked);
}

bool TMainMenu::IsChecked(const char* name) const {
  return Item(name).isChecked();
}
