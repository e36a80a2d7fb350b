#include "ui/shell/Splash.h"

#include "core/store/ProgramSettings.h"
#include "core/worksheet/FormEdition.h"
#include "ui/common/Session.h"
#include "ui/common/WindowHost.h"
#include "ui/shell/HiddenUtilities.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace cs42 {

namespace {
void drawScales(QPainter& painter, const QPointF& top, qreal width)
{
    const QColor gold(222, 184, 92);
    painter.setPen(QPen(gold, width * 0.025, Qt::SolidLine, Qt::RoundCap));
    const qreal beam = width * 0.5;
    const qreal height = width * 0.62;
    // Post and base.
    painter.drawLine(top, top + QPointF(0, height));
    painter.drawLine(top + QPointF(-width * 0.16, height), top + QPointF(width * 0.16, height));
    painter.setBrush(gold);
    painter.drawEllipse(top, width * 0.035, width * 0.035);
    // Beam and the two pans on their cords.
    painter.drawLine(top + QPointF(-beam, width * 0.06), top + QPointF(beam, width * 0.06));
    for (const qreal side : {-1.0, 1.0}) {
        const QPointF hook = top + QPointF(side * beam, width * 0.06);
        const qreal panY = width * 0.36;
        const qreal panHalf = width * 0.16;
        painter.setPen(QPen(gold, width * 0.012));
        painter.drawLine(hook, hook + QPointF(-panHalf, panY));
        painter.drawLine(hook, hook + QPointF(panHalf, panY));
        QPainterPath pan;
        pan.moveTo(hook + QPointF(-panHalf, panY));
        pan.quadTo(hook + QPointF(0, panY + width * 0.16), hook + QPointF(panHalf, panY));
        pan.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(gold);
        painter.drawPath(pan);
        painter.setPen(QPen(gold, width * 0.025, Qt::SolidLine, Qt::RoundCap));
    }
}

void drawFormSheet(QPainter& painter, const QRectF& sheet)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRect(sheet.translated(6, 6));
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(qRound(sheet.height() * 0.075));
    painter.setFont(font);
    painter.setPen(QColor(20, 40, 90));
    const QRectF heading(
        sheet.left(), sheet.top() + sheet.height() * 0.05, sheet.width(), sheet.height() * 0.1);
    painter.drawText(heading, Qt::AlignCenter, QStringLiteral("CS-42"));
    // Ruled lines with their amount boxes, as on the worksheet.
    const int lines = 9;
    const qreal first = sheet.top() + sheet.height() * 0.22;
    const qreal step = sheet.height() * 0.078;
    for (int i = 0; i < lines; ++i) {
        const qreal y = first + i * step;
        painter.setPen(QPen(QColor(150, 160, 180), 1.2));
        painter.drawLine(QPointF(sheet.left() + sheet.width() * 0.08, y),
                         QPointF(sheet.left() + sheet.width() * 0.55, y));
        painter.setPen(QPen(QColor(90, 100, 130), 1));
        painter.setBrush(i % 3 == 0 ? QColor(255, 255, 160) : QColor(245, 247, 252));
        for (int column = 0; column < 3; ++column) {
            const qreal x = sheet.left() + sheet.width() * (0.6 + column * 0.12);
            painter.drawRect(QRectF(x, y - step * 0.55, sheet.width() * 0.1, step * 0.6));
        }
    }
}

// The forms the program prepares, from its editions: "Forms CS-42 (Rev. 1/09), CS-42 (Rev. 5/2022)
// and CS-42-S (Effective 6/2023)".
QString formsLine()
{
    QStringList forms;
    for (const FormEdition* edition : FormEditions::all())
        forms << QStringLiteral("%1 (%2)").arg(edition->shortName, edition->revision);
    const QString last = forms.takeLast();
    return QStringLiteral("Forms ") + forms.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}
} // namespace

QPixmap Splash::picture(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(18, 38, 84));
    sky.setColorAt(1, QColor(44, 86, 150));
    painter.fillRect(pixmap.rect(), sky);
    // A soft band across the middle.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 18));
    painter.drawEllipse(QRectF(-size.width() * 0.2, size.height() * 0.55, size.width() * 1.4, size.height()));

    const qreal w = size.width();
    const qreal h = size.height();
    drawScales(painter, QPointF(w * 0.3, h * 0.16), w * 0.36);
    drawFormSheet(painter, QRectF(w * 0.58, h * 0.1, w * 0.3, h * 0.8));
    painter.end();
    return pixmap;
}

Splash::Splash(Session& session, WindowHost& host, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_host(host)
{
    setObjectName(QStringLiteral("Splash"));
    // Only Quit can be chosen while the splash shows.
    m_host.setMenuState(MenuState::QuitOnly);
    resize(ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowWidth),
           ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowHeight));
    setFocusPolicy(Qt::StrongFocus);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(picture(QSize(640, 360)));
    image->setAlignment(Qt::AlignCenter);

    auto makeTitle = [this](const char* name, const QString& text, int pointSize, bool bold) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
        return label;
    };
    QLabel* title1 = makeTitle("lblTitle1", ProgramSettings::LongTitle, 20, true);
    QLabel* title2 = makeTitle("lblTitle2", formsLine(), 13, false);
    QLabel* title3 = makeTitle("lblTitle3", ProgramSettings::VersionText, 11, false);
    QLabel* prompt = makeTitle("Label1", QStringLiteral("CLICK ON THE PICTURE ABOVE TO CONTINUE"), 10, true);
    prompt->setStyleSheet(QStringLiteral("color: #1a3a7a;"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(6);
    layout->addWidget(image);
    layout->addSpacing(6);
    layout->addWidget(title1);
    layout->addWidget(title2);
    layout->addWidget(title3);
    layout->addSpacing(8);
    layout->addWidget(prompt);
    layout->addStretch(1);

    m_clickable = {image, title1, title2, title3, prompt};
    for (QLabel* label : std::as_const(m_clickable)) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
}

bool Splash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = qobject_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton && label && m_clickable.contains(label) &&
            label->rect().contains(mouse->position().toPoint())) {
            m_host.showCaseLibrary();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Splash::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        m_host.showCaseLibrary();
        return;
    case Qt::Key_Escape:
        // File Utilities is reachable only at start-up, before the case library first opened;
        // later (About) Esc continues like the other keys.
        if (m_session.utilitiesAllowed) {
            m_host.showCaseLibrary();
            return;
        }
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    HiddenUtilities utilities(m_session, this);
    if (utilities.exec() == HiddenUtilities::Continue)
        m_host.showCaseLibrary();
}

} // namespace cs42
