#include "ui/app/Translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "service/Fmt.h"
#include "ui/model/PageText.h"

namespace orvane::Translations {
namespace {

constexpr char kDirectory[] = ":/i18n";

std::string translatePage(const char* context, const char* source, const char* disambiguation,
                          int n) {
    return QCoreApplication::translate(context, source, disambiguation, n).toStdString();
}

QString catalogue(const QString& language) {
    return QStringLiteral("%1/orvane_%2.qm").arg(QLatin1String(kDirectory), language);
}

// Replaces `slot`'s translator with one loaded by `load`, installed when it loads.
template <typename Load>
bool reinstall(std::unique_ptr<QTranslator>& slot, Load load) {
    if (slot) QCoreApplication::removeTranslator(slot.get());
    slot = std::make_unique<QTranslator>();
    const bool loaded = load(*slot);
    if (loaded) QCoreApplication::installTranslator(slot.get());
    return loaded;
}

}  // namespace

bool available(const QString& language) {
    return language == QLatin1String("en") || QFile::exists(catalogue(language));
}

QLocale install(const QString& language) {
    // English is the sources' language; its catalogue holds only the plural forms
    // ("%n volume(s)": "1 volume", "2 volumes"). It is installed first, so that another
    // language's catalogue, installed after it, is asked first.
    static std::unique_ptr<QTranslator> plurals;
    static std::unique_ptr<QTranslator> translator;
    static std::unique_ptr<QTranslator> qtTranslator;
    for (const auto* t : {&translator, &qtTranslator})
        if (*t) QCoreApplication::removeTranslator(t->get());
    reinstall(plurals, [](QTranslator& t) { return t.load(catalogue(QStringLiteral("en"))); });

    const QLocale locale = language.isEmpty() ? QLocale::system() : QLocale(language);
    const bool loaded = reinstall(translator, [&](QTranslator& t) {
        // The system's languages in the user's order.
        if (language.isEmpty())
            return t.load(locale, QStringLiteral("orvane"), QStringLiteral("_"),
                          QLatin1String(kDirectory));
        return language != QLatin1String("en") && t.load(catalogue(language));
    });
    // Qt's own texts (file dialogs, --help's built-in lines) in the same language, where its
    // catalogue is installed (Debian: qt6-translations-l10n).
    if (loaded)
        reinstall(qtTranslator, [&](QTranslator& t) {
            return t.load(QLocale(translator->language()), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        });
    if (!language.isEmpty()) QLocale::setDefault(locale);
    PageText::setTranslator(&translatePage);
    Fmt::setDecimalPoint(locale.decimalPoint().toStdString());
    Fmt::setGroupSeparator(locale.groupSeparator().toStdString());
    return locale;
}

}  // namespace orvane::Translations
