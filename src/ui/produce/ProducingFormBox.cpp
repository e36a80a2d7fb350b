#include "ui/produce/ProducingFormBox.h"

#include "core/store/ProgramSettings.h"

#include <QLabel>
#include <QPushButton>

namespace cs42 {

namespace {
using ProgramSettings::twipsToPixels;

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// Arial and MS Sans Serif are both Liberation Sans here.
QFont boldSans(double points)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, double points)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(boldSans(points));
    return label;
}
} // namespace

ProducingFormBox::ProducingFormBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("producingformbox"));
    setWindowTitle(QStringLiteral("Produce Form"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(twipsToPixels(11130), twipsToPixels(6015));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* label2 = addLabel(this, "Label2", QStringLiteral("Producing Form... Please Read!"), 18);
    label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(label2, 360, 315, 10440, 510);
    auto* label1 = addLabel(
        this,
        "Label1",
        QStringLiteral(
            "This program merges the data you have entered about your case with the blank court form in "
            "its data folder: the program's own drawing of the court's form, with the fields of the "
            "court's fillable PDF.  The filled form is shown in this program's own preview; no other "
            "software is needed to display it."),
        12);
    place(label1, 360, 975, 10440, 1275);
    auto* label3 = addLabel(
        this,
        "Label3",
        QStringLiteral(
            "Creating the PDF form takes a fraction of a second.  Once it is displayed on your computer's "
            "screen, it may be printed or saved.  When you are finished, please be sure to CLOSE the PDF "
            "form."),
        12);
    place(label3, 360, 2490, 10440, 975);
    auto* label4 = addLabel(
        this,
        "Label4",
        QStringLiteral(
            "Keep in mind that any changes you make on the PDF Form itself will be discarded when it is "
            "closed.  To make permanent changes to the database, return to this program, make whatever "
            "changes are needed, then produce the PDF Form again."),
        12);
    QPalette red = label4->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    label4->setPalette(red);
    place(label4, 360, 3705, 10440, 975);

    auto* command1 = new QPushButton(QStringLiteral("&Produce Form Now"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    place(command1, 3585, 5085, 2400, 495);
    auto* command2 = new QPushButton(QStringLiteral("&Cancel"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    place(command2, 6315, 5085, 1215, 495);
    for (QPushButton* button : {command1, command2}) {
        button->setFont(boldSans(9.75));
        // Enter presses the button that has the focus, "&Produce Form Now" when the notice opens.
        button->setAutoDefault(true);
        // Grey buttons on the white notice.
        QPalette grey = button->palette();
        grey.setColor(QPalette::Button, QColor(192, 192, 192));
        button->setPalette(grey);
    }
    setTabOrder(command1, command2);

    connect(command1, &QPushButton::clicked, this, [this] {
        m_produceConfirmed = true;
        accept();
    });
    connect(command2, &QPushButton::clicked, this, [this] {
        m_produceConfirmed = false;
        reject();
    });
    command1->setFocus(Qt::OtherFocusReason);
}

bool ProducingFormBox::confirm(QWidget* parent)
{
    ProducingFormBox box(parent);
    box.exec();
    return box.produceConfirmed();
}

} // namespace cs42
