// The About window's content: the application's icon tile, name, version and tagline, the
// developer and a contact e-mail link, and the copyright line. Fixed 320 × 360.
#pragma once

#include <QIcon>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace orvane {

class Text;

class AboutView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 360;

    // The application's icon, drawn like the About window's tile.
    static QIcon appIcon();
    // The project's version as people read it: "1.5" for 1.5.0, "1.5.2" for 1.5.2.
    static QString version();
    static QString developerName();
    static QString contactEmail();
    static QString copyrightText();

    explicit AboutView(QWidget* parent = nullptr);

    // What a click on the e-mail row does with the mailto: link (default: hand it to the
    // system, which opens the user's mail program).
    void setLinkHandler(std::function<void(const QUrl&)> handler) {
        openLink_ = std::move(handler);
    }

    // The brand line under the version ("Know your Mac" on a Mac).
    void setTagline(const QString& text);

    // The clickable "Email" row.
    QWidget* emailRow() const { return emailRow_; }
    // The "Developer" row (not clickable).
    QWidget* developerRow() const { return developerRow_; }

  signals:
    // The e-mail row was clicked; the mailto: link has been handed to the system.
    void emailLinkActivated(const QUrl& url);

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Escape closes the window, as it does a dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* emailRow_;
    QWidget* developerRow_;
    QWidget* tile_;
    Text* tagline_;
    std::function<void(const QUrl&)> openLink_;
};

}  // namespace orvane
