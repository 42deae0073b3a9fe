// The two catalogues, the remembered language and the translation of messages.
#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

// Where the program keeps its one setting.
constexpr char Organisation[] = "Halvoran";
constexpr char Application[] = "HalvoranRadiation";
constexpr char LanguageKey[] = "language";
// The catalogues' context of every message shown to the user.
constexpr char MessageContext[] = "Messages";

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

QString TranslatedMessage(const QString& text) {
  const QByteArray source = text.toUtf8();
  const QString whole = QCoreApplication::translate(MessageContext, source.constData());
  if (whole != text) return whole;

  // The numbers (and the engine's words for values that are no numbers) become %1, %2, ...
  static const QRegularExpression value(QStringLiteral(
      R"((?<![\w.])(?:minus infinity|infinity|not a number|[-+]?\d+(?:[.,]\d+)?(?:E[-+]?\d+)?))"));
  QString pattern;
  QStringList values;
  qsizetype last = 0;
  for (auto match = value.globalMatch(text); match.hasNext();) {
    const QRegularExpressionMatch found = match.next();
    pattern += text.mid(last, found.capturedStart() - last);
    values << found.captured();
    pattern += QStringLiteral("%%1").arg(values.size());
    last = found.capturedEnd();
  }
  if (values.isEmpty() || values.size() > 9) return text;
  pattern += text.mid(last);

  const QByteArray patternSource = pattern.toUtf8();
  QString translated = QCoreApplication::translate(MessageContext, patternSource.constData());
  if (translated == pattern) return text;
  for (const QString& number : values) {
    const QByteArray numberSource = number.toUtf8();
    translated = translated.arg(QCoreApplication::translate(MessageContext, numberSource.constData()));
  }
  return translated;
}

QString TranslatedMessage(const std::string& text) {
  return TranslatedMessage(QString::fromStdString(text));
}
