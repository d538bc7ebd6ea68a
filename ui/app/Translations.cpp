#include "ui/app/Translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <memory>

#include "service/Fmt.h"
#include "ui/pages/PageText.h"

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
    if (translator) QCoreApplication::removeTranslator(translator.get());
    reinstall(plurals, [](QTranslator& t) { return t.load(catalogue(QStringLiteral("en"))); });

    const QLocale locale = language.isEmpty() ? QLocale::system() : QLocale(language);
    reinstall(translator, [&](QTranslator& t) {
        // The system's languages in the user's order.
        if (language.isEmpty())
            return t.load(locale, QStringLiteral("orvane"), QStringLiteral("_"),
                          QLatin1String(kDirectory));
        return language != QLatin1String("en") && t.load(catalogue(language));
    });
    if (!language.isEmpty()) QLocale::setDefault(locale);
    PageText::setTranslator(&translatePage);
    Fmt::setDecimalPoint(locale.decimalPoint().toStdString());
    return locale;
}

}  // namespace orvane::Translations
