#include "core/worksheet/FormEdition.h"

#include "core/store/CaseRecord.h"
#include "core/worksheet/Cs42Form.h"
#include "core/worksheet/Cs42Rev2022.h"
#include "core/worksheet/Cs42S2023.h"
#include "core/worksheet/WorksheetCalculation.h"
#include "core/worksheet/WorksheetInputs.h"

namespace cs42 {

const LineDef* FormEdition::line(const QString& label) const
{
    for (const LineDef& def : lines) {
        if (def.label == label)
            return &def;
    }
    return nullptr;
}

QStringList FormEdition::formFieldLabels() const
{
    QStringList labels;
    for (const LineDef& def : lines) {
        if (def.formField <= 0)
            continue;
        if (labels.size() < def.formField)
            labels.resize(def.formField);
        labels[def.formField - 1] = def.label;
    }
    return labels;
}

QStringList FormEdition::captionLabels() const
{
    QStringList labels;
    for (const LineDef& def : lines)
        labels << def.label;
    return labels;
}

QStringList FormEdition::highlightedLabels() const
{
    QStringList labels;
    for (const LineDef& def : lines) {
        if (def.highlighted)
            labels << def.label;
    }
    return labels;
}

QStringList FormEdition::clickableLabels() const
{
    QStringList labels;
    for (const LineDef& def : lines) {
        if (def.rule != EntryRule::None && def.kind != LineKind::Child)
            labels << def.label;
    }
    return labels;
}

QString FormEdition::column(const QString& label) const
{
    const LineDef* def = line(label);
    return def && !def->columns.isEmpty() ? def->columns.first() : QString();
}

QString FormEdition::labelOfField(const QString& fieldName) const
{
    for (const LineDef& def : lines) {
        if (!def.fieldName.isEmpty() && def.fieldName == fieldName)
            return def.label;
    }
    return {};
}

QString FormEdition::labelOf(const QString& columnName) const
{
    for (const LineDef& def : lines) {
        if (def.columns.contains(columnName))
            return def.label;
    }
    return {};
}

namespace FormEditions {

namespace {
QString s(const char* text)
{
    return QString::fromLatin1(text);
}

// The lines of form CS-42 (Rev. 1/09), in the order the form reads; the field numbers are the
// template's field order (its header, the children in two columns, lines 1 to 10, the signature
// block, then lines 3 and 6, which the form added last).
// One line a label, as a table reads: kept out of the formatter's reach.
// clang-format off
QList<LineDef> cs42Lines()
{
    using K = LineKind;
    using R = EntryRule;
    using S = Side;
    QList<LineDef> lines = {
        {s("lblCourtFile"), K::HeaderText, R::Text, S::None, {s("courtfile")}, true, 1, s("Court File Number"),
         s("Enter the court file number in the space below:"), {}},
        {s("lblCounty"), K::HeaderText, R::Text, S::None, {s("county")}, true, 3, s("Name of County"),
         s("Enter the name of the County in the space below:"), {}},
        {s("lblCourtType"), K::HeaderText, R::Text, S::None, {s("courttype")}, true, 2, s("Court Type"),
         s("Enter the court type (Circuit or District) in the space below:"), {}},
        {s("lblName1Name"), K::Party, R::Party, S::Plaintiff, {s("name1name"), s("name1number"), s("name1field")},
         true, 4, s("Select Name of Plaintiff"), {}, {}},
        {s("lblName2Name"), K::Party, R::Party, S::Defendant, {s("name2name"), s("name2number"), s("name2field")},
         true, 5, s("Select Name of Defendant"), {}, {}},
    };
    // The form prints the children in two columns: 1, 4 / 2, 5 / 3, 6.
    const int childFields[6] = {6, 10, 14, 8, 12, 16};
    for (int i = 1; i <= 6; ++i) {
        const int field = childFields[i - 1];
        lines.append({QStringLiteral("lblChild%1Name").arg(i), K::Child, R::Children, S::None,
                      {QStringLiteral("child%1name").arg(i)}, true, field, s("Information about Children"), {}, {}});
        lines.append({QStringLiteral("lblChild%1DOB").arg(i), K::Child, R::Children, S::None,
                      {QStringLiteral("child%1dob").arg(i)}, true, field + 1, s("Information about Children"), {},
                      {}});
    }
    lines += QList<LineDef>{
        {s("lblP1"), K::Input, R::Income, S::Plaintiff, {s("pinc")}, true, 18, s("Plaintiff's Monthly Income"), {}, {}},
        {s("lblD1"), K::Input, R::Income, S::Defendant, {s("dinc")}, true, 19, s("Defendant's Monthly Income"), {}, {}},
        {s("lblP1a"), K::Input, R::PreexistingSupport, S::Plaintiff, {s("ppre"), s("poc")}, true, 20,
         s("Plaintiff's Monthly Income"), {}, s("lblP1")},
        {s("lblD1a"), K::Input, R::PreexistingSupport, S::Defendant, {s("dpre"), s("doc")}, true, 21,
         s("Defendant's Monthly Income"), {}, s("lblD1")},
        {s("lblP1b"), K::Input, R::Alimony, S::Plaintiff, {s("presp")}, true, 22,
         s("Plaintiff's Pre-Existing Periodic Alimony Payment"), {}, {}},
        {s("lblD1b"), K::Input, R::Alimony, S::Defendant, {s("dresp")}, true, 23,
         s("Defendant's Pre-Existing Periodic Alimony Payment"), {}, {}},
        {s("lblP2"), K::Computed, R::None, S::Plaintiff, {}, false, 24, {}, {}, {}},
        {s("lblD2"), K::Computed, R::None, S::Defendant, {}, false, 25, {}, {}, {}},
        {s("lblC2"), K::Computed, R::None, S::Combined, {}, false, 26, {}, {}, {}},
        {s("lblP3"), K::Computed, R::None, S::Plaintiff, {}, false, 39, {}, {}, {}},
        {s("lblD3"), K::Computed, R::None, S::Defendant, {}, false, 40, {}, {}, {}},
        {s("lblC4"), K::Input, R::Override, S::Combined, {s("override"), s("overamount")}, true, 27,
         s("Override Child Support Amount"), {}, {}},
        {s("lblC5"), K::Input, R::ChildCare, S::Combined, {s("childcare")}, true, 28, s("Work Related Child Care"), {},
         {}},
        {s("lblC6"), K::Input, R::HealthInsurance, S::Combined, {s("healthins")}, true, 41, s("Health Insurance"), {},
         {}},
        {s("lblC7"), K::Computed, R::None, S::Combined, {}, false, 29, {}, {}, {}},
        {s("lblP8"), K::Computed, R::None, S::Plaintiff, {}, false, 30, {}, {}, {}},
        {s("lblD8"), K::Computed, R::None, S::Defendant, {}, false, 31, {}, {}, {}},
        // Lines 9 and 10 are highlighted like the inputs but are computed: a click does nothing.
        {s("lblP9"), K::Computed, R::None, S::Plaintiff, {}, true, 32, {}, {}, {}},
        {s("lblD9"), K::Computed, R::None, S::Defendant, {}, true, 33, {}, {}, {}},
        {s("lblP10"), K::Computed, R::None, S::Plaintiff, {}, true, 34, {}, {}, {}},
        {s("lblD10"), K::Computed, R::None, S::Defendant, {}, true, 35, {}, {}, {}},
        {s("lblCustody"), K::Toggle, R::Toggle, S::None, {s("whosecustody")}, true, 0, {}, {}, {}},
        {s("lblHealthInsurance"), K::Toggle, R::Toggle, S::None, {s("payshealth")}, true, 0, {}, {}, {}},
        {s("lblComments"), K::HeaderText, R::Text, S::None, {s("textblock1")}, true, 36, s("Comments"),
         s("Enter Comments in the space below:"), {}},
        {s("lblDateSigned"), K::HeaderText, R::Text, S::None, {s("datesigned")}, true, 38, s("Date Signed"),
         s("Enter the date signed in the space below:"), {}},
        {s("lblPreparedBy"), K::HeaderText, R::Text, S::None, {s("preparedby")}, true, 37, s("Prepared by"),
         s("Enter the name of the person preparing this worksheet in the space below:"), {}},
    };
    return lines;
}

// clang-format on
} // namespace

const FormEdition& cs42Rev0109()
{
    static const FormEdition edition = [] {
        FormEdition e{QStringLiteral("2009"),
                      Cs42Form::Revision,
                      QStringLiteral("QUON42.PDF"),
                      ScheduleRules::cs42Rev0109(),
                      &computeWorksheet,
                      cs42Lines()};
        e.title = QStringLiteral("Form CS-42 (Rev. 1/09)");
        e.shortName = QStringLiteral("CS-42");
        e.appliesTo = QStringLiteral("for actions filed before May 1, 2022");
        e.warnings = &worksheetWarnings;
        e.warningLabels = worksheetWarnings(WorksheetResult()).keys();
        return e;
    }();
    return edition;
}

namespace {
// What the forms from 2022 on share: the 2022 schedule, the warnings their computation sets, and
// filling the template by field name.
FormEdition withLaterEditionRules(FormEdition edition)
{
    edition.scheduleTable = QStringLiteral("Schedule2022");
    edition.warningLabels = WorksheetInputs::warningLabels();
    edition.warnings = [](const WorksheetResult& r) {
        return r.warnings;
    };
    edition.fillsByName = true;
    return edition;
}
} // namespace

const FormEdition& cs42Rev0522()
{
    static const FormEdition edition = [] {
        FormEdition e{QStringLiteral("2022"),
                      QStringLiteral("Rev. 5/2022"),
                      QStringLiteral("CS42_2022.PDF"),
                      Cs42Rev2022::scheduleRules(),
                      &Cs42Rev2022::computeWorksheet,
                      Cs42Rev2022::lines()};
        e.title = QStringLiteral("Form CS-42 (Rev. 5/2022)");
        e.shortName = QStringLiteral("CS-42");
        e.appliesTo = QStringLiteral("for actions filed on or after May 1, 2022");
        e.linesOfTheShares = QStringLiteral("lines 8 and 10");
        return withLaterEditionRules(std::move(e));
    }();
    return edition;
}

const FormEdition& cs42S2023()
{
    static const FormEdition edition = [] {
        FormEdition e{QStringLiteral("2023S"),
                      QStringLiteral("Effective 6/2023"),
                      QStringLiteral("CS42S_2023.PDF"),
                      Cs42Rev2022::scheduleRules(),
                      &Cs42S2023::computeWorksheet,
                      Cs42S2023::lines()};
        e.title = QStringLiteral("Form CS-42-S (Effective 6/2023)");
        e.shortName = QStringLiteral("CS-42-S");
        e.appliesTo = QStringLiteral("shared 50 % physical custody, actions filed on or after June 1, 2023");
        e.windowTitle = QStringLiteral("Worksheet, Child Support Obligation, Shared 50 % Physical Custody");
        e.linesOfTheShares = QStringLiteral("lines 10, 13 and 14");
        return withLaterEditionRules(std::move(e));
    }();
    return edition;
}

QList<const FormEdition*> all()
{
    return {&cs42Rev0109(), &cs42Rev0522(), &cs42S2023()};
}

const FormEdition* find(const QString& id)
{
    const QString wanted = id.trimmed();
    if (wanted.isEmpty())
        return &cs42Rev0109();
    // "2023s" typed in a settings file or on a command line is form CS-42-S all the same.
    for (const FormEdition* edition : all()) {
        if (edition->id.compare(wanted, Qt::CaseInsensitive) == 0)
            return edition;
    }
    return nullptr;
}

const FormEdition& defaultEdition()
{
    return *find(DefaultId);
}

QString knownIds()
{
    QStringList ids;
    for (const FormEdition* edition : all())
        ids << edition->id;
    return ids.join(QStringLiteral(", "));
}

const FormEdition* forCase(const CaseRecord& record)
{
    return find(record.value(QStringLiteral("formedition")));
}

} // namespace FormEditions

} // namespace cs42
