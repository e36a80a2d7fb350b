// The History window of a case: a case added, renamed or deleted reads as such, a figure by the
// worksheet line it is on.

#include "ui/worksheet/HistoryWindow.h"

#include "core/worksheet/FormEdition.h"

#include <QTableWidget>
#include <QTest>

using namespace cs42;

class HistoryWindowTest : public QObject
{
    Q_OBJECT

private slots:

    void eachKindOfRowIsWordedAsWhatHappened_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("what");
        QTest::newRow("added") << "casedesc" << int(ChangeAction::Added) << "Case added";
        QTest::newRow("renamed") << "casedesc" << int(ChangeAction::Changed) << "Case renamed";
        QTest::newRow("deleted") << "casedesc" << int(ChangeAction::Deleted) << "Case deleted";
        QTest::newRow("a figure") << "dinc" << int(ChangeAction::Changed) << "Line 1, defendant";
    }

    void eachKindOfRowIsWordedAsWhatHappened()
    {
        QFETCH(QString, column);
        QFETCH(int, action);
        QFETCH(QString, what);
        const CaseChange change{QStringLiteral("DO123456"),
                                column,
                                QStringLiteral("Doe v. Roe"),
                                QStringLiteral("Doe v. Roe II"),
                                QStringLiteral("ann"),
                                QStringLiteral("ws-a"),
                                QStringLiteral("2026-12-09T10:42:00.000Z"),
                                ChangeAction(action)};
        HistoryWindow window(QStringLiteral("Doe v. Roe"), FormEditions::cs42Rev0522(), {change});
        QCOMPARE(window.table()->item(0, 1)->text(), what);
        QCOMPARE(window.table()->item(0, 2)->text(), QStringLiteral("Doe v. Roe"));
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "HistoryWindowTest.moc"
