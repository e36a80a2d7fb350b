// The files-location window's server: naming a PostgreSQL server in its dialog, bringing the cases
// and names along to it and back to a folder, and the password asked for when the user's password
// file does not hold it. The tests that reach a server use ctest's throw-away cluster and are
// skipped when none is named (CS42_TEST_PG_DIR).

#include "core/store/ServerLocation.h"

#include "ShellFixture.h"
#include "core/names/NameStore.h"
#include "core/store/CaseStore.h"
#include "core/store/Migration.h"
#include "core/store/ServerLimits.h"
#include "support/PgTestServer.h"
#include "ui/cases/CaseLibrary.h"
#include "ui/cases/CaseListModel.h"
#include "ui/shell/Location.h"
#include "ui/shell/QtInteraction.h"
#include "ui/shell/ServerDialog.h"
#include "ui/shell/ServerPassword.h"
#include "ui/shell/ServerWait.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace cs42;
using namespace cs42::test;

#define QSKIP_WITHOUT_PG(server)                                                                             \
    if (!(server))                                                                                           \
        QSKIP("CS42_TEST_PG_DIR is not set: no PostgreSQL server for this test");                            \
    QVERIFY2((server)->isValid(), qPrintable((server)->error()))

namespace {
// A widget that counts how often it was painted.
class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

const QString CrLf = QStringLiteral("\r\n");
const QString MoveTitle = QStringLiteral("Change Location of Files");

// The files location the settings hold, read as the next start reads it.
QString storedLocation(const DataPaths& paths)
{
    DataPaths fresh = DataPaths::forWorkingDirectory(paths.dataDrive);
    const QString problem = DataStore::loadSettings(fresh);
    return problem.isEmpty() ? fresh.filesLocation : QStringLiteral("<unreadable: %1>").arg(problem);
}

QLineEdit* box(QWidget* dialog, const char* name)
{
    return dialog->findChild<QLineEdit*>(QLatin1String(name));
}

void press(QWidget* dialog, const char* name)
{
    dialog->findChild<QPushButton*>(QLatin1String(name))->click();
}

// Types `server` into the dialog's boxes.
void fillIn(QWidget* dialog, const ServerLocation& server)
{
    box(dialog, "txtHost")->setText(server.host);
    box(dialog, "txtPort")->setText(QString::number(server.port));
    box(dialog, "txtDatabase")->setText(server.database);
    box(dialog, "txtUser")->setText(server.user);
}
} // namespace

class ServerLocationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellFixture> m_shell;
    std::optional<PgTestServer> m_server;
    QStringList m_databases; // made by this test, dropped after it
    QString m_shared;        // an empty folder standing for the network share
    QString m_name;          // the key of the one name of the folder's directory besides its seed

    QPushButton* button(const char* name) const { return m_shell->control<QPushButton>(name); }

    DataPaths& paths() const { return m_shell->session.paths; }

    int localCases() const { return CaseStore(paths().casesDbPath()).caseCount(); }

    // A new empty database on the test server, as the dialog is to name it.
    std::optional<ServerLocation> freshServer(const QString& hint)
    {
        const QString uri = m_server->freshDatabase(hint);
        if (uri.isEmpty())
            return std::nullopt;
        m_databases << uri;
        return ServerLocation::fromUri(uri);
    }

    // Clicks the server button and runs `answer` in the dialog it opens.
    [[nodiscard]] std::shared_ptr<ModalAnswer> openServerDialog(ModalAnswer::Answer answer)
    {
        auto run = onNextModal(std::move(answer));
        QTest::mouseClick(button("cmdServer"), Qt::LeftButton);
        return run;
    }

    // Reopens the window for the files location the session has now.
    void reopenLocation()
    {
        m_shell->item("menuLocation")->trigger();
        QVERIFY(m_shell->hosted<Location>());
    }

    QString serverError(const QString& what) const
    {
        return QStringLiteral("The server 127.0.0.1, port %1 %2").arg(m_server->port()).arg(what);
    }

private slots:

    void init()
    {
        // A workstation whose library in its own folder holds the sample case and one of its own,
        // and whose names directory one person besides the seed record.
        m_shell = std::make_unique<ShellFixture>();
        m_shell->background->showCaseLibrary();
        m_shell->session.currentCaseId =
            CaseStore(paths().casesDbPath()).addCase(QStringLiteral("Local v. Case"), QDate(2024, 1, 1));
        const NameParts person{QStringLiteral("Ann"), {}, QStringLiteral("Adams"), {}, {}};
        m_name = NameStore(paths().namesDbPath()).addName(*NameForms::compose(person), person);
        QVERIFY(!m_name.isEmpty());
        QCOMPARE(NameStore(paths().namesDbPath()).count(), 2);
        m_shared = QDir(m_shell->dir.path()).filePath(QStringLiteral("Network Share"));
        QVERIFY(QDir().mkpath(m_shared));
        m_server = PgTestServer::fromEnvironment();
        if (m_server && m_server->isValid())
            m_server->exportPgpassFile();
        ServerPassword::install(m_shell->interaction);
        reopenLocation();
    }

    void cleanup()
    {
        QVERIFY2(m_shell->interaction.allExpectationsMet(), "a scripted prompt was not shown");
        ServerPassword::uninstall();
        m_shell.reset();
        for (const QString& uri : std::as_const(m_databases)) {
            ServerPasswords::forget(uri);
            QVERIFY2(m_server->dropDatabase(uri), qPrintable(m_server->error()));
        }
        m_databases.clear();
    }

    void theDialogOpensWithTheCurrentServer()
    {
        // From a folder: the default port, nothing else.
        QStringList shown;
        auto run = openServerDialog([&shown](QWidget* dialog) {
            for (const char* name : {"txtHost", "txtPort", "txtDatabase", "txtUser"})
                shown << box(dialog, name)->text();
            press(dialog, "cmdCancel");
        });
        QVERIFY_ANSWERED(run);
        QCOMPARE(shown, QStringList({QString(), QStringLiteral("5432"), QString(), QString()}));
        QCOMPARE(run->title, QStringLiteral("PostgreSQL Server"));

        // On a server, the window shows its address as it is stored, and the folders begin at the
        // working drive's VTRForms.
        const QString uri = QStringLiteral("postgresql://Clerk@db.office.example:6543/Cases");
        paths().filesLocation = uri;
        reopenLocation();
        QCOMPARE(m_shell->control<QLabel>("lblFormTitle2")->text(),
                 QStringLiteral("CURRENT LOCATION:  ") + uri);
        QCOMPARE(m_shell->hosted<Location>()->folderPath(),
                 QDir::fromNativeSeparators(paths().vtrFormsDir()));
        shown.clear();
        run = openServerDialog([&shown](QWidget* dialog) {
            for (const char* name : {"txtHost", "txtPort", "txtDatabase", "txtUser"})
                shown << box(dialog, name)->text();
            press(dialog, "cmdCancel");
        });
        QVERIFY_ANSWERED(run);
        QCOMPARE(shown,
                 QStringList({QStringLiteral("db.office.example"),
                              QStringLiteral("6543"),
                              QStringLiteral("Cases"),
                              QStringLiteral("Clerk")}));
        // Cancel leaves the window as it was and asks nothing.
        QVERIFY(m_shell->hosted<Location>());
        QVERIFY(m_shell->interaction.prompts.isEmpty());
    }

    void incompleteEntriesKeepTheDialogOpen_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("message");
        const QString noHost = QStringLiteral("Please type the name or the address of the server.");
        const QString badPort =
            QStringLiteral("The port is a number from 1 to 65535; most servers use 5432.");
        const QString noDatabase = QStringLiteral("Please type the name of the database on the server.");
        const QString noUser = QStringLiteral("Please type the user name you have on the server.");
        QTest::newRow("no host") << "  "
                                 << "5432"
                                 << "cs42"
                                 << "cs42"
                                 << "txtHost" << noHost;
        QTest::newRow("port 0") << "db"
                                << "0"
                                << "cs42"
                                << "cs42"
                                << "txtPort" << badPort;
        QTest::newRow("port too high") << "db"
                                       << "65536"
                                       << "cs42"
                                       << "cs42"
                                       << "txtPort" << badPort;
        QTest::newRow("no database") << "db"
                                     << "5432"
                                     << ""
                                     << "cs42"
                                     << "txtDatabase" << noDatabase;
        QTest::newRow("a path for a database") << "db"
                                               << "5432"
                                               << "a/b"
                                               << "cs42"
                                               << "txtDatabase" << noDatabase;
        QTest::newRow("no user") << "db"
                                 << "5432"
                                 << "cs42"
                                 << " "
                                 << "txtUser" << noUser;
    }

    void incompleteEntriesKeepTheDialogOpen()
    {
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, database);
        QFETCH(QString, user);
        QFETCH(QString, box);
        QFETCH(QString, message);
        const QString before = storedLocation(paths());
        m_shell->interaction.expectInform(ServerDialog::title(), message);
        bool stayedOpen = false;
        QString focused;
        auto run = openServerDialog([&](QWidget* dialog) {
            ::box(dialog, "txtHost")->setText(host);
            // The port box takes digits only, as the user types them.
            ::box(dialog, "txtPort")->clear();
            QTest::keyClicks(::box(dialog, "txtPort"), port);
            ::box(dialog, "txtDatabase")->setText(database);
            ::box(dialog, "txtUser")->setText(user);
            press(dialog, "cmdOk");
            stayedOpen = dialog->isVisible();
            focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            press(dialog, "cmdCancel");
        });
        QVERIFY_ANSWERED(run);
        QVERIFY(stayedOpen);
        QCOMPARE(focused, box); // on the box to correct
        QCOMPARE(storedLocation(paths()), before);
        QVERIFY(m_shell->hosted<Location>());
    }

    void thePasswordBoxHidesWhatIsTyped()
    {
        QtInteraction real;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        auto run = onNextModal([&echo](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>();
            echo = edit->echoMode();
            QTest::keyClicks(edit, QStringLiteral("s3cret"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        const std::optional<QString> typed =
            real.inputPassword(nullptr, QStringLiteral("Server Password"), QStringLiteral("Password:"));
        QVERIFY_ANSWERED(run);
        QCOMPARE(run->title, QStringLiteral("Server Password"));
        QCOMPARE(echo, QLineEdit::Password);
        QCOMPARE(typed, std::optional<QString>(QStringLiteral("s3cret")));
    }

    void choosingAnEmptyServerOffersToBringTheCases_data()
    {
        QTest::addColumn<int>("choice"); // -1: Cancel
        QTest::newRow("copy") << 0;
        QTest::newRow("start empty") << 1;
        QTest::newRow("cancel") << -1;
    }

    void choosingAnEmptyServerOffersToBringTheCases()
    {
        QSKIP_WITHOUT_PG(m_server);
        QFETCH(int, choice);
        const std::optional<ServerLocation> server = freshServer(QStringLiteral("location copy"));
        QVERIFY2(server, qPrintable(m_server->error()));
        const QString uri = server->toUri();
        QCOMPARE(
            uri,
            QStringLiteral("postgresql://cs42@127.0.0.1:%1/%2").arg(m_server->port()).arg(server->database));
        const QString folder = paths().filesLocation;
        const int cases = localCases();
        QCOMPARE(cases, 2);

        m_shell->interaction.expectChoice(choice < 0 ? std::nullopt : std::optional<int>(choice),
                                          MoveTitle,
                                          Location::moveQuestion(server->displayText()));
        if (choice == 0)
            m_shell->interaction.expectInform(MoveTitle, Location::copiedText(2, 2, server->displayText()));
        auto run = openServerDialog([&](QWidget* dialog) {
            fillIn(dialog, *server);
            press(dialog, "cmdOk");
        });
        QVERIFY_ANSWERED(run);
        QCOMPARE(m_shell->interaction.offeredItems.value(0), Location::moveChoices());

        // The tables are there on the server whatever the answer: Ok made them.
        PgTestConnection check(uri, m_server->password());
        QVERIFY2(check.isOpen(), qPrintable(check.error()));
        QCOMPARE(check
                     .scalar(QStringLiteral("SELECT count(*) FROM pg_tables WHERE schemaname = 'public' "
                                            "AND tablename IN ('cases', 'names')"))
                     .toInt(),
                 2);
        if (choice < 0) {
            QCOMPARE(storedLocation(paths()), folder);
            QCOMPARE(paths().filesLocation, folder);
            QVERIFY(m_shell->hosted<Location>());
            QCOMPARE(CaseStore(uri).caseCount(), 0);
            return;
        }
        QCOMPARE(storedLocation(paths()), uri);
        QCOMPARE(paths().filesLocation, uri);
        QVERIFY(m_shell->hosted<CaseLibrary>());
        // Copied: every case is on the server. Started empty: the library began it with its
        // sample case. The folder keeps its cases either way.
        const int onServer = choice == 0 ? cases : 1;
        QCOMPARE(CaseStore(uri).caseCount(), onServer);
        QCOMPARE(m_shell->hosted<CaseLibrary>()->model().caseCount(), onServer);
        QCOMPARE(NameStore(uri).keyExists(m_name), choice == 0);
        QCOMPARE(CaseStore(joinPath(folder, QStringLiteral("QUONDATA.MDB"))).caseCount(), cases);
    }

    void aServerThatHoldsCasesIsTakenAsItIs()
    {
        QSKIP_WITHOUT_PG(m_server);
        const std::optional<ServerLocation> server = freshServer(QStringLiteral("location held"));
        QVERIFY2(server, qPrintable(m_server->error()));
        DataPaths there = paths();
        there.filesLocation = server->toUri();
        QVERIFY(DataStore::setDataPaths(there));
        CaseStore(server->toUri()).addCase(QStringLiteral("Server v. Case"), QDate(2024, 2, 2));

        auto run = openServerDialog([&](QWidget* dialog) {
            fillIn(dialog, *server);
            press(dialog, "cmdOk");
        });
        QVERIFY_ANSWERED(run);
        QVERIFY(m_shell->interaction.prompts.isEmpty()); // nothing to ask: the server has its own
        QCOMPARE(storedLocation(paths()), server->toUri());
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QCOMPARE(m_shell->hosted<CaseLibrary>()->model().caseCount(), 1);
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Server v. Case"));
    }

    void aMissingDatabaseIsReportedAndNothingStored()
    {
        QSKIP_WITHOUT_PG(m_server);
        const QString before = storedLocation(paths());
        const ServerLocation missing{QStringLiteral("127.0.0.1"),
                                     m_server->port(),
                                     QStringLiteral("no_such_office"),
                                     m_server->user()};
        m_shell->interaction.expectInform(
            ServerDialog::title(), serverError(QStringLiteral("has no database named no_such_office.")));
        bool stayedOpen = false;
        auto run = openServerDialog([&](QWidget* dialog) {
            fillIn(dialog, missing);
            press(dialog, "cmdOk");
            stayedOpen = dialog->isVisible();
            press(dialog, "cmdCancel");
        });
        QVERIFY_ANSWERED(run);
        QVERIFY(stayedOpen);
        QCOMPARE(storedLocation(paths()), before);
        QCOMPARE(paths().filesLocation, before);
        QVERIFY(m_shell->hosted<Location>());
    }

    void aCancelledPasswordGivesUp()
    {
        QSKIP_WITHOUT_PG(m_server);
        const std::optional<ServerLocation> server = freshServer(QStringLiteral("location no password"));
        QVERIFY2(server, qPrintable(m_server->error()));
        const QString emptyPasswordFile = QDir(m_shell->dir.path()).filePath(QStringLiteral("pgpass"));
        QVERIFY(QFile(emptyPasswordFile).open(QIODevice::WriteOnly));
        QFile::setPermissions(emptyPasswordFile, QFile::ReadOwner | QFile::WriteOwner);
        qputenv("PGPASSFILE", QFile::encodeName(emptyPasswordFile));
        const QString before = storedLocation(paths());

        m_shell->interaction.expectPassword(
            std::nullopt,
            QStringLiteral("Server Password"),
            QStringLiteral("Please type the password for the database %1 on the server 127.0.0.1, port %2 "
                           "(user cs42).\n\nIt is kept only until the program ends.")
                .arg(server->database)
                .arg(m_server->port()));
        m_shell->interaction.expectInform(
            ServerDialog::title(),
            serverError(QStringLiteral("asks for the password of the user cs42, and none was given.")));
        bool stayedOpen = false;
        auto run = openServerDialog([&](QWidget* dialog) {
            fillIn(dialog, *server);
            press(dialog, "cmdOk");
            stayedOpen = dialog->isVisible();
            press(dialog, "cmdCancel");
        });
        QVERIFY_ANSWERED(run);
        QVERIFY(stayedOpen);
        QCOMPARE(storedLocation(paths()), before);
        QVERIFY(ServerPasswords::forUri(server->toUri()).isEmpty());
    }

    void aRefusedPasswordCanBeTypedAgainAndIsKeptForTheRun()
    {
        QSKIP_WITHOUT_PG(m_server);
        const std::optional<ServerLocation> server = freshServer(QStringLiteral("location password"));
        QVERIFY2(server, qPrintable(m_server->error()));
        const QString emptyPasswordFile = QDir(m_shell->dir.path()).filePath(QStringLiteral("pgpass"));
        QVERIFY(QFile(emptyPasswordFile).open(QIODevice::WriteOnly));
        QFile::setPermissions(emptyPasswordFile, QFile::ReadOwner | QFile::WriteOwner);
        qputenv("PGPASSFILE", QFile::encodeName(emptyPasswordFile));

        const QString prompt = ServerPassword::prompt(*server, QString());
        QVERIFY(prompt.contains(server->displayText()));
        m_shell->interaction.expectPassword(
            QStringLiteral("not the password"), ServerPassword::title(), prompt);
        m_shell->interaction.expectInform(
            ServerDialog::title(), serverError(QStringLiteral("refused the password of the user cs42.")));
        m_shell->interaction.expectPassword(m_server->password(), ServerPassword::title(), prompt);
        m_shell->interaction.expectChoice(1, MoveTitle); // start empty
        bool stayedOpen = false;
        auto run = openServerDialog([&](QWidget* dialog) {
            fillIn(dialog, *server);
            press(dialog, "cmdOk");
            stayedOpen = dialog->isVisible();
            press(dialog, "cmdOk");
        });
        QVERIFY_ANSWERED(run);
        QVERIFY(stayedOpen);
        // Once typed, the password serves every later connection of the run without asking: the
        // library opened on the server, and the password file still holds nothing.
        QCOMPARE(storedLocation(paths()), server->toUri());
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QCOMPARE(m_shell->hosted<CaseLibrary>()->model().caseCount(), 1);
        QCOMPARE(ServerPasswords::forUri(server->toUri()), m_server->password());
        QCOMPARE(QFileInfo(emptyPasswordFile).size(), 0);
    }

    void aTableMadeByHandIsShownAsTheFailureAndGetsNoSampleCase()
    {
        // A cases table without the rowid that orders the library cannot be listed; the library
        // once took it for an empty one and added the sample case on every opening.
        QSKIP_WITHOUT_PG(m_server);
        const std::optional<ServerLocation> server = freshServer(QStringLiteral("location hand made"));
        QVERIFY2(server, qPrintable(m_server->error()));
        const QString uri = server->toUri();
        DataPaths there = paths();
        there.filesLocation = uri;
        QVERIFY(DataStore::setDataPaths(there));
        {
            PgTestConnection owner(uri, m_server->password());
            QVERIFY(owner.scalar(QStringLiteral("ALTER TABLE cases DROP COLUMN rowid")).isNull());
        }
        QVERIFY(DataStore::saveFilesLocation(there));
        // Each opening says so (the scripted program does not end); none adds a case.
        for (int opening = 0; opening < 2; ++opening) {
            m_shell->interaction.expectInform(CaseStore::openErrorTitle());
            m_shell->background->showCaseLibrary();
        }
        QCOMPARE(m_shell->interaction.prompts.size(), 2);
        const QString shown = m_shell->interaction.prompts.first().text;
        QVERIFY2(shown.startsWith(CaseStore::openErrorText()), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("it has no column rowid")), qPrintable(shown));
        QVERIFY(m_shell->interaction.ended);
        PgTestConnection check(uri, m_server->password());
        QCOMPARE(check.scalar(QStringLiteral("SELECT count(*) FROM cases")).toInt(), 0);
    }

    void aServerThatStopsAnsweringIsReportedWhileTheWindowRepaints()
    {
        // A server of this test's own, whose processes are then stopped (SIGSTOP): the kept
        // connection and any new login get no answer at all.
        QSKIP_WITHOUT_PG(m_server);
        QTemporaryDir clusterDir;
        std::optional<PgTestServer> frozen =
            PgTestServer::startPrivate(clusterDir.filePath(QStringLiteral("pg")));
        QVERIFY2(frozen && frozen->isValid(), qPrintable(frozen->error()));
        frozen->exportPgpassFile();
        const ServerLimits saved = ServerLimits::current();
        ServerLimits limits = saved;
        limits.probeTimeoutMs = 1000;
        limits.connectTimeoutSeconds = 2;
        ServerLimits::set(limits);
        ServerWait::install(); // as the program does

        DataPaths there = paths();
        there.filesLocation = frozen->uri();
        QVERIFY(DataStore::setDataPaths(there));
        QVERIFY(DataStore::saveFilesLocation(there));
        m_shell->background->showCaseLibrary();
        QCOMPARE(m_shell->hosted<CaseLibrary>()->model().caseCount(), 1); // the sample case

        PaintCounter painted;
        painted.resize(40, 40);
        painted.show();
        QVERIFY(QTest::qWaitForWindowExposed(&painted));
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, &painted, qOverload<>(&QWidget::update));
        repaint.start(20);

        QVERIFY2(frozen->freezeServer(), qPrintable(frozen->error()));
        m_shell->interaction.expectInform(QStringLiteral("Cases Server Not Reached"));
        int paintsAtPrompt = -1;
        m_shell->interaction.onPrompt = [&](const ScriptedInteraction::Prompt&) {
            paintsAtPrompt = painted.paints;
        };
        const int paintsBefore = painted.paints;
        QElapsedTimer clock;
        clock.start();
        m_shell->background->showCaseLibrary();
        const qint64 waited = clock.elapsed();
        QVERIFY2(frozen->thawServer(), qPrintable(frozen->error()));
        ServerWait::uninstall();
        ServerLimits::set(saved);
        m_shell->interaction.onPrompt = {};

        QVERIFY2(waited < 10000, qPrintable(QString::number(waited)));
        QVERIFY2(m_shell->interaction.prompts.value(0).text.contains(QStringLiteral("cannot be reached")),
                 qPrintable(m_shell->interaction.prompts.value(0).text));
        QVERIFY(!m_shell->interaction.ended); // the user may try again
        // Repainted all along the wait (every 20 ms; at least one paint for each 200 ms).
        QVERIFY2(
            paintsAtPrompt - paintsBefore >= int(waited / 200),
            qPrintable(QStringLiteral("%1 paints in %2 ms").arg(paintsAtPrompt - paintsBefore).arg(waited)));
        frozen->stopPrivate();
    }

    void movingFromAServerBackToAFolderCanBringTheCases()
    {
        QSKIP_WITHOUT_PG(m_server);
        const std::optional<ServerLocation> server = freshServer(QStringLiteral("location back"));
        QVERIFY2(server, qPrintable(m_server->error()));
        const QString uri = server->toUri();
        const int cases = localCases();
        const Migration::Outcome moved = Migration::migrate(paths().filesLocation, uri, false);
        QVERIFY2(moved.copied, qPrintable(moved.error));
        CaseStore(uri).addCase(QStringLiteral("Server v. Case"), QDate(2024, 2, 2));
        paths().filesLocation = uri;
        QVERIFY(DataStore::saveFilesLocation(paths()));
        reopenLocation();

        const QString shared = QDir::toNativeSeparators(m_shared);
        m_shell->hosted<Location>()->setFolder(m_shared);
        m_shell->interaction.expectAsk(
            Interaction::Answer::Yes,
            MoveTitle,
            QStringLiteral("Are you sure you want to change the 'Location of Files'?     ") + CrLf + CrLf +
                QStringLiteral("     From:  ") + uri + CrLf + QStringLiteral("        To:  ") +
                shared.toUpper() + QStringLiteral("?"));
        m_shell->interaction.expectChoice(0, MoveTitle, Location::moveQuestion(shared));
        m_shell->interaction.expectInform(MoveTitle, Location::copiedText(cases + 1, 2, shared));
        QTest::mouseClick(button("cmdChange"), Qt::LeftButton);

        QCOMPARE(storedLocation(paths()), shared);
        QCOMPARE(paths().filesLocation, shared);
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QCOMPARE(CaseStore(joinPath(shared, QStringLiteral("QUONDATA.MDB"))).caseCount(), cases + 1);
        QCOMPARE(m_shell->hosted<CaseLibrary>()->model().caseCount(), cases + 1);
        QVERIFY(NameStore(joinPath(shared, QStringLiteral("Names.mdb"))).keyExists(m_name));
        // The server keeps its cases for the workstations still on it.
        QCOMPARE(CaseStore(uri).caseCount(), cases + 1);
    }
};

QTEST_MAIN(ServerLocationTest)
#include "ServerLocationTest.moc"
