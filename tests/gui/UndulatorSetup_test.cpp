// The undulator dialog driven through its widgets: first-opening texts, the linked pairs and their
// figures, the checked arithmetic, OK / Cancel / Enter / Esc / close box, and the layout.
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
#include "dialogs/ModalResult.h"
#include "engine/Trajectories.h"
#include "support/ErrorRecordingTest.h"

namespace {

const char* const BoxNames[] = {"List_beta", "List_Energy", "List_Lu",
                                "List_Np",   "List_K",      "List_Bu"};
const char* const LabelNames[] = {"LabelGamma", "LabelLrad", "LabelMaxAngle", "LabelAmplitude"};

class UndulatorDialogTest : public ErrorRecordingTest {
 protected:
  UndulatorDialogTest() { Start(State); }
  // The wave speed the window has set before any dialog opens: OK checks the path against it.
  static void Start(TSimulationState& state) {
    state.FieldSimulation.WaveVelocity = ModelWidth / state.ISize;
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
};

// ---------------------------------------------------------------------------------------------
// First opening

TEST_F(UndulatorDialogTest, FirstOpeningShowsTheBuiltInTextsAndSuggestions) {
  TUndulatorSetupDlg dialog(State);
  struct Row {
    const char* Box;
    QString Text;
    QStringList Items;
  };
  const std::vector<Row> rows = {
      {"List_beta", "0.95", {"0.5", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99"}},
      {"List_Energy", "0.66", {"0.1", "0.2", "0.3", "0.5", "0.8", "1", "1.5", "2", "5", "10"}},
      {"List_Lu", "20", {"0.5", "1", "2", "5", "10", "20", "30"}},
      {"List_Np", "5", {"1", "2", "5", "10"}},
      {"List_K", "2", {"0.1", "0.2", "0.5", "1", "2", "5", "10"}},
      {"List_Bu", "0.54", {"0.1", "0.2", "0.5", "1", "2", "5", "10"}},
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
  EXPECT_EQ(Text(dialog, "LabelGamma"), QStringLiteral("10.0 "));
  EXPECT_EQ(Text(dialog, "LabelLrad"), QStringLiteral("1.45E04"));
  EXPECT_EQ(Text(dialog, "LabelMaxAngle"), QStringLiteral("3.11E-01"));
  EXPECT_EQ(Text(dialog, "LabelAmplitude"), QStringLiteral("9.91E-3"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Undulator Parameter"));
  EXPECT_EQ(Button(dialog, "OKBtn")->text(), QStringLiteral("OK"));
  EXPECT_TRUE(Button(dialog, "OKBtn")->isDefault());
  EXPECT_EQ(Button(dialog, "CancelBtn")->text(), QStringLiteral("Cancel"));
  EXPECT_EQ(Button(dialog, "HelpBtn")->text(), QStringLiteral("&Help"));
}

TEST_F(UndulatorDialogTest, OkAtOnceStoresTheSixBoxesAndDerivesNothing) {
  TUndulatorSetupDlg dialog(State);
  const TFieldSimulation before = State.FieldSimulation;
  const QStringList labels = AllTexts(dialog);

  EXPECT_EQ(RunModal(dialog, [&] { QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton); }),
            mrOk);

  const TFieldSimulation& f = State.FieldSimulation;
  // The conversions multiply by 0.01 and 0.1, which are not exact in binary.
  EXPECT_DOUBLE_EQ(f.UndBeta, 0.95);
  EXPECT_DOUBLE_EQ(f.UndEnergy, 660000.0);
  EXPECT_DOUBLE_EQ(f.UndPeriod, 0.2);
  EXPECT_DOUBLE_EQ(f.UndK, 2.0);
  EXPECT_EQ(f.UndPeriods, 5);
  EXPECT_DOUBLE_EQ(f.UndBu, 0.054);
  EXPECT_EQ(f.UndGamma, before.UndGamma);
  EXPECT_EQ(f.UndRadWavelength, before.UndRadWavelength);
  EXPECT_EQ(f.UndMaxAngle, before.UndMaxAngle);
  EXPECT_EQ(f.UndAmplitude, before.UndAmplitude);
  EXPECT_EQ(AllTexts(dialog), labels);
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
  // Figures from the first opening (β 0.95, E 0.66 MeV, λu 20 cm, K 2, Bu 0.54 kG): the edits of
  // λu, K and Bu take γ from E (2.29), not from β.
  const std::vector<LinkedEdit> rows = {
      {"List_K", "1", false, "List_Bu", "0.537634", "2.29", "2.86E+04", "4.36E-01", "1.39E-02"},
      {"List_beta", "0.95", true, "List_Energy", "1.13", "3.20", "2.93E+04", "6.24E-01",
       "1.99E-02"},
      {"List_Energy", "0.511", false, "List_beta", "0.866025", "2.00", "7.50E+04", "1.00E+00",
       "3.18E-02"},
      {"List_Energy", "1", true, "List_beta", "0.941079", "2.96", "3.43E+04", "6.76E-01",
       "2.15E-02"},
      {"List_Lu", "10", false, "List_K", "0.502200", "2.29", "1.07E+04", "2.19E-01", "3.49E-03"},
      {"List_Bu", "1", false, "List_K", "1.860000", "2.29", "5.20E+04", "8.12E-01", "2.58E-02"},
  };
  for (const LinkedEdit& row : rows) {
    SCOPED_TRACE(std::string(row.Box) + " <- " + row.Text.toStdString());
    TSimulationState state;
    TUndulatorSetupDlg dialog(state);
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
    TSimulationState state;
    Start(state);
    TUndulatorSetupDlg dialog(state);
    dialog.show();
    Pick(dialog, "List_beta", row.Beta);
    Type(dialog, row.Then, row.Text);
    const TFieldSimulation& f = state.FieldSimulation;
    const double gamma = 1.0 / std::sqrt(1.0 - f.UndBeta * f.UndBeta);
    EXPECT_NEAR(f.UndGamma, gamma, 1e-12 * gamma);
    EXPECT_EQ(Text(dialog, "LabelGamma").toStdString(), row.Gamma.toStdString());
    EXPECT_NEAR(f.UndAmplitude, f.UndK * f.UndPeriod / (2.0 * std::numbers::pi * gamma),
                1e-12 * f.UndAmplitude);
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    Shown.clear();
  }
}

TEST_F(UndulatorDialogTest, KEditStoresEveryValueLive) {
  TUndulatorSetupDlg dialog(State);
  dialog.show();
  Type(dialog, "List_K", "1");
  const TFieldSimulation& f = State.FieldSimulation;
  const double gamma = 660000.0 / 511000.0 + 1.0;
  // Computed along the same steps as the dialog, so only the last bit may differ.
  EXPECT_DOUBLE_EQ(f.UndBeta, 0.95);
  EXPECT_DOUBLE_EQ(f.UndEnergy, 660000.0);
  EXPECT_DOUBLE_EQ(f.UndPeriod, 0.2);
  EXPECT_EQ(f.UndPeriods, 5);
  EXPECT_DOUBLE_EQ(f.UndK, 1.0);
  EXPECT_DOUBLE_EQ(f.UndBu, 1.0 / 93.0 / 0.2);
  EXPECT_DOUBLE_EQ(f.UndGamma, gamma);
  EXPECT_DOUBLE_EQ(f.UndRadWavelength, 0.2 * 0.5 / (gamma * gamma) * 1.5);
  EXPECT_DOUBLE_EQ(f.UndMaxAngle, 1.0 / gamma);
  EXPECT_DOUBLE_EQ(f.UndAmplitude, 0.2 / (2.0 * 3.14159265358979323846 * gamma));
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
    TSimulationState state;
    Start(state);
    TUndulatorSetupDlg dialog(state);
    dialog.show();
    Type(dialog, "List_beta", row.Beta);
    Type(dialog, "List_K", row.K);
    const double angle = Text(dialog, "LabelMaxAngle").toDouble();
    const double amplitude = Text(dialog, "LabelAmplitude").toDouble();
    TPathGeneration path;
    BuildTrajectory(path, tmUndulator, state.FieldSimulation, state.FieldSimulation.WaveVelocity);
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
// another unit (φ in "mrad" beside "φ (rad)") makes it a thousand times off. K 2, E 0.66 MeV
// (γ = 1 + 0.66 / 0.511), λu 20 cm: λrad = λu / (2γ²) (1 + K²/2), φ = K / γ, a = λu φ / (2π).
TEST_F(UndulatorDialogTest, EachDerivedValueIsInTheUnitOfItsSymbolAndItsCaptionNamesNoOther) {
  TUndulatorSetupDlg dialog(State);
  dialog.show();
  Type(dialog, "List_K", "2");
  const double gamma = 1.0 + 0.66 / 0.511;
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
  // rounded text back and rewritten a box the user typed: 0.9 would come back from E = 0.66 MeV
  // as 0.899765, 0.511 from β = 0.866025 as 0.51, the field held by a new λu as 0.540000.
  struct Row {
    const char* Box;
    QString Text;
    const char* Kept;
    QString KeptText;
  };
  const std::vector<Row> rows = {{"List_beta", "0.9", "List_beta", "0.9"},
                                 {"List_Energy", "0.511", "List_Energy", "0.511"},
                                 {"List_Lu", "7", "List_Bu", "0.54"},
                                 {"List_K", "3", "List_K", "3"},
                                 {"List_Bu", "2", "List_Bu", "2"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Box);
    TSimulationState state;
    TUndulatorSetupDlg dialog(state);
    dialog.show();
    Type(dialog, row.Box, row.Text);
    EXPECT_EQ(Text(dialog, row.Kept), row.KeptText);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
}

TEST_F(UndulatorDialogTest, TypedTextIsNotCompletedFromTheList) {
  // "0" is the start of the items 0.1 and 0.5; what the user typed is what counts.
  TUndulatorSetupDlg dialog(State);
  dialog.show();
  Type(dialog, "List_Energy", "0");
  EXPECT_EQ(Text(dialog, "List_Energy"), QStringLiteral("0"));
  EXPECT_EQ(State.FieldSimulation.UndEnergy, 0.0);
  EXPECT_EQ(Text(dialog, "List_beta"), QStringLiteral("0.000000"));
  Type(dialog, "List_beta", "0");
  EXPECT_EQ(Text(dialog, "List_beta"), QStringLiteral("0"));
}

// ---------------------------------------------------------------------------------------------
// Refused edits

struct RefusedEdit {
  std::vector<std::pair<const char*, QString>> Before;  // accepted edits that set the scene
  const char* Box;
  QString Text;
  QString Message;
};

TEST_F(UndulatorDialogTest, ArithmeticFaultsAreReportedAndRewriteNothing) {
  const std::vector<RefusedEdit> rows = {
      {{}, "List_beta", "1", "Floating point division by zero"},
      {{}, "List_beta", "1.5", "Invalid floating point operation"},
      {{}, "List_beta", "1e200", "Floating point overflow"},
      {{}, "List_Energy", "-1", "Invalid floating point operation"},
      {{}, "List_Energy", "-0.511", "Floating point division by zero"},
      {{}, "List_Energy", "1e305", "Floating point overflow"},
      {{{"List_Lu", "0"}}, "List_K", "1", "Floating point division by zero"},
      {{{"List_Lu", "0"}}, "List_K", "0", "Invalid floating point operation"},
      {{}, "List_Bu", "1e308", "Floating point overflow"},
      {{{"List_Energy", "0.66"}}, "List_Lu", "1e308", "Floating point overflow"},
  };
  for (const RefusedEdit& row : rows) {
    SCOPED_TRACE(std::string(row.Box) + " <- " + row.Text.toStdString());
    TSimulationState state;
    TUndulatorSetupDlg dialog(state);
    dialog.show();
    for (const auto& [name, text] : row.Before) Paste(dialog, name, text);
    ASSERT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    const QStringList texts = AllTexts(dialog);

    Paste(dialog, row.Box, row.Text);

    EXPECT_EQ(Shown, QStringList{row.Message});
    QStringList expected = texts;
    expected[std::distance(std::begin(BoxNames),
                           std::find_if(std::begin(BoxNames), std::end(BoxNames),
                                        [&](const char* n) { return qstrcmp(n, row.Box) == 0; }))] =
        row.Text;
    EXPECT_EQ(AllTexts(dialog), expected);
    EXPECT_TRUE(dialog.isVisible());
    Shown.clear();
  }
}

// The undulator's values as stored, for comparing them as a whole.
std::vector<double> UndulatorValues(const TFieldSimulation& f) {
  return {f.UndBeta, f.UndGamma, f.UndEnergy,    f.UndPeriod,   f.UndRadWavelength,
          f.UndK,    f.UndBu,    f.UndAmplitude, f.UndMaxAngle, static_cast<double>(f.UndPeriods)};
}

TEST_F(UndulatorDialogTest, ARefusedEditLeavesEveryStoredValueAsItWas) {
  TUndulatorSetupDlg dialog(State);
  dialog.show();
  Type(dialog, "List_K", "1");  // γ 2.29 and Bu stored
  const std::vector<double> before = UndulatorValues(State.FieldSimulation);
  const QStringList texts = AllTexts(dialog);

  // Every box is converted before γ = 1 / √0 fails: the β of 1 is refused, not stored.
  Type(dialog, "List_beta", "1");
  EXPECT_EQ(Shown, QStringList{QStringLiteral("Floating point division by zero")});
  EXPECT_EQ(UndulatorValues(State.FieldSimulation), before);
  EXPECT_EQ(Text(dialog, "List_Energy"), texts[1]);
  EXPECT_EQ(Text(dialog, "LabelGamma"), QStringLiteral("2.29"));

  // λu 0, then K: Bu = K / 93 / 0 fails after every box was converted.
  Shown.clear();
  Type(dialog, "List_beta", "0.95");
  Paste(dialog, "List_Lu", "0");
  ASSERT_EQ(Shown.size(), 0);
  const std::vector<double> beforeK = UndulatorValues(State.FieldSimulation);
  Type(dialog, "List_K", "4");
  EXPECT_EQ(Shown, QStringList{QStringLiteral("Floating point division by zero")});
  EXPECT_EQ(UndulatorValues(State.FieldSimulation), beforeK);
}

TEST_F(UndulatorDialogTest, TextsThatDoNotConvertAreReportedAndStoreNothing) {
  TUndulatorSetupDlg dialog(State);
  dialog.show();
  const std::vector<double> before = UndulatorValues(State.FieldSimulation);

  // Clearing K to type a new value: the empty box is reported at once, and the boxes before it
  // are not stored either.
  Type(dialog, "List_K", "");
  EXPECT_EQ(Shown, QStringList{QStringLiteral("'' is not a valid floating point value")});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(UndulatorValues(State.FieldSimulation), before);
  Type(dialog, "List_K", "2");
  Shown.clear();

  // N is converted by the next edit of another box, which it stops.
  Type(dialog, "List_Np", "2.5");
  EXPECT_TRUE(Shown.isEmpty());
  const QStringList texts = AllTexts(dialog);
  const std::vector<double> beforeN = UndulatorValues(State.FieldSimulation);
  Type(dialog, "List_K", "3");
  EXPECT_EQ(Shown, QStringList{QStringLiteral("'2.5' is not a valid integer value")});
  EXPECT_EQ(UndulatorValues(State.FieldSimulation), beforeN);
  QStringList expected = texts;
  expected[4] = QStringLiteral("3");
  EXPECT_EQ(AllTexts(dialog), expected);
}

// ---------------------------------------------------------------------------------------------
// OK, Cancel, Enter, Esc, close box

TEST_F(UndulatorDialogTest, OkWithABoxThatDoesNotConvertKeepsTheDialogOpen) {
  TUndulatorSetupDlg dialog(State);
  const int result = RunModal(dialog, [&] {
    Type(dialog, "List_Np", "2.5");
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
    EXPECT_EQ(Shown, QStringList{QStringLiteral("'2.5' is not a valid integer value")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Text(dialog, "List_Np"), QStringLiteral("2.5"));

    Type(dialog, "List_Np", "3");
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(State.FieldSimulation.UndPeriods, 3);
  EXPECT_DOUBLE_EQ(State.FieldSimulation.UndBu, 0.054);
  EXPECT_EQ(Shown.size(), 1);
}

TEST_F(UndulatorDialogTest, OkRefusesAPathTheChargeCannotRunAndStoresNothing) {
  struct TRow {
    const char* Box;
    QString Text;
    QString Message;
  };
  const std::vector<TRow> rows = {
      {"List_beta", "1",
       "The electron velocity must be below the light velocity (1.000 was given)."},
      {"List_beta", "1.5",
       "The electron velocity must be below the light velocity (1.500 was given)."},
      {"List_beta", "-0.5", "The speed must be greater than 0 (-0.500 was given)."},
      {"List_Lu", "0", "The undulator period must be greater than 0 (0.000 was given)."},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::string(row.Box) + " <- " + row.Text.toStdString());
    TSimulationState state;
    Start(state);
    TUndulatorSetupDlg dialog(state);
    std::vector<double> before;
    const int result = RunModal(dialog, [&] {
      Paste(dialog, row.Box, row.Text);
      Shown.clear();
      before = UndulatorValues(state.FieldSimulation);
      QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
      EXPECT_EQ(Shown.join('\n').toStdString(), row.Message.toStdString());
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_EQ(Text(dialog, row.Box), row.Text);
      QTest::mouseClick(Button(dialog, "CancelBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(UndulatorValues(state.FieldSimulation), before);
    Shown.clear();
  }
}

TEST_F(UndulatorDialogTest, CancelKeepsWhatTheEditsStoredAndTheNextOpeningShowsTheirTexts) {
  TUndulatorSetupDlg dialog(State);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       Type(dialog, "List_K", "1");
                       QTest::mouseClick(Button(dialog, "CancelBtn"), Qt::LeftButton);
                     }),
            mrCancel);
  const TFieldSimulation& f = State.FieldSimulation;
  EXPECT_DOUBLE_EQ(f.UndK, 1.0);
  EXPECT_DOUBLE_EQ(f.UndBu, 1.0 / 93.0 / 0.2);
  EXPECT_NEAR(f.UndGamma, 2.2916, 1e-4);  // the figure is rounded to four decimals

  QStringList reopened;
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       reopened = AllTexts(dialog);
                       QTest::keyClick(Box(dialog, "List_beta")->lineEdit(), Qt::Key_Escape);
                     }),
            mrCancel);
  EXPECT_EQ(reopened, (QStringList{"0.95", "0.66", "20", "5", "1", "0.537634", "2.29", "2.86E+04",
                                   "4.36E-01", "1.39E-02"}));
}

TEST_F(UndulatorDialogTest, EnterAcceptsEscAndTheCloseBoxCancelAndHelpDoesNothing) {
  TUndulatorSetupDlg dialog(State);
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       Type(dialog, "List_K", "3");
                       QTest::keyClick(Box(dialog, "List_K")->lineEdit(), Qt::Key_Return);
                     }),
            mrOk);
  // Enter did not add the typed text to the suggestions.
  EXPECT_EQ(Box(dialog, "List_K")->count(), 7);
  EXPECT_DOUBLE_EQ(State.FieldSimulation.UndK, 3.0);

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
  TUndulatorSetupDlg dialog(State);
  // The built-in texts are shown with the locale's separator, so that OK at once converts them.
  EXPECT_EQ(Text(dialog, "List_beta"), QStringLiteral("0,95"));
  EXPECT_EQ(Box(dialog, "List_Energy")->itemText(6), QStringLiteral("1,5"));
  EXPECT_EQ(Text(dialog, "LabelAmplitude"), QStringLiteral("9,91E-3"));

  const int result = RunModal(dialog, [&] {
    Type(dialog, "List_Energy", "0,511");
    EXPECT_EQ(Text(dialog, "List_beta"), QStringLiteral("0,866025"));
    EXPECT_EQ(Text(dialog, "LabelGamma"), QStringLiteral("2,00"));
    EXPECT_EQ(Text(dialog, "LabelLrad"), QStringLiteral("7,50E+04"));
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();

    // The point is read as well; the partner box answers in the locale's form.
    Paste(dialog, "List_K", "1.5");
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join('\n').toStdString();
    EXPECT_EQ(Text(dialog, "List_Bu"), QStringLiteral("0,806452"));
    Paste(dialog, "List_K", "1.500");
    EXPECT_EQ(Shown, QStringList{QStringLiteral(
                         "'1.500' can be read in two ways: write the decimal separator as ,")});
    Paste(dialog, "List_K", "1,5");
    EXPECT_EQ(Text(dialog, "List_Bu"), QStringLiteral("0,806452"));
    QTest::mouseClick(Button(dialog, "OKBtn"), Qt::LeftButton);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_DOUBLE_EQ(State.FieldSimulation.UndEnergy, 511000.0);
  EXPECT_DOUBLE_EQ(State.FieldSimulation.UndK, 1.5);
  // OK stored the field once more, from the rounded text of its box.
  EXPECT_DOUBLE_EQ(State.FieldSimulation.UndBu, 0.0806452);
}

// ---------------------------------------------------------------------------------------------
// Window and layout

TEST_F(UndulatorDialogTest, WindowIsFixedScaledAndStaysOnTop) {
  TUndulatorSetupDlg dialog(State);
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
  TUndulatorSetupDlg dialog(State);
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
  TUndulatorSetupDlg dialog(State);
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
      {"Electron Velocity/Light veolocity", "List_beta", "symbol-beta.jpg"},
      {"Electron Energy   : E (MeV)", "List_Energy", nullptr},
      {"Relativistic Electron Energy", "LabelGamma", "symbol-gamma.jpg"},
      {"Undulator Wavelength :", "List_Lu", "symbol-lambda-u.jpg"},
      {"Radiation Wavelength :", "LabelLrad", "symbol-lambda-rad.jpg"},
      {"Number of Period : N", "List_Np", nullptr},
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
