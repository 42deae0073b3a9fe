// SPDX-License-Identifier: GPL-3.0-or-later
// The program's two languages: the compiled catalogues and the choice remembered between runs.
// Each message is translated where it is written (the core's refusals by app/RefusalText). The
// picture's theme is remembered in the same settings, as the other choice that holds from run to
// run.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringView>
#include <QTranslator>
#include <optional>

#include "engine/DisplaySettings.h"

// Japanese is the language the program starts in when nothing else was chosen.
enum class TLanguage { Japanese, English };

// The code of a language on the command line and in the settings: "ja" or "en".
QString LanguageCode(TLanguage language);
// The language of a code; none for anything but "ja" and "en".
std::optional<TLanguage> LanguageOfCode(QStringView code);

// The language chosen in an earlier run, Japanese when none was chosen (or the stored value is
// not one of ours). The settings are the program's own unless a test hands in others.
TLanguage StoredLanguage(QSettings& settings);
TLanguage StoredLanguage();
// Remembers the language for the next run; false when the settings file could not be written (a
// read-only or missing home), which the caller reports.
bool StoreLanguage(QSettings& settings, TLanguage language);
bool StoreLanguage(TLanguage language);
// Where the program's settings are kept (tests check that theirs are not the user's).
QString SettingsFileName();
// The language of this run: the command line's code where one was given ("ja" or "en"), the
// remembered one otherwise. The command line's choice is not remembered.
TLanguage StartLanguage(const QString& commandLineCode);

// The theme chosen in an earlier run, dark when none was chosen (or the stored value is not one of
// ours); the settings as for the language. Stored as "dark" or "projector", the command line's
// words.
TTheme StoredTheme(QSettings& settings);
TTheme StoredTheme();
// Remembers the theme for the next run; false when the settings file could not be written.
bool StoreTheme(QSettings& settings, TTheme theme);
bool StoreTheme(TTheme theme);

// Both catalogues, loaded from the resources; one of them installed on the application at a
// time. Installing sends every widget a LanguageChange event, on which each window writes its
// texts again. The owner (the main window) outlives every window whose texts it translates.
class TTranslations {
 public:
  TTranslations();
  ~TTranslations();
  TTranslations(const TTranslations&) = delete;
  TTranslations& operator=(const TTranslations&) = delete;

  void Install(TLanguage language);
  // The language installed last; Japanese before the first Install.
  TLanguage Current() const { return Language; }
  // sourceText in language, whichever is installed; empty where that catalogue has no entry
  // (a text written in that language already, or one the catalogue does not know yet).
  QString Lookup(TLanguage language, const char* context, const char* sourceText) const;

 private:
  const QTranslator& Catalogue(TLanguage language) const;

  QTranslator Japanese;
  QTranslator English;
  // Qt's own texts in Japanese (the file and print dialogs, the message boxes' buttons), where
  // the system has them; in English they are Qt's own.
  QTranslator QtJapanese;
  TLanguage Language = TLanguage::Japanese;
  bool Installed = false;
};

