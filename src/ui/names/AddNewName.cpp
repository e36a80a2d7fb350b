#include "ui/names/AddNewName.h"

#include "core/names/NameForms.h"
#include "core/names/NameStore.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

namespace {
// A box with its caption below it.
QLineEdit* addBox(QGridLayout* grid, int column, const QString& name, const QString& caption, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    auto* label = new QLabel(caption, parent);
    label->setBuddy(box);
    grid->addWidget(box, 0, column);
    grid->addWidget(label, 1, column);
    return box;
}
} // namespace

AddNewName::AddNewName(QString namesDbPath, QWidget* parent)
    : QDialog(parent)
    , m_namesDbPath(std::move(namesDbPath))
{
    setObjectName(QStringLiteral("AddNewName"));
    setWindowTitle(QStringLiteral("Add a New Name"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(
        QStringLiteral(
            "Names are classified as either INDIVIDUALS or FIRMS.  If the name you are adding is an "
            "individual, then enter the first name, middle name, last name and suffix, and leave the firm "
            "name field blank.  On the other hand, if the name you are adding is a firm, then enter only "
            "the firm's name and leave the other fields blank."),
        this);
    explanation->setObjectName(QStringLiteral("Label1"));
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* individual = new QGroupBox(QStringLiteral("If you are adding an INDIVIDUAL:"), this);
    auto* individualGrid = new QGridLayout(individual);
    m_firstName =
        addBox(individualGrid, 0, QStringLiteral("txtFirstName"), QStringLiteral("First Name"), individual);
    m_middleName =
        addBox(individualGrid, 1, QStringLiteral("txtMiddlename"), QStringLiteral("Middle Name"), individual);
    m_lastName =
        addBox(individualGrid, 2, QStringLiteral("txtLastname"), QStringLiteral("Last Name"), individual);
    m_suffix = addBox(individualGrid,
                      3,
                      QStringLiteral("txtSuffix"),
                      QStringLiteral("Suffix (Jr., Sr., etc.)"),
                      individual);
    layout->addWidget(individual);

    auto* firm = new QGroupBox(QStringLiteral("If you are adding a FIRM:"), this);
    auto* firmGrid = new QGridLayout(firm);
    m_firmName = addBox(firmGrid, 0, QStringLiteral("txtFirmname"), QStringLiteral("Name of Firm"), firm);
    layout->addWidget(firm);

    m_done = new QPushButton(QStringLiteral("Done"), this);
    m_done->setObjectName(QStringLiteral("cmdSelect"));
    m_done->setToolTip(QStringLiteral("Selects the currently highlighted name"));
    m_done->setDefault(true);
    layout->addWidget(m_done, 0, Qt::AlignHCenter);
    connect(m_done, &QPushButton::clicked, this, &AddNewName::addName);

    setTabOrder(m_firstName, m_middleName);
    setTabOrder(m_middleName, m_lastName);
    setTabOrder(m_lastName, m_suffix);
    setTabOrder(m_suffix, m_firmName);
    setTabOrder(m_firmName, m_done);
    resize(560, sizeHint().height());
}

std::optional<QString> AddNewName::add(const QString& namesDbPath, QWidget* parent, QString* failure)
{
    AddNewName dialog(namesDbPath, parent);
    dialog.exec();
    if (failure)
        *failure = dialog.failure();
    return dialog.addedKey();
}

void AddNewName::addName()
{
    const NameParts parts{
        m_firstName->text(), m_middleName->text(), m_lastName->text(), m_suffix->text(), m_firmName->text()};
    const auto name = NameForms::compose(parts);
    if (name) {
        const QString key = NameStore(m_namesDbPath).addName(*name, parts, &m_failure);
        if (!key.isEmpty())
            m_addedKey = key;
    }
    accept();
}

} // namespace cs42
