// SPDX-License-Identifier: GPL-3.0-or-later
// The scale unit window: its lists show the unit in force, OK sets what they show and Cancel,
// Esc and the close box set nothing; the undulator and the bending magnet show their own fixed
// scale with the lists disabled; the window opened from the Setup menu; its Japanese texts.
#include "dialogs/ScaleUnit.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "MainFormDriver.h"
#include "dialogs/ModalResult.h"
#include "engine/SimulationCommands.h"

namespace {

class ScaleUnitTest : public ErrorRecordingTest {
 protected:
  void SetUp() override {
    ErrorRecordingTest::SetUp();
    ASSERT_FALSE(Commands.Start());
  }
  // Runs the dialog with act done inside its loop; its result.
  int Run(TScaleUnitDlg& dialog, const std::function<void(TScaleUnitDlg&)>& act) {
    WhenModal([&](QWidget&) { act(dialog); });
    return dialog.ShowModal();
  }
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
};

TEST_F(ScaleUnitTest, OpensOnTheUnitInForceWithWhatItIsFor) {
  TScaleUnitDlg dialog(Commands);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Scale Unit"));
  EXPECT_EQ(dialog.WidthLabel->text(), QStringLiteral("Window width is equal to"));
  EXPECT_FALSE(dialog.List_Scale->isEditable());
  EXPECT_FALSE(dialog.List_Unit->isEditable());
  Run(dialog, [](TScaleUnitDlg& shown) {
    // The default: the plot is 100 m wide.
    EXPECT_EQ(shown.List_Scale->currentText(), QStringLiteral("100"));
    EXPECT_EQ(shown.List_Unit->currentText(), QStringLiteral("m"));
    EXPECT_EQ(shown.List_Scale->count(), 3);
    EXPECT_EQ(shown.List_Unit->itemText(0), QStringLiteral("km"));
    EXPECT_EQ(shown.List_Unit->itemText(2), QStringLiteral("mm"));
    EXPECT_TRUE(shown.List_Scale->isEnabled());
    EXPECT_TRUE(shown.List_Unit->isEnabled());
    EXPECT_TRUE(shown.ScaleNote->text().startsWith("The length the plot's default width"));
    shown.CancelBtnClick();
  });
}

// Every pair of the lists is taken by OK, from any unit in force; the other ways out take none.
TEST_F(ScaleUnitTest, OkTakesWhatTheListsShowAndTheOtherWaysOutNothing) {
  enum class TExit { Ok, Cancel, Escape, CloseBox };
  const struct {
    const char* Name;
    TScaleUnit Before;
    int ScaleRow;
    int UnitRow;
    TExit Exit;
    TScaleUnit After;
  } rows[] = {
      {"10 km", {}, 1, 0, TExit::Ok, {10, TLengthUnit::Kilometre}},
      {"1 mm", {}, 0, 2, TExit::Ok, {1, TLengthUnit::Millimetre}},
      {"100 m again", {1, TLengthUnit::Millimetre}, 2, 1, TExit::Ok, {100, TLengthUnit::Metre}},
      {"unchanged", {10, TLengthUnit::Kilometre}, 1, 0, TExit::Ok, {10, TLengthUnit::Kilometre}},
      {"cancel", {}, 0, 0, TExit::Cancel, {}},
      {"escape", {10, TLengthUnit::Millimetre}, 2, 0, TExit::Escape, {10, TLengthUnit::Millimetre}},
      {"close box", {}, 1, 2, TExit::CloseBox, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TDisplaySettings display = Commands.Display();
    display.ScaleUnit = row.Before;
    ASSERT_FALSE(Commands.SetDisplay(display));
    TScaleUnitDlg dialog(Commands);
    const int result = Run(dialog, [&](TScaleUnitDlg& shown) {
      shown.List_Scale->setCurrentIndex(row.ScaleRow);
      shown.List_Unit->setCurrentIndex(row.UnitRow);
      switch (row.Exit) {
        case TExit::Ok:
          QTest::mouseClick(shown.OKBtn, Qt::LeftButton);
          break;
        case TExit::Cancel:
          QTest::mouseClick(shown.CancelBtn, Qt::LeftButton);
          break;
        case TExit::Escape:
          QTest::keyClick(&shown, Qt::Key_Escape);
          break;
        case TExit::CloseBox:
          shown.close();
          break;
      }
    });
    EXPECT_EQ(result, row.Exit == TExit::Ok ? mrOk : mrCancel);
    EXPECT_EQ(Commands.Display().ScaleUnit, row.After);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

// The paths set up in metres show their 2 m plot, and OK leaves the unit of the others alone; a
// later path of the others shows that unit again.
TEST_F(ScaleUnitTest, TheUndulatorAndTheBendingMagnetShowTheirFixedScale) {
  TDisplaySettings display = Commands.Display();
  display.ScaleUnit = {10, TLengthUnit::Kilometre};
  ASSERT_FALSE(Commands.SetDisplay(display));
  const struct {
    const char* Name;
    int Mode;
    bool Fixed;
  } rows[] = {{"undulator", tmUndulator, true}, {"circle", tmCircle, false},
              {"bending", tmBending, true},     {"mouse", tmMouse, false},
              {"dipole", tmDipole, false},      {"race track", tmRaceTrack, false},
              {"line", tmStraightLine, false}};
  TScaleUnitDlg dialog(Commands);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    ASSERT_FALSE(Commands.ChooseTrajectory(row.Mode, TTrajectoryParameters{}));
    EXPECT_EQ(dialog.ScaleIsFixed(), row.Fixed);
    Run(dialog, [&](TScaleUnitDlg& shown) {
      EXPECT_EQ(shown.List_Scale->currentText(), row.Fixed ? "2" : "10");
      EXPECT_EQ(shown.List_Unit->currentText(), row.Fixed ? "m" : "km");
      EXPECT_EQ(shown.List_Scale->isEnabled(), !row.Fixed);
      EXPECT_EQ(shown.List_Unit->isEnabled(), !row.Fixed);
      EXPECT_EQ(shown.ScaleNote->text().startsWith("The undulator and the bending magnet set"),
                row.Fixed);
      QTest::mouseClick(shown.OKBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Commands.Display().ScaleUnit, (TScaleUnit{10, TLengthUnit::Kilometre}));
  }
  ASSERT_FALSE(Commands.ChooseTrajectory(tmBending, TTrajectoryParameters{}));
  Run(dialog, [](TScaleUnitDlg& shown) {
    EXPECT_EQ(shown.ScaleNote->text(),
              "The undulator and the bending magnet set their own scale: the plot is 2 m wide.");
    // The sentence wraps within the window, whole.
    EXPECT_GE(shown.ScaleNote->height(), shown.ScaleNote->heightForWidth(shown.ScaleNote->width()));
    shown.CancelBtnClick();
  });
}

class ScaleUnitInMainWindowTest : public MainFormTest {};

TEST_F(ScaleUnitInMainWindowTest, TheSetupItemOpensItAndItsChoiceHolds) {
  Form->CreateRemainingWindows();
  WhenModal([](QWidget& dialog) {
    auto* scale = dialog.findChild<QComboBox*>(QStringLiteral("List_Scale"));
    auto* unit = dialog.findChild<QComboBox*>(QStringLiteral("List_Unit"));
    ASSERT_NE(scale, nullptr);
    ASSERT_NE(unit, nullptr);
    scale->setCurrentIndex(0);
    unit->setCurrentIndex(0);
    ClickButton(dialog, "OKBtn");
  });
  Form->MainMenu1.Item("MnuScaleUnit").trigger();
  EXPECT_EQ(Form->Display().ScaleUnit, (TScaleUnit{1, TLengthUnit::Kilometre}));

  // In Japanese.
  Form->SetLanguage(TLanguage::Japanese);
  QCoreApplication::sendPostedEvents();
  TScaleUnitDlg& dialog = *Form->ScaleUnitDlg();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("スケール単位"));
  EXPECT_EQ(dialog.WidthLabel->text(), QString::fromUtf8("ウインドウの幅は"));
  EXPECT_EQ(dialog.CancelBtn->text(), QString::fromUtf8("キャンセル"));
  EXPECT_TRUE(dialog.ScaleNote->text().contains(QString::fromUtf8("偏向磁石")));
  Form->SetLanguage(TLanguage::English);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Scale Unit"));
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

}  // namespace
