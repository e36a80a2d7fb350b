#include "core/worksheet/FormEdition.h"

#include "core/explain/EditionExplanation.h"
#include "core/store/Schema.h"
#include "core/worksheet/Cs42Form.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QSet>

#include <gtest/gtest.h>

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

const QList<const FormEdition*> editions()
{
    return {&FormEditions::cs42Rev0109()};
}
} // namespace

// What every edition's table must hold for the worksheet, the explanation and the produced form
// to agree with one another.
TEST(FormEdition, TablesAreConsistent)
{
    for (const FormEdition* edition : editions()) {
        SCOPED_TRACE(edition->id.toStdString());
        QSet<QString> labels;
        QSet<int> fields;
        QSet<QString> columns;
        for (const LineDef& line : edition->lines) {
            SCOPED_TRACE(line.label.toStdString());
            EXPECT_FALSE(labels.contains(line.label)) << "each label once";
            labels.insert(line.label);
            EXPECT_TRUE(line.label.startsWith(QStringLiteral("lbl")));
            if (line.formField > 0) {
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
            if (line.rule == EntryRule::Text || line.rule == EntryRule::Party ||
                line.kind == LineKind::Input) {
                EXPECT_FALSE(line.title.isEmpty());
            }
            if (line.rule == EntryRule::Text) {
                EXPECT_FALSE(line.prompt.isEmpty());
            }
            if (line.rule == EntryRule::PreexistingSupport) {
                ASSERT_NE(edition->line(line.incomeLabel), nullptr);
                EXPECT_EQ(edition->line(line.incomeLabel)->rule, EntryRule::Income);
            }
        }
        // The fields are numbered 1..n without a gap.
        for (int i = 1; i <= fields.size(); ++i)
            EXPECT_TRUE(fields.contains(i)) << "field " << i;
        EXPECT_FALSE(edition->formFieldLabels().contains(QString()));
        EXPECT_TRUE(edition->compute && hasExplanation(*edition));
        EXPECT_FALSE(edition->templateFile.isEmpty());
    }
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
