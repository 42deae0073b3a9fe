// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator dialog driven through its widgets: it opens with what runs, the linked pairs and
// their figures, refused edits, OK / Cancel / Enter / Esc / close box, and the layout.
#include "dialogs/UndulatorSetup.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "app/GuardedCall.h"
#include "app/RefusalText.h"
#include "dialogs/ModalResult.h"
#include "engine/SimulationCommands.h"
#include "engine/UndulatorRelations.h"
#include "support/ErrorRecordingTest.h"

namespace {

const char* const BoxNames[] = {"List_beta", "List_Energy", "List_Lu",
                                "List_Np",   "List_K",      "List_Bu"};
const char* const LabelNames[] = {"LabelGamma", "LabelLrad", "LabelMaxAngle", "LabelAmplitude"};

class UndulatorDialogTest : public ErrorRecordingTest {
 protected:
  // As the main window starts: the table sized, the path built at the wave speed, reset.
  void SetUp() override {
    ErrorRecordingTest::SetUp();
    ASSERT_FALSE(Commands.Start());
  }
  static QComboBox* Box(const TUndulatorSetupDlg& dialog, const char* name) {
    auto* box = dialog.findChild<QComboBox*>(QString::fromLatin1(name));
    EXPECT_NE(box, nullptr) << name;
    return box;
  }
  static QString Text(const TUndulatorSetupDlg& dialog, const char* name) {
    if (auto* box = dialog.findChild<QComboBox*>(QString::fromLatin1(name)))
      return box->currentText();
    if (auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name))) return label->text();
    ADD_FAILURE() << "no box or label " << name;
    return {};
  }
  static QPushButton* Button(const TUndulatorSetupDlg& dialog, const char* name) {
    auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
  }
  // Every box and label text, to show that a refused edit rewrote nothing.
  static QStringList AllTexts(const TUndulatorSetupDlg& dialog) {
    QStringList texts;
    for (const char* name : BoxNames) texts << Text(dialog, name);
    for (const char* name : LabelNames) texts << Text(dialog, name);
    return texts;
  }

  // Selects the box's text and types over it, key by key (each key is one edit of the box).
  static void Type(const TUndulatorSetupDlg& dialog, const char* name, const QString& text) {
    QLineEdit* edit = Box(dialog, name)->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
      QTest::keyClick(edit, Qt::Key_Backspace);
    else
      QTest::keyClicks(edit, text);
  }

  // Selects the box's text and pastes over it: the whole text arrives as one edit, so that no
  // prefix of it ("-", "1e") runs the handler first.
  static void Paste(const TUndulatorSetupDlg& dialog, const char* name, const QString& text) {
    QApplication::clipboard()->setText(text);
    QLineEdit* edit = Box(dialog, name)->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), text) << "paste did not arrive in " << name;
  }

  // Opens the box's list and picks the item with the keyboard, as a user would.
  static void Pick(const TUndulatorSetupDlg& dialog, const char* name, const QString& item) {
    QComboBox* box = Box(dialog, name);
    const int index = box->findText(item);
    ASSERT_GE(index, 0) << item.toStdString() << " is not an item of " << name;
    box->showPopup();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(view->isVisible());
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_FALSE(view->isVisible());
  }

  // Runs the dialog modally; act drives it from inside the modal loop. A fallback closes a dialog
  // that act failed to close, so that a failing test ends instead of hanging.
  static int RunModal(TUndulatorSetupDlg& dialog, const std::function<void()>& act) {
    bool fallbackUsed = false;
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, &dialog, [&] {
      fallbackUsed = true;
      dialog.done(0);
    });
    QTimer::singleShot(0, &dialog, [&] {
      act();
      fallback.start(5000);
    });
    const int result = dialog.ShowModal();
    EXPECT_FALSE(fallbackUsed) << "the dialog did not close by itself";
    return result;
  }

  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
};

// A simulation of its own, started, for a row of a table that needs a fresh dialog.
struct TStartedSimulation {
  TStartedSimulation() { EXPECT_FALSE(Commands.Start()); }
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
};

// ---------------------------------------------------------------------------------------------
// First opening

TEST_F(UndulatorDialogTest, FirstOpeningShowsWhatRunsAndTheSuggestions) {
  TUndulatorSetupDlg dialog(Commands);
  struct Row {
    const char* Box;
    QString Text;
    QStringList Items;
  };
  const std::vector<Row> rows = {
      {"List_beta", "0.95", {"0.5", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99"}},
      {"List_Energy", "1.13", {"0.1", "0.2", "0.3", "0.5", "0.8", "1", "1.5", "2", "5", "10"}},
      {"List_Lu", "20", {"0.5", "1", "2", "5", "10", "20", "30"}},
      {"List_Np", "5", {"1", "2", "5", "10"}},
      {"List_K", "2.8", {"0.1", "0.2", "0.5", "1", "2", "5", "10"}},
      {"List_Bu", "1.5", {"0.1", "0.2", "0.5", "1", "2", "5", "10"}},
  };
  for (const Row& row : rows) {
    QComboBox* box = Box(dialog, row.Box);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isEditable()) << row.Box;
    EXPECT_EQ(box->currentText(), row.Text) << row.Box;
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    EXPECT_EQ(items, row.Items) << row.Box;
  }
  // What runs: β 0.95, a 0.0278 m, λu 20 cm: γ = 1 / √(1 − β²) = 3.20, K = 2π γ a / λu = 2.797,
  // λrad = λu / (2γ²) (1 + K²/2), φ = K / γ.
  EXPECT_EQ(Text(dialog, "LabelGamma"), QStringLiteral("3.20"));
  EXPECT_EQ(Text(dialog, "LabelLrad"), QStringLiteral("4.79E+04"));
  EXPECT_EQ(Text(dialog, "LabelMaxAngle"), QStringLiteral("8.73E-01"));
  EXPECT_EQ(Text(dialog, "LabelAmplitude"), QStringLiteral("2.78E-02"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Undulator"));
  EXPECT_EQ(Button(dialog, "OKBtn")->text(), QStringLiteral("OK"));
  EXPECT_TRUE(Button(dialog, "OKBtn")->isDefault());
  EXPECT_EQ(Button(dialog, "CancelBtn")->text(), QStringLiteral("Cancel"));
  EXPECT_EQ(Button(dialog, "HelpBtn")->text(), QStringLiteral("&Help"));
}

TEST_F(UndulatorDialogTest, OkAtOnceKeepsThePathThatRuns) {
  ASSERT_FALSE(Commands.ChooseTrajectory(tmUndulator, State.Trajectory));
  TUndulatorSetupDlg dialog(Commands);
  const TTrajectoryParameters before = State.Trajectory;
  const TPath path = State.PathGeneration.Path;
  const QStringList texts = AllTexts(dialog);

  EXPECT_EQ(RunModal(dialog, [&] { QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton); }),
            mrOk);

  // The boxes stand for what runs: taken as they are, the undulator's picture stays as it is.
  EXPECT_EQ(State.Trajectory, before);
  EXPECT_EQ(State.TrajectoryMode, tmUndulator);
  ASSERT_EQ(State.PathGeneration.Path.SampleCount, path.SampleCount);
  EXPECT_EQ(State.PathGeneration.Path.Samples.back().Y, path.Samples.back().Y);
  EXPECT_EQ(AllTexts(dialog), texts);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
}

// ---------------------------------------------------------------------------------------------
// Linked pairs

struct LinkedEdit {
  const char* Box;
  QString Text;
  bool PickFromList;
  const char* Partner;
  QString PartnerText;
  QString Gamma, Lrad, MaxAngle, Amplitude;
};

TEST_F(UndulatorDialogTest, EachEditMakesItsPartnerAndTheDerivedLabelsFollow) {
  // From the first opening, which shows what runs (β 0.95, λu 20 cm, a 0.0278 m: γ 3.20,
  // K = 2π γ a / λu = 2.797, Bu = K / (93 λu) = 1.504 kG): λrad = λu / (2γ²) (1 + K²/2),
  // φ = K / γ, a = λu φ / (2π), each edit with γ of the β in the box.
  const std::vector<LinkedEdit> rows = {
      {"List_K", "1", false, "List_Bu", "0.54", "3.20", "1.46E+04", "3.12E-01", "9.94E-03"},
      {"List_beta", "0.95", true, "List_Energy", "1.13", "3.20", "4.79E+04", "8.73E-01",
       "2.78E-02"},
      {"List_Energy", "0.511", false, "List_beta", "0.866025", "2.00", "1.23E+05", "1.40E+00",
       "4.45E-02"},
      {"List_Energy", "1", true, "List_beta", "0.941079", "2.96", "5.62E+04", "9.46E-01",
       "3.01E-02"},
      {"List_Lu", "10", false, "List_K", "1.4", "3.20", "9.64E+03", "4.37E-01", "6.95E-03"},
      {"List_Bu", "1", false, "List_K", "1.86", "3.20", "2.66E+04", "5.81E-01", "1.85E-02"},
  };
  for (const LinkedEdit& row : rows) {
    SCOPED_TRACE(std::string(row.Box) + " <- " + row.Text.toStdString());
    TStartedSimulation simulation;
    TUndulatorSetupDlg dialog(simulation.Commands);
    dialog.show();
    if (row.PickFromList)
      Pick(dialog, row.Box, row.Text);
    else
      Type(dialog, row.Box, row.Text);
    EXPECT_EQ(Text(dialog, row.Box), row.Text);
    EXPECT_EQ(Text(dialog, row.Partner), row.PartnerText);
    EXPECT_EQ(Text(dialog, "LabelGamma").toStdString(), row.Gamma.toStdString());
    EXPECT_EQ(Text(dialog, "LabelLrad"), row.Lrad);
    EXPECT_EQ(Text(dialog, "LabelMaxAngle"), row.MaxAngle);
    EXPECT_EQ(Text(dialog, "LabelAmplitude"), row.Amplitude);
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    Shown.clear();
  }
}

// After a β edit, an edit of K, λu or Bu takes γ from the energy box, which shows the energy
// (γ − 1) × 511 keV to two decimals; γ must stay 1 / √(1 − β²) of the β the charge runs at, and
// the orbit a = K λu / (2π γ) with it. From the box's "0.20" for β 0.7 it would be 1.39, not 1.40.
TEST_F(UndulatorDialogTest, AnEditAfterABetaEditKeepsTheGammaOfThatBeta) {
  struct TRow {
    QString Beta;
    const char* Then;
    QString Text;
    QString Gamma;
  };
  const TRow rows[] = {{"0.7", "List_K", "1", "1.40"},
                       {"0.5", "List_Lu", "10", "1.15"},
                       {"0.8", "List_Bu", "1", "1.67"},
                       {"0.99", "List_K", "3", "7.09"}};
  for (const TRow& row : rows) {
    SCOPED_TRACE("beta " + row.Beta.toStdString() + ", then " + row.Then);
    TStartedSimulation simulation;
    TUndulatorSetupDlg dialog(simulation.Commands);
    dialog.show();
    Pick(dialog, "List_beta", row.Beta);
    Type(dialog, row.Then, row.Text);
    EXPECT_EQ(Text(dialog, "LabelGamma").toStdString(), row.Gamma.toStdString());
    const double k = Text(dialog, "List_K").toDouble();
    const double periodM = Text(dialog, "List_Lu").toDouble() / 100.0;
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
    // The orbit that runs: a = K λu / (2π γ) with γ = 1 / √(1 − β²) of the β that runs.
    const TTrajectoryParameters& p = simulation.State.Trajectory;
    EXPECT_EQ(p.UndBeta, row.Beta.toDouble());
    const double gamma = 1.0 / std::sqrt(1.0 - p.UndBeta * p.UndBeta);
    // A K worked out from Bu shows two decimals: within half of the last one of the K that runs.
    const double shownK = std::string(row.Then) == "List_K" ? 0.0 : 0.005 / k;
    EXPECT_NEAR(p.UndAmplitude, k * periodM / (2.0 * std::numbers::pi * gamma),
                (1e-6 + shownK) * p.UndAmplitude);
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    Shown.clear();
  }
}

TEST_F(UndulatorDialogTest, AnEditChangesNothingThatRunsUntilOk) {
  TUndulatorSetupDlg dialog(Commands);
  const TTrajectoryParameters before = State.Trajectory;
  dialog.show();
  Type(dialog, "List_K", "1");
  EXPECT_EQ(State.Trajectory, before);
  EXPECT_EQ(State.TrajectoryMode, tmMouse);
  QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  // K 1 at β 0.95 over λu 0.2 m: a = K λu / (2π γ), γ = 1 / √(1 − 0.95²).
  const double gamma = 1.0 / std::sqrt(1.0 - 0.95 * 0.95);
  const TTrajectoryParameters& p = State.Trajectory;
  EXPECT_EQ(p.UndBeta, 0.95);
  EXPECT_EQ(p.UndPeriod, 0.2);
  EXPECT_EQ(p.UndPeriods, 5);
  EXPECT_DOUBLE_EQ(p.UndAmplitude, 0.2 / (2.0 * std::numbers::pi * gamma));
  EXPECT_EQ(State.TrajectoryMode, tmUndulator);
}

TEST_F(UndulatorDialogTest, ThePathBuiltFromTheDialogHasTheOrbitAngleAndAmplitudeItShows) {
  // The orbit y = a (1 - cos(2π z / λu)) swings 2a from trough to crest, and its slope dy/dz
  // peaks at φ = K / γ. A path built from a as its whole swing would peak at φ / 2.
  struct TRow {
    QString Beta;
    QString K;
  };
  const TRow rows[] = {{"0.95", "2"}, {"0.9", "1"}, {"0.8", "0.5"}, {"0.98", "3"}};
  for (const TRow& row : rows) {
    SCOPED_TRACE("beta " + row.Beta.toStdString() + ", K " + row.K.toStdString());
    TStartedSimulation simulation;
    TUndulatorSetupDlg dialog(simulation.Commands);
    dialog.show();
    Type(dialog, "List_beta", row.Beta);
    Type(dialog, "List_K", row.K);
    const double angle = Text(dialog, "LabelMaxAngle").toDouble();
    const double amplitude = Text(dialog, "LabelAmplitude").toDouble();
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
    const TPathGeneration& path = simulation.State.PathGeneration;
    double steepest = 0.0;
    double low = 0.0;
    double high = 0.0;
    for (int i = 0; i < path.Path.SampleCount; ++i) {
      const TPathSample& s = path.Path.Samples[static_cast<std::size_t>(i)];
      steepest = std::max(steepest, std::fabs(std::atan2(s.DirY, s.DirX)));
      low = std::min(low, s.Y);
      high = std::max(high, s.Y);
    }
    // The samples miss the exact crest and the steepest point by up to half a step.
    EXPECT_NEAR(std::tan(steepest), angle, 0.02 * angle);
    EXPECT_NEAR(high - low, 2.0 * amplitude, 0.02 * amplitude);
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    Shown.clear();
  }
}

// A derived value is read in the unit its symbol picture names; a caption beside it that names
// another unit (φ in "mrad" beside "φ (rad)") makes it a thousand times off. K 2, β 0.95
// (γ = 1 / √(1 − β²)), λu 20 cm: λrad = λu / (2γ²) (1 + K²/2), φ = K / γ, a = λu φ / (2π).
TEST_F(UndulatorDialogTest, EachDerivedValueIsInTheUnitOfItsSymbolAndItsCaptionNamesNoOther) {
  TUndulatorSetupDlg dialog(Commands);
  dialog.show();
  Type(dialog, "List_K", "2");
  const double gamma = 1.0 / std::sqrt(1.0 - 0.95 * 0.95);
  const double angle = 2.0 / gamma;
  struct TRow {
    const char* Label;
    QString SymbolUnit;
    double Value;  // in that unit
  };
  const TRow rows[] = {
      {"LabelLrad", QStringLiteral("µm"), 0.2 / (2.0 * gamma * gamma) * 3.0 * 1e6},
      {"LabelMaxAngle", QStringLiteral("rad"), angle},
      {"LabelAmplitude", QStringLiteral("m"), 0.2 * angle / (2.0 * std::numbers::pi)},
  };
  const QRegularExpression unitInCaption(QStringLiteral("\\(([^)]*)\\)"));
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Label);
    auto* value = dialog.findChild<QLabel*>(QString::fromLatin1(row.Label));
    ASSERT_NE(value, nullptr);
    // Three significant digits are shown.
    EXPECT_NEAR(value->text().toDouble(), row.Value, 0.006 * row.Value);
    const QLabel* caption = nullptr;
    for (QLabel* label : value->parentWidget()->findChildren<QLabel*>()) {
      if (label != value && !label->text().isEmpty() &&
          std::abs(label->geometry().center().y() - value->geometry().center().y()) <= 1)
        caption = label;
    }
    ASSERT_NE(caption, nullptr);
    for (const QRegularExpressionMatch& unit : unitInCaption.globalMatch(caption->text()))
      EXPECT_EQ(unit.captured(1).toStdString(), row.SymbolUnit.toStdString())
          << caption->text().toStdString();
  }
}

TEST_F(UndulatorDialogTest, TextWrittenByTheDialogRunsNoHandler) {
  // Had the partner's handler run on the text written into it, it would have converted that
  // rounded text back and rewritten a box the user typed (0.9 coming back from its energy's two
  // decimals as 0.899765), or the field held by a new λu would have been rewritten from its box.
  struct Row {
    const char* Box;
    QString Text;
    const char* Kept;  // a box that must show what the user typed, or what it showed before
  };
  const std::vector<Row> rows = {{"List_beta", "0.9", "List_beta"},
                                 {"List_Energy", "0.511", "List_Energy"},
                                 {"List_Lu", "7", "List_Bu"},
                                 {"List_K", "3", "List_K"},
                                 {"List_Bu", "2", "List_Bu"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Box);
    TStartedSimulation simulation;
    TUndulatorSetupDlg dialog(simulation.Commands);
    dialog.show();
    const QString kept = qstrcmp(row.Box, row.Kept) == 0 ? row.Text : Text(dialog, row.Kept);
    Type(dialog, row.Box, row.Text);
    EXPECT_EQ(Text(dialog, row.Kept), kept);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
}

TEST_F(UndulatorDialogTest, TypedTextIsNotCompletedFromTheList) {
  // "0" is the start of the items 0.1 and 0.5; what the user typed is what counts, and it is
  // no energy or speed the undulator can run at: the partner keeps its text.
  TUndulatorSetupDlg dialog(Commands);
  dialog.show();
  const QString beta = Text(dialog, "List_beta");
  Type(dialog, "List_Energy", "0");
  EXPECT_EQ(Text(dialog, "List_Energy"), QStringLiteral("0"));
  EXPECT_EQ(Text(dialog, "List_beta"), beta);
  Type(dialog, "List_beta", "0");
  EXPECT_EQ(Text(dialog, "List_beta"), QStringLiteral("0"));
  EXPECT_TRUE(Shown.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Refused edits

struct RefusedEdit {
  std::vector<std::pair<const char*, QString>> Before;  // accepted edits that set the scene
  const char* Box;
  QString Text;
  QString Message;
};

// A refusal of the core as the desktop words it.
QString Worded(TRefusalCode code, std::vector<TRefusalValue> values = {}) {
  return RefusalText(TRefusal{code, TParameter::None, std::move(values)});
}
TRefusalValue Number(double v) {
  return TRefusalValue::OfNumber(v);
}

TEST_F(UndulatorDialogTest, RefusedEditsAreReportedAndRewriteNothing) {
  const std::vector<RefusedEdit> rows = {
      // No speed of light or beyond: the field of such a charge has no value.
      {{}, "List_beta", "1", Worded(TRefusalCode::SpeedTooHigh, {Number(MaxBeta), Number(1.0)})},
      {{}, "List_beta", "1.2", Worded(TRefusalCode::SpeedTooHigh, {Number(MaxBeta), Number(1.2)})},
      {{}, "List_beta", "1e200",
       Worded(TRefusalCode::SpeedTooHigh, {Number(MaxBeta), Number(1e200)})},
      {{}, "List_beta", "-0.5", Worded(TRefusalCode::SpeedNotPositive, {Number(-0.5)})},
      {{}, "List_Energy", "-1", Worded(TRefusalCode::EnergyNotPositive, {Number(-1.0)})},
      // γ = 1 + E / mc² so large that β rounds to 1.
      {{}, "List_Energy", "1e305", Worded(TRefusalCode::SpeedTooHigh, {Number(MaxBeta), Number(1.0)})},
      {{}, "List_Lu", "0", Worded(TRefusalCode::UndulatorPeriodNotPositive, {Number(0.0)})},
      {{{"List_Lu", "10"}}, "List_K", "1e308", Worded(TRefusalCode::UndulatorOutOfRange)},
      {{}, "List_Bu", "1e308", Worded(TRefusalCode::UndulatorOutOfRange)},
      {{}, "List_Np", "0", Worded(TRefusalCode::TooFewPeriods, {TRefusalValue::OfCount(1), Number(0.0)})},
  };
  for (const RefusedEdit& row : rows) {
    SCOPED_TRACE(std::string(row.Box) + " <- " + row.Text.toStdString());
    TStartedSimulation simulation;
    TUndulatorSetupDlg dialog(simulation.Commands);
    dialog.show();
    for (const auto& [name, text] : row.Before) Paste(dialog, name, text);
    ASSERT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    const QStringList texts = AllTexts(dialog);

    Paste(dialog, row.Box, row.Text);
    // Typed text is not yet a value: it is told by OK, which keeps the dialog open.
    EXPECT_TRUE(Shown.isEmpty());
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);

    EXPECT_EQ(Shown, QStringList{row.Message});
    QStringList expected = texts;
    expected[std::distance(std::begin(BoxNames),
                           std::find_if(std::begin(BoxNames), std::end(BoxNames),
                                        [&](const char* n) { return qstrcmp(n, row.Box) == 0; }))] =
        row.Text;
    EXPECT_EQ(AllTexts(dialog), expected);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(simulation.State.Trajectory, TTrajectoryParameters{});
    Shown.clear();
  }
}

TEST_F(UndulatorDialogTest, ARefusedEditLeavesTheEntryAndWhatRunsAsTheyWere) {
  TUndulatorSetupDlg dialog(Commands);
  const TTrajectoryParameters before = State.Trajectory;
  dialog.show();
  Type(dialog, "List_K", "1");
  const QStringList texts = AllTexts(dialog);

  // Key by key: "1" is refused quietly, and the partner and the derived values stay as they were.
  Type(dialog, "List_beta", "1");
  EXPECT_TRUE(Shown.isEmpty());
  QStringList expected = texts;
  expected[0] = QStringLiteral("1");
  EXPECT_EQ(AllTexts(dialog), expected);

  // OK reads the refused box again and tells why; the dialog stays open, nothing runs.
  QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  EXPECT_EQ(Shown, QStringList{Worded(TRefusalCode::SpeedTooHigh, {Number(MaxBeta), Number(1.0)})});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(State.Trajectory, before);
}

TEST_F(UndulatorDialogTest, TextsThatDoNotConvertAreReportedAndStoreNothing) {
  TUndulatorSetupDlg dialog(Commands);
  dialog.show();
  const TTrajectoryParameters before = State.Trajectory;
  // Clearing K to type a new value says nothing yet; OK tells the empty box.
  Type(dialog, "List_K", "");
  EXPECT_TRUE(Shown.isEmpty());
  QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  EXPECT_EQ(Shown, QStringList{QStringLiteral("'' is not a valid floating point value")});
  EXPECT_TRUE(dialog.isVisible());
  Type(dialog, "List_K", "2");
  Shown.clear();
  Paste(dialog, "List_Np", "2.5");
  QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  EXPECT_EQ(Shown, QStringList{QStringLiteral("'2.5' is not a valid integer value")});
  EXPECT_EQ(State.Trajectory, before);
}

// ---------------------------------------------------------------------------------------------
// OK, Cancel, Enter, Esc, close box

TEST_F(UndulatorDialogTest, OkWithABoxThatDoesNotConvertKeepsTheDialogOpen) {
  TUndulatorSetupDlg dialog(Commands);
  const int result = RunModal(dialog, [&] {
    Paste(dialog, "List_Np", "2.5");
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
    EXPECT_EQ(Shown, QStringList{QStringLiteral("'2.5' is not a valid integer value")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Text(dialog, "List_Np"), QStringLiteral("2.5"));

    Type(dialog, "List_Np", "3");
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(State.Trajectory.UndPeriods, 3);
  EXPECT_EQ(State.Trajectory.UndAmplitude, TTrajectoryParameters{}.UndAmplitude);
  EXPECT_EQ(Shown.size(), 1);
}

TEST_F(UndulatorDialogTest, OkRefusesAPathTheChargeCannotRunAndStoresNothing) {
  struct TRow {
    const char* Box;
    QString Text;
    QString Part;  // what the message names
  };
  const std::vector<TRow> rows = {
      {"List_beta", "1.5", "1.500"},
      {"List_Lu", "0", "0.000"},
      // A speed the relations take, but a path of more ticks than the table holds.
      {"List_beta", "1e-7", "1.00E-07"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::string(row.Box) + " <- " + row.Text.toStdString());
    TStartedSimulation simulation;
    TUndulatorSetupDlg dialog(simulation.Commands);
    const int result = RunModal(dialog, [&] {
      Paste(dialog, row.Box, row.Text);
      QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
      ASSERT_EQ(Shown.size(), 1);
      EXPECT_TRUE(Shown[0].contains(row.Part)) << Shown[0].toStdString();
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_EQ(Text(dialog, row.Box), row.Text);
      QTest::mouseClick(Button(dialog, "CancelBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(simulation.State.Trajectory, TTrajectoryParameters{});
    EXPECT_EQ(simulation.State.TrajectoryMode, tmMouse);
    Shown.clear();
  }
}

TEST_F(UndulatorDialogTest, CancelDropsTheEditsAndTheNextOpeningShowsWhatRuns) {
  TUndulatorSetupDlg dialog(Commands);
  QStringList opened;
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       opened = AllTexts(dialog);
                       Type(dialog, "List_K", "1");
                       Type(dialog, "List_Np", "3");
                       QTest::mouseClick(Button(dialog, "CancelBtn"), Qt::LeftButton);
                     }),
            mrCancel);
  EXPECT_EQ(State.Trajectory, TTrajectoryParameters{});

  QStringList reopened;
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       reopened = AllTexts(dialog);
                       QTest::keyClick(Box(dialog, "List_beta")->lineEdit(), Qt::Key_Escape);
                     }),
            mrCancel);
  EXPECT_EQ(reopened, opened);
  // And what it shows is taken at the next rebuild of the path: the path as before.
  ASSERT_FALSE(Commands.ChooseModelSize({400, 40, 20}));
  EXPECT_EQ(State.Trajectory, TTrajectoryParameters{});
}

TEST_F(UndulatorDialogTest, EnterAcceptsEscAndTheCloseBoxCancelAndHelpDoesNothing) {
  TUndulatorSetupDlg dialog(Commands);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       Type(dialog, "List_K", "3");
                       QTest::keyClick(Box(dialog, "List_K")->lineEdit(), Qt::Key_Return);
                     }),
            mrOk);
  // Enter did not add the typed text to the suggestions.
  EXPECT_EQ(Box(dialog, "List_K")->count(), 7);
  EXPECT_NEAR(UndulatorEntryOf(State.Trajectory).K, 3.0, 1e-12);

  EXPECT_EQ(RunModal(dialog,
                     [&] { QTest::keyClick(Box(dialog, "List_Bu")->lineEdit(), Qt::Key_Escape); }),
            mrCancel);
  EXPECT_EQ(RunModal(dialog, [&] { dialog.close(); }), mrCancel);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       QTest::mouseClick(Button(dialog, "HelpBtn"), Qt::LeftButton);
                       EXPECT_TRUE(dialog.isVisible());
                       QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
                     }),
            mrOk);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
}

// ---------------------------------------------------------------------------------------------
// Locale

class CommaLocale {
 public:
  CommaLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
  ~CommaLocale() { QLocale::setDefault(Saved); }

 private:
  QLocale Saved;
};

TEST_F(UndulatorDialogTest, CommaLocaleShowsAndReadsCommas) {
  CommaLocale comma;
  TUndulatorSetupDlg dialog(Commands);
  // The texts are shown with the locale's separator, so that OK at once converts them.
  EXPECT_EQ(Text(dialog, "List_beta"), QStringLiteral("0,95"));
  EXPECT_EQ(Box(dialog, "List_Energy")->itemText(6), QStringLiteral("1,5"));
  EXPECT_EQ(Text(dialog, "LabelAmplitude"), QStringLiteral("2,78E-02"));

  const int result = RunModal(dialog, [&] {
    Type(dialog, "List_Energy", "0,511");
    EXPECT_EQ(Text(dialog, "List_beta"), QStringLiteral("0,866025"));
    EXPECT_EQ(Text(dialog, "LabelGamma"), QStringLiteral("2,00"));
    EXPECT_EQ(Text(dialog, "LabelLrad"), QStringLiteral("1,23E+05"));
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();

    // The point is read as well; the partner box answers in the locale's form.
    Paste(dialog, "List_K", "1.5");
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    EXPECT_EQ(Text(dialog, "List_Bu"), QStringLiteral("0,81"));
    Paste(dialog, "List_K", "1.500");
    EXPECT_TRUE(Shown.isEmpty());
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
    EXPECT_EQ(Shown, QStringList{QStringLiteral(
                         "'1.500' can be read in two ways: write the decimal separator as ,")});
    Paste(dialog, "List_K", "1,5");
    EXPECT_EQ(Text(dialog, "List_Bu"), QStringLiteral("0,81"));
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  });
  EXPECT_EQ(result, mrOk);
  // γ = 1 + 0.511 / 0.511 = 2, K 1.5 as typed.
  const TUndulatorEntry runs = UndulatorEntryOf(State.Trajectory);
  EXPECT_NEAR(runs.EnergyMeV, 0.511, 1e-12);
  EXPECT_NEAR(runs.K, 1.5, 1e-12);
}

// ---------------------------------------------------------------------------------------------
// Window and layout

TEST_F(UndulatorDialogTest, WindowIsFixedScaledAndStaysOnTop) {
  TUndulatorSetupDlg dialog(Commands);
  const double scale = dialog.screen()->logicalDotsPerInch() / 96.0;
  const QSize expected(qRound(529 * scale), qRound(535 * scale));
  EXPECT_EQ(dialog.size(), expected);
  EXPECT_EQ(dialog.minimumSize(), expected);
  EXPECT_EQ(dialog.maximumSize(), expected);
  const Qt::WindowFlags flags = dialog.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);

  // Centred on the screen when shown.
  const QPoint centre = dialog.screen()->availableGeometry().center();
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       EXPECT_LE((dialog.frameGeometry().center() - centre).manhattanLength(), 40);
                       dialog.close();
                     }),
            mrCancel);
}

// A laptop at twice its pixels has a free area of about 960 x 500 logical pixels, less than the
// window needs: the window then takes what fits, inside that area, and its content scrolls so
// that OK and Cancel can be reached. Where the window fits, nothing scrolls.
TEST_F(UndulatorDialogTest, OnASmallScreenTheWindowFitsAndItsContentScrolls) {
  struct TRow {
    QRect Area;
    bool Scrolls;
  };
  const TRow rows[] = {{QRect(0, 0, 1920, 1040), false},
                       {QRect(0, 0, 960, 500), true},
                       {QRect(100, 30, 700, 420), true}};
  TUndulatorSetupDlg dialog(Commands);
  const QSize full = dialog.size();
  auto* scroll = dialog.findChild<QScrollArea*>(QStringLiteral("Scroll"));
  ASSERT_NE(scroll, nullptr);
  QPushButton* ok = Button(dialog, "OKBtn");
  for (const TRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.Area.width() << " x " << row.Area.height());
    dialog.FitInto(row.Area);
    dialog.show();
    QApplication::processEvents();
    EXPECT_TRUE(row.Area.contains(dialog.geometry()));
    EXPECT_EQ(dialog.size() == full, !row.Scrolls);
    EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), row.Scrolls);
    // Only the height is cut where the width fits: the page shows its whole width.
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    scroll->ensureWidgetVisible(ok);
    QApplication::processEvents();
    const QRect shown(ok->mapTo(scroll->viewport(), QPoint(0, 0)), ok->size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(shown));
    dialog.hide();
  }
}

// w's rectangle in the dialog's coordinates.
QRect InDialog(const QWidget* w, const QWidget* dialog) {
  return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
}

TEST_F(UndulatorDialogTest, NothingIsClippedAndEveryCaptionAndPictureSitsOnItsRow) {
  TUndulatorSetupDlg dialog(Commands);
  dialog.show();
  for (QWidget* child : dialog.findChildren<QWidget*>()) {
    if (child->isWindow() || !child->isVisible()) continue;
    const QWidget* parent = child->parentWidget();
    if (qobject_cast<const QComboBox*>(parent)) continue;  // the box's own parts
    EXPECT_TRUE(parent->rect().contains(child->geometry()))
        << child->metaObject()->className() << " " << child->objectName().toStdString()
        << " sticks out of its parent";
    if (auto* label = qobject_cast<QLabel*>(child); label && !label->text().isEmpty()) {
      EXPECT_LE(label->sizeHint().width(), label->width())
          << "caption clipped: " << label->text().toStdString();
    }
  }

  struct Row {
    QString Caption;
    const char* Value;
    const char* Symbol;  // picture beside the row, or none
  };
  const std::vector<Row> rows = {
      {"Electron Velocity/Light velocity", "List_beta", "symbol-beta.jpg"},
      {"Electron Energy   : E (MeV)", "List_Energy", nullptr},
      {"Relativistic Electron Energy", "LabelGamma", "symbol-gamma.jpg"},
      {"Undulator Wavelength :", "List_Lu", "symbol-lambda-u.jpg"},
      {"Radiation Wavelength :", "LabelLrad", "symbol-lambda-rad.jpg"},
      {"Number of Periods : N", "List_Np", nullptr},
      {"K-Parameter", "List_K", nullptr},
      {"Peak Magnetic Field Strength : Bu (kG)", "List_Bu", nullptr},
      {"Maximum Orbit Angle :", "LabelMaxAngle", "symbol-phi.jpg"},
      {"Oscillation Amplitude :", "LabelAmplitude", "symbol-a.jpg"},
  };
  const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
  auto byText = [&](const QString& text) -> QLabel* {
    for (QLabel* label : labels)
      if (label->text() == text) return label;
    return nullptr;
  };
  auto* valueColumn = dialog.findChild<QWidget*>(QStringLiteral("List_beta"));
  const int valueLeft = InDialog(valueColumn, &dialog).left();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Caption.toStdString());
    QLabel* caption = byText(row.Caption);
    ASSERT_NE(caption, nullptr);
    auto* value = dialog.findChild<QWidget*>(QString::fromLatin1(row.Value));
    ASSERT_NE(value, nullptr);
    const QRect captionRect = InDialog(caption, &dialog);
    const QRect valueRect = InDialog(value, &dialog);
    EXPECT_LE(std::abs(captionRect.center().y() - valueRect.center().y()), 1);
    EXPECT_EQ(valueRect.left(), valueLeft);
    EXPECT_LT(captionRect.right(), valueRect.left());
    if (row.Symbol) {
      auto* symbol = dialog.findChild<QLabel*>(QString::fromLatin1(row.Symbol));
      ASSERT_NE(symbol, nullptr);
      const QRect symbolRect = InDialog(symbol, &dialog);
      EXPECT_LE(std::abs(symbolRect.center().y() - valueRect.center().y()), 1);
      EXPECT_LT(captionRect.right(), symbolRect.left());
      EXPECT_LT(symbolRect.right(), valueRect.left());
      EXPECT_FALSE(symbol->pixmap().isNull()) << "picture missing";
    }
  }

  // The two brackets join β with E and K with Bu, right of the boxes.
  QList<QRect> brackets;
  for (QLabel* label : labels)
    if (label->objectName() == QStringLiteral("link-bracket.jpg")) {
      brackets << InDialog(label, &dialog);
      EXPECT_FALSE(label->pixmap().isNull()) << "bracket picture missing";
    }
  ASSERT_EQ(brackets.size(), 2);
  const std::pair<const char*, const char*> pairs[] = {{"List_beta", "List_Energy"},
                                                       {"List_K", "List_Bu"}};
  for (const auto& [first, second] : pairs) {
    const QRect a = InDialog(Box(dialog, first), &dialog);
    const QRect b = InDialog(Box(dialog, second), &dialog);
    const bool joined = std::any_of(brackets.begin(), brackets.end(), [&](const QRect& r) {
      return r.left() > a.right() && r.top() <= a.center().y() && r.bottom() >= b.center().y();
    });
    EXPECT_TRUE(joined) << first << " and " << second << " are not joined by a bracket";
  }

  auto* orbit = dialog.findChild<QLabel*>(QStringLiteral("undulator-orbit.jpg"));
  ASSERT_NE(orbit, nullptr);
  EXPECT_FALSE(orbit->pixmap().isNull()) << "orbit picture missing";
  const double scale = dialog.screen()->logicalDotsPerInch() / 96.0;
  EXPECT_EQ(orbit->size(), QSize(qRound(513 * scale), qRound(177 * scale)));
}

}  // namespace
