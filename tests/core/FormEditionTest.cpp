#include "core/worksheet/FormEdition.h"

#include "Worksheet2022Fixtures.h"
#include "core/explain/EditionExplanation.h"
#include "core/produce/FormTemplate.h"
#include "core/store/Schema.h"
#include "core/worksheet/Cs42Form.h"
#include "core/worksheet/ProductionRefusal.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

using namespace cs42;

namespace {
// The court form's fields in the order the 2009 template numbers them, as the program has always
// filled them.
QStringList fieldOrderOf2009()
{
    return {QStringLiteral("lblCourtFile"),  QStringLiteral("lblCourtType"),  QStringLiteral("lblCounty"),
            QStringLiteral("lblName1Name"),  QStringLiteral("lblName2Name"),  QStringLiteral("lblChild1Name"),
            QStringLiteral("lblChild1DOB"),  QStringLiteral("lblChild4Name"), QStringLiteral("lblChild4DOB"),
            QStringLiteral("lblChild2Name"), QStringLiteral("lblChild2DOB"),  QStringLiteral("lblChild5Name"),
            QStringLiteral("lblChild5DOB"),  QStringLiteral("lblChild3Name"), QStringLiteral("lblChild3DOB"),
            QStringLiteral("lblChild6Name"), QStringLiteral("lblChild6DOB"),  QStringLiteral("lblP1"),
            QStringLiteral("lblD1"),         QStringLiteral("lblP1a"),        QStringLiteral("lblD1a"),
            QStringLiteral("lblP1b"),        QStringLiteral("lblD1b"),        QStringLiteral("lblP2"),
            QStringLiteral("lblD2"),         QStringLiteral("lblC2"),         QStringLiteral("lblC4"),
            QStringLiteral("lblC5"),         QStringLiteral("lblC7"),         QStringLiteral("lblP8"),
            QStringLiteral("lblD8"),         QStringLiteral("lblP9"),         QStringLiteral("lblD9"),
            QStringLiteral("lblP10"),        QStringLiteral("lblD10"),        QStringLiteral("lblComments"),
            QStringLiteral("lblPreparedBy"), QStringLiteral("lblDateSigned"), QStringLiteral("lblP3"),
            QStringLiteral("lblD3"),         QStringLiteral("lblC6")};
}

// The labels the 2009 computation sets, in the order cs42-admin prints them.
QStringList captionOrderOf2009()
{
    QStringList labels = {QStringLiteral("lblCourtFile"),
                          QStringLiteral("lblCounty"),
                          QStringLiteral("lblCourtType"),
                          QStringLiteral("lblName1Name"),
                          QStringLiteral("lblName2Name")};
    for (int i = 1; i <= 6; ++i)
        labels << QStringLiteral("lblChild%1Name").arg(i) << QStringLiteral("lblChild%1DOB").arg(i);
    labels << QStringLiteral("lblP1") << QStringLiteral("lblD1") << QStringLiteral("lblP1a")
           << QStringLiteral("lblD1a") << QStringLiteral("lblP1b") << QStringLiteral("lblD1b")
           << QStringLiteral("lblP2") << QStringLiteral("lblD2") << QStringLiteral("lblC2")
           << QStringLiteral("lblP3") << QStringLiteral("lblD3") << QStringLiteral("lblC4")
           << QStringLiteral("lblC5") << QStringLiteral("lblC6") << QStringLiteral("lblC7")
           << QStringLiteral("lblP8") << QStringLiteral("lblD8") << QStringLiteral("lblP9")
           << QStringLiteral("lblD9") << QStringLiteral("lblP10") << QStringLiteral("lblD10")
           << QStringLiteral("lblCustody") << QStringLiteral("lblHealthInsurance")
           << QStringLiteral("lblComments") << QStringLiteral("lblDateSigned")
           << QStringLiteral("lblPreparedBy");
    return labels;
}

// The entries a line kind takes: a computed line has none, every other kind its own.
bool ruleFitsKind(LineKind kind, EntryRule rule)
{
    switch (kind) {
    case LineKind::Computed:
        return rule == EntryRule::None;
    case LineKind::Input:
        return rule == EntryRule::Income || rule == EntryRule::PreexistingSupport ||
               rule == EntryRule::Alimony || rule == EntryRule::Override || rule == EntryRule::ChildCare ||
               rule == EntryRule::HealthInsurance || rule == EntryRule::Amount ||
               rule == EntryRule::ChildrenNumber;
    case LineKind::HeaderText:
        return rule == EntryRule::Text;
    case LineKind::Toggle:
        return rule == EntryRule::Toggle;
    case LineKind::Party:
        return rule == EntryRule::Party;
    case LineKind::Child:
        return rule == EntryRule::Children;
    }
    return false;
}

// The stored amounts of an edition: the first column of every entry whose rule reads an amount.
QStringList amountColumns(const FormEdition& edition)
{
    QStringList columns;
    for (const LineDef& line : edition.lines) {
        switch (line.rule) {
        case EntryRule::Income:
        case EntryRule::PreexistingSupport:
        case EntryRule::Alimony:
        case EntryRule::ChildCare:
        case EntryRule::HealthInsurance:
        case EntryRule::Amount:
            columns << line.columns.first();
            break;
        default:
            break;
        }
    }
    return columns;
}

// A case on `edition` with `columns`.
CaseRecord caseOn(const FormEdition& edition, const ColumnValues& columns)
{
    CaseRecord record;
    record.setValue(QStringLiteral("formedition"), edition.id);
    for (const auto& [column, value] : columns)
        record.setValue(column, value);
    return record;
}
} // namespace

// The contract every edition in the registry keeps, whatever form it prepares: the worksheet window,
// the entry dialogs, the explanation and the produced form all read the edition's table, so a slip
// in one edition's table shows on that form alone.
class EditionContract : public ::testing::TestWithParam<const FormEdition*>
{
protected:
    const FormEdition& edition() const { return *GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Editions,
                         EditionContract,
                         ::testing::ValuesIn(FormEditions::all()),
                         [](const ::testing::TestParamInfo<const FormEdition*>& edition) {
                             return "Edition" + edition.param->id.toStdString();
                         });

// What every edition's table must hold for the worksheet, the explanation and the produced form
// to agree with one another.
TEST_P(EditionContract, TableIsConsistent)
{
    static const QRegularExpression cell(QStringLiteral("^lbl([PDC])\\d+[ab]?$"));
    QSet<QString> labels;
    QSet<int> fields;
    QSet<QString> fieldNames;
    QSet<QString> columns;
    for (const LineDef& line : edition().lines) {
        SCOPED_TRACE(line.label.toStdString());
        EXPECT_FALSE(labels.contains(line.label)) << "each label once";
        labels.insert(line.label);
        EXPECT_TRUE(line.label.startsWith(QStringLiteral("lbl")));
        EXPECT_TRUE(ruleFitsKind(line.kind, line.rule)) << int(line.kind) << " " << int(line.rule);
        // A re-read names a changed cell by its label: "lblD1" is the defendant's line 1.
        if (const QRegularExpressionMatch m = cell.match(line.label); m.hasMatch()) {
            const Side side = m.captured(1) == QLatin1String("P")   ? Side::Plaintiff
                              : m.captured(1) == QLatin1String("D") ? Side::Defendant
                                                                    : Side::Combined;
            EXPECT_EQ(line.side, side) << "the side its label names";
        }
        if (edition().fillsByName) {
            EXPECT_EQ(line.formField, 0) << "filled by name, not by position";
            if (!line.fieldName.isEmpty()) {
                EXPECT_FALSE(fieldNames.contains(line.fieldName)) << "each form field filled by one label";
                fieldNames.insert(line.fieldName);
            }
        } else if (line.formField > 0) {
            EXPECT_FALSE(fields.contains(line.formField)) << "each form field filled by one label";
            fields.insert(line.formField);
        }
        const bool stored = line.kind != LineKind::Computed;
        EXPECT_EQ(stored, !line.columns.isEmpty()) << "stored lines, and only they, have columns";
        EXPECT_EQ(stored, line.rule != EntryRule::None) << "stored lines, and only they, have an entry";
        for (const QString& column : line.columns) {
            EXPECT_TRUE(Schema::casesTable().hasColumn(column)) << column.toStdString();
            EXPECT_FALSE(columns.contains(column)) << "each column has one label";
            columns.insert(column);
        }
        if (line.rule == EntryRule::Text || line.rule == EntryRule::Party || line.kind == LineKind::Input) {
            EXPECT_FALSE(line.title.isEmpty());
        }
        if (line.rule == EntryRule::Text) {
            EXPECT_FALSE(line.prompt.isEmpty());
        }
        if (line.rule == EntryRule::PreexistingSupport) {
            ASSERT_NE(edition().line(line.incomeLabel), nullptr);
            EXPECT_EQ(edition().line(line.incomeLabel)->rule, EntryRule::Income);
        }
    }
    // The fields are numbered 1..n without a gap.
    for (int i = 1; i <= fields.size(); ++i)
        EXPECT_TRUE(fields.contains(i)) << "field " << i;
    EXPECT_FALSE(edition().formFieldLabels().contains(QString()));
    EXPECT_EQ(edition().fillsByName, !fieldNames.isEmpty()) << "filled by name or by position";
    // The warnings stand over the form beside the lines, each in a label of its own.
    ASSERT_TRUE(edition().warnings);
    for (const QString& warning : edition().warnings(WorksheetResult()).keys())
        EXPECT_TRUE(edition().warningLabels.contains(warning)) << warning.toStdString();
    for (const QString& warning : edition().warningLabels)
        EXPECT_FALSE(labels.contains(warning)) << warning.toStdString() << " is a line's label too";
    EXPECT_TRUE(edition().compute && hasExplanation(edition()));
    EXPECT_FALSE(edition().templateFile.isEmpty());
    EXPECT_FALSE(edition().scheduleTable.isEmpty());
    EXPECT_FALSE(edition().title.isEmpty());
    EXPECT_FALSE(edition().shortName.isEmpty());
}

// Whatever the inputs leave undefined (no income makes line 3's shares and the lines after them
// undefined), every label gets a caption, if only an empty one, so that nothing the worksheet
// shows is left over from the case shown before; and no caption is for a label the form lacks.
TEST_P(EditionContract, EveryLabelIsCaptionedWhenLinesAreUndefined)
{
    const struct
    {
        const char* name;
        ColumnValues columns;
    } cases[] = {
        {"an empty case", {}},
        {"children but no income",
         {{QStringLiteral("numchildren"), QStringLiteral("2")},
          {QStringLiteral("child1name"), QStringLiteral("Ann")}}},
        {"an ordinary case",
         {{QStringLiteral("numchildren"), QStringLiteral("1")},
          {QStringLiteral("child1name"), QStringLiteral("Ann")},
          {QStringLiteral("pinc"), QStringLiteral("3000")},
          {QStringLiteral("dinc"), QStringLiteral("2000")}}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Worksheet sheet =
            edition().compute(caseOn(edition(), c.columns), test::alabama2022(), edition().rules);
        for (const QString& label : edition().captionLabels())
            EXPECT_TRUE(sheet.captions.contains(label)) << label.toStdString();
        for (const QString& label : sheet.captions.keys())
            EXPECT_NE(edition().line(label), nullptr) << label.toStdString() << " is no label of the form";
    }
}

// Production fills the installed template (the build makes it) from the table: a field the table
// names that the template lacks stays empty on the court's form, and a template field the table
// does not name is never filled.
TEST_P(EditionContract, TheInstalledTemplateHasTheTablesFields)
{
    QString error;
    const auto info = readFormTemplate(QStringLiteral(FORMS_DIR "/") + edition().templateFile, &error);
    ASSERT_TRUE(info) << error.toStdString();
    QStringList templateNames;
    for (const FormFieldInfo& field : info->fields)
        templateNames << field.name;
    if (edition().fillsByName) {
        QStringList tableNames;
        for (const LineDef& line : edition().lines) {
            if (!line.fieldName.isEmpty())
                tableNames << line.fieldName;
        }
        std::sort(tableNames.begin(), tableNames.end());
        std::sort(templateNames.begin(), templateNames.end());
        EXPECT_EQ(templateNames, tableNames);
    } else {
        // Filled by position: field i receives the caption of the label numbered i.
        EXPECT_EQ(templateNames.size(), edition().formFieldLabels().size());
        EXPECT_EQ(templateNames, Cs42Form::formFieldNames());
    }
}

// Each reason a refusal gives names lines of the case's own form: the later forms number child
// care and health insurance otherwise than the 2009 one, and form CS-42-S has lines of its own.
TEST_P(EditionContract, RefusalsNameOnlyLinesTheEditionHas)
{
    const DataPaths paths = DataPaths::forWorkingDirectory(QStringLiteral("/office"));
    ColumnValues unusable;
    for (const QString& column : amountColumns(edition()))
        unusable.append({column, QStringLiteral("$3,000")});
    ASSERT_FALSE(unusable.isEmpty());

    const struct
    {
        const char* name;
        ColumnValues columns;
        bool schedule;
    } cases[] = {
        {"every amount unusable", unusable, true},
        {"no schedule", {}, false},
        {"a line 2 below 0", {{QStringLiteral("dpre"), QStringLiteral("2500")}}, true},
        {"no child",
         {{QStringLiteral("child1name"), QString()}, {QStringLiteral("numchildren"), QString()}},
         true},
        {"a number of children refused", {{QStringLiteral("numchildren"), QStringLiteral("9")}}, true},
        {"an income above the schedule", {{QStringLiteral("pinc"), QStringLiteral("40000")}}, true},
        {"no income", {{QStringLiteral("pinc"), QString()}, {QStringLiteral("dinc"), QString()}}, true},
    };

    static const QRegularExpression named(
        QStringLiteral("\\b[Ll]ines? (\\d+[ab]?(?:(?:, | and )\\d+[ab]?)*)"));
    static const QRegularExpression separator(QStringLiteral(", | and "));
    int linesNamed = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ColumnValues columns{{QStringLiteral("numchildren"), QStringLiteral("1")},
                             {QStringLiteral("child1name"), QStringLiteral("Ann")},
                             {QStringLiteral("pinc"), QStringLiteral("3000")},
                             {QStringLiteral("dinc"), QStringLiteral("2000")}};
        columns += c.columns;
        const Worksheet sheet = edition().compute(
            caseOn(edition(), columns), c.schedule ? test::alabama2022() : ScheduleTable(), edition().rules);
        const QString refusal = productionRefusal(sheet, paths);
        for (auto it = named.globalMatch(refusal); it.hasNext();) {
            for (const QString& number : it.next().captured(1).split(separator)) {
                ++linesNamed;
                const bool has = edition().line(QStringLiteral("lblP") + number) ||
                                 edition().line(QStringLiteral("lblD") + number) ||
                                 edition().line(QStringLiteral("lblC") + number);
                EXPECT_TRUE(has) << "line " << number.toStdString() << " named in: " << refusal.toStdString();
            }
        }
    }
    EXPECT_GT(linesNamed, 3) << "the refusals name lines";
}

TEST(FormEdition, TheFormOf2009IsTheOneTheProgramAlwaysFilled)
{
    const FormEdition& edition = FormEditions::cs42Rev0109();
    EXPECT_EQ(edition.formFieldLabels(), fieldOrderOf2009());
    EXPECT_EQ(edition.captionLabels(), captionOrderOf2009());
    EXPECT_EQ(Cs42Form::formFieldLabels(), fieldOrderOf2009());
    EXPECT_EQ(worksheetCaptionLabels(), captionOrderOf2009());
    EXPECT_EQ(edition.highlightedLabels().size(), 35);
    EXPECT_EQ(edition.column(QStringLiteral("lblD1a")), QStringLiteral("dpre"));
    EXPECT_EQ(edition.labelOf(QStringLiteral("poc")), QStringLiteral("lblP1a"));
    EXPECT_EQ(edition.templateFile, QStringLiteral("QUON42.PDF"));
    const QStringList clickable = edition.clickableLabels();
    for (const char* label : {"lblP2", "lblC7", "lblP9", "lblD10", "lblChild1Name"})
        EXPECT_FALSE(clickable.contains(QLatin1String(label))) << label;
    for (const char* label : {"lblP1", "lblC4", "lblCustody", "lblName2Name", "lblComments"})
        EXPECT_TRUE(clickable.contains(QLatin1String(label))) << label;
}

// A stored or typed edition id names its edition whatever its case ("2023s" written by hand in a
// settings file is form CS-42-S); anything else is an edition the program does not know.
TEST(FormEdition, IdsAreMatchedWithoutRegardToCase)
{
    const struct
    {
        const char* id;
        const FormEdition* edition;
    } cases[] = {
        {"", &FormEditions::cs42Rev0109()},
        {"2009", &FormEditions::cs42Rev0109()},
        {" 2022 ", &FormEditions::cs42Rev0522()},
        {"2023S", &FormEditions::cs42S2023()},
        {"2023s", &FormEditions::cs42S2023()},
        {"2024", nullptr},
        {"xyz", nullptr},
        {"2023", nullptr},
    };

    for (const auto& c : cases)
        EXPECT_EQ(FormEditions::find(QLatin1String(c.id)), c.edition) << c.id;
    EXPECT_EQ(&FormEditions::defaultEdition(), FormEditions::find(FormEditions::DefaultId));
    EXPECT_EQ(FormEditions::knownIds(), QStringLiteral("2009, 2022, 2023S"));
}

// Each edition is explained in the words of its own form: a mix-up in the list of explanations
// would describe a shared-custody case of 2023 as a sole-custody one of 2022. The later forms name
// themselves in the explanation; the 2009 one names no form.
TEST(FormEdition, EachEditionIsExplainedOnItsOwnForm)
{
    for (const FormEdition* edition : FormEditions::all()) {
        const QString text = explainWorksheet(*edition, Captions(), WorksheetResult(), QDate(2024, 1, 2));
        EXPECT_FALSE(text.isEmpty()) << edition->id.toStdString();
        for (const FormEdition* other : FormEditions::all()) {
            const bool namesItself = other == edition && edition != &FormEditions::cs42Rev0109();
            EXPECT_EQ(text.contains(other->title), namesItself)
                << edition->id.toStdString() << " explained, " << other->title.toStdString() << " named";
        }
    }
}
