// SPDX-License-Identifier: GPL-3.0-or-later
// The projector theme: the View item turns it on and off and remembers it for the next start; a
// theme given for one start (the command line's) holds without being remembered; a settings file
// that cannot be written is reported and the theme still changes; the stored words.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "MainFormDriver.h"
#include "app/Language.h"
#include "render/Palette.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

namespace {

class ThemeMemoryTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    ASSERT_TRUE(StoreTheme(TTheme::Dark));
    Restart();
  }
  void TearDown() override {
    StoreTheme(TTheme::Dark);
    MainFormTest::TearDown();
  }
  // The next start of the program, on the same settings.
  void Restart() {
    Form.reset();
    Form = std::make_unique<TMainForm1>(State);
  }
  bool Marked() { return Form->MainMenu1.IsChecked("mnuProjectorTheme"); }
};

TEST_F(ThemeMemoryTest, TheMenuChoiceIsRememberedAndAOneStartThemeIsNot) {
  EXPECT_EQ(Form->Display().Theme, TTheme::Dark);
  EXPECT_FALSE(Marked());
  Form->MainMenu1.Item("mnuProjectorTheme").trigger();
  EXPECT_EQ(StoredTheme(), TTheme::Projector);

  Restart();
  EXPECT_EQ(Form->Display().Theme, TTheme::Projector);
  EXPECT_TRUE(Marked());
  // Every plot on the theme's ground, the pattern's made later too.
  Form->CreateRemainingWindows();
  const auto grounds = [&](TTheme theme) {
    const TColor ground = PaletteOf(theme).Ground;
    return Form->Chart1->Ground == ground && Form->ZoomViewForm()->Chart1().Ground == ground &&
           Form->RadiationPatternForm()->Chart1().Ground == ground;
  };
  ASSERT_NE(PaletteOf(TTheme::Projector).Ground, PaletteOf(TTheme::Dark).Ground);
  EXPECT_TRUE(grounds(TTheme::Projector));

  // --theme dark for this start: the picture and the mark follow, the memory stays.
  Form->ApplyTheme(TTheme::Dark);
  EXPECT_EQ(Form->Display().Theme, TTheme::Dark);
  EXPECT_FALSE(Marked());
  EXPECT_TRUE(grounds(TTheme::Dark));
  EXPECT_EQ(StoredTheme(), TTheme::Projector);

  // The item turns over the theme in force, whatever the mark showed.
  Form->ApplyTheme(TTheme::Projector);
  Form->MainMenu1.SetChecked("mnuProjectorTheme", false);
  Form->MainMenu1.Item("mnuProjectorTheme").trigger();
  EXPECT_EQ(Form->Display().Theme, TTheme::Dark);
  EXPECT_FALSE(Marked());
  EXPECT_EQ(StoredTheme(), TTheme::Dark);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(ThemeMemoryTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheThemeStillChanges) {
  const QString folder = QFileInfo(QFileInfo(SettingsFileName()).path()).path();
  const auto settingsIn = [](const QString& path) {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, path);
  };
  QTemporaryDir dir;
  const QString blocker = dir.filePath(QStringLiteral("blocker"));
  QFile file(blocker);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  settingsIn(blocker + QStringLiteral("/settings"));
  Form->MainMenu1.Item("mnuProjectorTheme").trigger();
  settingsIn(folder);

  EXPECT_EQ(Form->Display().Theme, TTheme::Projector);
  EXPECT_TRUE(Marked());
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("cannot be kept for the next start")))
      << Shown[0].toStdString();
  EXPECT_EQ(StoredTheme(), TTheme::Dark) << "what was remembered before stays";
}

// The words in the settings file are the command line's; anything else is the dark theme.
TEST(ThemeSettings, StoredAsTheCommandLinesWords) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath(QStringLiteral("theme.ini")), QSettings::IniFormat);
  const struct {
    const char* Stored;
    TTheme Theme;
  } rows[] = {{"projector", TTheme::Projector}, {"dark", TTheme::Dark}, {"", TTheme::Dark},
              {"Projector", TTheme::Dark},      {"1", TTheme::Dark},    {"light", TTheme::Dark}};
  for (const auto& row : rows) {
    settings.setValue(QStringLiteral("theme"), QString::fromLatin1(row.Stored));
    EXPECT_EQ(StoredTheme(settings), row.Theme) << row.Stored;
  }
  for (const TTheme theme : {TTheme::Projector, TTheme::Dark}) {
    ASSERT_TRUE(StoreTheme(settings, theme));
    EXPECT_EQ(StoredTheme(settings), theme);
  }
  EXPECT_EQ(settings.value(QStringLiteral("theme")).toString(), QStringLiteral("dark"));
  // The language kept beside it is left alone.
  ASSERT_TRUE(StoreLanguage(settings, TLanguage::English));
  ASSERT_TRUE(StoreTheme(settings, TTheme::Projector));
  EXPECT_EQ(StoredLanguage(settings), TLanguage::English);
}

}  // namespace
