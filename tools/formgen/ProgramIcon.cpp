#include "ProgramIcon.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace cs42::formgen {

namespace {
const QColor Navy(0x1d, 0x4f, 0x91);
const QColor Fold(0xc9, 0xd6, 0xea);
const QColor Gold(0xf2, 0xb6, 0x32);
const QColor GoldRim(0xb0, 0x7a, 0x0c);

void drawIcon(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Navy);
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);

    QPainterPath page;
    page.moveTo(16, 10);
    page.lineTo(40, 10);
    page.lineTo(48, 18);
    page.lineTo(48, 54);
    page.lineTo(16, 54);
    page.closeSubpath();
    painter.fillPath(page, Qt::white);
    QPainterPath fold;
    fold.moveTo(40, 10);
    fold.lineTo(40, 18);
    fold.lineTo(48, 18);
    fold.closeSubpath();
    painter.fillPath(fold, Fold);

    painter.fillRect(QRectF(21, 23, 22, 3), Navy);
    painter.fillRect(QRectF(21, 29, 22, 3), Navy);
    painter.fillRect(QRectF(21, 35, 14, 3), Navy);

    painter.setPen(QPen(Navy, 2));
    painter.setBrush(Gold);
    painter.drawEllipse(QPointF(44, 47), 10, 10);
    painter.setPen(QPen(GoldRim, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(44, 47), 5.5, 5.5);
}
} // namespace

bool writeProgramIcon(int size, const QString& outputPath, QString* error)
{
    if (size < 16 || size > 1024) {
        *error = QStringLiteral("the size must be 16 to 1024 pixels");
        return false;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 64.0, size / 64.0);
        drawIcon(painter);
    }
    if (!image.save(outputPath, "PNG")) {
        *error = QStringLiteral("cannot write the file");
        return false;
    }
    return true;
}

} // namespace cs42::formgen
