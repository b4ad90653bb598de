#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <optional>

class QWidget;

// The main window's size, place and maximised state, kept in config.ini
// (section "config") between runs: Qt's geometry record, and beside it the
// keys earlier versions wrote and read. A place from another screen set-up is
// fitted onto today's screen: the window never starts out of reach.
class WindowPlacement
{
public:
    struct Place
    {
        QRect frame;  // the normal (not maximised) outer rectangle
        bool maximized = false;
    };

    explicit WindowPlacement(const QString &configFile) : m_file(configFile) {}

    std::optional<Place> stored() const;
    bool store(const Place &place) const;

    // First start: four fifths of the screen's free area (wider if a product
    // page needs it and the screen has it), centred on it.
    static QRect firstFrame(const QRect &available);
    // `frame` moved, and shrunk only if it must, to lie wholly on `available`.
    static QRect fitted(const QRect &frame, const QRect &available);

    // Puts `window` (not yet shown) where it was last, or at the first-start place.
    void restore(QWidget &window) const;
    void remember(const QWidget &window) const;
    // QWidget::saveGeometry's record ("WindowGeometry"); empty when none is stored.
    QByteArray storedGeometry() const;

private:
    QString m_file;
};
