#pragma once

// A fresh working folder with a small schedule, the installed form template (when the build made
// one) and one case, a scripted Interaction and a recording window host, for the worksheet tests.

#include "core/store/CaseStore.h"
#include "core/store/DataStore.h"
#include "core/store/SqlConnection.h"
#include "support/RecordingHost.h"
#include "support/ScriptedInteraction.h"
#include "ui/common/Session.h"
#include "ui/common/WindowHost.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace cs42::test {

// The test schedule: rows from $800 to $20,000 (the whole range the worksheet searches, so that
// the form may be produced), $50 apart, child k's amount = income * k / 10 (so $5,000 with two
// children is $1,000, and $3,000 with two is $600).
inline void writeTestSchedule(const QString& scheduleDbPath)
{
    SqlConnection db(scheduleDbPath);
    QVERIFY(db.isOpen());
    db.exec(QStringLiteral("DELETE FROM Schedule"));
    db.exec(QStringLiteral("BEGIN"));
    for (int income = 800; income <= 20000; income += 50) {
        QVariantList row{QString::number(income)};
        for (int k = 1; k <= 6; ++k)
            row << QString::number(income * k / 10);
        QVERIFY(db.exec(
            QStringLiteral("INSERT INTO Schedule (income, child1, child2, child3, child4, child5, child6) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            row));
    }
    db.exec(QStringLiteral("COMMIT"));
}

struct WorksheetFixture
{
    QTemporaryDir dir;
    ScriptedInteraction interaction;
    RecordingHost host;
    Session session;

    WorksheetFixture()
    {
        session.interaction = &interaction;
        session.paths = DataStore::startUp(dir.path());
        session.today = [] {
            return QDate(2024, 3, 15);
        };
        writeTestSchedule(session.paths.scheduleDbPath());
#ifdef FORMS_DIR
        QFile::copy(QStringLiteral(FORMS_DIR "/QUON42.PDF"), session.paths.templatePath());
#endif
        session.currentCaseName = QStringLiteral("Doe v. Roe");
        session.currentCaseId = store().addCase(session.currentCaseName, QDate(2024, 3, 1));
    }

    CaseStore store() const
    {
        return CaseStore(session.paths.casesDbPath());
    }

    QString stored(const QString& column)
    {
        const auto record = store().findCurrentCase(session.currentCaseId);
        return record ? record->value(column) : QStringLiteral("<no case>");
    }

    void setStored(const ColumnValues& values)
    {
        store().saveCaseFields(session.currentCaseId, values);
    }
};

// Arms `answer` to run on the next modal dialog (the one the next click opens). The dialog is
// closed afterwards if `answer` left it open, so a failing test cannot hang on it.
struct ModalAnswer
{
    bool ran = false;
    QString title;
};

inline std::shared_ptr<ModalAnswer> onNextModal(std::function<void(QWidget*)> answer)
{
    auto run = std::make_shared<ModalAnswer>();
    QTimer::singleShot(0, [run, answer] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr)
            return;
        run->title = dialog->windowTitle();
        // Focus moves between the boxes only in the active window; the offscreen platform leaves
        // the window under the dialog active, where a desktop would activate the dialog.
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        if (!QTest::qWaitForWindowActive(dialog))
            qWarning("the dialog did not become the active window");
        answer(dialog);
        run->ran = true;
        if (QApplication::activeModalWidget() == dialog)
            dialog->close();
    });
    return run;
}

} // namespace cs42::test
