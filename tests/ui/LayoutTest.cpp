// Every page of every capture and Linux tree, in English and German, fits the window at its
// smallest and at a large size: no text is cut while the page has room for it, nothing is
// wider than the page, and a page scrolls only over content. Light and dark lay out the same.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <map>

#include "service/platform/HostPlatform.h"
#include "tests/ui/PageTestSupport.h"
#include "ui/app/ScreenshotRenderer.h"
#include "ui/app/Translations.h"
#include "ui/components/Card.h"
#include "ui/components/DropShadow.h"
#include "ui/components/InfoRow.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"
#include "ui/shell/ContentView.h"
#include "ui/widgets/CapsuleBadge.h"
#include "ui/widgets/PageScroll.h"

namespace orvane {
namespace {

std::string describe(const QWidget* w, const QString& text) {
    return std::string(w->metaObject()->className()) + " \"" + text.toStdString() + "\"";
}

// The most room the page could give a widget: the content width of the card it sits in, or
// the page's column.
int roomFor(const QWidget* w, const PageScroll* scroll) {
    for (const QWidget* p = w->parentWidget(); p && p != scroll->widget(); p = p->parentWidget())
        if (const auto* card = qobject_cast<const Card*>(p))
            return card->width() - 2 * card->padding();
    return scroll->column()->width();
}

// Where every shown widget of a page sits, one line each.
std::vector<std::string> geometryOf(const QWidget* page) {
    std::vector<std::string> out;
    for (const QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page)) continue;
        const QRect r(w->mapTo(page, QPoint()), w->size());
        out.push_back(std::string(w->metaObject()->className()) + " " + std::to_string(r.x()) +
                      "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
                      std::to_string(r.height()));
    }
    return out;
}

std::vector<std::string> layoutFaults(QWidget* page) {
    std::vector<std::string> faults;
    auto* scroll = page->findChild<PageScroll*>();
    if (!scroll) return {"no scroll area"};
    QWidget* content = scroll->widget();
    const QWidget* viewport = scroll->viewport();
    if (content->width() > viewport->width())
        faults.push_back("content " + std::to_string(content->width() - viewport->width()) +
                         " px wider than the viewport");

    int bottom = 0;
    for (QWidget* w : content->findChildren<QWidget*>()) {
        // The layer that paints the cards' shadows covers the page by design.
        if (!w->isVisibleTo(content) || qobject_cast<ShadowLayer*>(w)) continue;
        const QRect r(w->mapTo(content, QPoint()), w->size());
        if (w->parentWidget() == content) bottom = std::max(bottom, r.bottom() + 1);
        if (w->hasHeightForWidth() && w->height() < w->heightForWidth(w->width()))
            faults.push_back(describe(w, w->objectName()) + " shorter than its text");
        if (!w->parentWidget()->rect().contains(w->geometry()))
            faults.push_back(describe(w, w->objectName()) + " cut off by " +
                             w->parentWidget()->metaObject()->className());
        if (r.right() >= content->width() - PageScroll::kPadding + 1)
            faults.push_back(describe(w, w->objectName()) + " reaches into the right margin");
        const int room = roomFor(w, scroll);
        if (auto* t = qobject_cast<Text*>(w); t && t->isElided() && t->naturalWidth() <= room)
            faults.push_back(describe(t, t->text()) + " elided with room for it");
        if (auto* b = qobject_cast<CapsuleBadge*>(w);
            b && !b->isShrinkable() && b->width() < b->sizeHint().width())
            faults.push_back(describe(b, b->text()) + " squeezed");
        if (auto* row = qobject_cast<InfoRow*>(w)) {
            const InfoRow::Geometry g = row->geometry(row->width());
            if ((g.labelElided || g.valueElided) && row->naturalWidth() <= room)
                faults.push_back(describe(row, row->value()) + " elided with room for it");
        }
    }
    const int blank = content->height() - bottom - PageScroll::kPadding;
    if (scroll->verticalScrollBar()->maximum() > 0 && blank > 1)
        faults.push_back("scrolls over " + std::to_string(blank) + " px of empty space");
    return faults;
}

std::unique_ptr<pagetest::ServiceRig> rigFor(const std::string& target) {
    if (target.rfind("linux/", 0) == 0)
        return std::make_unique<pagetest::ServiceRig>(makeHostPlatform(pagetest::fixture(target)));
    return std::make_unique<pagetest::ServiceRig>(target);
}

class PageLayout : public ::testing::TestWithParam<const char*> {};

TEST_P(PageLayout, FitsAndIsTheSameLightAndDark) {
    const bool animations = Theme::animationsEnabled();
    Theme::setAnimationsEnabled(false);
    for (const char* language : {"en", "de"}) {
        Translations::install(QString::fromLatin1(language));
        auto rig = rigFor(GetParam());
        ASSERT_TRUE(rig->load());
        ASSERT_TRUE(rig->sample());
        ContentView view(rig->svc);
        view.show();
        for (const QSize size :
             {QSize(ContentView::kMinimumWidth, ContentView::kMinimumHeight), QSize(1600, 1000)}) {
            view.resize(size);
            std::map<Section, std::vector<std::string>> light;
            // As the screenshots are taken: every page light, then every page dark.
            for (bool dark : {false, true}) {
                Theme::setDark(dark);
                view.setPalette(Theme::palette(dark));
                for (Section s : allSections()) {
                    view.setSelection(s);
                    ScreenshotRenderer::completeLayout(&view);
                    const std::string where =
                        std::string(GetParam()) + " " + language + " " + rawValue(s).toStdString() +
                        " at " + std::to_string(size.width()) + "x" + std::to_string(size.height());
                    if (!dark) {
                        light[s] = geometryOf(view.currentPage());
                        for (const std::string& f : layoutFaults(view.currentPage()))
                            ADD_FAILURE() << where << ": " << f;
                    } else {
                        EXPECT_EQ(geometryOf(view.currentPage()), light[s]) << where;
                    }
                }
            }
            Theme::setDark(false);
        }
    }
    Translations::install(QStringLiteral("en"));
    Theme::setAnimationsEnabled(animations);
}

INSTANTIATE_TEST_SUITE_P(Captures, PageLayout,
                         ::testing::Values("mac-portable", "mac-desktop", "mac-failed",
                                           "mac-extreme"
#ifdef __linux__
                                           ,
                                           "linux/laptop", "linux/desktop", "linux/workstation",
                                           "linux/laptop-charge"
#endif
                                           ),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             std::replace(name.begin(), name.end(), '/', '_');
                             return name;
                         });

}  // namespace
}  // namespace orvane
