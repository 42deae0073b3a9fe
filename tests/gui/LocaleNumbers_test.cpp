// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers in a locale that writes a comma: every suggestion of every dialog offered in that form
// and accepted as it stands, the point taken as well where it cannot be misread, and the values
// shown with the comma.
#include <gtest/gtest.h>

#include <QLocale>
#include <memory>

#include "DialogDriver.h"
#include "dialogs/BendingSetup.h"
#include "dialogs/CircleTrjSetup.h"
#include "dialogs/DipoleOscSetup.h"
#include "dialogs/LineTrjSetup.h"
#include "dialogs/ModalResult.h"
#include "dialogs/ModelSize.h"
#include "dialogs/NumberText.h"
#include "dialogs/RaceTrackSetup.h"
#include "dialogs/SetPlotResolution.h"
#include "dialogs/UndulatorSetup.h"
#include "engine/SimulationCommands.h"
#include "support/ErrorRecordingTest.h"

namespace {

// The value a suggestion means, read the way the code writes it.
double MeantBy(const QString& suggestion) {
  bool ok = false;
  const double value =
      QLocale::c().toDouble(QString(suggestion).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
  EXPECT_TRUE(ok) << suggestion.toStdString();
  return value;
}

class LocaleNumbersTest : public ErrorRecordingTest {
 protected:
  void SetUp() override {
    ErrorRecordingTest::SetUp();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // As the main window starts: the table sized, the path built, reset.
    ASSERT_FALSE(Commands.Start());
  }
  void TearDown() override {
    QLocale::setDefault(QLocale::c());
    ErrorRecordingTest::TearDown();
  }
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
};

TEST_F(LocaleNumbersTest, TheCommaThePointAndTheirLimits) {
  const QLocale german(QLocale::German, QLocale::Germany);
  const struct {
    const char* Text;
    double Value;
  } accepted[] = {{"0,6", 0.6},   {"0.6", 0.6},   {" -1,5e-3 ", -1.5e-3}, {"-0.5", -0.5},
                  {"0.600", 0.6}, {"2,000", 2.0}, {"45", 45.0},           {"1.5E2", 150.0}};
  for (const auto& row : accepted)
    EXPECT_EQ(ParseFloat(QString::fromLatin1(row.Text), german), row.Value) << row.Text;

  // Mixed separators, two of them, and whole numbers in groups of thousands (a German reader
  // takes "1.500" for fifteen hundred) are refused.
  for (const char* refused : {"1.234,5", "0,6.1", "0.6.1", "1.500", "-12.000", "1.000.000"})
    EXPECT_THROW(ParseFloat(QString::fromLatin1(refused), german), EError) << refused;
  try {
    ParseFloat(QStringLiteral("1.500"), german);
  } catch (const EError& error) {
    EXPECT_STREQ(error.what(), "'1.500' can be read in two ways: write the decimal separator as ,");
  }

  // Where the point is the locale's separator the comma stays refused.
  EXPECT_THROW(ParseFloat(QStringLiteral("0,5"), QLocale::c()), EError);
  EXPECT_EQ(ParseFloat(QStringLiteral("1.500"), QLocale::c()), 1.5);

  EXPECT_EQ(LocalizedNumber(QStringLiteral("-0.95"), german), "-0,95");
  EXPECT_EQ(FormatFixed(0.8, 6, 3, german), "0,800");
}

struct TTrajectoryCase {
  const char* Name;
  std::function<std::unique_ptr<TTrajectoryDialog>(TSimulationCommands&)> Make;
};

TEST_F(LocaleNumbersTest, EverySuggestionOfTheTrajectoryDialogsIsAcceptedAsItStands) {
  const TTrajectoryCase cases[] = {
      {"line", [](TSimulationCommands& s) { return std::make_unique<TLineTrjDlg>(s); }},
      {"dipole", [](TSimulationCommands& s) { return std::make_unique<TDipoleOscSetupDlg>(s); }},
      {"circle", [](TSimulationCommands& s) { return std::make_unique<TCircleTrjDlg>(s); }},
      {"race track", [](TSimulationCommands& s) { return std::make_unique<TRaceTrackSetupDlg>(s); }},
      {"bending", [](TSimulationCommands& s) { return std::make_unique<TBendingDlg>(s); }},
  };
  for (const TTrajectoryCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TTrajectoryDialog> dialog = c.Make(Commands);
    const QList<QComboBox*> boxes = dialog->findChildren<QComboBox*>();
    ASSERT_FALSE(boxes.isEmpty());
    for (QComboBox* box : boxes) {
      for (int i = 0; i < box->count(); ++i) {
        const QString item = box->itemText(i);
        SCOPED_TRACE(box->objectName().toStdString() + " " + item.toStdString());
        EXPECT_FALSE(item.contains(QLatin1Char('.')));
        const TTrajectoryParameters before = State.Trajectory;
        Shown.clear();
        EXPECT_EQ(RunModal(*dialog, [&] {
                    PickItem(box, item);
                    Click(dialog->OKBtn);
                  }),
                  mrOk);
        EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
        // Reopened, the box shows what was stored, with the comma.
        QString shown;
        RunModal(*dialog, [&] {
          shown = box->currentText();
          Click(dialog->CancelBtn);
        });
        EXPECT_TRUE(shown.contains(QLatin1Char(','))) << shown.toStdString();
        EXPECT_NEAR(ParseFloat(shown), MeantBy(item), 1e-9);
        State.Trajectory = before;
      }
    }
  }
}

TEST_F(LocaleNumbersTest, CommaAndPointMeanTheSameInATrajectoryDialog) {
  TCircleTrjDlg dialog(Commands);
  for (const char* typed : {"0,6", "0.6"}) {
    State.Trajectory.CircleBeta = 0.9;
    EXPECT_EQ(RunModal(dialog, [&] {
                TypeInto(dialog.List_Velocity, QString::fromLatin1(typed));
                Click(dialog.OKBtn);
              }),
              mrOk)
        << typed;
    EXPECT_EQ(State.Trajectory.CircleBeta, 0.6) << typed;
  }
  EXPECT_TRUE(Shown.isEmpty());
}

TEST_F(LocaleNumbersTest, EverySuggestionOfTheUndulatorDialogIsAcceptedAsItStands) {
  TUndulatorSetupDlg dialog(Commands);
  const auto box = [&](const char* name) {
    return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
  };
  auto* okButton = dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"));
  ASSERT_NE(okButton, nullptr);
  // What runs, and the linked quantities that follow from it.
  const auto entry = [&] { return UndulatorEntryOf(State.Trajectory); };
  const struct {
    QComboBox* Box;
    std::function<double()> Stored;
    double Scale;  // stored value per shown unit
  } rows[] = {
      {box("List_beta"), [&] { return State.Trajectory.UndBeta; }, 1.0},
      {box("List_Energy"), [&] { return entry().EnergyMeV; }, 1.0},
      {box("List_Lu"), [&] { return State.Trajectory.UndPeriod; }, 0.01},
      {box("List_Np"), [&] { return static_cast<double>(State.Trajectory.UndPeriods); }, 1.0},
      {box("List_K"), [&] { return entry().K; }, 1.0},
      {box("List_Bu"), [&] { return entry().FieldKG; }, 1.0},
  };
  for (const auto& row : rows) ASSERT_NE(row.Box, nullptr);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(box("List_Energy")->currentText().contains(QLatin1Char(',')));
  for (const auto& row : rows) {
    for (int i = 0; i < row.Box->count(); ++i) {
      const QString item = row.Box->itemText(i);
      SCOPED_TRACE(row.Box->objectName().toStdString() + " " + item.toStdString());
      EXPECT_FALSE(item.contains(QLatin1Char('.')));
      Shown.clear();
      PickItem(row.Box, item);
      Click(okButton);
      EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
      EXPECT_NEAR(row.Stored(), MeantBy(item) * row.Scale, 1e-9 * std::max(1.0, row.Scale));
      dialog.show();
    }
  }
  dialog.close();
}

TEST_F(LocaleNumbersTest, EverySuggestionOfTheSizeDialogsIsAcceptedAsItStands) {
  TModelSizeDlg sizes(Commands);
  for (QComboBox* box : {sizes.List_Isize, sizes.List_Jsize}) {
    for (int i = 0; i < box->count(); ++i) {
      const QString item = box->itemText(i);
      SCOPED_TRACE(box->objectName().toStdString() + " " + item.toStdString());
      EXPECT_EQ(RunModal(sizes, [&] {
                  PickItem(box, item);
                  Click(sizes.OKBtn);
                }),
                mrOk);
      EXPECT_EQ(box == sizes.List_Isize ? State.ISize : State.JSize, item.toInt());
    }
  }
  TPlotResolutionDlg resolution(Commands);
  for (int i = 0; i < resolution.List_Resolution->count(); ++i) {
    const QString item = resolution.List_Resolution->itemText(i);
    EXPECT_EQ(RunModal(resolution, [&] {
                PickItem(resolution.List_Resolution, item);
                Click(resolution.OKBtn);
              }),
              mrOk)
        << item.toStdString();
    EXPECT_EQ(Display.PlotResolution, item.toInt());
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
