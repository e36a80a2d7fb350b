#include "core/names/NameRecord.h"

#include "core/store/Schema.h"

namespace cs42 {

NameRecord::NameRecord(QHash<QString, QString> values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        m_values.insert(it.key().toLower(), it.value());
}

const QList<NameField>& NameRecord::editedFields()
{
    static const QList<NameField> fields = {
        {QStringLiteral("listname"), QStringLiteral("Text0"), QStringLiteral("Display as"), 250},
        {QStringLiteral("firmname"), QStringLiteral("Text0a"), QStringLiteral("Sort by"), 250},
        {QStringLiteral("street"), QStringLiteral("Text5"), QStringLiteral("Street Address"), 250},
        {QStringLiteral("street2"), QStringLiteral("Text5a"), QString(), 250},
        {QStringLiteral("city"), QStringLiteral("Text6"), QStringLiteral("City/State/Zipcode"), 50},
        {QStringLiteral("namestate"), QStringLiteral("Text7"), QString(), 2},
        {QStringLiteral("zipcode"), QStringLiteral("Text8"), QString(), 20},
        {QStringLiteral("namecounty"), QStringLiteral("Text9"), QStringLiteral("Name of County"), 50},
        {QStringLiteral("email"), QStringLiteral("Text10"), QStringLiteral("EMail Address"), 250},
        {QStringLiteral("employer"), QStringLiteral("Text19"), QStringLiteral("Employer's Name"), 250},
        {QStringLiteral("contact"), QStringLiteral("Text20"), QStringLiteral("Contact Person"), 200},
        {QStringLiteral("cempaddr"), QStringLiteral("Text21"), QStringLiteral("Street Address"), 200},
        {QStringLiteral("cempcity"), QStringLiteral("Text22"), QStringLiteral("City/State/Zipcode"), 50},
        {QStringLiteral("cempstate"), QStringLiteral("Text23"), QString(), 2},
        {QStringLiteral("cempzip"), QStringLiteral("Text24"), QString(), 20},
        {QStringLiteral("firstname"), QStringLiteral("Text1"), QStringLiteral("First Name"), 50},
        {QStringLiteral("middlename"), QStringLiteral("Text2"), QStringLiteral("Middle Name"), 50},
        {QStringLiteral("lastname"), QStringLiteral("Text3"), QStringLiteral("Last Name"), 50},
        {QStringLiteral("suffix"), QStringLiteral("Text4"), QStringLiteral("Suffix"), 50},
        {QStringLiteral("barno"), QStringLiteral("Text15"), QStringLiteral("Bar Number"), 20},
        {QStringLiteral("namessn"), QStringLiteral("Text16"), QStringLiteral("SSN/Tax ID"), 20},
        {QStringLiteral("placemarrg"), QStringLiteral("Text27"), QStringLiteral("Place Married"), 50},
        {QStringLiteral("anniversary"), QStringLiteral("Text28"), QStringLiteral("Date Married"), 15},
        {QStringLiteral("clsalary"), QStringLiteral("Text25"), QStringLiteral("Salary"), 20},
        {QStringLiteral("startdate"), QStringLiteral("Text26"), QStringLiteral("Date Hired"), 20},
        {QStringLiteral("optfield1"), QStringLiteral("Text30"), QStringLiteral("Job Title"), 250},
        {QStringLiteral("wphone"), QStringLiteral("Text11"), QStringLiteral("Work"), 15},
        {QStringLiteral("hphone"), QStringLiteral("Text12"), QStringLiteral("Home"), 15},
        {QStringLiteral("fphone"), QStringLiteral("Text13"), QStringLiteral("Fax"), 15},
        {QStringLiteral("cphone"), QStringLiteral("Text14"), QStringLiteral("Mobile"), 15},
        {QStringLiteral("birthdate"), QStringLiteral("Text17"), QStringLiteral("DOB"), 10},
        {QStringLiteral("deathdate"), QStringLiteral("Text18"), QStringLiteral("DOD"), 10},
        {QStringLiteral("namesex"), QStringLiteral("Text31"), QStringLiteral("Sex"), 20},
        {QStringLiteral("namerace"), QStringLiteral("Text32"), QStringLiteral("Race"), 20},
        {QStringLiteral("notes"), QStringLiteral("Text29"), QStringLiteral("Notes/Comments"), 250},
    };
    return fields;
}

QString NameRecord::storedText(const QString& column, const QString& text)
{
    for (const NameField& field : editedFields()) {
        if (field.column.compare(column, Qt::CaseInsensitive) == 0)
            return text.left(field.storedLength);
    }
    return text;
}

const QString& NameRecord::seedKey()
{
    return Schema::namesSeedKey();
}

NameRecord NameRecord::seedRecord()
{
    // Every column holds the empty text unless the office's own entry gives it a value.
    NameRecord record;
    for (const ColumnDef& column : Schema::namesTable().allColumns())
        record.setValue(column.name, QString(QLatin1String("")));
    const QString firm = QStringLiteral("Example Law Office");
    record.setValue(QStringLiteral("keynumber"), seedKey());
    for (const char* column : {"firmname", "listname", "lastfirstmiddle", "employer"})
        record.setValue(QString::fromLatin1(column), firm);
    record.setValue(QStringLiteral("firstname"), QStringLiteral("Example"));
    record.setValue(QStringLiteral("middlename"), QStringLiteral("Law"));
    record.setValue(QStringLiteral("lastname"), QStringLiteral("Office"));
    record.setValue(QStringLiteral("street"), QStringLiteral("100 Main Street"));
    record.setValue(QStringLiteral("street2"), QStringLiteral("(mailing address)"));
    record.setValue(QStringLiteral("city"), QStringLiteral("Anytown"));
    record.setValue(QStringLiteral("namestate"), QStringLiteral("AL"));
    record.setValue(QStringLiteral("zipcode"), QStringLiteral("35000"));
    record.setValue(QStringLiteral("namecounty"), QStringLiteral("Example"));
    record.setValue(QStringLiteral("email"), QStringLiteral("office@example.com"));
    return record;
}

bool NameRecord::isProtectedKey(const QString& key)
{
    return key == seedKey() || key == QLatin1String("VTR00001");
}

} // namespace cs42
