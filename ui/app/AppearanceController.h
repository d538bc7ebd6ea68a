// The colour scheme of the application's windows: the one place that stores the user's
// appearance choice, resolves it against the system's scheme (or a scheme forced for
// screenshots) and gives the windows it styles the theme's palette.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

#include "ui/model/Appearance.h"

class QWidget;

namespace orvane {

class AppearanceController : public QObject {
    Q_OBJECT
  public:
    explicit AppearanceController(QObject* parent = nullptr);

    // The stored appearance text ("system" when nothing is stored).
    QString stored() const;
    // Stores a choice and applies it.
    void store(const QString& raw);
    // Shows a scheme regardless of the stored choice (nothing: back to the stored choice).
    // Stores nothing; used for screenshots.
    void setOverride(std::optional<ColorScheme> scheme);
    // The scheme the windows show.
    ColorScheme scheme() const { return scheme_; }
    // The scheme the system shows.
    static ColorScheme systemScheme();

    // Gives `window` the scheme's palette, now and on every change; a change of the system's
    // scheme seen by the window is followed while "Auto" is chosen.
    void style(QWidget* window);

  signals:
    void schemeChanged(orvane::ColorScheme scheme);
    // A choice has been stored.
    void choiceStored(const QString& raw);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void apply();

    QList<QPointer<QWidget>> windows_;
    std::optional<ColorScheme> override_;
    ColorScheme scheme_ = ColorScheme::light;
    bool applied_ = false;
};

}  // namespace orvane
