#include "ui/shell/ContentView.h"
#include "ui/model/Layout.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include "ui/components/Accessible.h"
#include "ui/components/IconView.h"
#include "ui/components/PlainButton.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/model/Appearance.h"
#include "ui/model/PageText.h"
#include "ui/model/ServiceWatcher.h"
#include "ui/pages/BatteryView.h"
#include "ui/pages/DisplaysView.h"
#include "ui/pages/OverviewView.h"
#include "ui/pages/PerformanceView.h"
#include "ui/pages/SensorsView.h"
#include "ui/pages/StorageView.h"
#include "ui/paint/Theme.h"
#include "ui/shell/SidebarList.h"
#include "ui/widgets/WindowBackground.h"

namespace orvane {
namespace {

// The sidebar column's own background; the splitter handle draws the hairline beside it.
class SidebarPane : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Theme::sidebarBackground());
    }
};

QWidget* sidebarHeader(Text* tagline) {
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(Layout::sidebarInset, 18, Layout::sidebarInset, Layout::sidebarInset);
    row->setSpacing(10);
    auto* icon = new IconView(Symbol::sparkleMagnifyingGlass, 18, QFont::DemiBold);
    icon->setColor(Theme::accent());
    row->addWidget(icon, 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->setContentsMargins(0, 0, 0, 0);
    texts->addWidget(new Text(QStringLiteral("Orvane"), Theme::font(16, QFont::Bold)));
    texts->addWidget(tagline);
    row->addLayout(texts);
    row->addStretch(1);
    return header;
}

// Pages sit on the window background: scroll areas get no frame and no fill of their own.
void blendIntoBackground(QWidget* page) {
    const auto areas = page->findChildren<QAbstractScrollArea*>();
    for (QAbstractScrollArea* area : areas) {
        area->setFrameShape(QFrame::NoFrame);
        area->setAutoFillBackground(false);
        area->viewport()->setAutoFillBackground(false);
        if (auto* scroll = qobject_cast<QScrollArea*>(area)) {
            if (scroll->widget()) scroll->widget()->setAutoFillBackground(false);
        }
    }
}

}  // namespace

void ContentView::showTagline() {
    tagline_->setText(QString::fromStdString(PageText::tagline(svc_->hardware().macOSName)));
}

ContentView::ContentView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent),
      svc_(std::move(svc)),
      ticker_(new QTimer(this)),
      slowTicker_(new QTimer(this)) {
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    sidebar_ = new SidebarPane;
    sidebar_->setMinimumWidth(kSidebarMinimumWidth);
    auto* side = new QVBoxLayout(sidebar_);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(0);
    tagline_ = new Text(QString(), Theme::font(11), TextStyle::secondary);
    showTagline();
    side->addWidget(sidebarHeader(tagline_));
    // The brand line follows the machine shown, once it has been read.
    auto* watcher = new ServiceWatcher(svc_, this);
    connect(watcher, &ServiceWatcher::changed, this, [this](FieldSet fields) {
        if (fields &
            (fieldBit(SystemService::Field::hardware) | fieldBit(SystemService::Field::loaded)))
            showTagline();
        // Said once the refreshed records are in.
        if (refreshing_ && (fields & fieldBit(SystemService::Field::loaded))) {
            refreshing_ = false;
            Accessible::announce(this, tr("Refreshed"));
        }
    });

    list_ = new SidebarList;
    side->addWidget(list_);
    side->addStretch(1);

    QList<SegmentedPicker::Option> options;
    for (Appearance a : allAppearances())
        options.append({rawValue(a), label(a), symbol(a)});
    picker_ = new SegmentedPicker(options);
    picker_->setAccessibleName(tr("Appearance"));
    auto* pickerRow = new QHBoxLayout;
    pickerRow->setContentsMargins(Layout::sidebarInset, 0, Layout::sidebarInset, 0);
    pickerRow->addWidget(picker_);
    side->addLayout(pickerRow);

    refresh_ =
        new PlainButton(tr("Refresh"), Symbol::arrowClockwise, Theme::font(12, QFont::Medium));
    auto* refreshRow = new QHBoxLayout;
    refreshRow->setContentsMargins(Layout::sidebarInset, Layout::sidebarInset, Layout::sidebarInset,
                                   Layout::sidebarInset);
    refreshRow->addWidget(refresh_);
    refreshRow->addStretch(1);
    report_ = new PlainButton(tr("Report"), Symbol::share, Theme::font(12, QFont::Medium));
    report_->setToolTip(tr("Copy or export the whole report"));
    reportMenu_ = new QMenu(report_);
    connect(report_, &QAbstractButton::clicked, this, [this] {
        reportMenu_->popup(report_->mapToGlobal(QPoint(0, -reportMenu_->sizeHint().height())));
    });
    refreshRow->addWidget(report_);
    side->addLayout(refreshRow);

    detail_ = new WindowBackground;
    auto* detailLayout = new QVBoxLayout(detail_);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->setSpacing(0);

    split_ = new QSplitter(Qt::Horizontal);
    split_->setChildrenCollapsible(false);
    split_->setHandleWidth(1);
    split_->addWidget(sidebar_);
    split_->addWidget(detail_);
    split_->setStretchFactor(0, 0);
    split_->setStretchFactor(1, 1);
    split_->setSizes({220, kMinimumWidth - 220});
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(split_);

    connect(picker_, &SegmentedPicker::chosen, this, &ContentView::appearanceChosen);
    connect(list_, &SidebarList::selectionChanged, this, [this](Section s) {
        showPage(s);
        emit selectionChanged(s);
    });
    connect(refresh_, &QAbstractButton::clicked, this, &ContentView::refresh);

    ticker_->setTimerType(Qt::PreciseTimer);
    ticker_->setInterval(kTickerMs);
    connect(ticker_, &QTimer::timeout, this, &ContentView::tick);
    slowTicker_->setTimerType(Qt::PreciseTimer);
    slowTicker_->setInterval(kSlowTickerMs);
    connect(slowTicker_, &QTimer::timeout, this, &ContentView::slowTick);

    showPage(list_->selection());
}

ContentView::~ContentView() = default;

Section ContentView::selection() const {
    return list_->selection();
}

void ContentView::setSelection(Section section) {
    list_->setSelection(section);
}

void ContentView::showAppearance(const QString& raw) {
    picker_->setCurrentKey(rawValue(appearanceFromStored(raw)));
}

QWidget* ContentView::makePage(Section section, const std::shared_ptr<SystemService>& svc,
                               QWidget* parent) {
    switch (section) {
        case Section::overview:
            return new OverviewView(svc, parent);
        case Section::battery:
            return new BatteryView(svc, parent);
        case Section::storage:
            return new StorageView(svc, parent);
        case Section::performance:
            return new PerformanceView(svc, parent);
        case Section::displays:
            return new DisplaysView(svc, parent);
        case Section::sensors:
            return new SensorsView(svc, parent);
    }
    return nullptr;
}

void ContentView::showPage(Section section) {
    // Where the focus was decides how the new page is announced: the page list says its new
    // item itself; a focus in the old page moves to the new page's heading, which says its
    // title; elsewhere (Refresh, a menu's shortcut) the title is announced.
    QWidget* focus = QApplication::focusWidget();
    const bool focusInPage = page_ && focus && page_->isAncestorOf(focus);
    const bool announce = page_ && !focusInPage && focus != list_;
    if (focusInPage) list_->setFocus(Qt::OtherFocusReason);  // not lost while the page goes
    // Like a view rebuilt on selection: the old page goes away with its transient state, and
    // only the page on screen follows the service.
    if (page_) {
        page_->hide();
        page_->deleteLater();
    }
    page_ = makePage(section, svc_, detail_);
    page_->setObjectName(rawValue(section));
    blendIntoBackground(page_);
    detail_->layout()->addWidget(page_);
    page_->show();
    const QList<QWidget*> stops = TabStop::stopsIn(page_);
    if (focusInPage && !stops.isEmpty())
        TabStop::focus(stops.first(), Qt::ShortcutFocusReason);
    else if (announce)
        Accessible::announce(this, title(section));
    // Sensors are read from the moment their page shows (once the window is up).
    if (started_ && showsSensors(section)) svc_->updateSensors();
}

QList<QWidget*> ContentView::tabChain() const {
    QList<QWidget*> chain = {list_, picker_, refresh_, report_};
    if (page_) chain += TabStop::stopsIn(page_);
    return chain;
}

bool ContentView::focusNextPrevChild(bool next) {
    const QList<QWidget*> chain = tabChain();
    const qsizetype at = chain.indexOf(QApplication::focusWidget());
    const qsizetype n = chain.size();
    const qsizetype to = at < 0 ? (next ? 0 : n - 1) : (at + (next ? 1 : n - 1)) % n;
    TabStop::focus(chain[to], next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void ContentView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (started_) return;
    started_ = true;
    list_->setFocus();  // arrow keys move between pages right away
    svc_->loadAll();
    if (showsSensors(selection())) svc_->updateSensors();
    ticker_->start();
    slowTicker_->start();
}

void ContentView::tick() {
    svc_->updateLive();
    // Only while a page shows them: reading sensors costs, and some wake what they read.
    if (showsSensors(selection())) svc_->updateSensors();
}

void ContentView::slowTick() {
    svc_->refreshDynamic();
}

void ContentView::refresh() {
    refreshing_ = true;
    svc_->refresh();
}

}  // namespace orvane
