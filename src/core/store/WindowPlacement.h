#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace cs42 {

// Where the main window stood when the program last quit on this workstation: its normal
// geometry and whether it was maximised. Kept as text in the settings (`Main.windowplacement`),
// "x y width height maximised", so that a damaged value is simply not used.
struct WindowPlacement
{
    QRect geometry;
    bool maximized = false;

    QString toText() const;
    static std::optional<WindowPlacement> fromText(const QString& text);

    // Where the window opens: the stored placement when its geometry lies wholly on one of the
    // screens present (`available`: their available areas), else the default size cut to the
    // first screen's available area and centred on it. Never larger than a screen.
    static WindowPlacement choose(const std::optional<WindowPlacement>& stored,
                                  const QSize& defaultSize,
                                  const QList<QRect>& available);
};

} // namespace cs42
