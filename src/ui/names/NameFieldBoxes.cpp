#include "ui/names/NameFieldBoxes.h"

#include "ui/common/Palette.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace cs42 {

namespace {
constexpr int FocusColor = 14;
constexpr int RestColor = 15;

// Where each box sits: row, first grid column and span. Labels sit in the column before a line's
// first box. Two halves: the address and employer on the left, the person on the right.
struct Place
{
    int row;
    int column;
    int span;
};

const QHash<QString, Place>& places()
{
    static const QHash<QString, Place> table = {
        {QStringLiteral("listname"), {0, 1, 3}},    {QStringLiteral("firmname"), {1, 1, 3}},
        {QStringLiteral("street"), {2, 1, 3}},      {QStringLiteral("street2"), {3, 1, 3}},
        {QStringLiteral("city"), {4, 1, 1}},        {QStringLiteral("namestate"), {4, 2, 1}},
        {QStringLiteral("zipcode"), {4, 3, 1}},     {QStringLiteral("namecounty"), {5, 1, 3}},
        {QStringLiteral("email"), {6, 1, 3}},       {QStringLiteral("employer"), {7, 1, 3}},
        {QStringLiteral("contact"), {8, 1, 3}},     {QStringLiteral("cempaddr"), {9, 1, 3}},
        {QStringLiteral("cempcity"), {10, 1, 1}},   {QStringLiteral("cempstate"), {10, 2, 1}},
        {QStringLiteral("cempzip"), {10, 3, 1}},    {QStringLiteral("firstname"), {0, 6, 1}},
        {QStringLiteral("middlename"), {1, 6, 1}},  {QStringLiteral("lastname"), {2, 6, 1}},
        {QStringLiteral("suffix"), {3, 6, 1}},      {QStringLiteral("barno"), {4, 6, 1}},
        {QStringLiteral("namessn"), {5, 6, 1}},     {QStringLiteral("placemarrg"), {6, 6, 1}},
        {QStringLiteral("anniversary"), {7, 6, 1}}, {QStringLiteral("clsalary"), {8, 6, 1}},
        {QStringLiteral("startdate"), {9, 6, 1}},   {QStringLiteral("optfield1"), {10, 6, 1}},
        {QStringLiteral("wphone"), {11, 6, 1}},     {QStringLiteral("hphone"), {12, 6, 1}},
        {QStringLiteral("fphone"), {13, 6, 1}},     {QStringLiteral("cphone"), {14, 6, 1}},
        {QStringLiteral("birthdate"), {11, 1, 3}},  {QStringLiteral("deathdate"), {12, 1, 3}},
        {QStringLiteral("namesex"), {13, 1, 3}},    {QStringLiteral("namerace"), {14, 1, 3}},
        {QStringLiteral("notes"), {16, 0, 7}},
    };
    return table;
}
} // namespace

NameFieldBoxes::NameFieldBoxes(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("nameFieldsPanel"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    QWidget* previous = nullptr;
    for (const NameField& field : NameRecord::editedFields()) {
        const Place place = places().value(field.column);
        QWidget* editor = nullptr;
        if (field.column == QLatin1String("notes")) {
            auto* notes = new QPlainTextEdit(this);
            notes->setTabChangesFocus(true);
            notes->setMinimumHeight(70);
            connect(notes, &QPlainTextEdit::textChanged, this, [this] {
                if (!m_loading)
                    m_edited = true;
            });
            editor = notes;
            auto* label = new QLabel(field.label, this);
            label->setBuddy(notes);
            grid->addWidget(label, place.row - 1, 0, 1, 7);
        } else {
            auto* line = new QLineEdit(this);
            connect(line, &QLineEdit::textEdited, this, [this] { m_edited = true; });
            editor = line;
            if (!field.label.isEmpty()) {
                auto* label = new QLabel(field.label, this);
                label->setBuddy(line);
                grid->addWidget(label, place.row, place.column - 1);
            }
        }
        editor->setObjectName(field.box);
        editor->setAutoFillBackground(true);
        setBoxColor(editor, RestColor);
        editor->installEventFilter(this);
        grid->addWidget(editor, place.row, place.column, 1, place.span);
        m_boxes.insert(field.column, editor);
        if (previous)
            setTabOrder(previous, editor);
        previous = editor;
    }
    // The state box holds two letters; the city takes the room.
    m_boxes.value(QStringLiteral("namestate"))->setFixedWidth(34);
    m_boxes.value(QStringLiteral("cempstate"))->setFixedWidth(34);
    m_boxes.value(QStringLiteral("zipcode"))->setFixedWidth(80);
    m_boxes.value(QStringLiteral("cempzip"))->setFixedWidth(80);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(6, 1);
    grid->setColumnMinimumWidth(4, 16); // the gap between the two halves
}

NameFieldBoxes::~NameFieldBoxes()
{
    // Boxes losing the focus while the window is taken down must not reach a half-destroyed filter.
    for (QWidget* editor : std::as_const(m_boxes))
        editor->removeEventFilter(this);
}

QWidget* NameFieldBoxes::firstBox() const
{
    return m_boxes.value(NameRecord::editedFields().first().column);
}

QWidget* NameFieldBoxes::lastBox() const
{
    return m_boxes.value(NameRecord::editedFields().last().column);
}

void NameFieldBoxes::showRecord(const NameRecord& record)
{
    m_loading = true;
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it) {
        const QString text = record.value(it.key());
        if (auto* line = qobject_cast<QLineEdit*>(it.value())) {
            line->setText(text);
            line->setCursorPosition(0);
        } else if (auto* notes = qobject_cast<QPlainTextEdit*>(it.value())) {
            notes->setPlainText(text);
        }
    }
    m_loading = false;
    m_edited = false;
}

QString NameFieldBoxes::textOf(const QString& column) const
{
    QWidget* editor = m_boxes.value(column);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line->text();
    if (auto* notes = qobject_cast<QPlainTextEdit*>(editor))
        return notes->toPlainText();
    return {};
}

QHash<QString, QString> NameFieldBoxes::texts() const
{
    QHash<QString, QString> result;
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
        result.insert(it.key(), textOf(it.key()));
    return result;
}

void NameFieldBoxes::setBoxColor(QWidget* editor, int colorIndex)
{
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, paletteColor(colorIndex));
    editor->setPalette(palette);
}

bool NameFieldBoxes::eventFilter(QObject* watched, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(watched);
    if (editor && event->type() == QEvent::FocusIn) {
        setBoxColor(editor, FocusColor);
    } else if (editor && event->type() == QEvent::FocusOut) {
        // Another application or a context menu taking the focus is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            setBoxColor(editor, RestColor);
            emit boxLeft();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cs42
