// SPDX-License-Identifier: GPL-3.0-or-later
// The model size, plot resolution, physical model and wave speed windows, driven through their
// boxes, check boxes, slider and buttons.
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>
#include <cmath>

#include "app/RefusalText.h"
#include "dialogs/ModalResult.h"
#include "dialogs/ModelSize.h"
#include "dialogs/PhysicalModelSetup.h"
#include "dialogs/SetPlotResolution.h"
#include "dialogs/SimSpeedCnt.h"
#include "engine/ModelLimits.h"
#include "engine/SimulationCommands.h"
#include "gui/DialogDriver.h"
#include "app/GuardedCall.h"
#include "support/ErrorRecordingTest.h"

namespace {

class SettingsDialogTest : public ErrorRecordingTest {
 protected:
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
};

// ---- Model size -------------------------------------------------------------------------------

TEST_F(SettingsDialogTest, ModelSizeHasItsCaptionsAndSuggestions) {
  TModelSizeDlg dialog(Commands);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Model Size");
  EXPECT_EQ(CaptionOf(dialog, dialog.List_Isize), "Number of Field Points");
  EXPECT_FALSE(dialog.findChildren<QLabel*>().isEmpty());
  bool perLineShown = false;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text() == "per Field Line") {
      perLineShown = true;
      EXPECT_GT(label->y(), dialog.findChild<QLabel*>()->y());
    }
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
  }
  EXPECT_TRUE(perLineShown);
  EXPECT_EQ(CaptionOf(dialog, dialog.List_Jsize), "Number of Field Lines");
  EXPECT_EQ(ItemsOf(dialog.List_Isize),
            (QStringList{"100", "200", "300", "400", "500", "1000", "2000"}));
  EXPECT_EQ(ItemsOf(dialog.List_Jsize), (QStringList{"10", "20", "30", "40", "50", "100", "200"}));
  EXPECT_EQ(dialog.List_Isize->currentText(), "200");
  EXPECT_EQ(dialog.List_Jsize->currentText(), "40");
  EXPECT_TRUE(dialog.OKBtn->isDefault());
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  dialog.hide();
}

TEST_F(SettingsDialogTest, ModelSizeOkStoresBothAndTheNextOpeningShowsThem) {
  TModelSizeDlg dialog(Commands);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       TypeInto(dialog.List_Isize, "300");
                       PickItem(dialog.List_Jsize, "20");
                       Click(dialog.OKBtn);
                     }),
            mrOk);
  EXPECT_EQ(State.ISize, 300);
  EXPECT_EQ(State.JSize, 20);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       EXPECT_EQ(dialog.List_Isize->currentText(), "300");
                       EXPECT_EQ(dialog.List_Jsize->currentText(), "20");
                       TypeInto(dialog.List_Jsize, "  50");
                       PressKey(dialog.List_Jsize, Qt::Key_Return);
                     }),
            mrOk);
  EXPECT_EQ(State.JSize, 50);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
}

TEST_F(SettingsDialogTest, ModelSizeRefusalsStoreNothingAndKeepTheDialogOpen) {
  State.WaveFrontSpacing = 10;
  const struct {
    const char* ISize;
    const char* JSize;
    std::string Expected;
  } rows[] = {
      {"abc", "20", "'abc' is not a valid integer value"},
      {"300", "2.5", "'2.5' is not a valid integer value"},
      {"300 ", "20", "'300 ' is not a valid integer value"},
      {"300", "", "'' is not a valid integer value"},
      {"9999999999", "20", "'9999999999' is not a valid integer value"},
      {"1", "20", RefusalText(CheckModelSize(1, 20, 10)).toStdString()},
      {"5", "20", RefusalText(CheckModelSize(5, 20, 10)).toStdString()},  // fewer rows than between two wavefronts
      {"300", "0", RefusalText(CheckModelSize(300, 0, 10)).toStdString()},
      {"-300", "20", RefusalText(CheckModelSize(-300, 20, 10)).toStdString()},
      {"2000", "1000", RefusalText(CheckModelSize(2000, 1000, 10)).toStdString()},  // two million nodes
      {"2147483647", "2147483647", RefusalText(CheckModelSize(2147483647, 2147483647, 10)).toStdString()},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.ISize) + " x " + row.JSize);
    ASSERT_FALSE(row.Expected.empty()) << "the model size check should refuse this";
    Shown.clear();
    TModelSizeDlg dialog(Commands);
    const int result = RunModal(dialog, [&] {
      TypeInto(dialog.List_Isize, row.ISize);
      TypeInto(dialog.List_Jsize, row.JSize);
      Click(dialog.OKBtn);
      EXPECT_TRUE(dialog.isVisible()) << "the dialog should stay open";
      EXPECT_EQ(dialog.List_Isize->currentText(), row.ISize);
      EXPECT_EQ(dialog.List_Jsize->currentText(), row.JSize);
      EXPECT_EQ(State.ISize, 200);
      EXPECT_EQ(State.JSize, 40);
      PressKey(dialog.List_Isize, Qt::Key_Escape);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Shown, QStringList{QString::fromStdString(row.Expected)});
    EXPECT_EQ(State.ISize, 200);
    EXPECT_EQ(State.JSize, 40);
  }
}

TEST_F(SettingsDialogTest, ModelSizeCancelAndTheCloseBoxStoreNothing) {
  TModelSizeDlg dialog(Commands);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       TypeInto(dialog.List_Isize, "400");
                       Click(dialog.CancelBtn);
                     }),
            mrCancel);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       TypeInto(dialog.List_Jsize, "10");
                       dialog.close();
                     }),
            mrCancel);
  EXPECT_EQ(State.ISize, 200);
  EXPECT_EQ(State.JSize, 40);
}

// ---- Plot resolution --------------------------------------------------------------------------

class PlotResolutionTest : public SettingsDialogTest {
 protected:
  void SetUp() override {
    SettingsDialogTest::SetUp();
    Dialog = std::make_unique<TPlotResolutionDlg>(Commands);
    Dialog->ShowWarning = [this](const QString& text) { Warnings << text; };
  }
  void TearDown() override {
    Dialog.reset();
    SettingsDialogTest::TearDown();
  }
  std::unique_ptr<TPlotResolutionDlg> Dialog;
  QStringList Warnings;
};

TEST_F(PlotResolutionTest, HasItsCaptionSuggestionsAndButtons) {
  Dialog->show();
  EXPECT_EQ(Dialog->windowTitle(), "Plot Resolution");
  EXPECT_EQ(CaptionOf(*Dialog, Dialog->List_Resolution), "Plot Resolution (pixel)");
  EXPECT_EQ(ItemsOf(Dialog->List_Resolution), (QStringList{"10", "20", "30", "40", "50", "100"}));
  EXPECT_EQ(Dialog->List_Resolution->currentText(), "10");
  EXPECT_FALSE(Dialog->List_Resolution->lineEdit()->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_EQ(Dialog->SetDefaultBtn->text(), "Set Default");
  EXPECT_TRUE(Dialog->OKBtn->isDefault());
  Dialog->hide();
}

TEST_F(PlotResolutionTest, ValuesOutsideTheBoundsAreClampedAndTheDialogStaysOpen) {
  const struct {
    const char* Text;
    int Stored;
    bool Closes;
  } rows[] = {
      {"500", 100, false}, {"101", 100, false}, {"5", 10, false},
      {"9", 10, false},    {"-20", 10, false},  {"10", 10, true},
      {"100", 100, true},  {"50", 50, true},    {"  30", 30, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Text);
    Display.PlotResolution = 20;
    bool stayedOpen = false;
    const int result = RunModal(*Dialog, [&] {
      TypeInto(Dialog->List_Resolution, row.Text);
      Click(Dialog->OKBtn);
      stayedOpen = Dialog->isVisible();
      if (stayedOpen) {
        // The clamped value is shown, not yet taken.
        EXPECT_EQ(Display.PlotResolution, 20);
        EXPECT_EQ(Dialog->List_Resolution->currentText(), QString::number(row.Stored));
        // A second OK closes with the corrected value.
        Click(Dialog->OKBtn);
      }
    });
    EXPECT_EQ(stayedOpen, !row.Closes);
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Display.PlotResolution, row.Stored);
  }
  EXPECT_TRUE(Warnings.isEmpty());
}

// The clamped value is shown for confirming; Cancel leaves the resolution as it was.
TEST_F(PlotResolutionTest, CancelAfterAClampKeepsTheResolutionAsItWas) {
  const int result = RunModal(*Dialog, [&] {
    TypeInto(Dialog->List_Resolution, "500");
    PressKey(Dialog->List_Resolution, Qt::Key_Return);
    EXPECT_TRUE(Dialog->isVisible());
    EXPECT_EQ(Dialog->List_Resolution->currentText(), "100");
    Click(Dialog->CancelBtn);
  });
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(Display.PlotResolution, PlotResolutionDefault);
}

TEST_F(PlotResolutionTest, ATextThatIsNotAWholeNumberNeedsAnInteger) {
  Display.PlotResolution = 40;
  for (const char* text : {"x1", "2.5", "", "40 "}) {
    SCOPED_TRACE(text);
    Warnings.clear();
    const int result = RunModal(*Dialog, [&] {
      TypeInto(Dialog->List_Resolution, text);
      Click(Dialog->OKBtn);
      EXPECT_TRUE(Dialog->isVisible());
      EXPECT_EQ(Dialog->List_Resolution->currentText(), "40");
      Dialog->close();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Warnings, QStringList{"Need Integer"});
    EXPECT_EQ(Display.PlotResolution, 40);
  }
  EXPECT_TRUE(Shown.isEmpty());
}

TEST_F(PlotResolutionTest, SetDefaultWritesTheBoxOnly) {
  Display.PlotResolution = 50;
  EXPECT_EQ(RunModal(*Dialog,
                     [&] {
                       EXPECT_EQ(Dialog->List_Resolution->currentText(), "50");
                       Click(Dialog->SetDefaultBtn);
                       EXPECT_EQ(Dialog->List_Resolution->currentText(), "10");
                       EXPECT_EQ(Display.PlotResolution, 50);
                       Click(Dialog->CancelBtn);
                     }),
            mrCancel);
  EXPECT_EQ(Display.PlotResolution, 50);
  EXPECT_EQ(RunModal(*Dialog,
                     [&] {
                       EXPECT_EQ(Dialog->List_Resolution->currentText(), "50");
                       Click(Dialog->SetDefaultBtn);
                       Click(Dialog->OKBtn);
                     }),
            mrOk);
  EXPECT_EQ(Display.PlotResolution, 10);
}

// ---- Physical model ---------------------------------------------------------------------------

TEST_F(SettingsDialogTest, PhysicalModelSwitchesFollowTheCheckBoxes) {
  TPhysicalModelDlg dialog(Commands);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       EXPECT_EQ(dialog.windowTitle(), "Physical Model");
                       EXPECT_EQ(dialog.LightAbberationCheck->text(), "Light Aberration");
                       EXPECT_EQ(dialog.TrackEmissionPointCheck->text(), "Track Emission Point");
                       EXPECT_TRUE(dialog.LightAbberationCheck->isChecked());
                       EXPECT_TRUE(dialog.TrackEmissionPointCheck->isChecked());
                       Click(dialog.LightAbberationCheck);
                       Click(dialog.OKBtn);
                     }),
            mrOk);
  EXPECT_FALSE(State.FieldSimulation.LightAberration);
  EXPECT_TRUE(State.FieldSimulation.TrackEmissionPoint);

  // Reopening shows the switch off; Default then Cancel changes nothing.
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       EXPECT_FALSE(dialog.LightAbberationCheck->isChecked());
                       Click(dialog.TrackEmissionPointCheck);
                       Click(dialog.DefaultBtn);
                       EXPECT_TRUE(dialog.LightAbberationCheck->isChecked());
                       EXPECT_TRUE(dialog.TrackEmissionPointCheck->isChecked());
                       Click(dialog.CancelBtn);
                     }),
            mrCancel);
  EXPECT_FALSE(State.FieldSimulation.LightAberration);
  EXPECT_TRUE(State.FieldSimulation.TrackEmissionPoint);

  // The check boxes are refilled at every opening, not kept from the cancelled one.
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       EXPECT_FALSE(dialog.LightAbberationCheck->isChecked());
                       Click(dialog.TrackEmissionPointCheck);
                       QTest::keyClick(&dialog, Qt::Key_Return);
                     }),
            mrOk);
  EXPECT_FALSE(State.FieldSimulation.LightAberration);
  EXPECT_FALSE(State.FieldSimulation.TrackEmissionPoint);

  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       Click(dialog.DefaultBtn);
                       Click(dialog.OKBtn);
                     }),
            mrOk);
  EXPECT_TRUE(State.FieldSimulation.LightAberration);
  EXPECT_TRUE(State.FieldSimulation.TrackEmissionPoint);

  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       Click(dialog.LightAbberationCheck);
                       QTest::keyClick(&dialog, Qt::Key_Escape);
                     }),
            mrCancel);
  EXPECT_TRUE(State.FieldSimulation.LightAberration);
}

TEST_F(SettingsDialogTest, PhysicalModelThomasPrecessionBoxUnderTheOthers) {
  TPhysicalModelDlg dialog(Commands);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       QCheckBox* box = dialog.ThomasPrecessionCheck;
                       EXPECT_EQ(box->text(), "Thomas Precession");
                       EXPECT_FALSE(box->toolTip().isEmpty());
                       EXPECT_TRUE(box->isChecked());
                       EXPECT_GT(box->y(), dialog.TrackEmissionPointCheck->y());
                       // The dialog grew to show it whole, above the buttons.
                       const QRect inDialog(box->mapTo(&dialog, QPoint(0, 0)), box->size());
                       EXPECT_TRUE(dialog.rect().contains(inDialog));
                       EXPECT_GE(box->width(), box->sizeHint().width());
                       EXPECT_LT(inDialog.bottom(), dialog.OKBtn->mapTo(&dialog, QPoint()).y());
                       Click(box);
                       Click(dialog.OKBtn);
                     }),
            mrOk);
  EXPECT_FALSE(State.FieldSimulation.ThomasPrecession);
  EXPECT_TRUE(State.FieldSimulation.LightAberration);
  EXPECT_TRUE(State.FieldSimulation.TrackEmissionPoint);

  // Shown off when reopened; Default ticks it, Cancel keeps it off.
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       EXPECT_FALSE(dialog.ThomasPrecessionCheck->isChecked());
                       Click(dialog.DefaultBtn);
                       EXPECT_TRUE(dialog.ThomasPrecessionCheck->isChecked());
                       Click(dialog.CancelBtn);
                     }),
            mrCancel);
  EXPECT_FALSE(State.FieldSimulation.ThomasPrecession);

  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       Click(dialog.LightAbberationCheck);
                       Click(dialog.DefaultBtn);
                       Click(dialog.OKBtn);
                     }),
            mrOk);
  EXPECT_TRUE(State.FieldSimulation.ThomasPrecession);
  EXPECT_TRUE(State.FieldSimulation.LightAberration);
}

// ---- Wave speed -------------------------------------------------------------------------------

TEST_F(SettingsDialogTest, WaveSpeedSetsOneMillisecondWhenCreated) {
  State.TimerInterval = 10;
  TSpeedControlForm form(Commands);
  EXPECT_EQ(State.TimerInterval, 1);
  EXPECT_EQ(form.WaveSpeed->minimum(), 1);
  EXPECT_EQ(form.WaveSpeed->maximum(), 10);
  EXPECT_EQ(form.WaveSpeed->value(), 10);
  EXPECT_EQ(form.windowTitle(), "Wave Speed");
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(form.WaveSpeed->tickPosition(), QSlider::TicksBelow);
  EXPECT_EQ(form.WaveSpeed->tickInterval(), 1);
}

TEST_F(SettingsDialogTest, WaveSpeedIntervalForEveryThumbPosition) {
  TSpeedControlForm form(Commands);
  const int expected[] = {1, 21, 41, 61, 81, 101, 121, 141, 161, 181};  // positions 10 ... 1
  const int result = RunModal(form, [&] {
    EXPECT_TRUE(form.SlowLabel->x() < form.FastLabel->x());
    EXPECT_EQ(form.SlowLabel->text(), "Slow");
    EXPECT_EQ(form.FastLabel->text(), "Fast");
    for (int position = 10; position >= 1; --position) {
      EXPECT_EQ(form.WaveSpeed->value(), position);
      EXPECT_EQ(State.TimerInterval, expected[10 - position]) << "position " << position;
      QTest::keyClick(form.WaveSpeed, Qt::Key_Left);
    }
    // Beyond the left end the thumb stays.
    EXPECT_EQ(State.TimerInterval, 181);
    QTest::keyClick(form.WaveSpeed, Qt::Key_End);
    EXPECT_EQ(State.TimerInterval, 1);
    QTest::keyClick(form.WaveSpeed, Qt::Key_Home);
    EXPECT_EQ(State.TimerInterval, 181);
    Click(form.btnOK);
  });
  EXPECT_EQ(result, mrOk);
}

TEST_F(SettingsDialogTest, WaveSpeedKeepsItsThumbBetweenOpeningsAndOpensWhereLaidOut) {
  TSpeedControlForm form(Commands);
  const double scale = ScreenScale(120);
  EXPECT_EQ(RunModal(form,
                     [&] {
                       EXPECT_EQ(form.pos(), QPoint(static_cast<int>(std::lround(203 * scale)),
                                                    static_cast<int>(std::lround(313 * scale))));
                       for (int i = 0; i < 3; ++i) QTest::keyClick(form.WaveSpeed, Qt::Key_Left);
                       form.close();
                     }),
            mrCancel);
  EXPECT_EQ(State.TimerInterval, 61);
  EXPECT_EQ(RunModal(form,
                     [&] {
                       EXPECT_EQ(form.WaveSpeed->value(), 7);
                       Click(form.btnOK);
                     }),
            mrOk);
  EXPECT_EQ(State.TimerInterval, 61);
}

}  // namespace
