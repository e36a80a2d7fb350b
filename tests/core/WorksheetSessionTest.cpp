#include "core/session/WorksheetSession.h"

#include "Worksheet2022Fixtures.h"
#include "core/startup/DataStore.h"

#include <gtest/gtest.h>

using namespace cs42;
using namespace cs42::test;

// Switching a case between the 2009 form and the later ones: the two keep child care and health
// insurance in different columns, the 2009 form as sums in whole dollars, the later forms per
// parent in cents.
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

class WorksheetSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_paths = DataStore::startUp(m_dir.path());
        // The shipped schedule serves both forms: it covers the incomes each one searches.
        QString error;
        const auto rows =
            ScheduleCsv::parse(readFile(ShippedSchedule2022), &error, Cs42Rev2022::scheduleRules());
        ASSERT_TRUE(rows) << error.toStdString();
        for (const FormEdition* edition : FormEditions::all())
            ASSERT_TRUE(
                ScheduleCsv::replaceRows(m_paths.scheduleDbPath(), *rows, &error, edition->scheduleTable))
                << error.toStdString();
    }

    // A case on `edition` with `fields`, made the session's current case.
    WorksheetSession& open(const QString& edition, const ColumnValues& fields)
    {
        const CaseStore store(m_paths.casesDbPath());
        m_caseId = store.addCase(QStringLiteral("Doe v. Roe"), QDate(2024, 3, 5), edition);
        EXPECT_EQ(store.saveCaseFields(m_caseId, fields), CaseStoreStatus::Ok);
        m_session.emplace(m_paths, m_caseId, FormEditions::cs42Rev0109());
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

    QTemporaryDir m_dir;
    DataPaths m_paths;
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

TEST_F(WorksheetSessionTest, ARoundTripThatChangesNothingKeepsEveryFigure)
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
TEST_F(WorksheetSessionTest, ACostChangedOnThe2009FormReplacesTheParentsAmountsOnlyWhenAgreed)
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
TEST_F(WorksheetSessionTest, AnEntryStoresOnlyWhatItChangedAndNeverOverwritesUnseen)
{
    WorksheetSession& session = open(QStringLiteral("2022"), CostsInCents);
    const CaseStore elsewhere(m_paths.casesDbPath());
    ASSERT_EQ(elsewhere.saveCaseFields(m_caseId,
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
    ASSERT_EQ(elsewhere.saveCaseFields(m_caseId, {{QStringLiteral("dinc"), QStringLiteral("5400.00")}}),
              CaseStoreStatus::Ok);
    ASSERT_EQ(session.recalculate(), CaseStoreStatus::Ok);
    ASSERT_EQ(elsewhere.saveCaseFields(m_caseId, {{QStringLiteral("dinc"), QStringLiteral("5500.00")}}),
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
