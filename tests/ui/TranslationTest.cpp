// Translation of the pages' texts: the Qt-free hook's arguments, and the German catalogue
// reaching the models through Qt's translator (English plurals: the models' own tests).
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>

#include "service/Fmt.h"
#include "ui/app/Translations.h"
#include "ui/model/BatteryModel.h"
#include "ui/model/PageText.h"
#include "ui/model/PerformanceModel.h"
#include "ui/model/StorageModel.h"

namespace orvane {
namespace {

// Markers are filled once, in the translation's order; a value's own "%2" stays, and a marker
// without a value is left as it is.
TEST(PageText, ArgumentsFollowTheTranslationsOrder) {
    EXPECT_EQ(PageText::arg("%2 von %1", {"a", "b"}), "b von a");
    EXPECT_EQ(PageText::arg("%1 / %2", {"%2", "x"}), "%2 / x");
    EXPECT_EQ(PageText::arg("%1 %3", {"a"}), "a %3");
}

TEST(Translations, GermanReachesTheModelsThroughQt) {
    ASSERT_TRUE(Translations::available(QStringLiteral("de")));
    EXPECT_FALSE(Translations::available(QStringLiteral("xx")));
    LiveMetrics one, two;
    one.perCore = {0.5};
    two.perCore = {0.5, 0.5};
    BatteryInfo b;
    b.temperature = 30.55;
    b.maxCapacity = 5400;
    const auto texts = [&] {
        return std::vector<std::string>{
            StorageModel::subtitle(1), StorageModel::subtitle(2),
            PerformanceModel::coreCountText(one), PerformanceModel::coreCountText(two),
            BatteryModel::electricalRows(b)[0].value, BatteryModel::capacityRows(b)[0].label,
            // Qt's own catalogue, where it is installed.
            QCoreApplication::translate("QCommandLineParser", "Displays version information.")
                .toStdString()};
    };
    const bool qtCatalogue =
        QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm");
    Translations::install(QStringLiteral("de"));
    std::vector<std::string> german = texts();
    Translations::install(QStringLiteral("en"));
    const std::vector<std::string> english = texts();
    PageText::setTranslator(nullptr);
    QLocale::setDefault(QLocale::c());
    Fmt::setDecimalPoint(".");

    EXPECT_EQ(german.back() != english.back(), qtCatalogue) << german.back();
    german.pop_back();
    EXPECT_EQ(german,
              (std::vector<std::string>{"1 Volume", "2 Volumes", "1 logischer Kern",
                                        "2 logische Kerne", "30,6 \u00b0C", "Volle Kapazität"}));
    EXPECT_EQ(english,
              (std::vector<std::string>{"1 volume", "2 volumes", "1 logical core",
                                        "2 logical cores", "30.6 \u00b0C", "Full Charge Capacity",
                                        "Displays version information."}));
}

}  // namespace
}  // namespace orvane
