#include "core/store/WindowPlacement.h"

#include <QStringList>

namespace cs42 {

QString WindowPlacement::toText() const
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(geometry.x())
        .arg(geometry.y())
        .arg(geometry.width())
        .arg(geometry.height())
        .arg(maximized ? 1 : 0);
}

std::optional<WindowPlacement> WindowPlacement::fromText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 5)
        return std::nullopt;
    int values[5] = {};
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] <= 0 || values[3] <= 0 || (values[4] != 0 && values[4] != 1))
        return std::nullopt;
    return WindowPlacement{QRect(values[0], values[1], values[2], values[3]), values[4] == 1};
}

WindowPlacement WindowPlacement::choose(const std::optional<WindowPlacement>& stored,
                                        const QSize& defaultSize,
                                        const QList<QRect>& available)
{
    if (stored) {
        for (const QRect& screen : available) {
            if (screen.contains(stored->geometry))
                return *stored;
        }
    }
    if (available.isEmpty())
        return {QRect(QPoint(0, 0), defaultSize), stored && stored->maximized};
    const QRect screen = available.first();
    QRect geometry(QPoint(0, 0), defaultSize.boundedTo(screen.size()));
    geometry.moveCenter(screen.center());
    // A maximised window comes back maximised on the first screen when its place is gone.
    return {geometry, stored && stored->maximized};
}

} // namespace cs42
