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
    // As after the main window's InitNodes: the wave speed the trajectory check samples with.
    State.FieldSimulation.WaveVelocity = ModelWidth / State.ISize;
  }
  void TearDown() override {
    QLocale::setDefault(QLocale::c());
    ErrorRecordingTest::TearDown();
  }
  TSimulationState State;
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
  std::function<std::unique_ptr<TTrajectoryDialog>(TSimulationState&)> Make;
};

TEST_F(LocaleNumbersTest, EverySuggestionOfTheTrajectoryDialogsIsAcceptedAsItStands) {
  const TTrajectoryCase cases[] = {
      {"line", [](TSimulationState& s) { return std::make_unique<TLineTrjDlg>(s); }},
      {"dipole", [](TSimulationState& s) { return std::make_unique<TDipoleOscSetupDlg>(s); }},
      {"circle", [](TSimulationState& s) { return std::make_unique<TCircleTrjDlg>(s); }},
      {"race track", [](TSimulationState& s) { return std::make_unique<TRaceTrackSetupDlg>(s); }},
      {"bending", [](TSimulationState& s) { return std::make_unique<TBendingDlg>(s); }},
  };
  for (const TTrajectoryCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TTrajectoryDialog> dialog = c.Make(State);
    const QList<QComboBox*> boxes = dialog->findChildren<QComboBox*>();
    ASSERT_FALSE(boxes.isEmpty());
    for (QComboBox* box : boxes) {
      for (int i = 0; i < box->count(); ++i) {
        const QString item = box->itemText(i);
        SCOPED_TRACE(box->objectName().toStdString() + " " + item.toStdString());
        EXPECT_FALSE(item.contains(QLatin1Char('.')));
        const TTrajectoryParameters before = State.FieldSimulation;
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
        static_cast<TTrajectoryParameters&>(State.FieldSimulation) = before;
      }
    }
  }
}

TEST_F(LocaleNumbersTest, CommaAndPointMeanTheSameInATrajectoryDialog) {
  TCircleTrjDlg dialog(State);
  for (const char* typed : {"0,6", "0.6"}) {
    State.FieldSimulation.CircleBeta = 0.9;
    EXPECT_EQ(RunModal(dialog, [&] {
                TypeInto(dialog.List_Velocity, QString::fromLatin1(typed));
                Click(dialog.OKBtn);
              }),
              mrOk)
        << typed;
    EXPECT_EQ(State.FieldSimulation.CircleBeta, 0.6) << typed;
  }
  EXPECT_TRUE(Shown.isEmpty());
}

TEST_F(LocaleNumbersTest, EverySuggestionOfTheUndulatorDialogIsAcceptedAsItStands) {
  TUndulatorSetupDlg dialog(State);
  const auto box = [&](const char* name) {
    return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
  };
  auto* okButton = dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"));
  ASSERT_NE(okButton, nullptr);
  const TFieldSimulation& f = State.FieldSimulation;
  const struct {
    QComboBox* Box;
    std::function<double()> Stored;
    double Scale;  // stored value per shown unit
  } rows[] = {
      {box("List_beta"), [&] { return f.UndBeta; }, 1.0},
      {box("List_Energy"), [&] { return f.UndEnergy; }, 1e6},
      {box("List_Lu"), [&] { return f.UndPeriod; }, 0.01},
      {box("List_Np"), [&] { return static_cast<double>(f.UndPeriods); }, 1.0},
      {box("List_K"), [&] { return f.UndK; }, 1.0},
      {box("List_Bu"), [&] { return f.UndBu; }, 0.1},
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
  TModelSizeDlg sizes(State);
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
  TPlotResolutionDlg resolution(State);
  for (int i = 0; i < resolution.List_Resolution->count(); ++i) {
    const QString item = resolution.List_Resolution->itemText(i);
    EXPECT_EQ(RunModal(resolution, [&] {
                PickItem(resolution.List_Resolution, item);
                Click(resolution.OKBtn);
              }),
              mrOk)
        << item.toStdString();
    EXPECT_EQ(State.PlotResolution, item.toInt());
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
