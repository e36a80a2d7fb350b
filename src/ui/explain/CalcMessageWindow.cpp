#include "ui/explain/CalcMessageWindow.h"

#include "core/store/ProgramSettings.h"
#include "ui/common/Interaction.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace cs42 {

namespace {
using ProgramSettings::twipsToPixels;

// Places a control from its position in twips (left, top, width, height).
void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

QFont fontOf(const QString& family, double points)
{
    QFont f(family);
    f.setPointSizeF(points);
    return f;
}
} // namespace

CalcMessageWindow::CalcMessageWindow(const QString& explanationText,
                                     Interaction& interaction,
                                     QWidget* parent)
    : QDialog(parent)
    , m_explanationText(explanationText)
    , m_interaction(interaction)
{
    setObjectName(QStringLiteral("CalcMessageWindow"));
    setWindowTitle(QStringLiteral("Written Explanation of Child Support Calculation"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(twipsToPixels(15615), twipsToPixels(8970));
    const QColor lightYellow(255, 255, 192);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, lightYellow);
    setPalette(background);

    auto* command1 = new QPushButton(QStringLiteral("&Done"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    place(command1, 13485, 240, 1725, 360);

    auto* label1 = new QLabel(
        QStringLiteral(
            "The text box below contains a written explanation of how Child Support was calculated "
            "based on the information found on the CS-42 Form for this case. You may copy and paste all "
            "or part of this explanation into another document or program by using keystrokes and your "
            "mouse. As a convenience, this program will copy this written explanation to the Clipboard "
            "- just click the button on the right. Then, all you have to do is paste the contents of "
            "the Clipboard into your word processing program."),
        this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1->setFont(fontOf(QStringLiteral("Liberation Sans"), 11.25));
    // A little taller than 1050 twips so that the fourth line of the text is not cut at its foot.
    place(label1, 405, 270, 12660, 1200);

    auto* text1 = new QPlainTextEdit(this);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setFont(fontOf(QStringLiteral("Liberation Mono"), 9));
    text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Each CR LF of the explanation is one line break in the box. Copying takes the generated text
    // itself, never the box's content, which the user may have edited.
    text1->setPlainText(QString(m_explanationText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_text = text1;
    place(text1, 405, 1515, 14820, 7125);

    auto* command2 = new QPushButton(QStringLiteral("&Copy to Clipboard"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    place(command2, 13485, 720, 1725, 360);

    for (QPushButton* button : {command1, command2}) {
        // Enter presses the button that has the focus ("&Done" when the window opens); in the text
        // box it is a line break.
        button->setAutoDefault(true);
        button->setFont(fontOf(QStringLiteral("Liberation Sans"), 8.25));
    }
    setTabOrder(command1, text1);
    setTabOrder(text1, command2);

    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(command2, &QPushButton::clicked, this, &CalcMessageWindow::copyToClipboard);
    command1->setFocus(Qt::OtherFocusReason);
}

void CalcMessageWindow::copyToClipboard()
{
    bool changed = false;
    if (m_reread) {
        const std::optional<QString> stored = m_reread();
        if (!stored)
            return;
        if (*stored != m_explanationText) {
            m_explanationText = *stored;
            m_text->setPlainText(
                QString(m_explanationText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            changed = true;
        }
    }
    if (m_interaction.copyText(m_explanationText))
        m_interaction.inform(this,
                             QString(),
                             changed ? changedText() + QStringLiteral("\r\n\r\n") + copiedText()
                                     : copiedText());
    else
        m_interaction.inform(
            this,
            QString(),
            QStringLiteral("The text could not be copied to the Clipboard. Please select the text "
                           "in the box and copy it with Ctrl+C."));
}

} // namespace cs42
