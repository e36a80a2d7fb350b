#include "core/produce/SaveName.h"

#include "core/worksheet/FormEdition.h"

#include <gtest/gtest.h>

namespace cs42 {
namespace {

TEST(SaveName, CaseNameFormAndDateMakeAFileNameEverySystemTakes)
{
    struct Case
    {
        const char* caseName;
        const char* form;
        QDate date;
        const char* expected;
    };

    const Case cases[] = {
        {"Johnson v. Johnson", "CS-42", QDate(2026, 12, 10), "Johnson v Johnson - CS-42 - 2026-12-10.pdf"},
        {"Doe/Roe: \"A\" <B> *C? \\D|",
         "CS-42-S",
         QDate(2024, 3, 5),
         "DoeRoe A B C D - CS-42-S - 2024-03-05.pdf"},
        {"  St. Clair\tv.\n Smith.  ",
         "CS-42",
         QDate(2024, 3, 15),
         "St Clair v Smith - CS-42 - 2024-03-15.pdf"},
        {"O'Brien v. Müller", "CS-42", QDate(2024, 3, 15), "O'Brien v Müller - CS-42 - 2024-03-15.pdf"},
        {"", "CS-42", QDate(2024, 3, 15), "CS-42 - 2024-03-15.pdf"},
        {" ?.. ", "CS-42-S", QDate(2024, 3, 15), "CS-42-S - 2024-03-15.pdf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(producedFormSaveName(QString::fromUtf8(c.caseName), QString::fromUtf8(c.form), c.date),
                  QString::fromUtf8(c.expected))
            << c.caseName;
}

TEST(SaveName, EveryEditionHasTheCourtsFormNumber)
{
    EXPECT_EQ(FormEditions::find(QStringLiteral("2009"))->shortName, QStringLiteral("CS-42"));
    EXPECT_EQ(FormEditions::find(QStringLiteral("2022"))->shortName, QStringLiteral("CS-42"));
    EXPECT_EQ(FormEditions::find(QStringLiteral("2023S"))->shortName, QStringLiteral("CS-42-S"));
    for (const FormEdition* edition : FormEditions::all())
        EXPECT_FALSE(edition->shortName.isEmpty()) << edition->id.toStdString();
}

} // namespace
} // namespace cs42
