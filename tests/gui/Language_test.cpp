// SPDX-License-Identifier: GPL-3.0-or-later
// The two languages on the real main window: the switch through the menu both ways (captions,
// tooltips, hints, messages), the choice remembered and the command line's override, and every
// refusal of the core and fixed message of the desktop in the Japanese catalogue.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "MainFormDriver.h"
#include "app/CommandLine.h"
#include "app/Language.h"
#include "app/RefusalText.h"
#include "dialogs/BetaInfo.h"
#include "dialogs/Pictures.h"
#include "export/RenderCommand.h"
#include "engine/ModelLimits.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

namespace {

const QRegularExpression JapaneseLetter(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));

bool HasJapanese(const QString& text) { return text.contains(JapaneseLetter); }
// A caption as a tooltip names it: no access key, no ellipsis, no closing blank.
QString Plain(const QString& caption) {
  QString plain = QString(caption).remove(QLatin1Char('&')).trimmed();
  if (plain.endsWith(QChar(0x2026))) plain.chop(1);
  return plain.trimmed();
}

// Every item of the menu tree, submenus included, by component name.
std::map<QString, QAction*> AllItems(QMenuBar& bar) {
  std::map<QString, QAction*> items;
  std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
    for (QAction* action : actions) {
      if (action->isSeparator()) continue;
      items[action->objectName()] = action;
      if (action->menu()) walk(action->menu()->actions());
    }
  };
  walk(bar.actions());
  return items;
}

struct TTexts {
  QString Caption;
  QString Tooltip;
};

class LanguageTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StoreLanguage(TLanguage::Japanese);
    Form->SetLanguage(StartLanguage(QString()));
    Form->CreateRemainingWindows();
    Form->MnuPauseClick();
  }

  QAction& Item(const char* name) { return Form->MainMenu1.Item(name); }

  std::map<QString, TTexts> Texts() {
    std::map<QString, TTexts> texts;
    for (const auto& [name, action] : AllItems(*Form->menuBar()))
      texts[name] = {action->text(), action->toolTip()};
    return texts;
  }

  // Circle dialog with radius text typed, OK: the engine refuses a zero radius, and a text that is
  // no number is refused before it. Returns the message shown.
  QString CircleRefusal(const QString& radius) {
    Shown.clear();
    WhenModal([radius](QWidget& dialog) {
      auto* box = dialog.findChild<QComboBox*>(QStringLiteral("List_Radius"));
      ASSERT_NE(box, nullptr);
      box->lineEdit()->selectAll();
      QTest::keyClicks(box->lineEdit(), radius);
      ClickButton(dialog, "OKBtn");
      ClickButton(dialog, "CancelBtn");
    });
    Item("MnuCircle").trigger();
    return Shown.isEmpty() ? QString() : Shown.last();
  }
};

// The test entry puts every GUI test's settings into Qt's test folder, not the user's.
TEST_F(LanguageTest, TheSettingsAreTheTestsOwn) {
  // A folder of this test process: not the user's, not one shared with a test running beside it.
  EXPECT_TRUE(SettingsFileName().startsWith(QDir::tempPath())) << SettingsFileName().toStdString();
}

TEST_F(LanguageTest, TheMenuSwitchesBothWaysWithTooltipsInTheOtherLanguage) {
  EXPECT_EQ(Form->Language(), TLanguage::Japanese);
  EXPECT_TRUE(Item("MnuJapanese").isChecked());
  const std::map<QString, TTexts> japanese = Texts();
  EXPECT_EQ(japanese.at("MnuFile").Caption, QString::fromUtf8("&ファイル"));
  EXPECT_EQ(japanese.at("MnuFile").Tooltip, "File");

  Item("MnuEnglish").trigger();
  EXPECT_EQ(Form->Language(), TLanguage::English);
  EXPECT_TRUE(Item("MnuEnglish").isChecked());
  EXPECT_FALSE(Item("MnuJapanese").isChecked());
  const std::map<QString, TTexts> english = Texts();
  ASSERT_EQ(english.size(), japanese.size());
  for (const auto& [name, texts] : english) {
    SCOPED_TRACE(name.toStdString());
    const TTexts& before = japanese.at(name);
    // Each language is named in its own script, and the submenu in both.
    if (name == "MnuJapanese" || name == "MnuEnglish" || name == "MnuLanguage") {
      EXPECT_EQ(Plain(texts.Caption), Plain(before.Caption));
      continue;
    }
    // The English caption is the meaning the Japanese one showed as its tooltip, and the tooltip
    // is now the Japanese caption.
    EXPECT_FALSE(HasJapanese(texts.Caption)) << texts.Caption.toStdString();
    EXPECT_EQ(Plain(texts.Caption).compare(before.Tooltip, Qt::CaseInsensitive), 0)
        << texts.Caption.toStdString();
    EXPECT_EQ(texts.Tooltip, Plain(before.Caption));
  }
  EXPECT_EQ(english.at("MnuFile").Caption, "&File");
  EXPECT_EQ(english.at("Setup").Caption, "&Setup");
  EXPECT_EQ(english.at("MnuLanguage").Caption, QString::fromUtf8("言語 / &Language"));
  EXPECT_EQ(Form->SpeedRunButton->toolTip(), "Run Simulation");
  EXPECT_EQ(Form->SpeedPauseButton->toolTip(), "Pause Simulation");
  // The other windows hear of the change from Qt's notices.
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Form->ZoomViewForm()->btnZoomIn->toolTip(), "Zoom in (+)");

  Item("MnuJapanese").trigger();
  EXPECT_EQ(Form->Language(), TLanguage::Japanese);
  for (const auto& [name, texts] : Texts()) {
    EXPECT_EQ(texts.Caption, japanese.at(name).Caption) << name.toStdString();
    EXPECT_EQ(texts.Tooltip, japanese.at(name).Tooltip) << name.toStdString();
  }
  EXPECT_TRUE(HasJapanese(Form->SpeedRunButton->toolTip()));
  EXPECT_TRUE(HasJapanese(Form->SpeedPauseButton->toolTip()));
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(HasJapanese(Form->ZoomViewForm()->btnZoomIn->toolTip()));
}

// Texts of windows that stay open while the language changes: each reads in the language chosen,
// both ways, without the window being closed and opened again.
TEST_F(LanguageTest, TheTextsOfOpenWindowsFollowASwitch) {
  QTemporaryDir dir;
  Form->AskRecordingFile = [&dir] { return dir.filePath(QStringLiteral("clip.gif")); };
  Form->ShowRecordingReport = [](const QString&) {};
  Item("MnuRecordAnimation").trigger();
  ASSERT_TRUE(Form->Recording());
  Item("mnuShowZoom").trigger();
  TZoomViewForm& zoom = *Form->ZoomViewForm();
  Item("mnuShowPowerPattern").trigger();
  TRadiationPatternForm& pattern = *Form->RadiationPatternForm();

  struct TRow {
    const char* What;
    std::function<QString()> Text;
    const char* Japanese;
    const char* English;
  };
  const TRow rows[] = {
      {"REC sign", [&] { return Form->RecordingLabel->text(); }, "\u25cf 録画 00:00",
       "\u25cf REC 00:00"},
      {"zoom view's title", [&] { return zoom.windowTitle(); }, "拡大ウインドウ", "Zooming View"},
      {"zoom view's setup button", [&] { return zoom.btnSetup->text(); }, "設定", "Setup"},
      {"pattern's title", [&] { return pattern.windowTitle(); }, "放射パワーパターン",
       "Radiation Power Pattern"},
      {"pattern's modes",
       [&] { return pattern.rbtnInstantaneous->text() + "/" + pattern.rbtnAveraged->text(); },
       "瞬時/平均", "Instantaneous/Averaged"},
      // The charge rests at the start: written again at the switch, with no tick between.
      {"pattern's power line", [&] { return pattern.LabelPower->text(); }, "放射なし",
       "No radiation"},
  };
  for (const char* language : {"MnuJapanese", "MnuEnglish", "MnuJapanese"}) {
    Item(language).trigger();
    QCoreApplication::sendPostedEvents();
    const bool english = std::string(language) == "MnuEnglish";
    for (const TRow& row : rows)
      EXPECT_EQ(row.Text(), QString::fromUtf8(english ? row.English : row.Japanese))
          << row.What << " after " << language;
  }
  Item("MnuRecordAnimation").trigger();
  zoom.close();
  pattern.close();
}

// The greeting's words are drawn into the version window's picture: each language shows its own.
TEST_F(LanguageTest, TheGreetingPictureIsInTheLanguage) {
  TBetaVersionDlg& dialog = *Form->BetaVersionDlg();
  const auto shown = [&] {
    return dialog.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  };
  const auto file = [&](const char* name) {
    return LoadJpegFor(QStringLiteral(":/pictures/") + QLatin1String(name),
                       dialog.devicePixelRatioF())
        .Image.convertToFormat(QImage::Format_RGB32);
  };
  ASSERT_NE(file("greeting-ja.jpg"), file("greeting.jpg"));
  const std::pair<const char*, const char*> rows[] = {{"MnuJapanese", "greeting-ja.jpg"},
                                                      {"MnuEnglish", "greeting.jpg"},
                                                      {"MnuJapanese", "greeting-ja.jpg"}};
  for (const auto& [item, name] : rows) {
    Item(item).trigger();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(shown(), file(name)) << item;
  }
}

// The file dialogs name the type of each folder they list; Qt's Japanese catalogue knows the word
// only under a name older than the one Qt asks for now, and the column read "Folder".
TEST_F(LanguageTest, TheFileDialogsNameFoldersInTheLanguage) {
  Form->RunSavePictureDialog = nullptr;
  Form->AskRecordingFile = nullptr;
  const std::pair<const char*, const char*> rows[] = {{"MnuJapanese", "フォルダ"},
                                                      {"MnuEnglish", "Folder"}};
  for (const auto& [language, folder] : rows) {
    Item(language).trigger();
    for (const char* item : {"MnuSavePicture", "MnuRecordAnimation"}) {
      QString type;
      WhenModal([&](QWidget& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files || !files->iconProvider()) return;
        type = files->iconProvider()->type(QFileInfo(QDir::tempPath()));
        files->reject();
      });
      Item(item).trigger();
      EXPECT_EQ(type, QString::fromUtf8(folder)) << language << " " << item;
    }
  }
}

TEST_F(LanguageTest, EveryEnglishMenuHasOneDistinctAccessKeyPerItem) {
  Item("MnuEnglish").trigger();
  std::function<void(const QList<QAction*>&, const QString&)> check =
      [&](const QList<QAction*>& actions, const QString& where) {
        std::map<QChar, QString> keys;
        for (QAction* action : actions) {
          if (action->isSeparator()) continue;
          const QString text = action->text();
          const qsizetype amp = text.indexOf(QLatin1Char('&'));
          if (amp >= 0 && amp + 1 < text.size()) {
            const QChar key = text[amp + 1].toLower();
            EXPECT_TRUE(keys.emplace(key, text).second)
                << where.toStdString() << ": " << text.toStdString() << " and "
                << keys[key].toStdString() << " share the key " << QString(key).toStdString();
          }
          if (action->menu()) check(action->menu()->actions(), Plain(text));
        }
      };
  check(Form->menuBar()->actions(), QStringLiteral("menu bar"));
}

TEST_F(LanguageTest, MessagesFollowTheLanguage) {
  EXPECT_EQ(CircleRefusal(QStringLiteral("0")), QString::fromUtf8("円の半径は 0 であってはなりません。"));
  EXPECT_EQ(CircleRefusal(QStringLiteral("x")),
            QString::fromUtf8("Circle Radius (u): 'x' は有効な浮動小数点数ではありません"));
  Item("MnuEnglish").trigger();
  EXPECT_EQ(CircleRefusal(QStringLiteral("0")), "The circle radius must not be 0.");
  EXPECT_EQ(CircleRefusal(QStringLiteral("x")),
            "Circle Radius (u): 'x' is not a valid floating point value");
}

TEST_F(LanguageTest, TheMenuChoiceIsRememberedAndTheCommandLineOverridesItForOneRun) {
  Item("MnuEnglish").trigger();
  EXPECT_EQ(StoredLanguage(), TLanguage::English);

  // The next run starts in the remembered language.
  Form.reset();
  Form = std::make_unique<TMainForm1>(State);
  Form->SetLanguage(StartLanguage(QString()));
  EXPECT_EQ(Item("MnuFile").text(), "&File");
  EXPECT_TRUE(Item("MnuEnglish").isChecked());

  // A run started with --language ja is Japanese, and leaves the remembered choice alone.
  Form.reset();
  Form = std::make_unique<TMainForm1>(State);
  Form->SetLanguage(StartLanguage(QStringLiteral("ja")));
  EXPECT_EQ(Item("MnuFile").text(), QString::fromUtf8("&ファイル"));
  EXPECT_EQ(StoredLanguage(), TLanguage::English);

  Item("MnuJapanese").trigger();
  EXPECT_EQ(StoredLanguage(), TLanguage::Japanese);
  EXPECT_EQ(StartLanguage(QStringLiteral("en")), TLanguage::English);
}

// A home whose settings cannot be written (read-only, or gone): the language still changes for
// this run, and the user is told that it will not be remembered.
TEST_F(LanguageTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheSwitchStillHolds) {
  // The settings folder of this test process, taken back at the end.
  const QString folder = QFileInfo(QFileInfo(SettingsFileName()).path()).path();
  const auto settingsIn = [](const QString& path) {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, path);
  };
  QTemporaryDir dir;
  // A plain file where the settings folder would have to be created.
  const QString blocker = dir.filePath(QStringLiteral("blocker"));
  QFile file(blocker);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  settingsIn(blocker + QStringLiteral("/settings"));
  Shown.clear();
  Item("MnuEnglish").trigger();
  settingsIn(folder);

  EXPECT_EQ(Item("MnuFile").text(), "&File") << "the switch holds for this run";
  EXPECT_TRUE(Item("MnuEnglish").isChecked());
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("cannot be kept for the next start")))
      << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(QDir::toNativeSeparators(blocker))) << Shown[0].toStdString();
  EXPECT_EQ(StoredLanguage(), TLanguage::Japanese) << "what was remembered before stays";

  // With the folder writable again, the next choice is remembered without a word.
  Shown.clear();
  Item("MnuJapanese").trigger();
  Item("MnuEnglish").trigger();
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
  EXPECT_EQ(StoredLanguage(), TLanguage::English);
}

TEST(LanguageCodes, OnlyJaAndEnAreLanguages) {
  EXPECT_EQ(LanguageOfCode(u"ja"), TLanguage::Japanese);
  EXPECT_EQ(LanguageOfCode(u"en"), TLanguage::English);
  for (const char16_t* bad : {u"", u"de", u"EN", u"english", u" en"})
    EXPECT_FALSE(LanguageOfCode(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

// The place holders a text holds: "%1", "%2", ...
std::set<QString> PlaceHolders(const QString& text) {
  std::set<QString> found;
  static const QRegularExpression placeHolder(QStringLiteral("%[1-9]"));
  for (auto match = placeHolder.globalMatch(text); match.hasNext();)
    found.insert(match.next().captured());
  return found;
}

// A text of the catalogue: its Japanese translation exists, reads Japanese and keeps every place
// holder of the English; the English catalogue has none (the text is shown as written).
void ExpectJapanese(const TTranslations& translations, const char* context, const char* english) {
  SCOPED_TRACE(english);
  ASSERT_NE(english, nullptr);
  const QString japanese = translations.Lookup(TLanguage::Japanese, context, english);
  EXPECT_TRUE(HasJapanese(japanese)) << japanese.toStdString();
  EXPECT_EQ(PlaceHolders(japanese), PlaceHolders(QString::fromUtf8(english)))
      << japanese.toStdString();
  EXPECT_TRUE(translations.Lookup(TLanguage::English, context, english).isEmpty());
}

// Every code the core can refuse with has its sentence, and every sentence, parameter and word
// for a value that is no number its Japanese.
TEST(RefusalCatalogue, EveryRefusalHasAnEnglishSentenceAndAJapaneseTranslation) {
  TTranslations translations;
  const TRefusalCode codes[] = {
#define HALVORAN_TEST_CODE(name) TRefusalCode::name,
      HALVORAN_REFUSAL_CODES(HALVORAN_TEST_CODE)
#undef HALVORAN_TEST_CODE
  };
  for (const TRefusalCode code : codes) {
    SCOPED_TRACE(RefusalCodeName(code));
    if (code == TRefusalCode::None) {
      EXPECT_EQ(RefusalSentence(code), nullptr);
      continue;
    }
    ExpectJapanese(translations, RefusalContext, RefusalSentence(code));
  }
  const TParameter parameters[] = {
#define HALVORAN_TEST_PARAMETER(name) TParameter::name,
      HALVORAN_PARAMETERS(HALVORAN_TEST_PARAMETER)
#undef HALVORAN_TEST_PARAMETER
  };
  for (const TParameter parameter : parameters) {
    SCOPED_TRACE(ParameterName(parameter));
    if (parameter == TParameter::None)
      EXPECT_EQ(ParameterWord(parameter), nullptr);
    else
      ExpectJapanese(translations, RefusalContext, ParameterWord(parameter));
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (const double v : {inf, -inf, std::numeric_limits<double>::quiet_NaN()})
    ExpectJapanese(translations, RefusalContext, NonFiniteWord(TRefusalValue::OfNumber(v)));
}

// The parameter's name and a value that is no number are put in, each in the language.
TEST(RefusalCatalogue, ARefusalIsWordedWithItsParameterAndValues) {
  const TRefusal refusal{TRefusalCode::NotFinite, TParameter::CircleRadius,
                         {TRefusalValue::OfNumber(-std::numeric_limits<double>::infinity())}};
  const TRefusal model = CheckModelSize(1, 40, 5);
  TTranslations translations;
  translations.Install(TLanguage::Japanese);
  EXPECT_EQ(RefusalText(refusal),
            QString::fromUtf8("円の半径は有限の数でなければなりません（負の無限大 が与えられました）。"));
  EXPECT_EQ(RefusalText(model),
            QString::fromUtf8("電気力線 1 本あたりの点の数は 2 以上でなければなりません（1 が与えられました）。"));
  translations.Install(TLanguage::English);
  EXPECT_EQ(RefusalText(refusal), "The circle radius must be a finite number (minus infinity was given).");
  EXPECT_EQ(RefusalText(model),
            "The number of field points per field line must be at least 2 (1 was given).");
}

// The desktop's fixed messages, translated where they are written: each has its Japanese with
// the same place holders.
TEST(MessageCatalogue, TheFixedMessagesHaveAJapaneseTranslation) {
  TTranslations translations;
  for (const char* message :
       {"%1: %2 (see --help)", "Could not write \"%1\": stopped by %2",
        "--size %1x%2 at --scale %3: %4", "Unknown error", "Axis Minimum Value must be <= Maximum",
        "Axis Maximum Value must be >= Minimum", "List index out of bounds (%1)",
        "The printer could not be started", "Need Integer", "Warning",
        "Not enough memory for a picture of %1 x %2 pixels",
        "The device pixel ratio must lie between 0.25 and 16 (not %1)",
        "'%1' is not a valid floating point value", "Could not save the picture \"%1\": %2"})
    ExpectJapanese(translations, "Messages", message);
}

// The render's own reasons come in the language installed, the values as they were given.
TEST(RenderMessages, TheRendersReasonsAreTranslatedWhereTheyAreWritten) {
  TTranslations translations;
  translations.Install(TLanguage::Japanese);
  const TCommandLine video = ParseCommandLine({"--render", "a.mp4", "--size", "4000x3000"});
  ASSERT_EQ(video.Action, TCommandAction::Render);
  QString tooLarge;
  ASSERT_EQ(RunRenderCommand(video, tooLarge), ExitUsage);
  EXPECT_TRUE(HasJapanese(tooLarge)) << tooLarge.toStdString();
  EXPECT_TRUE(tooLarge.startsWith(QStringLiteral("--scale 1 での --size 4000x3000: ")))
      << tooLarge.toStdString();
  translations.Install(TLanguage::English);
  ASSERT_EQ(RunRenderCommand(video, tooLarge), ExitUsage);
  EXPECT_TRUE(tooLarge.startsWith(QStringLiteral("--size 4000x3000 at --scale 1: ")))
      << tooLarge.toStdString();
}

// Qt's own dialogs (files, printing, the message boxes' buttons) follow the language too, where
// the system has Qt's catalogues.
TEST(QtTexts, QtsOwnDialogsFollowTheLanguage) {
  struct TText {
    const char* Context;
    const char* Source;
  };
  const TText texts[] = {{"QFileDialog", "Look in:"}, {"QPrintDialog", "Print"},
                         {"QPlatformTheme", "Cancel"}};
  TTranslations translations;
  for (const TText& text : texts) {
    SCOPED_TRACE(text.Source);
    translations.Install(TLanguage::Japanese);
    const QString japanese = QCoreApplication::translate(text.Context, text.Source);
    EXPECT_TRUE(HasJapanese(japanese)) << japanese.toStdString();
    translations.Install(TLanguage::English);
    EXPECT_EQ(QCoreApplication::translate(text.Context, text.Source), QString::fromLatin1(text.Source));
  }
}

}  // namespace
