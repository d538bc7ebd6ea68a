// Translation of the pages' texts: the Qt-free hook's arguments, and the catalogues reaching
// the models through Qt's translator, plurals in both languages included.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>

#include "ui/app/Translations.h"
#include "ui/model/BatteryModel.h"
#include "ui/model/DisplaysModel.h"
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

TEST(Translations, GermanAndEnglishPluralsReachTheModelsThroughQt) {
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
            DisplaysModel::subtitle(0, 1), DisplaysModel::subtitle(2, 0),
            BatteryModel::electricalRows(b)[0].value, BatteryModel::capacityRows(b)[0].label,
            // Qt's own catalogue, where it is installed.
            QCoreApplication::translate("QCommandLineParser", "Displays version information.")
                .toStdString()};
    };
    const bool qtCatalogue =
        QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm");
    Translations::install(QStringLiteral("de"));
    std::vector<std::string> german = texts();
    Translations::install(QStringLiteral("en"));  // the other tests' language
    const std::vector<std::string> english = texts();

    EXPECT_EQ(german.back() != english.back(), qtCatalogue) << german.back();
    german.pop_back();
    EXPECT_EQ(german, (std::vector<std::string>{"1 Volume", "2 Volumes", "1 logischer Kern",
                                                "2 logische Kerne", "0 GPUs \u00b7 1 Display",
                                                "2 GPUs \u00b7 0 Displays", "30,6 \u00b0C",
                                                "Volle Kapazität"}));
    EXPECT_EQ(english, (std::vector<std::string>{
                           "1 volume", "2 volumes", "1 logical core", "2 logical cores",
                           "0 GPUs \u00b7 1 display", "2 GPUs \u00b7 0 displays", "30.6 \u00b0C",
                           "Full Charge Capacity", "Displays version information."}));
}

}  // namespace
}  // namespace orvane
