// Two workstations of one office, each a process of its own, on one shared folder and on one
// server: what B saves reaches A's open worksheet and case library by itself, with a one-line
// notice; A's entry of a figure B changed meanwhile is not stored without A's choice; A produces
// what is stored; a case B deleted cannot be produced; and the case's history names both.

#include "WorksheetFixture.h"
#include "core/produce/TerminalFormFields.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/ChangeWatch.h"
#include "core/worksheet/ScheduleCsv.h"
#include "support/ModalAnswer.h"
#include "support/PgTestServer.h"
#include "support/RecordingHost.h"
#include "support/SessionFixture.h"
#include "ui/cases/CaseLibrary.h"
#include "ui/cases/CaseListModel.h"
#include "ui/worksheet/FormCS42.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <qpdf/QPDF.hh>

#include <memory>

using namespace cs42;
using namespace cs42::test;

namespace {
// Long enough for a change to arrive under the sanitizers on a busy machine; the time it takes
// is measured by the refresh benchmark, not here.
constexpr int ArrivalTimeoutMs = 15000;
} // namespace

class OtherWorkstationTest : public QObject
{
    Q_OBJECT

private:
    std::optional<PgTestServer> m_server;
    std::unique_ptr<SessionFixture> m_a; // workstation A: this process
    QTemporaryDir m_bDir;                // workstation B's own working directory
    RecordingHost m_host;
    QString m_caseId;

    QString filesLocation() const { return m_a->session.paths.filesLocation; }

    CaseStore store() const { return CaseStore(m_a->session.paths.casesDbPath()); }

    // Workstation B: a separate process on the same files location.
    void runB(const QStringList& arguments)
    {
        QProcess b;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CS42_WORKSTATION"), QStringLiteral("B"));
        b.setProcessEnvironment(environment);
        b.start(QStringLiteral(TEST_TOOLS_DIR "/workstation"),
                QStringList{m_bDir.path(), filesLocation(), m_caseId} + arguments);
        QVERIFY2(b.waitForFinished(30000), "workstation B did not finish");
        QVERIFY2(b.exitCode() == 0, b.readAllStandardOutput().constData());
    }

    // Sets up workstation A on a shared folder or on a server, with one case of the 2022 form.
    void openOffice(bool onServer)
    {
        qputenv("CS42_WORKSTATION", "A");
        m_a = std::make_unique<SessionFixture>();
        if (onServer) {
            m_server = PgTestServer::fromEnvironment();
            if (!m_server)
                QSKIP("CS42_TEST_PG_DIR is not set: no PostgreSQL server for this test");
            QVERIFY2(m_server->isValid(), qPrintable(m_server->error()));
            m_server->exportPgpassFile();
            const QString uri = m_server->freshDatabase(QStringLiteral("two workstations"));
            QVERIFY2(!uri.isEmpty(), qPrintable(m_server->error()));
            m_a->session.paths.filesLocation = uri;
            QString problem;
            QVERIFY2(DataStore::setDataPaths(m_a->session.paths, &problem), qPrintable(problem));
            QVERIFY(DataStore::saveFilesLocation(m_a->session.paths));
        }
        QString error;
        QVERIFY2(ScheduleCsv::replaceRows(m_a->session.paths.scheduleDbPath(),
                                          testSchedule2022Rows(),
                                          &error,
                                          QStringLiteral("Schedule2022")),
                 qPrintable(error));
        QFile::copy(QStringLiteral(FORMS_DIR "/CS42_2022.PDF"),
                    m_a->session.paths.formTemplatePath(QStringLiteral("CS42_2022.PDF")));
        m_caseId = store().addCase(QStringLiteral("Doe v. Roe"), QDate(2024, 3, 1), QStringLiteral("2022"));
        QVERIFY(!m_caseId.isEmpty());
        QCOMPARE(store().saveCaseFields(m_caseId,
                                        {{QStringLiteral("pinc"), QStringLiteral("3000")},
                                         {QStringLiteral("dinc"), QStringLiteral("5287")},
                                         {QStringLiteral("numchildren"), QStringLiteral("2")},
                                         {QStringLiteral("whosecustody"), QStringLiteral("P")}}),
                 CaseStoreStatus::Ok);
        m_a->session.currentCaseId = m_caseId;
        m_a->session.currentCaseName = QStringLiteral("Doe v. Roe");
    }

    static QString caption(const QWidget& window, const QString& name)
    {
        const auto* label = window.findChild<QLabel*>(name);
        return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
    }

    static void typeAndPress(QWidget* dialog, const QString& text)
    {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    }

    // Makes an entry on A's worksheet: clicks the line and answers its dialog.
    static void enter(FormCS42& form, const QString& line, const std::function<void(QWidget*)>& answer)
    {
        auto run = onNextModal(answer);
        QTest::mouseClick(form.findChild<QLabel*>(line), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
    }

    static void produce(FormCS42& form)
    {
        auto notice = onNextModal([](QWidget* box) {
            QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        form.ProduceForm();
        QVERIFY_ANSWERED(notice);
    }

    static QString producedField(const QString& path, const QString& field)
    {
        QPDF pdf;
        pdf.processFile(QFile::encodeName(path).constData());
        for (TerminalFormField f : terminalFormFields(pdf)) {
            if (f.name == field)
                return QString::fromStdString(f.field.getKey("/V").getUTF8Value());
        }
        return QStringLiteral("<no field %1>").arg(field);
    }

private slots:

    void cleanup()
    {
        m_a.reset();
        m_server.reset();
        qunsetenv("CS42_WORKSTATION");
    }

    void engines_data()
    {
        QTest::addColumn<bool>("onServer");
        QTest::newRow("shared folder") << false;
        QTest::newRow("server") << true;
    }

    void aWorksheetFollowsWhatAnotherWorkstationSaves_data() { engines_data(); }

    void aWorksheetFollowsWhatAnotherWorkstationSaves()
    {
        QFETCH(bool, onServer);
        openOffice(onServer);
        FormCS42 form(m_a->session, m_host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(caption(form, QStringLiteral("lblD1")), QStringLiteral("5,287"));
        QCOMPARE(form.changeNotice(), QString());

        // B changes the defendant's income: A's worksheet shows it by itself, with the notice.
        runB({QStringLiteral("set"), QStringLiteral("dinc"), QStringLiteral("5400")});
        QTRY_COMPARE_WITH_TIMEOUT(
            caption(form, QStringLiteral("lblD1")), QStringLiteral("5,400"), ArrivalTimeoutMs);
        QVERIFY2(
            form.changeNotice().startsWith(QStringLiteral("Line 1, defendant: 5,287 \u2192 5,400; ")) ||
                form.changeNotice().startsWith(QStringLiteral("Line 1, defendant: 5,287 \u2192 5,400, ")),
            qPrintable(form.changeNotice()));
        QVERIFY2(form.changeNotice().contains(QStringLiteral(", changed at workstation B, ")),
                 qPrintable(form.changeNotice()));
        QVERIFY(m_a->interaction.prompts.isEmpty()); // a notice, never a box

        // A's own entry is stored as usual.
        enter(form, QStringLiteral("lblP1"), [](QWidget* dialog) {
            typeAndPress(dialog, QStringLiteral("3100"));
        });
        QCOMPARE(store().findCurrentCase(m_caseId)->value(QStringLiteral("pinc")), QStringLiteral("3100"));

        // B changes the income again while A's dialog for it is open: A's entry is not stored
        // without A's choice, and A keeps B's figure.
        m_a->interaction.expectAsk(Interaction::Answer::No, QStringLiteral("Changed at Another Workstation"));
        enter(form, QStringLiteral("lblD1"), [this](QWidget* dialog) {
            runB({QStringLiteral("set"), QStringLiteral("dinc"), QStringLiteral("5500")});
            QTest::qWait(ChangeWatch::CheckIntervalMs + 500); // the change arrives under the dialog
            typeAndPress(dialog, QStringLiteral("6000"));
        });
        QVERIFY(m_a->interaction.allExpectationsMet());
        QCOMPARE(store().findCurrentCase(m_caseId)->value(QStringLiteral("dinc")), QStringLiteral("5500"));
        QCOMPARE(caption(form, QStringLiteral("lblD1")), QStringLiteral("5,500"));

        // B changes it once more and A produces at once, before the change has arrived: the form
        // prints what is stored, after A saw the new figures and agreed.
        runB({QStringLiteral("set"), QStringLiteral("dinc"), QStringLiteral("5600")});
        m_a->interaction.expectAsk(Interaction::Answer::Yes);
        produce(form);
        QVERIFY2(m_a->interaction.allExpectationsMet(),
                 qPrintable(m_a->interaction.failures.join(QLatin1Char('\n'))));
        QCOMPARE(m_a->interaction.shownDocuments.size(), 1);
        const QString output = m_a->session.paths.producedFormPath();
        QCOMPARE(producedField(output, QStringLiteral("DGI")), QStringLiteral("5,600"));
        QVERIFY(QFile::remove(output));

        // B deletes the case: A is told on the worksheet, and cannot produce it.
        runB({QStringLiteral("delete")});
        QTRY_VERIFY_WITH_TIMEOUT(form.changeNotice().contains(QStringLiteral("deleted at workstation B")),
                                 ArrivalTimeoutMs);
        m_a->interaction.expectInform(QString(), FormCS42::caseGoneText());
        produce(form);
        QVERIFY(m_a->interaction.allExpectationsMet());
        QVERIFY(!QFile::exists(m_a->session.paths.producedFormPath()));

        // The history lists every save of both workstations, with user and host.
        const QList<CaseChange> history = store().history(m_caseId);
        const auto saved = [&](const QString& host, const QString& column, const QString& value) {
            return std::any_of(history.cbegin(), history.cend(), [&](const CaseChange& c) {
                return c.host == host && c.column == column && c.newValue == value && !c.user.isEmpty();
            });
        };
        QVERIFY(saved(QStringLiteral("B"), QStringLiteral("dinc"), QStringLiteral("5400")));
        QVERIFY(saved(QStringLiteral("A"), QStringLiteral("pinc"), QStringLiteral("3100")));
        QVERIFY(saved(QStringLiteral("B"), QStringLiteral("dinc"), QStringLiteral("5500")));
        QVERIFY(saved(QStringLiteral("B"), QStringLiteral("dinc"), QStringLiteral("5600")));
        QVERIFY(!saved(QStringLiteral("A"), QStringLiteral("dinc"), QStringLiteral("6000")));
    }

    void theCaseLibraryFollowsTheCasesAnotherWorkstationDeletes_data() { engines_data(); }

    void theCaseLibraryFollowsTheCasesAnotherWorkstationDeletes()
    {
        QFETCH(bool, onServer);
        openOffice(onServer);
        const QString other = store().addCase(QStringLiteral("Smith v. Jones"), QDate(2024, 3, 2));
        CaseLibrary library(m_a->session, m_host);
        library.show();
        QVERIFY(QTest::qWaitForWindowExposed(&library));
        QCOMPARE(library.model().rowCount(), 2);
        QCOMPARE(m_a->session.currentCaseId, m_caseId);

        // B deletes the case A has selected: the list shows the other one, now current.
        runB({QStringLiteral("delete")});
        QTRY_COMPARE_WITH_TIMEOUT(library.model().rowCount(), 1, ArrivalTimeoutMs);
        QCOMPARE(m_a->session.currentCaseId, other);
        QVERIFY(m_a->interaction.prompts.isEmpty());
    }
};

QTEST_MAIN(OtherWorkstationTest)
#include "OtherWorkstationTest.moc"
