// The main window's root: the sidebar (header, page list, appearance picker, "Refresh" and
// "Report") and the detail column showing the selected page over the window background. Starts
// the first full load when first shown and drives the service with two timers.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "service/SystemService.h"
#include "ui/model/Layout.h"
#include "ui/shell/Section.h"

class QMenu;
class QSplitter;

namespace orvane {

class PlainButton;
class SegmentedPicker;
class SidebarList;
class Text;
class WindowBackground;

class ContentView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMinimumWidth = Layout::windowMinimumWidth;
    static constexpr int kMinimumHeight = Layout::windowMinimumHeight;
    static constexpr int kSidebarMinimumWidth = Layout::sidebarMinimumWidth;
    static constexpr int kTickerMs = 1000;
    static constexpr int kSlowTickerMs = 3000;

    explicit ContentView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);
    ~ContentView() override;

    Section selection() const;
    void setSelection(Section section);
    // The page shown in the detail column.
    QWidget* currentPage() const { return page_; }

    // The stored appearance the picker shows (anything unknown shows "Auto"); setting it
    // stores nothing.
    void showAppearance(const QString& raw);

    QTimer* ticker() const { return ticker_; }
    QTimer* slowTicker() const { return slowTicker_; }
    SidebarList* sidebarList() const { return list_; }
    SegmentedPicker* appearancePicker() const { return picker_; }
    PlainButton* refreshButton() const { return refresh_; }
    // The footer's "Report" button pops up this menu; the application fills it.
    PlainButton* reportButton() const { return report_; }
    QMenu* reportMenu() const { return reportMenu_; }
    QWidget* sidebar() const { return sidebar_; }

    // Builds the page of a section (as the detail column does).
    static QWidget* makePage(Section section, const std::shared_ptr<SystemService>& svc,
                             QWidget* parent);
    // What Tab visits, in order: the page list, the appearance picker, Refresh, Report, then
    // every stop of the page in reading order.
    QList<QWidget*> tabChain() const;

  signals:
    void selectionChanged(orvane::Section section);
    // The user picked an appearance in the picker; the application stores it.
    void appearanceChosen(const QString& raw);

  public slots:
    void tick();
    void slowTick();
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    // Tab and Shift+Tab follow tabChain(), round the window: pages are rebuilt as data comes
    // in, and Qt's own chain, in order of creation, would put rebuilt rows last.
    bool focusNextPrevChild(bool next) override;

  private:
    void showPage(Section section);
    void showTagline();

    std::shared_ptr<SystemService> svc_;
    QSplitter* split_;
    QWidget* sidebar_;
    Text* tagline_;
    SidebarList* list_;
    SegmentedPicker* picker_;
    PlainButton* refresh_;
    PlainButton* report_;
    QMenu* reportMenu_;
    WindowBackground* detail_;
    QPointer<QWidget> page_;
    QTimer* ticker_;
    QTimer* slowTicker_;
    bool started_ = false;
    bool refreshing_ = false;
};

}  // namespace orvane
