// The files-location window: moving the names and cases databases to another folder and back.

#include "ui/shell/Location.h"

#include "ShellFixture.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"
#include "ui/cases/CaseLibrary.h"
#include "ui/cases/CaseListModel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QTest>

using namespace cs42;
using namespace cs42::test;

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString storedLocation(const DataPaths& paths)
{
    SqlConnection connection(paths.settingsDbPath());
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT fileslocation FROM Main ORDER BY rowid LIMIT 1")) || !query.next())
        return QStringLiteral("<no row>");
    return query.value(0).toString();
}
} // namespace

class LocationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellFixture> m_shell;
    QString m_shared; // an empty folder standing for the network share

    Location* location() const { return m_shell->hosted<Location>(); }

    QPushButton* button(const char* name) const { return m_shell->control<QPushButton>(name); }

    QListWidget* folders() const { return m_shell->control<QListWidget>("dirNames"); }

    void doubleClickFolder(const QString& name)
    {
        const auto items = folders()->findItems(name, Qt::MatchExactly);
        QVERIFY2(items.size() == 1, qPrintable(name));
        // The window's layout settles in the event loop: wait until the entry has its place.
        QTRY_VERIFY(folders()->viewport()->rect().contains(folders()->visualItemRect(items.first())));
        const QRect rect = folders()->visualItemRect(items.first());
        // A double click as the user makes it: a click, then the second press.
        QTest::mouseClick(folders()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(folders()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QString changeQuestion(const QString& from, const QString& to) const
    {
        return QStringLiteral("Are you sure you want to change the 'Location of Files'?     ") + CrLf + CrLf +
               QStringLiteral("     From:  ") + from.toUpper() + CrLf + QStringLiteral("        To:  ") +
               to.toUpper() + QStringLiteral("?");
    }

private slots:

    void init()
    {
        // A workstation that has used its library once, with a second case as the current one.
        m_shell = std::make_unique<ShellFixture>();
        m_shell->background->showCaseLibrary();
        m_shell->session.currentCaseId = CaseStore(m_shell->session.paths.casesDbPath())
                                             .addCase(QStringLiteral("Local v. Case"), QDate(2024, 1, 1));
        m_shared = QDir(m_shell->dir.path()).filePath(QStringLiteral("Network Share"));
        QVERIFY(QDir().mkpath(m_shared));
        m_shell->item("menuLocation")->trigger();
        QVERIFY(location());
    }

    void cleanup()
    {
        QVERIFY2(m_shell->interaction.allExpectationsMet(), "a scripted prompt was not shown");
        m_shell.reset();
    }

    void opensAtTheCurrentLocation()
    {
        const DataPaths& paths = m_shell->session.paths;
        QCOMPARE(m_shell->session.currentWindowName, QStringLiteral("Location"));
        QCOMPARE(m_shell->background->backgroundColorIndex(), 15);
        QCOMPARE(location()->folderPath(), QDir::fromNativeSeparators(paths.filesLocation));
        QCOMPARE(m_shell->control<QLabel>("lblFormTitle2")->text(),
                 QStringLiteral("CURRENT LOCATION:  ") + paths.filesLocation.toUpper());
        QVERIFY(m_shell->control<QLabel>("Label1")->text().startsWith(QStringLiteral(
            "The starting location for all database files is a folder on your computer's hard drive "
            "named '\\VTRForms'.  This routine")));
        auto* drives = m_shell->control<QComboBox>("drvNames");
        QVERIFY(drives->findData(QDir::rootPath()) >= 0);
        QCOMPARE(drives->currentData().toString(), QStorageInfo(paths.filesLocation).rootPath());
        QCOMPARE(button("Command1")->text(), QStringLiteral("Change back to \\VTRForms"));
    }

    void foldersAreNavigatedByDoubleClick()
    {
        doubleClickFolder(QStringLiteral(".."));
        QCOMPARE(location()->folderPath(), QDir::fromNativeSeparators(m_shell->dir.path()));
        doubleClickFolder(QStringLiteral("Network Share"));
        QCOMPARE(location()->folderPath(), QDir::fromNativeSeparators(m_shared));
        QCOMPARE(folders()->count(), 1); // only ".." in an empty folder

        // Choosing a drive shows its root.
        auto* drives = m_shell->control<QComboBox>("drvNames");
        const int root = drives->findData(QDir::rootPath());
        drives->setCurrentIndex(root);
        emit drives->activated(root);
        QCOMPARE(location()->folderPath(), QDir::rootPath());
        QVERIFY(folders()->findItems(QStringLiteral(".."), Qt::MatchExactly).isEmpty());
    }

    void changeNowStoresTheFolderAndTheNextRebuildCreatesFreshDatabases()
    {
        DataPaths& paths = m_shell->session.paths;
        const QString oldLocation = paths.filesLocation;
        doubleClickFolder(QStringLiteral(".."));
        doubleClickFolder(QStringLiteral("Network Share"));

        m_shell->interaction.expectAsk(Interaction::Answer::Yes,
                                       QStringLiteral("Change Location of Files"),
                                       changeQuestion(oldLocation, QDir::toNativeSeparators(m_shared)));
        m_shell->interaction.expectChoice(1,
                                          QStringLiteral("Change Location of Files"),
                                          Location::moveQuestion(QDir::toNativeSeparators(m_shared)));
        QTest::mouseClick(button("cmdChange"), Qt::LeftButton);
        QCOMPARE(m_shell->interaction.offeredItems.value(0), Location::moveChoices());

        // On this case-sensitive file system the capitalised path would be another, missing
        // folder: the folder is stored as the file system spells it.
        const QString expected = Location::storedFolderText(m_shared);
        QCOMPARE(expected, QDir::toNativeSeparators(m_shared));
        QCOMPARE(storedLocation(paths), expected);
        QCOMPARE(paths.filesLocation, expected);

        // The case library opened at once and built fresh databases in the new folder.
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QVERIFY(QFile::exists(QDir(m_shared).filePath(QStringLiteral("QUONDATA.MDB"))));
        QVERIFY(QFile::exists(QDir(m_shared).filePath(QStringLiteral("Names.mdb"))));
        const QList<CaseListItem> cases = CaseStore(paths.casesDbPath()).listCases();
        QCOMPARE(cases.size(), 1);
        QCOMPARE(cases.first().caseDesc, QStringLiteral("Sample Case"));
        QCOMPARE(m_shell->session.currentCaseId, cases.first().caseId);
        // The settings stay on the working drive; the old cases are still where they were.
        QVERIFY(paths.settingsDbPath().startsWith(QDir::toNativeSeparators(m_shell->dir.path())));
        QCOMPARE(CaseStore(joinPath(oldLocation, QStringLiteral("QUONDATA.MDB"))).caseCount(), 2);

        // The next quit writes the backups in the new folder.
        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Quit"));
        m_shell->item("menuQuitThisProgram")->trigger();
        QVERIFY(QFile::exists(QDir(m_shared).filePath(QStringLiteral("QUONDATA_Backup.MDB"))));
        QVERIFY(QFile::exists(QDir(m_shared).filePath(QStringLiteral("Names_Backup.MDB"))));
    }

    void movingToAnEmptyFolderCanBringTheCasesAlong()
    {
        DataPaths& paths = m_shell->session.paths;
        const QString oldLocation = paths.filesLocation;
        const int casesBefore = CaseStore(paths.casesDbPath()).caseCount();
        doubleClickFolder(QStringLiteral(".."));
        doubleClickFolder(QStringLiteral("Network Share"));

        // Cancel at the choice changes nothing.
        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Change Location of Files"));
        m_shell->interaction.expectChoice(std::nullopt, QStringLiteral("Change Location of Files"));
        QTest::mouseClick(button("cmdChange"), Qt::LeftButton);
        QCOMPARE(storedLocation(paths), oldLocation);
        QVERIFY(!QFile::exists(QDir(m_shared).filePath(QStringLiteral("QUONDATA.MDB"))));

        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Change Location of Files"));
        m_shell->interaction.expectChoice(0, QStringLiteral("Change Location of Files"));
        QTest::mouseClick(button("cmdChange"), Qt::LeftButton);
        QVERIFY(m_shell->interaction.allExpectationsMet());
        QCOMPARE(storedLocation(paths), QDir::toNativeSeparators(m_shared));
        // The library shows the copied cases, and the old ones are still where they were.
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QCOMPARE(CaseStore(paths.casesDbPath()).caseCount(), casesBefore);
        QCOMPARE(m_shell->hosted<CaseLibrary>()->model().caseCount(), casesBefore);
        QCOMPARE(CaseStore(joinPath(oldLocation, QStringLiteral("QUONDATA.MDB"))).caseCount(), casesBefore);
        QVERIFY(QFile::exists(QDir(m_shared).filePath(QStringLiteral("Names.mdb"))));
    }

    void theSameFolderInOtherCapitalsAsksNothing()
    {
        DataPaths& paths = m_shell->session.paths;
        const QString current = location()->folderPath();
        // The location as a Windows workstation would have stored it: in capitals.
        paths.filesLocation = QDir::toNativeSeparators(current).toUpper();
        const QString caseId = m_shell->session.currentCaseId;
        const QString before = storedLocation(paths);
        QTest::mouseClick(button("cmdChange"), Qt::LeftButton);
        QVERIFY(m_shell->interaction.prompts.isEmpty());
        QCOMPARE(storedLocation(paths), before);
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QCOMPARE(m_shell->session.currentCaseId, caseId);
    }

    void answeringNoOrCancellingSavesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::newRow("change now, No")
            << QStringLiteral("cmdChange") << QStringLiteral("Change Location of Files");
        QTest::newRow("change back, No") << QStringLiteral("Command1") << QStringLiteral("Change Location");
        QTest::newRow("cancel") << QStringLiteral("cmdCancel") << QString();
    }

    void answeringNoOrCancellingSavesNothing()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        const DataPaths& paths = m_shell->session.paths;
        location()->setFolder(m_shared);
        const QString before = storedLocation(paths);
        const QString caseId = m_shell->session.currentCaseId;
        if (!title.isEmpty())
            m_shell->interaction.expectAsk(Interaction::Answer::No, title);
        QTest::mouseClick(this->button(button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(storedLocation(paths), before);
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QCOMPARE(m_shell->session.currentCaseId, caseId);
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Local v. Case"));
    }

    void changeBackReturnsToTheWorkingDrive()
    {
        DataPaths& paths = m_shell->session.paths;
        paths.filesLocation = QDir::toNativeSeparators(m_shared);
        QVERIFY(DataStore::saveFilesLocation(paths));
        m_shell->interaction.expectAsk(
            Interaction::Answer::Yes,
            QStringLiteral("Change Location"),
            QStringLiteral(
                "This will change the location of database files to 'C:\\VTRForms'.  Do you wish to "
                "proceed?"));
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QCOMPARE(storedLocation(paths), paths.defaultFilesLocation());
        QCOMPARE(paths.filesLocation, paths.vtrFormsDir());
        QVERIFY(m_shell->hosted<CaseLibrary>());
        // The current case was emptied: the first entry of the local library is selected.
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Local v. Case"));
    }

    void foldersCompareWithoutRegardToCaseOrSeparators()
    {
        QVERIFY(Location::sameLocation(QStringLiteral("/srv/Share/VTR"), QStringLiteral("/SRV/share/vtr/")));
        QVERIFY(Location::sameLocation(QStringLiteral("/srv/share//vtr"), QStringLiteral("/srv/share/vtr")));
        QVERIFY(!Location::sameLocation(QStringLiteral("/srv/share/vtr"), QStringLiteral("/srv/share/vtr2")));
        // A folder already spelled in capitals is stored as it is.
        QCOMPARE(Location::storedFolderText(QStringLiteral("/NO/SUCH/FOLDER")),
                 QStringLiteral("/NO/SUCH/FOLDER"));
    }
};

QTEST_MAIN(LocationTest)
#include "LocationTest.moc"
