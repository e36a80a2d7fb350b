#include "core/names/NameForms.h"

#include "core/names/NameKey.h"
#include "core/names/NameList.h"
#include "core/names/NameRecord.h"
#include "core/names/PartyAddressBlock.h"

#include <QSet>

#include <gtest/gtest.h>

#include <cctype>

namespace cs42 {
namespace {

struct FormsCase
{
    const char* label;
    NameParts parts;
    bool individual;
    const char* display;
    const char* sort;
    const char* lastFirstMiddle;
    quint32 n;
    const char* key;
};

class NameFormsTest : public ::testing::TestWithParam<FormsCase>
{
};

TEST_P(NameFormsTest, ComposesFormsAndKey)
{
    const FormsCase& c = GetParam();
    const auto name = NameForms::compose(c.parts);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->individual, c.individual);
    EXPECT_EQ(name->displayForm, QString::fromLatin1(c.display));
    EXPECT_EQ(name->sortForm, QString::fromLatin1(c.sort));
    EXPECT_EQ(name->lastFirstMiddle, QString::fromLatin1(c.lastFirstMiddle));
    EXPECT_EQ(NameKey::make(name->sortForm, c.n), QString::fromLatin1(c.key));
}

NameParts
individual(const char* first, const char* middle, const char* last, const char* suffix, const char* firm = "")
{
    return {QString::fromLatin1(first),
            QString::fromLatin1(middle),
            QString::fromLatin1(last),
            QString::fromLatin1(suffix),
            QString::fromLatin1(firm)};
}

INSTANTIATE_TEST_SUITE_P(Names,
                         NameFormsTest,
                         ::testing::Values(FormsCase{"full",
                                                     individual("John", "Allen", "Smith", "Jr."),
                                                     true,
                                                     "John Allen Smith Jr.",
                                                     "Smith John Allen Jr.",
                                                     "Smith John Allen Jr.",
                                                     4521,
                                                     "S4521000"},
                                           FormsCase{"padded parts",
                                                     individual("  John ", " ", " Smith  ", ""),
                                                     true,
                                                     "John Smith",
                                                     "Smith John",
                                                     "Smith John",
                                                     12345678,
                                                     "S1234567"},
                                           FormsCase{"last name only",
                                                     individual("", "", "Smith", ""),
                                                     true,
                                                     " Smith",
                                                     "Smith",
                                                     "Smith",
                                                     5,
                                                     "S5000000"},
                                           FormsCase{"first and last",
                                                     individual("Ann", "", "Lee", ""),
                                                     true,
                                                     "Ann Lee",
                                                     "Lee Ann",
                                                     "Lee Ann",
                                                     0,
                                                     "L0000000"},
                                           FormsCase{"firm",
                                                     individual("", "", "", "", "  acme Supply "),
                                                     false,
                                                     "acme Supply",
                                                     "acme Supply",
                                                     "",
                                                     4521,
                                                     "A4521000"},
                                           FormsCase{"last name and firm: an individual",
                                                     individual("Ann", "", "Lee", "", "Acme"),
                                                     true,
                                                     "Ann Lee",
                                                     "Lee Ann",
                                                     "Lee Ann",
                                                     99999998,
                                                     "L9999999"},
                                           FormsCase{"last name of blanks with a first name",
                                                     individual("John", "", "   ", "", "Acme"),
                                                     true,
                                                     "John",
                                                     " John",
                                                     "",
                                                     4521,
                                                     " 4521000"},
                                           FormsCase{"last name of blanks alone",
                                                     individual("", "", "  ", "", "Acme"),
                                                     true,
                                                     "",
                                                     "",
                                                     "",
                                                     7,
                                                     " 7000000"}),
                         [](const ::testing::TestParamInfo<FormsCase>& param) {
                             std::string name = param.param.label;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             }
                             return name;
                         });

TEST(NameForms, NothingToAddWithoutLastOrFirmName)
{
    EXPECT_FALSE(NameForms::compose(individual("", "", "", "")).has_value());
    EXPECT_FALSE(NameForms::compose(individual("John", "A", " ", "Jr.", "   ")).has_value());
}

TEST(NameKey, DigitsArePaddedOrCutToSeven)
{
    EXPECT_EQ(NameKey::digitsFor(5), QStringLiteral("5000000"));
    EXPECT_EQ(NameKey::digitsFor(0), QStringLiteral("0000000"));
    EXPECT_EQ(NameKey::digitsFor(4521), QStringLiteral("4521000"));
    EXPECT_EQ(NameKey::digitsFor(12345678), QStringLiteral("1234567"));
    EXPECT_EQ(NameKey::make(QStringLiteral("smith john"), 4521), QStringLiteral("S4521000"));
    // The first character of the upper-cased sort form: a letter that upper-cases to two letters
    // still gives a key of eight characters.
    EXPECT_EQ(NameKey::make(QString::fromUtf8("\u00dfler Hans"), 4521), QStringLiteral("S4521000"));
}

TEST(NameKey, DrawsAgainWhileTheKeyIsTaken)
{
    QStringList tried;
    const QString key = NameKey::makeUnique(QStringLiteral("Lee Ann"), [&tried](const QString& candidate) {
        tried << candidate;
        return tried.size() < 4; // the first three keys are "taken"
    });
    ASSERT_EQ(tried.size(), 4);
    EXPECT_EQ(key, tried.last());
    EXPECT_EQ(key.size(), 8);
    EXPECT_TRUE(key.startsWith(QLatin1Char('L')));
}

TEST(NameRecord, StoredLengthsCutBoxTexts)
{
    EXPECT_EQ(NameRecord::storedText(QStringLiteral("namestate"), QStringLiteral("Alabama")),
              QStringLiteral("Al"));
    EXPECT_EQ(NameRecord::storedText(QStringLiteral("birthdate"), QStringLiteral("March 3, 1960")),
              QStringLiteral("March 3, 1"));
    EXPECT_EQ(NameRecord::storedText(QStringLiteral("notes"), QString(300, QLatin1Char('x'))).size(), 250);
    EXPECT_EQ(NameRecord::storedText(QStringLiteral("Lastname"), QString(60, QLatin1Char('x'))).size(), 50);
    EXPECT_EQ(NameRecord::storedText(QStringLiteral("wphone"), QStringLiteral("205-555-0100 x1234")),
              QStringLiteral("205-555-0100 x1"));
}

TEST(NameRecord, ThirtyFiveBoxesEachWithItsOwnColumnAndControl)
{
    const auto& fields = NameRecord::editedFields();
    ASSERT_EQ(fields.size(), 35);
    QSet<QString> columns;
    QSet<QString> boxes;
    for (const NameField& field : fields) {
        columns.insert(field.column);
        boxes.insert(field.box);
    }
    EXPECT_EQ(columns.size(), 35);
    EXPECT_EQ(boxes.size(), 35);
    EXPECT_EQ(fields.first().box, QStringLiteral("Text0"));
    EXPECT_EQ(fields.last().box, QStringLiteral("Text29"));
}

TEST(NameList, EntriesOfBothWidthsEndInTheKey)
{
    const QString selection =
        NameList::entry(QStringLiteral("  Lee Ann "), QStringLiteral("L0000000"), NameList::Style::Selection);
    EXPECT_EQ(selection,
              QStringLiteral(" Lee Ann") + QString(73, QLatin1Char(' ')) + QStringLiteral("L0000000"));
    const QString admin = NameList::entry(
        QStringLiteral("  Lee Ann "), QStringLiteral("L0000000"), NameList::Style::Administration);
    EXPECT_EQ(admin,
              QStringLiteral("   Lee Ann ") + QString(90, QLatin1Char(' ')) + QStringLiteral("L0000000"));

    // A long sort form is cut, so the key still ends the entry.
    const QString longForm(120, QLatin1Char('z'));
    const QString cut = NameList::entry(longForm, QStringLiteral("Z1234567"), NameList::Style::Selection);
    EXPECT_EQ(cut.size(), 1 + 80 + 8);
    EXPECT_EQ(NameList::keyOf(cut), QStringLiteral("Z1234567"));
}

TEST(NameList, EntriesSortByTheWholeTextWithoutRegardToCase)
{
    const QList<NameListRow> rows = {{QStringLiteral("smith John"), QStringLiteral("S2000000")},
                                     {QStringLiteral("Adams Ann"), QStringLiteral("A1000000")},
                                     {QStringLiteral("Smith John"), QStringLiteral("S1000000")},
                                     {QStringLiteral("  Baker"), QStringLiteral("B1000000")}};
    QStringList keys;
    for (const QString& entry : NameList::entries(rows, NameList::Style::Selection))
        keys << NameList::keyOf(entry);
    EXPECT_EQ(keys,
              (QStringList{QStringLiteral("A1000000"),
                           QStringLiteral("B1000000"),
                           QStringLiteral("S1000000"),
                           QStringLiteral("S2000000")}));
}

TEST(PartyAddressBlock, JoinsTheLinesWithSingleCarriageReturns)
{
    NameRecord name;
    name.setValue(QStringLiteral("listname"), QStringLiteral("John Smith"));
    name.setValue(QStringLiteral("shortnote"), QStringLiteral(""));
    name.setValue(QStringLiteral("street"), QStringLiteral("100 Main St"));
    name.setValue(QStringLiteral("street2"), QStringLiteral(""));
    name.setValue(QStringLiteral("city"), QStringLiteral("Springfield"));
    name.setValue(QStringLiteral("namestate"), QStringLiteral("IL"));
    name.setValue(QStringLiteral("zipcode"), QStringLiteral("62701"));
    EXPECT_EQ(partyAddressBlock(name).toLatin1(),
              QByteArray("John Smith\r100 Main St \rSpringfield    IL   62701"));

    // A short note gets a line of its own; no city and no state leave the zip code alone.
    name.setValue(QStringLiteral("listname"), QStringLiteral(" Smith "));
    name.setValue(QStringLiteral("shortnote"), QStringLiteral("  c/o Acme  "));
    name.setValue(QStringLiteral("street2"), QStringLiteral(" Suite 4 "));
    name.setValue(QStringLiteral("city"), QStringLiteral("  "));
    name.setValue(QStringLiteral("namestate"), QString());
    EXPECT_EQ(partyAddressBlock(name).toLatin1(),
              QByteArray(" Smith \rc/o Acme\r100 Main St Suite 4\r62701"));

    // An empty record still has its street line.
    EXPECT_EQ(partyAddressBlock(NameRecord()).toLatin1(), QByteArray("\r \r"));
}

} // namespace
} // namespace cs42
