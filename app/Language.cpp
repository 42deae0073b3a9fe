// SPDX-License-Identifier: GPL-3.0-or-later
// The two catalogues and the remembered language.
#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {

// Where the program keeps its settings: the language and the theme.
constexpr char Organisation[] = "Halvoran";
constexpr char Application[] = "HalvoranRadiation";
constexpr char LanguageKey[] = "language";
constexpr char ThemeKey[] = "theme";
constexpr char DarkCode[] = "dark";
constexpr char ProjectorCode[] = "projector";

}  // namespace

QString LanguageCode(TLanguage language) {
  return language == TLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
}

std::optional<TLanguage> LanguageOfCode(QStringView code) {
  if (code == u"ja") return TLanguage::Japanese;
  if (code == u"en") return TLanguage::English;
  return std::nullopt;
}

TLanguage StoredLanguage(QSettings& settings) {
  return LanguageOfCode(settings.value(QLatin1String(LanguageKey)).toString())
      .value_or(TLanguage::Japanese);
}

TLanguage StoredLanguage() {
  QSettings settings{QString::fromLatin1(Organisation), QString::fromLatin1(Application)};
  return StoredLanguage(settings);
}

bool StoreLanguage(QSettings& settings, TLanguage language) {
  settings.setValue(QLatin1String(LanguageKey), LanguageCode(language));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

bool StoreLanguage(TLanguage language) {
  QSettings settings{QString::fromLatin1(Organisation), QString::fromLatin1(Application)};
  return StoreLanguage(settings, language);
}

QString SettingsFileName() {
  QSettings settings{QString::fromLatin1(Organisation), QString::fromLatin1(Application)};
  return settings.fileName();
}

TLanguage StartLanguage(const QString& commandLineCode) {
  if (const auto chosen = LanguageOfCode(commandLineCode)) return *chosen;
  return StoredLanguage();
}

TTheme StoredTheme(QSettings& settings) {
  const QString code = settings.value(QLatin1String(ThemeKey)).toString();
  return code == QLatin1String(ProjectorCode) ? TTheme::Projector : TTheme::Dark;
}

TTheme StoredTheme() {
  QSettings settings{QString::fromLatin1(Organisation), QString::fromLatin1(Application)};
  return StoredTheme(settings);
}

bool StoreTheme(QSettings& settings, TTheme theme) {
  settings.setValue(QLatin1String(ThemeKey),
                    QLatin1String(theme == TTheme::Projector ? ProjectorCode : DarkCode));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

bool StoreTheme(TTheme theme) {
  QSettings settings{QString::fromLatin1(Organisation), QString::fromLatin1(Application)};
  return StoreTheme(settings, theme);
}

TTranslations::TTranslations() {
  // Built into the program; a catalogue that does not load leaves its language's texts as they
  // are written in the code (Japanese menus, English messages), which is still a working program.
  if (!Japanese.load(QStringLiteral(":/translations/halvoran_ja.qm")))
    qWarning("The Japanese catalogue could not be loaded");
  if (!English.load(QStringLiteral(":/translations/halvoran_en.qm")))
    qWarning("The English catalogue could not be loaded");
  // Not every system has Qt's catalogues; without one, Qt's dialogs stay in English.
  (void)QtJapanese.load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

TTranslations::~TTranslations() {
  if (!Installed || !QCoreApplication::instance()) return;
  QCoreApplication::removeTranslator(&Japanese);
  QCoreApplication::removeTranslator(&English);
  QCoreApplication::removeTranslator(&QtJapanese);
}

void TTranslations::Install(TLanguage language) {
  QTranslator& wanted = language == TLanguage::English ? English : Japanese;
  QTranslator& other = language == TLanguage::English ? Japanese : English;
  QCoreApplication::removeTranslator(&other);
  // Installing the one already installed moves it to the front and sends the change again;
  // harmless, but nothing changes, so it is skipped.
  if (!Installed || Language != language) {
    if (language == TLanguage::Japanese && !QtJapanese.isEmpty())
      QCoreApplication::installTranslator(&QtJapanese);
    else
      QCoreApplication::removeTranslator(&QtJapanese);
    QCoreApplication::installTranslator(&wanted);
  }
  Language = language;
  Installed = true;
}

const QTranslator& TTranslations::Catalogue(TLanguage language) const {
  return language == TLanguage::English ? English : Japanese;
}

QString TTranslations::Lookup(TLanguage language, const char* context,
                              const char* sourceText) const {
  return Catalogue(language).translate(context, sourceText);
}

