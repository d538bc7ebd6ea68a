#include "ui/pages/AboutView.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>
#include <optional>

#include "ui/components/Divider.h"
#include "ui/components/DropShadow.h"
#include "ui/components/FocusRing.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/model/PageText.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/WindowBackground.h"

namespace orvane {
namespace {

constexpr int kTileSize = 88;
constexpr int kTileRadius = 22;

// The application's icon, from the one SVG the desktop's icon theme installs too: a gradient
// tile with a magnifier holding a sparkle, inside a margin of 8 of its 128 units.
constexpr qreal kIconMargin = 8.0 / 128;

QSvgRenderer& appIconSvg() {
    static QSvgRenderer svg(QStringLiteral(":/app-icon/app.orvane.Orvane.svg"));
    return svg;
}

// Paints the icon so that its tile fills `tile`.
void paintAppIcon(QPainter& p, const QRectF& tile) {
    const qreal margin = tile.width() * kIconMargin / (1 - 2 * kIconMargin);
    p.setRenderHint(QPainter::Antialiasing);
    appIconSvg().render(&p, tile.adjusted(-margin, -margin, margin, margin));
}

class IconTile : public QWidget {
  public:
    explicit IconTile(QWidget* parent = nullptr) : QWidget(parent) {
        setFixedSize(kTileSize, kTileSize);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paintAppIcon(p, QRectF(rect()));
    }
};

// A label and a value on one line, the value at the trailing edge; a stop read as
// "Label: value".
class AboutRow : public QWidget {
  public:
    AboutRow(const QString& label, const QString& value, std::optional<Tint> valueTint,
             QWidget* parent = nullptr)
        : QWidget(parent) {
        TabStop::attach(this)->setName(
            [label, value] { return label + QStringLiteral(": ") + value; });
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(8);
        row->addWidget(new Text(label, Theme::font(13), TextStyle::secondary));
        row->addStretch(1);
        auto* v = new Text(value, Theme::font(13, QFont::Medium));
        if (valueTint) v->setTint(*valueTint);
        row->addWidget(v);
    }
};

// The e-mail row as a plain link: the whole row is the hit area.
class LinkRow : public AboutRow {
  public:
    LinkRow(const QString& label, const QString& value, std::function<void()> onClick)
        : AboutRow(label, value, Tint::accent), onClick_(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("mailto:") + value);
        TabStop::of(this)->setName([label, value] { return label + QStringLiteral(": ") + value; },
                                   QAccessible::Link);
        TabStop::of(this)->focusRing()->setShape(6, QMargins(6, 2, 6, 2));
    }

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space)
            onClick_();
        else
            AboutRow::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) pressed_ = true;
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && pressed_ && rect().contains(e->position().toPoint()))
            onClick_();
        pressed_ = false;
    }

  private:
    std::function<void()> onClick_;
    bool pressed_ = false;
};

}  // namespace

QString AboutView::version() {
    QString v = QStringLiteral(ORVANE_VERSION);
    if (v.count(u'.') == 2 && v.endsWith(QStringLiteral(".0"))) v.chop(2);
    return v;
}

QIcon AboutView::appIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        appIconSvg().render(&p, QRectF(0, 0, side, side));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QString AboutView::developerName() {
    return QStringLiteral("Orvane Labs");
}
QString AboutView::contactEmail() {
    return QStringLiteral("hello@orvane.app");
}
QString AboutView::copyrightText() {
    return tr("Copyright © 2026 Orvane Labs. All rights reserved.");
}

AboutView::AboutView(QWidget* parent)
    : QWidget(parent), openLink_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(16);

    tile_ = new IconTile;
    ShadowStyle shadow;
    shadow.cornerRadius = kTileRadius;
    QColor accent = Theme::accent();
    accent.setAlphaF(0.4);
    shadow.color = accent;
    shadow.blur = 12;
    shadow.offset = {0, 6};
    DropShadow::attach(tile_, shadow);
    column->addSpacing(8 + 14);  // the tile's top padding, below the window's top edge
    column->addWidget(tile_, 0, Qt::AlignHCenter);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(3);
    auto* name = new Text(QStringLiteral("Orvane"), Theme::font(22, QFont::Bold));
    auto* version =
        new Text(tr("Version %1").arg(AboutView::version()), Theme::font(12), TextStyle::secondary);
    tagline_ = new Text(QString::fromStdString(PageText::tagline({})), Theme::font(13),
                        TextStyle::secondary);
    for (Text* t : {name, version, tagline_}) {
        t->setAlignment(Qt::AlignHCenter);
        titles->addWidget(t);
    }
    name->setHeading(true);
    TabStop::attach(version);
    TabStop::attach(tagline_);
    column->addLayout(titles);

    auto* divider = new QHBoxLayout;
    divider->setContentsMargins(30, 0, 30, 0);
    divider->addWidget(new Divider);
    column->addLayout(divider);

    auto* details = new QVBoxLayout;
    details->setContentsMargins(30, 0, 30, 0);
    details->setSpacing(8);
    developerRow_ = new AboutRow(tr("Developer"), developerName(), std::nullopt);
    emailRow_ = new LinkRow(tr("Email"), contactEmail(), [this] {
        const QUrl url(QStringLiteral("mailto:") + contactEmail());
        if (openLink_) openLink_(url);
        emit emailLinkActivated(url);
    });
    details->addWidget(developerRow_);
    details->addWidget(emailRow_);
    column->addLayout(details);

    column->addStretch(1);
    auto* copyright = new Text(copyrightText(), Theme::font(11), TextStyle::secondary);
    copyright->setAlignment(Qt::AlignHCenter);
    TabStop::attach(copyright);
    column->addWidget(copyright);
    column->addSpacing(14);
}

void AboutView::setTagline(const QString& text) {
    tagline_->setText(text);
}

void AboutView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    WindowBackground::paint(p, QRectF(rect()));
}

}  // namespace orvane
