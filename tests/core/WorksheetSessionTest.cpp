#include "core/session/WorksheetSession.h"

#include "StoreEngines.h"
#include "Worksheet2022Fixtures.h"
#include "core/startup/DataStore.h"
#include "core/store/SqlConnection.h"

#include <gtest/gtest.h>

using namespace cs42;
using namespace cs42::test;

// The worksheet of a case without a window, on a cases file and on the office's server: an entry
// stored and recomputed, a save that fails, another workstation's change, and switching a case
// between the 2009 form and the later ones, which keep child care and health insurance in
// different columns (the 2009 form as sums in whole dollars, the later forms per parent in cents).
namespace {

// The labels whose captions differ, each with both captions, for a failure that reads.
std::string differences(const Captions& shown, const Captions& expected)
{
    QStringList labels;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (shown.value(it.key()) != it.value())
            labels << QStringLiteral("%1: %2 (was %3)").arg(it.key(), shown.value(it.key()), it.value());
    }
    return labels.join(QStringLiteral("; ")).toStdString();
}

class WorksheetSessionTest : public StoreLocationTest, public ::testing::WithParamInterface<StoreEngine>
{
protected:
    void SetUp() override
    {
        useEngine(GetParam());
        if (IsSkipped() || HasFatalFailure())
            return;
        // The shipped schedule serves both forms: it covers the incomes each one searches.
        QString error;
        const auto rows =
            ScheduleCsv::parse(readFile(ShippedSchedule2022), &error, Cs42Rev2022::scheduleRules());
        ASSERT_TRUE(rows) << error.toStdString();
        for (const FormEdition* edition : FormEditions::all())
            ASSERT_TRUE(
                ScheduleCsv::replaceRows(paths.scheduleDbPath(), *rows, &error, edition->scheduleTable))
                << error.toStdString();
    }

    // A case on `edition` with `fields`, made the session's current case.
    WorksheetSession& open(const QString& edition, const ColumnValues& fields)
    {
        const CaseStore store(paths.casesDbPath());
        m_caseId = store.addCase(QStringLiteral("Doe v. Roe"), QDate(2024, 3, 5), edition);
        EXPECT_EQ(store.saveCaseFields(m_caseId, fields), CaseStoreStatus::Ok);
        m_session.emplace(paths, m_caseId, FormEditions::cs42Rev0109());
        EXPECT_EQ(m_session->recalculate(), CaseStoreStatus::Ok);
        return *m_session;
    }

    QString stored(const QString& column) const { return m_session->currentCase()->value(column); }

    // Each parent's child care and coverage on the later forms: "pchildcare|dchildcare|phealthins|
    // dhealthins".
    std::string perParentAmounts() const
    {
        QStringList amounts;
        for (const char* column : {"pchildcare", "dchildcare", "phealthins", "dhealthins"})
            amounts << stored(QLatin1String(column));
        return amounts.join(QLatin1Char('|')).toStdString();
    }

    // Makes the cases table refuse every change, as a file that opens but takes no change does.
    void refuseUpdates()
    {
        SqlConnection connection(paths.casesDbPath());
        ASSERT_TRUE(connection.isOpen());
        if (connection.engine() == SqlEngine::PostgreSQL) {
            ASSERT_TRUE(
                connection.exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                               "$$BEGIN RAISE EXCEPTION 'read only'; END$$")));
            ASSERT_TRUE(connection.exec(QStringLiteral(
                "CREATE TRIGGER refuse BEFORE UPDATE ON Cases FOR EACH ROW EXECUTE FUNCTION refuse()")));
        } else {
            ASSERT_TRUE(connection.exec(QStringLiteral(
                "CREATE TRIGGER refuse BEFORE UPDATE ON Cases BEGIN SELECT RAISE(ABORT, 'read only'); END")));
        }
    }

    // Another workstation's view of the cases.
    CaseStore elsewhere() const { return CaseStore(paths.casesDbPath()); }

    QString m_caseId;
    std::optional<WorksheetSession> m_session;
};

// The plaintiff has custody; the defendant pays child care and coverage in cents, as in the
// report where a round trip made line 13 of 442/354 into 347/449.
const ColumnValues CostsInCents{{QStringLiteral("numchildren"), QStringLiteral("2")},
                                {QStringLiteral("whosecustody"), QStringLiteral("P")},
                                {QStringLiteral("pinc"), QStringLiteral("4200.00")},
                                {QStringLiteral("dinc"), QStringLiteral("3350.00")},
                                {QStringLiteral("pchildcare"), QStringLiteral("120.40")},
                                {QStringLiteral("dchildcare"), QStringLiteral("215.35")},
                                {QStringLiteral("dhealthins"), QStringLiteral("96.55")}};

TEST_P(WorksheetSessionTest, ARoundTripThatChangesNothingKeepsEveryFigure)
{
    WorksheetSession& session = open(QStringLiteral("2022"), CostsInCents);
    const Captions before = session.captions();
    ASSERT_EQ(before.value(QStringLiteral("lblD6")), QStringLiteral("97"));

    // On the 2009 form the costs are the parents' sums in whole dollars, paid by the larger payer.
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0109()), CaseStoreStatus::Ok);
    EXPECT_EQ(&session.edition(), &FormEditions::cs42Rev0109());
    EXPECT_EQ(stored(QStringLiteral("childcare")), QStringLiteral("336"));
    EXPECT_EQ(stored(QStringLiteral("healthins")), QStringLiteral("97"));
    EXPECT_EQ(stored(QStringLiteral("payshealth")), QStringLiteral("D"));

    // Back, nothing having changed on the 2009 form: each parent's amounts as they were, to the cent.
    const std::optional<EditionCarryOver> plan = session.carryOverTo(FormEditions::cs42Rev0522());
    ASSERT_TRUE(plan);
    EXPECT_FALSE(plan->needed);
    EXPECT_FALSE(plan->replacesAmounts);
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0522()), CaseStoreStatus::Ok);
    for (const auto& [column, value] : CostsInCents)
        EXPECT_EQ(stored(column).toStdString(), value.toStdString()) << column.toStdString();
    EXPECT_EQ(stored(QStringLiteral("phealthins")), QString());
    EXPECT_EQ(differences(session.captions(), before), "");

    // The same through the shared-custody form, which reads the same columns as the 2022 one.
    ASSERT_EQ(session.switchEdition(FormEditions::cs42S2023()), CaseStoreStatus::Ok);
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0109()), CaseStoreStatus::Ok);
    ASSERT_EQ(session.switchEdition(FormEditions::cs42S2023()), CaseStoreStatus::Ok);
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0522()), CaseStoreStatus::Ok);
    EXPECT_EQ(differences(session.captions(), before), "");
}

// A cost changed on the 2009 form replaces each parent's amounts only when the user agrees; a case
// whose later-form columns hold nothing takes the 2009 costs without a question.
TEST_P(WorksheetSessionTest, ACostChangedOnThe2009FormReplacesTheParentsAmountsOnlyWhenAgreed)
{
    WorksheetSession& session = open(QStringLiteral("2022"), CostsInCents);
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0109()), CaseStoreStatus::Ok);
    ASSERT_EQ(session.apply({{QStringLiteral("childcare"), QStringLiteral("400")}}), CaseStoreStatus::Ok);

    std::optional<EditionCarryOver> plan = session.carryOverTo(FormEditions::cs42Rev0522());
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->needed);
    EXPECT_TRUE(plan->replacesAmounts);

    // Declined: the switch keeps each parent's amounts.
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0522(), false), CaseStoreStatus::Ok);
    EXPECT_EQ(perParentAmounts(), "120.40|215.35||96.55");

    // Agreed: the child care goes to the parent with custody, the coverage to the parent who pays.
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0109()), CaseStoreStatus::Ok);
    ASSERT_EQ(session.apply({{QStringLiteral("childcare"), QStringLiteral("400")}}), CaseStoreStatus::Ok);
    ASSERT_EQ(session.switchEdition(FormEditions::cs42Rev0522(), true), CaseStoreStatus::Ok);
    EXPECT_EQ(perParentAmounts(), "400|||97");

    // A 2009 case meeting the later form for the first time: nothing to replace, nothing to ask.
    open(QString(),
         {{QStringLiteral("child1name"), QStringLiteral("Ann")},
          {QStringLiteral("whosecustody"), QStringLiteral("D")},
          {QStringLiteral("childcare"), QStringLiteral("300")}});
    plan = m_session->carryOverTo(FormEditions::cs42S2023());
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->needed);
    EXPECT_FALSE(plan->replacesAmounts);
    ASSERT_EQ(m_session->switchEdition(FormEditions::cs42S2023(), false), CaseStoreStatus::Ok);
    EXPECT_EQ(stored(QStringLiteral("dchildcare")), QStringLiteral("300"));
}

} // namespace

// An entry stores only what it changed: the children's entry, closed unchanged, does not erase a
// child another workstation added meanwhile; a figure changed there is reported, not overwritten.
TEST_P(WorksheetSessionTest, AnEntryStoresOnlyWhatItChangedAndNeverOverwritesUnseen)
{
    WorksheetSession& session = open(QStringLiteral("2022"), CostsInCents);
    ASSERT_EQ(elsewhere().saveCaseFields(m_caseId,
                                         {{QStringLiteral("child2name"), QStringLiteral("Ben")},
                                          {QStringLiteral("child2dob"), QStringLiteral("11/21/2018")}}),
              CaseStoreStatus::Ok);
    // The children's entry hands back all twelve columns as it opened them, with nothing changed.
    ColumnValues children;
    for (int i = 1; i <= 6; ++i) {
        children.append({QStringLiteral("child%1name").arg(i), QString()});
        children.append({QStringLiteral("child%1dob").arg(i), QString()});
    }
    EXPECT_EQ(session.apply(children), CaseStoreStatus::Ok);
    EXPECT_EQ(stored(QStringLiteral("child2name")), QStringLiteral("Ben"));

    // The defendant's income changed there and here: nothing is stored until the user chooses.
    ASSERT_EQ(elsewhere().saveCaseFields(m_caseId, {{QStringLiteral("dinc"), QStringLiteral("5400.00")}}),
              CaseStoreStatus::Ok);
    ASSERT_EQ(session.recalculate(), CaseStoreStatus::Ok);
    ASSERT_EQ(elsewhere().saveCaseFields(m_caseId, {{QStringLiteral("dinc"), QStringLiteral("5500.00")}}),
              CaseStoreStatus::Ok);
    EXPECT_EQ(session.apply({{QStringLiteral("dinc"), QStringLiteral("5300.00")}}),
              CaseStoreStatus::Conflict);
    ASSERT_EQ(session.conflicts().size(), 1);
    EXPECT_EQ(session.conflicts()[0].stored, QStringLiteral("5500.00"));
    EXPECT_EQ(stored(QStringLiteral("dinc")), QStringLiteral("5500.00"));
    EXPECT_EQ(session.applyOver(session.conflicts()), CaseStoreStatus::Ok);
    EXPECT_EQ(stored(QStringLiteral("dinc")), QStringLiteral("5300.00"));
    EXPECT_EQ(session.caption(QStringLiteral("lblD1")), QStringLiteral("5,300"));
}

// An entry is stored and the worksheet recomputed from it on every edition: the stored column, the
// line it fills and a line computed from it. The 2009 form prints whole dollars without separators.
TEST_P(WorksheetSessionTest, AnEntryIsStoredAndTheWorksheetRecomputed)
{
    const struct
    {
        const FormEdition* edition;
        const char* line1;
        const char* combined;
    } cases[] = {{&FormEditions::cs42Rev0109(), "5000", "8350"},
                 {&FormEditions::cs42Rev0522(), "5,000", "8,350"},
                 {&FormEditions::cs42S2023(), "5,000", "8,350"}};

    for (const auto& c : cases) {
        SCOPED_TRACE(c.edition->id.toStdString());
        WorksheetSession& session = open(c.edition->id, CostsInCents);
        EXPECT_EQ(&session.edition(), c.edition) << "the case's own edition, not the one shown first";
        ASSERT_EQ(session.apply({{QStringLiteral("pinc"), QStringLiteral("5000")}}), CaseStoreStatus::Ok);
        EXPECT_EQ(stored(QStringLiteral("pinc")), QStringLiteral("5000"));
        EXPECT_EQ(session.caption(QStringLiteral("lblP1")), QLatin1String(c.line1));
        EXPECT_EQ(session.caption(QStringLiteral("lblC2")), QLatin1String(c.combined));
        ASSERT_TRUE(session.worksheet());
        EXPECT_EQ(session.worksheet()->captions, session.captions());
    }
}

// A save that fails stores nothing and keeps the worksheet last computed, captions and edition,
// so that the window goes on showing what is stored.
TEST_P(WorksheetSessionTest, AFailedSaveKeepsTheLastWorksheet)
{
    const struct
    {
        const char* name;
        std::function<void()> spoil;
        CaseStoreStatus status;
    } cases[] = {
        {"the case deleted on another workstation",
         [this] { ASSERT_EQ(elsewhere().deleteCase(m_caseId), CaseStoreStatus::Ok); },
         CaseStoreStatus::CaseRemoved},
        {"a file that takes no change", [this] { refuseUpdates(); }, CaseStoreStatus::SaveFailed},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WorksheetSession& session = open(QStringLiteral("2022"), CostsInCents);
        const Captions before = session.captions();
        ASSERT_FALSE(HasFatalFailure());
        c.spoil();
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(session.apply({{QStringLiteral("pinc"), QStringLiteral("5000")}}), c.status);
        EXPECT_TRUE(session.conflicts().isEmpty());
        EXPECT_EQ(differences(session.captions(), before), "");
        EXPECT_EQ(&session.edition(), &FormEditions::cs42Rev0522());
        EXPECT_FALSE(session.store().messageFor(c.status).text.isEmpty());
        EXPECT_EQ(session.switchEdition(FormEditions::cs42S2023()), c.status);
        EXPECT_EQ(&session.edition(), &FormEditions::cs42Rev0522());
        EXPECT_EQ(differences(session.captions(), before), "");
        if (c.status == CaseStoreStatus::SaveFailed) {
            EXPECT_EQ(stored(QStringLiteral("pinc")), QStringLiteral("4200.00")) << "nothing was written";
            EXPECT_EQ(stored(QStringLiteral("formedition")), QStringLiteral("2022"));
        }
    }
}

// Before anything leaves the program the case is read again: the changes another workstation
// made are reported, the entries alone when an entry changed; a case deleted there is reported as
// such and the last worksheet stays.
TEST_P(WorksheetSessionTest, ARereadReportsTheCaptionsThatChanged)
{
    WorksheetSession& session = open(QStringLiteral("2022"), CostsInCents);
    QList<CaptionChange> changes;
    ASSERT_EQ(session.reread(&changes), CaseStoreStatus::Ok);
    EXPECT_TRUE(changes.isEmpty());

    ASSERT_EQ(elsewhere().saveCaseFields(m_caseId, {{QStringLiteral("dinc"), QStringLiteral("5400")}}),
              CaseStoreStatus::Ok);
    ASSERT_EQ(session.reread(&changes), CaseStoreStatus::Ok);
    QStringList labels;
    for (const CaptionChange& change : changes)
        labels << change.label;
    EXPECT_TRUE(labels.contains(QStringLiteral("lblC2"))) << labels.join(u' ').toStdString();
    EXPECT_FALSE(labels.contains(QStringLiteral("lblP1")));
    // Line 4 is told with the entries: it is the override's label, though the schedule sets it here.
    EXPECT_EQ(WorksheetSession::describeChanges(session.edition(), changes).toStdString(),
              "Line 1, defendant: 3,350 \u2192 5,400\nLine 4: 1,459 \u2192 1,664");
    EXPECT_EQ(session.caption(QStringLiteral("lblD1")), QStringLiteral("5,400"));

    // Only computed lines changed (the schedule, say): they are the changes described.
    const QList<CaptionChange> computed = {{QStringLiteral("lblC7"), QStringLiteral("1,500"), QString()}};
    EXPECT_EQ(WorksheetSession::describeChanges(session.edition(), computed).toStdString(),
              "Line 7: 1,500 \u2192 (empty)");

    const Captions before = session.captions();
    ASSERT_EQ(elsewhere().deleteCase(m_caseId), CaseStoreStatus::Ok);
    EXPECT_EQ(session.reread(&changes), CaseStoreStatus::CaseRemoved);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(differences(session.captions(), before), "");
}

// What a switch between the 2009 form and the later ones carries over, and when: the columns the
// form switched to stores are derived from those of the form switched from only when they do not
// already stand for the same costs, and the user is asked before a parent's own amount is replaced.
TEST(WorksheetSessionCarryOver, TheCostsCarryOverBetweenTheFormsThatKeepThemApart)
{
    const FormEdition& old = FormEditions::cs42Rev0109();
    const FormEdition& rev2022 = FormEditions::cs42Rev0522();
    const FormEdition& shared = FormEditions::cs42S2023();

    const struct
    {
        const char* name;
        const FormEdition* from;
        const FormEdition* to;
        ColumnValues record;
        const char* derived; // "column=value" joined by "|"
        bool needed;
        bool replacesAmounts;
    } cases[] = {
        {"2009 to 2022: the child care to the parent with custody, coverage to its payer",
         &old,
         &rev2022,
         {{QStringLiteral("whosecustody"), QStringLiteral("P")},
          {QStringLiteral("payshealth"), QStringLiteral("D")},
          {QStringLiteral("childcare"), QStringLiteral("300")},
          {QStringLiteral("healthins"), QStringLiteral("97")}},
         "pchildcare=300|dchildcare=|phealthins=|dhealthins=97",
         true,
         false},
        {"2009 to CS-42-S: the defendant has custody and insures",
         &old,
         &shared,
         {{QStringLiteral("whosecustody"), QStringLiteral("D")},
          {QStringLiteral("payshealth"), QStringLiteral("D")},
          {QStringLiteral("childcare"), QStringLiteral("300")}},
         "pchildcare=|dchildcare=300|phealthins=|dhealthins=",
         true,
         false},
        {"2009 to 2022, the parents' amounts stored already in cents",
         &old,
         &rev2022,
         {{QStringLiteral("whosecustody"), QStringLiteral("P")},
          {QStringLiteral("childcare"), QStringLiteral("300")},
          {QStringLiteral("pchildcare"), QStringLiteral("300.00")}},
         "pchildcare=300|dchildcare=|phealthins=|dhealthins=",
         false,
         false},
        {"2009 to 2022, the 2009 sums derived from the parents' amounts and unchanged",
         &old,
         &rev2022,
         {{QStringLiteral("whosecustody"), QStringLiteral("P")},
          {QStringLiteral("childcare"), QStringLiteral("336")},
          {QStringLiteral("pchildcare"), QStringLiteral("120.40")},
          {QStringLiteral("dchildcare"), QStringLiteral("215.35")}},
         "pchildcare=336|dchildcare=|phealthins=|dhealthins=",
         false,
         false},
        {"2009 to 2022, a 2009 sum changed over a parent's own amount",
         &old,
         &rev2022,
         {{QStringLiteral("whosecustody"), QStringLiteral("P")},
          {QStringLiteral("childcare"), QStringLiteral("400")},
          {QStringLiteral("pchildcare"), QStringLiteral("120.40")},
          {QStringLiteral("dchildcare"), QStringLiteral("215.35")}},
         "pchildcare=400|dchildcare=|phealthins=|dhealthins=",
         true,
         true},
        {"2022 to 2009: the sums in whole dollars, the larger coverage's payer pays",
         &rev2022,
         &old,
         {{QStringLiteral("pchildcare"), QStringLiteral("120.40")},
          {QStringLiteral("dchildcare"), QStringLiteral("215.35")},
          {QStringLiteral("phealthins"), QStringLiteral("10")},
          {QStringLiteral("dhealthins"), QStringLiteral("96.55")}},
         "childcare=336|healthins=107|payshealth=D",
         true,
         false},
        {"CS-42-S to 2009: halves rounded away from zero, equal coverage paid by the plaintiff",
         &shared,
         &old,
         {{QStringLiteral("pchildcare"), QStringLiteral("100.10")},
          {QStringLiteral("dchildcare"), QStringLiteral("200.40")},
          {QStringLiteral("phealthins"), QStringLiteral("24.25")},
          {QStringLiteral("dhealthins"), QStringLiteral("24.25")}},
         "childcare=301|healthins=49|payshealth=P",
         true,
         false},
        {"2022 to 2009 without coverage: no payer is named",
         &rev2022,
         &old,
         {{QStringLiteral("pchildcare"), QStringLiteral("50")}},
         "childcare=50|healthins=",
         true,
         false},
        {"2022 to CS-42-S: the same columns, nothing to carry",
         &rev2022,
         &shared,
         {{QStringLiteral("pchildcare"), QStringLiteral("50")},
          {QStringLiteral("childcare"), QStringLiteral("9")}},
         "",
         false,
         false},
        {"2009 to 2009: nothing to carry",
         &old,
         &old,
         {{QStringLiteral("childcare"), QStringLiteral("9")}},
         "",
         false,
         false},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CaseRecord record;
        for (const auto& [column, value] : c.record)
            record.setValue(column, value);
        QStringList derived;
        for (const auto& [column, value] : WorksheetSession::carryOver(record, *c.from, *c.to))
            derived << column + QLatin1Char('=') + value;
        EXPECT_EQ(derived.join(QLatin1Char('|')).toStdString(), c.derived);
        const EditionCarryOver plan = WorksheetSession::planCarryOver(record, *c.from, *c.to);
        EXPECT_EQ(plan.needed, c.needed);
        EXPECT_EQ(plan.replacesAmounts, c.replacesAmounts);
    }
}

CS42_STORE_ENGINES(WorksheetSessionTest);
