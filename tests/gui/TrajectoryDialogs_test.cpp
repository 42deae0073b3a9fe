// SPDX-License-Identifier: GPL-3.0-or-later
// The five trajectory setup dialogs, driven through their boxes and buttons: what they show, what
// OK stores, and the refusals that leave every stored value as it was and the dialog open.
#include <QGuiApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QScreen>
#include <functional>
#include <memory>
#include <vector>

#include "app/RefusalText.h"
#include "dialogs/BendingSetup.h"
#include "dialogs/CircleTrjSetup.h"
#include "dialogs/DipoleOscSetup.h"
#include "dialogs/LineTrjSetup.h"
#include "dialogs/ModalResult.h"
#include "dialogs/NumberText.h"
#include "dialogs/RaceTrackSetup.h"
#include "engine/ModelLimits.h"
#include "engine/SimulationCommands.h"
#include "gui/DialogDriver.h"
#include "app/GuardedCall.h"
#include "support/ErrorRecordingTest.h"

namespace {

struct TBoxCase {
  const char* Name;
  QString Caption;
  QStringList Items;
  double TTrajectoryParameters::*Value;
  QString NewText;  // a valid text other than the start value
  double NewValue;
};

struct TDialogCase {
  const char* Label;
  std::function<std::unique_ptr<TTrajectoryDialog>(TSimulationCommands&)> Make;
  QString Caption;
  QSize LayoutSize;
  int LayoutDpi;
  int Mode;
  std::vector<TBoxCase> Boxes;
};

const QStringList TenSpeeds{"0.5",  "0.6",  "0.7",  "0.8",   "0.9",
                            "0.95", "0.98", "0.99", "0.995", "0.999"};

template <class T>
std::function<std::unique_ptr<TTrajectoryDialog>(TSimulationCommands&)> Maker() {
  return [](TSimulationCommands& state) { return std::make_unique<T>(state); };
}

const std::vector<TDialogCase>& Dialogs() {
  static const std::vector<TDialogCase> cases{
      {"line",
       Maker<TLineTrjDlg>(),
       "Straight Line",
       {484, 163},
       120,
       tmStraightLine,
       {{"List_Velocity", "Particle Velocity/wave velocity", TenSpeeds,
         &TTrajectoryParameters::LineBeta, "0.95", 0.95},
        {"List_Start",
         "Start Position x (u):",
         {"-1.0", "-0.8", "-0.5"},
         &TTrajectoryParameters::LineStartX,
         "-0.8",
         -0.8},
        {"List_Stop",
         "Stop Position x (u):",
         {"0.3", "0.5", "0.8", "1.0", "1.5", "2.0"},
         &TTrajectoryParameters::LineStopX,
         "1.5",
         1.5}}},
      {"dipole",
       Maker<TDipoleOscSetupDlg>(),
       "Dipole Oscillation",
       {443, 156},
       120,
       tmDipole,
       {{"List_Velocity", "Maximum Velocity/wave velocity", TenSpeeds,
         &TTrajectoryParameters::DipoleBeta, "0.7", 0.7},
        {"List_Amplitude",
         "Oscillation Amplitude : 2A (u)",
         {"0.1", "0.2", "0.3", "0.4", "0.5"},
         &TTrajectoryParameters::DipoleAmplitude,
         "0.2",
         0.2}}},
      {"circle",
       Maker<TCircleTrjDlg>(),
       "Circular Orbit",
       {443, 160},
       120,
       tmCircle,
       {{"List_Velocity", "Particle Velocity/wave velocity", TenSpeeds,
         &TTrajectoryParameters::CircleBeta, "0.5", 0.5},
        {"List_Radius",
         "Circle Radius (u)",
         {"0.01", "0.02", "0.05", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9",
          "1.0"},
         &TTrajectoryParameters::CircleRadius,
         "0.3",
         0.3}}},
      {"race track",
       Maker<TRaceTrackSetupDlg>(),
       "Race Track",
       {354, 165},
       96,
       tmRaceTrack,
       {{"List_Velocity",
         "Particle Velocity/wave velocity",
         {"0.5", "0.6", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99"},
         &TTrajectoryParameters::RaceBeta,
         "0.9",
         0.9},
        {"List_Radius",
         "Bending Radius (u)",
         {"0.05", "0.1", "0.2", "0.3"},
         &TTrajectoryParameters::RaceRadius,
         "0.2",
         0.2},
        {"List_StraightSection",
         "Straight Section (u)",
         {"0.05", "0.1", "0.2", "0.3"},
         &TTrajectoryParameters::RaceStraight,
         "0.3",
         0.3}}},
      {"bending magnet",
       Maker<TBendingDlg>(),
       "Bending Magnet",
       {354, 165},
       96,
       tmBending,
       {{"List_Velocity", "Particle Velocity/wave velocity", TenSpeeds,
         &TTrajectoryParameters::BendBeta, "0.99", 0.99},
        {"List_Radius",
         "Bending Radius (m)",
         {"0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "2.0", "3.0", "5.0"},
         &TTrajectoryParameters::BendRadius,
         "2.0",
         2.0},
        {"List_Angle",
         "Bending Angle (degree)",
         {"10", "20", "30", "40", "50", "60", "70", "80", "90"},
         &TTrajectoryParameters::BendAngle,
         "30",
         30.0}}},
  };
  return cases;
}

QComboBox* BoxOf(const TTrajectoryDialog& dialog, const TBoxCase& box) {
  return dialog.findChild<QComboBox*>(QString::fromLatin1(box.Name));
}

class TrajectoryDialogTest : public ErrorRecordingTest {
 protected:
  void SetUp() override {
    ErrorRecordingTest::SetUp();
    // The texts below are written with a point; one test switches to a comma locale itself.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // As the main window starts: the table sized, the path built, reset.
    ASSERT_FALSE(Commands.Start());
    Start = State.Trajectory;
  }
  void TearDown() override {
    QLocale::setDefault(SavedLocale);
    ErrorRecordingTest::TearDown();
  }

  // Every trajectory parameter as it was when the test began.
  void ExpectNothingStored() const {
    const TTrajectoryParameters& now = State.Trajectory;
    for (const TDialogCase& dialog : Dialogs())
      for (const TBoxCase& box : dialog.Boxes)
        EXPECT_EQ(now.*box.Value, Start.*box.Value) << dialog.Label << " " << box.Name;
  }

  const QLocale SavedLocale;
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
  TTrajectoryParameters Start;
};

TEST_F(TrajectoryDialogTest, EachDialogHasItsCaptionBoxesAndButtons) {
  for (const TDialogCase& c : Dialogs()) {
    SCOPED_TRACE(c.Label);
    const auto dialog = c.Make(Commands);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), c.Caption);
    int previousTop = -1;
    for (const TBoxCase& b : c.Boxes) {
      QComboBox* box = BoxOf(*dialog, b);
      ASSERT_NE(box, nullptr) << b.Name;
      EXPECT_TRUE(box->isEditable());
      EXPECT_EQ(CaptionOf(*dialog, box), b.Caption) << b.Name;
      EXPECT_EQ(ItemsOf(box), b.Items) << b.Name;
      EXPECT_TRUE(dialog->GroupBox1->isAncestorOf(box));
      const int top = box->mapTo(dialog.get(), QPoint(0, 0)).y();
      EXPECT_GT(top, previousTop) << b.Name << " should stand below the box before it";
      previousTop = top;
    }
    EXPECT_EQ(dialog->OKBtn->text(), "OK");
    EXPECT_TRUE(dialog->OKBtn->isDefault());
    EXPECT_EQ(dialog->CancelBtn->text(), "Cancel");
    // Fixed size, at least the layout size scaled to this screen.
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_GE(dialog->width(), static_cast<int>(c.LayoutSize.width() * ScreenScale(c.LayoutDpi)));
    EXPECT_GE(dialog->height(), static_cast<int>(c.LayoutSize.height() * ScreenScale(c.LayoutDpi)));
    // Every caption is shown whole.
    for (const QLabel* label : dialog->findChildren<QLabel*>())
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // A pixel per axis from halving odd sizes, one from the centre of an even-sized screen.
    EXPECT_LE((dialog->geometry().center() - centre).manhattanLength(), 4);
    dialog->hide();
  }
}

TEST_F(TrajectoryDialogTest, ShowsTheStoredValuesWithThreeDecimals) {
  // With the start values the line dialog shows 0.800, -0.500 and 0.500.
  TLineTrjDlg line(Commands);
  line.show();
  EXPECT_EQ(line.List_Velocity->currentText(), "0.800");
  EXPECT_EQ(line.List_Start->currentText(), "-0.500");
  EXPECT_EQ(line.List_Stop->currentText(), "0.500");
  line.hide();

  const struct {
    double Value;
    const char* Shown;
  } rows[] = {{1234.5678, "1234.570"}, {45, "45.000"}, {0.05, "0.050"}, {12345678, "1.23457E+07"}};
  TBendingDlg bending(Commands);
  for (const auto& row : rows) {
    State.Trajectory.BendAngle = row.Value;
    bending.show();
    EXPECT_EQ(bending.List_Angle->currentText(), row.Shown);
    bending.hide();
  }
}

TEST_F(TrajectoryDialogTest, OkStoresEveryBoxAndTheNextOpeningShowsIt) {
  for (const TDialogCase& c : Dialogs()) {
    SCOPED_TRACE(c.Label);
    const auto dialog = c.Make(Commands);
    const int result = RunModal(*dialog, [&] {
      for (const TBoxCase& b : c.Boxes) TypeInto(BoxOf(*dialog, b), b.NewText);
      Click(dialog->OKBtn);
    });
    EXPECT_EQ(result, mrOk);
    for (const TBoxCase& b : c.Boxes) {
      EXPECT_EQ(State.Trajectory.*b.Value, b.NewValue) << b.Name;
      dialog->show();
      EXPECT_EQ(BoxOf(*dialog, b)->currentText(), FormatFixed(b.NewValue, 6, 3)) << b.Name;
      dialog->hide();
    }
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
}

TEST_F(TrajectoryDialogTest, APickedItemCountsLikeATypedOne) {
  TLineTrjDlg dialog(Commands);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       PickItem(dialog.List_Velocity, "0.95");
                       PickItem(dialog.List_Start, "-0.8");
                       Click(dialog.OKBtn);
                     }),
            mrOk);
  EXPECT_EQ(State.Trajectory.LineBeta, 0.95);
  EXPECT_EQ(State.Trajectory.LineStartX, -0.8);
  EXPECT_EQ(State.Trajectory.LineStopX, Start.LineStopX);
}

TEST_F(TrajectoryDialogTest, EnterInAnyBoxActsAsOk) {
  for (const TDialogCase& c : Dialogs()) {
    for (const TBoxCase& b : c.Boxes) {
      SCOPED_TRACE(std::string(c.Label) + " " + b.Name);
      State.Trajectory.*b.Value = Start.*b.Value;
      const auto dialog = c.Make(Commands);
      const int result = RunModal(*dialog, [&] {
        QComboBox* box = BoxOf(*dialog, b);
        TypeInto(box, b.NewText);
        PressKey(box, Qt::Key_Return);
      });
      EXPECT_EQ(result, mrOk);
      EXPECT_EQ(State.Trajectory.*b.Value, b.NewValue);
    }
  }
}

TEST_F(TrajectoryDialogTest, EveryOpeningStartsInTheFirstBoxWithOkAsDefault) {
  TLineTrjDlg dialog(Commands);
  // Enter on a focused button presses that button, Cancel here.
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       dialog.CancelBtn->setFocus();
                       QTest::keyClick(dialog.CancelBtn, Qt::Key_Return);
                     }),
            mrCancel);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       EXPECT_TRUE(dialog.List_Velocity->hasFocus());
                       EXPECT_TRUE(dialog.OKBtn->isDefault());
                       EXPECT_FALSE(dialog.CancelBtn->isDefault());
                       QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                     }),
            mrOk);
}

TEST_F(TrajectoryDialogTest, EscCancelAndTheCloseBoxStoreNothing) {
  const std::vector<std::pair<const char*, std::function<void(TTrajectoryDialog&)>>> ways{
      {"Esc", [](TTrajectoryDialog& d) { PressKey(d.findChild<QComboBox*>(), Qt::Key_Escape); }},
      {"Cancel", [](TTrajectoryDialog& d) { Click(d.CancelBtn); }},
      {"close box", [](TTrajectoryDialog& d) { d.close(); }},
  };
  for (const TDialogCase& c : Dialogs()) {
    for (const auto& [way, leave] : ways) {
      SCOPED_TRACE(std::string(c.Label) + " " + way);
      const auto dialog = c.Make(Commands);
      const int result = RunModal(*dialog, [&] {
        for (const TBoxCase& b : c.Boxes) TypeInto(BoxOf(*dialog, b), b.NewText);
        leave(*dialog);
      });
      EXPECT_EQ(result, mrCancel);
      ExpectNothingStored();
      // The next opening shows what runs, not what was typed and cancelled.
      dialog->show();
      for (const TBoxCase& b : c.Boxes)
        EXPECT_EQ(BoxOf(*dialog, b)->currentText(), FormatFixed(Start.*b.Value, 6, 3)) << b.Name;
      dialog->hide();
    }
  }
}

TEST_F(TrajectoryDialogTest, ATextThatIsNotANumberIsNamedAndNothingIsStored) {
  // The bad text in each box in turn, the others holding new valid values: none of them may be
  // stored, and every typed text stays for correcting.
  for (const TDialogCase& c : Dialogs()) {
    for (std::size_t bad = 0; bad < c.Boxes.size(); ++bad) {
      SCOPED_TRACE(std::string(c.Label) + " " + c.Boxes[bad].Name);
      Shown.clear();
      const auto dialog = c.Make(Commands);
      const int result = RunModal(*dialog, [&] {
        for (std::size_t i = 0; i < c.Boxes.size(); ++i)
          TypeInto(BoxOf(*dialog, c.Boxes[i]), i == bad ? QString("abc") : c.Boxes[i].NewText);
        Click(dialog->OKBtn);
        EXPECT_TRUE(dialog->isVisible()) << "the dialog should stay open";
        for (std::size_t i = 0; i < c.Boxes.size(); ++i)
          EXPECT_EQ(BoxOf(*dialog, c.Boxes[i])->currentText(),
                    i == bad ? QString("abc") : c.Boxes[i].NewText);
        ExpectNothingStored();
        Click(dialog->CancelBtn);
      });
      EXPECT_EQ(result, mrCancel);
      const QString name = c.Boxes[bad].Caption.trimmed().remove(QRegularExpression("[:;]$"));
      EXPECT_EQ(Shown, QStringList{name + ": 'abc' is not a valid floating point value"});
      ExpectNothingStored();
    }
  }
}

TEST_F(TrajectoryDialogTest, LineStopNotANumberKeepsTheOldValuesAndTheNextOpeningShowsThem) {
  TLineTrjDlg dialog(Commands);
  RunModal(dialog, [&] {
    TypeInto(dialog.List_Velocity, "0.95");
    TypeInto(dialog.List_Start, "-0.8");
    TypeInto(dialog.List_Stop, "x");
    PressKey(dialog.List_Stop, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog.CancelBtn);
  });
  EXPECT_EQ(Shown, QStringList{"Stop Position x (u): 'x' is not a valid floating point value"});
  ExpectNothingStored();
  dialog.show();
  EXPECT_EQ(dialog.List_Velocity->currentText(), "0.800");
  EXPECT_EQ(dialog.List_Start->currentText(), "-0.500");
  EXPECT_EQ(dialog.List_Stop->currentText(), "0.500");
  dialog.hide();
}

TEST_F(TrajectoryDialogTest, TrajectoriesTheEngineCannotBuildAreRefusedWithItsMessage) {
  struct TRefusedRow {
    std::size_t Dialog;
    QStringList Texts;  // one per box, top to bottom
  };
  const TRefusedRow rows[] = {
      {0, {"0.8", "0.5", "0.5"}},    // start = stop: no path
      {0, {"0", "-0.5", "0.5"}},     // a charge that never moves
      {0, {"-0.8", "-0.5", "0.5"}},  // negative speed
      // At the wave speed or beyond: shock cones and a power without a value.
      {0, {"1.5", "-0.5", "0.5"}},
      {0, {"1", "-0.5", "0.5"}},
      {1, {"1.5", "0.05"}},
      {2, {"1.5", "0.2"}},
      {3, {"1.5", "0.1", "0.8"}},
      {4, {"1.5", "0.5", "45"}},
      {1, {"0.9", "0"}},             // no oscillation
      {2, {"0.9", "0"}},             // a circle of no size
      {2, {"0", "0"}},               // ... with no speed either
      {2, {"0", "0.2"}},             // a charge that never goes round
      {3, {"0.8", "0", "0.8"}},      // no arcs
      {3, {"0.8", "0.1", "-0.8"}},   // straights against the arcs
      {4, {"0.9", "0.5", "1e200"}},  // a bend the table cannot hold
      {4, {"1e-9", "0.5", "45"}},    // so slow the path would never end
  };
  for (const TRefusedRow& row : rows) {
    const TDialogCase& c = Dialogs()[row.Dialog];
    SCOPED_TRACE(std::string(c.Label) + " " + row.Texts.join(' ').toStdString());
    Shown.clear();
    TTrajectoryParameters candidate = State.Trajectory;
    for (std::size_t i = 0; i < c.Boxes.size(); ++i)
      candidate.*c.Boxes[i].Value = row.Texts[static_cast<int>(i)].toDouble();
    const TRefusal refusal = CheckTrajectory(c.Mode, candidate, WaveVelocityOf(State.ISize));
    ASSERT_TRUE(refusal) << "the engine should refuse this trajectory";
    const QString expected = RefusalText(refusal);

    const auto dialog = c.Make(Commands);
    const int result = RunModal(*dialog, [&] {
      for (std::size_t i = 0; i < c.Boxes.size(); ++i)
        TypeInto(BoxOf(*dialog, c.Boxes[i]), row.Texts[static_cast<int>(i)]);
      Click(dialog->OKBtn);
      EXPECT_TRUE(dialog->isVisible()) << "the dialog should stay open";
      EXPECT_EQ(BoxOf(*dialog, c.Boxes.back())->currentText(), row.Texts.back());
      dialog->close();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Shown, QStringList{expected});
    ExpectNothingStored();
  }
}

TEST_F(TrajectoryDialogTest, ZeroCircleRadiusIsRefusedAndCorrectingItIsAccepted) {
  TCircleTrjDlg dialog(Commands);
  const int result = RunModal(dialog, [&] {
    TypeInto(dialog.List_Velocity, "0.7");
    TypeInto(dialog.List_Radius, "0");
    Click(dialog.OKBtn);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(State.Trajectory.CircleBeta, Start.CircleBeta);
    EXPECT_EQ(State.Trajectory.CircleRadius, Start.CircleRadius);
    TypeInto(dialog.List_Radius, "0.4");
    Click(dialog.OKBtn);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(Shown, QStringList{"The circle radius must not be 0."});
  EXPECT_EQ(State.Trajectory.CircleBeta, 0.7);
  EXPECT_EQ(State.Trajectory.CircleRadius, 0.4);
}

TEST_F(TrajectoryDialogTest, UnusualButBuildableValuesAreAccepted) {
  // The fastest speed the engine takes, a negative radius and a stop left of the start are the
  // user's choice.
  TLineTrjDlg line(Commands);
  EXPECT_EQ(RunModal(line,
                     [&] {
                       TypeInto(line.List_Velocity, "0.9999");
                       TypeInto(line.List_Start, "0.5");
                       TypeInto(line.List_Stop, "-0.5");
                       Click(line.OKBtn);
                     }),
            mrOk);
  EXPECT_EQ(State.Trajectory.LineBeta, 0.9999);
  EXPECT_EQ(State.Trajectory.LineStartX, 0.5);
  EXPECT_EQ(State.Trajectory.LineStopX, -0.5);

  TCircleTrjDlg circle(Commands);
  EXPECT_EQ(RunModal(circle,
                     [&] {
                       TypeInto(circle.List_Radius, " -0.2 ");
                       Click(circle.OKBtn);
                     }),
            mrOk);
  EXPECT_EQ(State.Trajectory.CircleRadius, -0.2);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
}

TEST_F(TrajectoryDialogTest, BendingAngleIsStoredInDegreesAsTyped) {
  TBendingDlg dialog(Commands);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       TypeInto(dialog.List_Angle, "45");
                       Click(dialog.OKBtn);
                     }),
            mrOk);
  EXPECT_EQ(State.Trajectory.BendAngle, 45.0);
  dialog.show();
  EXPECT_EQ(dialog.List_Angle->currentText(), "45.000");
  dialog.hide();
}

TEST_F(TrajectoryDialogTest, ACommaLocaleShowsAndReadsCommas) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  TLineTrjDlg dialog(Commands);
  const int result = RunModal(dialog, [&] {
    EXPECT_EQ(dialog.List_Velocity->currentText(), "0,800");
    EXPECT_EQ(dialog.List_Start->currentText(), "-0,500");
    EXPECT_EQ(dialog.List_Velocity->itemText(0), "0,5");
    // Read as fifteen hundred by a German reader, as 1.5 by the program: refused.
    TypeInto(dialog.List_Stop, "1.500");
    Click(dialog.OKBtn);
    EXPECT_TRUE(dialog.isVisible()) << "an ambiguous point is refused";
    TypeInto(dialog.List_Stop, "1,5");
    TypeInto(dialog.List_Velocity, "0.95");
    Click(dialog.OKBtn);
  });
  QLocale::setDefault(saved);
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(Shown, QStringList{"Stop Position x (u): '1.500' can be read in two ways: write the "
                               "decimal separator as ,"});
  EXPECT_EQ(State.Trajectory.LineBeta, 0.95);
  EXPECT_EQ(State.Trajectory.LineStopX, 1.5);
}

}  // namespace
