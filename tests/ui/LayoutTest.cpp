// Every page of every capture fits the window at its smallest and at a large size: no text is
// cut while the page has room for it, nothing is wider than the page, and a page scrolls only
// over content.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>

#include "tests/ui/PageTestSupport.h"
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
int roomFor(const QWidget* w, const QWidget* content) {
    for (const QWidget* p = w->parentWidget(); p && p != content; p = p->parentWidget())
        if (const auto* card = qobject_cast<const Card*>(p))
            return card->width() - 2 * card->padding();
    return content->width() - 2 * PageScroll::kPadding;
}

std::vector<std::string> layoutFaults(QWidget* page) {
    std::vector<std::string> faults;
    auto* scroll = page->findChild<QScrollArea*>();
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
        const int room = roomFor(w, content);
        if (auto* t = qobject_cast<Text*>(w); t && t->isElided() && t->naturalWidth() <= room)
            faults.push_back(describe(t, t->text()) + " elided with room for it");
        if (auto* b = qobject_cast<CapsuleBadge*>(w); b && b->width() < b->sizeHint().width())
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

class PageLayout : public ::testing::TestWithParam<const char*> {};

TEST_P(PageLayout, FitsAtTheSmallestAndALargeWindow) {
    const bool animations = Theme::animationsEnabled();
    Theme::setAnimationsEnabled(false);
    pagetest::ServiceRig rig(GetParam());
    ASSERT_TRUE(rig.load());
    ASSERT_TRUE(rig.sample());
    ContentView view(rig.svc);
    view.show();
    for (const QSize size :
         {QSize(ContentView::kMinimumWidth, ContentView::kMinimumHeight), QSize(1600, 1000)}) {
        view.resize(size);
        for (Section s : allSections()) {
            view.setSelection(s);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            for (const std::string& f : layoutFaults(view.currentPage()))
                ADD_FAILURE() << GetParam() << " " << rawValue(s).toStdString() << " at "
                              << size.width() << "x" << size.height() << ": " << f;
        }
    }
    Theme::setAnimationsEnabled(animations);
}

INSTANTIATE_TEST_SUITE_P(Captures, PageLayout,
                         ::testing::Values("mac-portable", "mac-desktop", "mac-failed",
                                           "mac-extreme"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace orvane
