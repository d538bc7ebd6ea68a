// The interface's language: Qt's translator with our catalogues (embedded under :/i18n; the
// English one holds only plural forms), the pages' translation hook, and the locale that
// numbers follow.
#pragma once

#include <QLocale>
#include <QString>

namespace orvane::Translations {

// Whether `language` ("de", "en") can be shown: English, or one with a catalogue.
bool available(const QString& language);
// Shows `language` in the running application (empty: the first of the system's languages that
// has a catalogue, else English), installs the pages' hook and sets the decimal separator of
// byte counts and measurements. Call again for a new application object. Returns the locale
// the texts and numbers follow.
QLocale install(const QString& language = {});

}  // namespace orvane::Translations
