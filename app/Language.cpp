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

namespace {

// The parts of a message that change from one time to the next and become %1, %2, ... in the
// catalogue: a text in quotes (the quotes stay in the catalogue's text), an option of the command
// line, a signal's name, a size WxH, a number (or the engine's words for values that are no
// numbers).
// The words are tried as values first and then as words: "is not a number" is also plain English.
const QRegularExpression& ValuePattern(bool words) {
  static const QString common = QStringLiteral(
      R"re('([^']*)'|"([^"]*)"|(?<![\w.-])(--[a-z][a-z-]*)|\b(SIG[A-Z]+)\b|)re"
      R"re((?<![\w.])(\d+x\d+)\b|(?<![\w.])()re");
  static const QString number = QStringLiteral(R"re([-+]?\d+(?:[.,]\d+)?(?:E[-+]?\d+)?))re");
  static const QRegularExpression withWords(
      common + QStringLiteral("minus infinity|infinity|not a number|") + number);
  static const QRegularExpression numbersOnly(common + number);
  return words ? withWords : numbersOnly;
}

// pattern with %1 .. %9 replaced by values in one pass, so that a value holding "%2" (a file
// name) is not taken for a place holder.
QString PutBack(const QString& pattern, const QStringList& values) {
  QString result;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('%') && i + 1 < pattern.size() && pattern[i + 1] >= QLatin1Char('1') &&
        pattern[i + 1] <= QLatin1Char('9')) {
      const qsizetype index = pattern[i + 1].unicode() - '1';
      if (index < values.size()) {
        result += values[index];
        ++i;
        continue;
      }
    }
    result += c;
  }
  return result;
}

QString Translate(const QString& text) {
  const QByteArray source = text.toUtf8();
  return QCoreApplication::translate(MessageContext, source.constData());
}

// text with its values taken out looked up; empty where the catalogue does not know it.
QString TranslatedPattern(const QString& text, bool words) {
  QString pattern;
  QStringList values;
  qsizetype last = 0;
  for (auto match = ValuePattern(words).globalMatch(text); match.hasNext();) {
    const QRegularExpressionMatch found = match.next();
    int group = 1;
    while (group < found.lastCapturedIndex() && found.capturedStart(group) < 0) ++group;
    pattern += text.mid(last, found.capturedStart(group) - last);
    // Only the engine's words for values have translations; a quoted text stays as typed.
    values << (group == 6 ? Translate(found.captured(group)) : found.captured(group));
    pattern += QStringLiteral("%%1").arg(values.size());
    last = found.capturedEnd(group);
  }
  if (values.isEmpty() || values.size() > 9) return {};
  pattern += text.mid(last);
  const QString translated = Translate(pattern);
  if (translated == pattern) return {};
  return PutBack(translated, values);
}

QString TranslatedPattern(const QString& text) {
  const QString withWords = TranslatedPattern(text, true);
  return withWords.isEmpty() ? TranslatedPattern(text, false) : withWords;
}

}  // namespace

QString TranslatedMessage(const QString& text) {
  const QString whole = Translate(text);
  if (whole != text) return whole;
  const QString byPattern = TranslatedPattern(text);
  if (!byPattern.isEmpty()) return byPattern;

  // The command line names the option at fault before its reason ("--model: <the engine's
  // refusal>"); each side is translated on its own, as the reason is shared by many options.
  static const QRegularExpression named(QStringLiteral(R"(^(--[a-z][^:]*): (.+)$)"),
                                        QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch split = named.match(text);
  if (!split.hasMatch()) return text;
  const QString head = TranslatedPattern(split.captured(1));
  return (head.isEmpty() ? split.captured(1) : head) + QStringLiteral(": ") +
         TranslatedMessage(split.captured(2));
}

QString TranslatedMessage(const std::string& text) {
  return TranslatedMessage(QString::fromStdString(text));
}
