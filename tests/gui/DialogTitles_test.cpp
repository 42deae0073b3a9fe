// SPDX-License-Identifier: GPL-3.0-or-later
// Every setup dialog titled by what it sets, in the session's language and in the words of the
// menu item that opens it, also when the language changes while the dialog exists.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <functional>
#include <iterator>

#include "MainFormDriver.h"
#include "app/Language.h"
#include "dialogs/BendingSetup.h"
#include "dialogs/CircleTrjSetup.h"
#include "dialogs/DipoleOscSetup.h"
#include "dialogs/LineTrjSetup.h"
#include "dialogs/ModelSize.h"
#include "dialogs/PhysicalModelSetup.h"
#include "dialogs/RaceTrackSetup.h"
#include "dialogs/SetPlotResolution.h"
#include "dialogs/SimSpeedCnt.h"
#include "dialogs/UndulatorSetup.h"

namespace {

struct TTitleRow {
  const char* MenuItem;  // the item that opens the dialog, or the submenu it is in
  std::function<QDialog*(TMainForm1&)> Dialog;
  const char* English;
  const char* Japanese;
};

const TTitleRow Rows[] = {
    {"mnuStraightLine", [](TMainForm1& f) -> QDialog* { return f.LineTrjDlg(); }, "Straight Line",
     "直線"},
    {"MnuDipole", [](TMainForm1& f) -> QDialog* { return f.DipoleOscSetupDlg(); },
     "Dipole Oscillation", "単振動"},
    {"MnuCircle", [](TMainForm1& f) -> QDialog* { return f.CircleTrjDlg(); }, "Circular Orbit",
     "円軌道"},
    {"mnuRacetrack", [](TMainForm1& f) -> QDialog* { return f.RaceTrackSetupDlg(); }, "Race Track",
     "レーストラック"},
    {"mnuBending", [](TMainForm1& f) -> QDialog* { return f.BendingDlg(); }, "Bending Magnet",
     "偏向磁石"},
    {"MnuUndulator", [](TMainForm1& f) -> QDialog* { return f.UndulatorSetupDlg(); }, "Undulator",
     "アンジュレータ"},
    {"PhysicalModel", [](TMainForm1& f) -> QDialog* { return f.PhysicalModelDlg(); },
     "Physical Model", "物理モデル"},
    {"MnuModelSize", [](TMainForm1& f) -> QDialog* { return f.ModelSizeDlg(); }, "Model Size",
     "計算モデルの大きさ"},
    {"PlotResolution1", [](TMainForm1& f) -> QDialog* { return f.PlotResolutionDlg(); },
     "Plot Resolution", "プロット分解能"},
    {"MnuSpeed", [](TMainForm1& f) -> QDialog* { return f.SpeedControlForm(); }, "Wave Speed",
     "波の速さ"},
};

// A menu caption as a title reads it: no access key, no ellipsis, no closing blank.
QString Plain(const QString& caption) {
  QString plain = QString(caption).remove(QLatin1Char('&')).trimmed();
  if (plain.endsWith(QChar(0x2026))) plain.chop(1);
  return plain.trimmed();
}

class DialogTitlesTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Form->CreateRemainingWindows();
    Form->MnuPauseClick();
  }

  void Switch(TLanguage language) {
    Form->SetLanguage(language);
    QCoreApplication::sendPostedEvents();
  }
};

TEST_F(DialogTitlesTest, EachDialogIsTitledInTheLanguageAfterEverySwitch) {
  for (const TLanguage language : {TLanguage::Japanese, TLanguage::English, TLanguage::Japanese}) {
    Switch(language);
    for (const TTitleRow& row : Rows) {
      QDialog* dialog = row.Dialog(*Form);
      ASSERT_NE(dialog, nullptr) << row.English;
      EXPECT_EQ(dialog->windowTitle(),
                QString::fromUtf8(language == TLanguage::English ? row.English : row.Japanese))
          << row.English << " in " << LanguageCode(language).toStdString();
    }
  }
}

// The Japanese title is the caption of the menu item that opens the dialog, so that the pupil
// finds the window under the name they chose.
TEST_F(DialogTitlesTest, TheJapaneseTitleIsTheMenusWord) {
  Switch(TLanguage::Japanese);
  for (const TTitleRow& row : Rows)
    EXPECT_EQ(row.Dialog(*Form)->windowTitle(), Plain(Form->MainMenu1.Item(row.MenuItem).text()))
        << row.English;
}

TEST_F(DialogTitlesTest, NoWindowIsLeftWithAPlaceholderTitle) {
  for (const TLanguage language : {TLanguage::Japanese, TLanguage::English}) {
    Switch(language);
    const QList<QDialog*> dialogs = Form->findChildren<QDialog*>();
    EXPECT_GE(dialogs.size(), static_cast<qsizetype>(std::size(Rows)));
    for (const QDialog* dialog : dialogs) {
      const QString title = dialog->windowTitle();
      EXPECT_FALSE(title.trimmed().isEmpty()) << dialog->objectName().toStdString();
      EXPECT_NE(title, QStringLiteral("Dialog")) << dialog->objectName().toStdString();
    }
  }
}

}  // namespace
