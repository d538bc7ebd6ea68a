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

}  // namespace

bool available(const QString& language) {
    return language == QLatin1String("en") || QFile::exists(catalogue(language));
}

QLocale install(const QString& language) {
    static std::unique_ptr<QTranslator> translator;
    static std::unique_ptr<QTranslator> qtTranslator;
    for (const auto* t : {&translator, &qtTranslator})
        if (*t) QCoreApplication::removeTranslator(t->get());
    translator = std::make_unique<QTranslator>();
    qtTranslator = std::make_unique<QTranslator>();

    QLocale locale = language.isEmpty() ? QLocale::system() : QLocale(language);
    bool loaded = false;
    if (language.isEmpty()) {
        // The system's languages in the user's order; English needs no catalogue.
        loaded = translator->load(locale, QStringLiteral("orvane"), QStringLiteral("_"),
                                  QLatin1String(kDirectory));
    } else if (language != QLatin1String("en")) {
        loaded = translator->load(catalogue(language));
    }
    if (loaded) {
        QCoreApplication::installTranslator(translator.get());
        // Qt's own texts (file dialogs, --help's built-in lines) in the same language, where
        // its catalogue is installed (Debian: qt6-translations-l10n).
        if (qtTranslator->load(QLocale(translator->language()), QStringLiteral("qtbase"),
                               QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qtTranslator.get());
    }
    if (!language.isEmpty()) QLocale::setDefault(locale);
    PageText::setTranslator(&translatePage);
    Fmt::setDecimalPoint(locale.decimalPoint().toStdString());
    return locale;
}

}  // namespace orvane::Translations
