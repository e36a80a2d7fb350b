#include "ui/shell/Location.h"

#include "core/names/NameStore.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/DataMove.h"
#include "core/store/Migration.h"
#include "core/store/ProgramSettings.h"
#include "core/store/ServerLocation.h"
#include "ui/common/Interaction.h"
#include "ui/common/Session.h"
#include "ui/common/WindowHost.h"
#include "ui/shell/ServerDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace cs42 {

namespace {
const QString UpEntry = QStringLiteral("..");
const QString CrLf = QStringLiteral("\r\n");

QString cleanFolder(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// The nearest folder that exists, from `path` upwards.
QString existingFolder(const QString& path)
{
    QString folder = cleanFolder(path);
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QFileInfo(folder).isDir() ? folder : QDir::rootPath();
}

QString explanationText()
{
    return QStringLiteral(
               "The starting location for all database files is a folder on your computer's hard drive "
               "named '\\VTRForms'.  This routine allows you to change that location, primarily for the "
               "purpose of sharing the database with other users over a network.  ") +
           QStringLiteral("To share this program's database files with other users, ") +
           QStringLiteral("specify the SHARED network drive and ") +
           QStringLiteral(
               "folder where the database files are located by following the three steps below (Note:  "
               "This ") +
           QStringLiteral("must be done on EACH computer that wants to share the database files).");
}

// True when the server holds neither cases nor names of its own (the names directory's seed
// record alone does not count): a move there would show an empty library.
bool serverIsEmpty(const QString& uri)
{
    if (CaseStore(uri).caseCount() != 0)
        return false;
    const NameStore names(uri);
    const int count = names.count();
    return count == 0 || (count == 1 && names.keyExists(NameRecord::seedKey()));
}

QString counted(int count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}
} // namespace

QString Location::storedFolderText(const QString& folder)
{
    const QString native = QDir::toNativeSeparators(cleanFolder(folder));
    const QString upper = native.toUpper();
    if (upper == native)
        return native;
    std::error_code error;
    const bool same =
        std::filesystem::equivalent(std::filesystem::path(QFile::encodeName(upper).toStdString()),
                                    std::filesystem::path(QFile::encodeName(native).toStdString()),
                                    error);
    return same && !error ? upper : native;
}

QString Location::shownLocation(const QString& location)
{
    return ServerLocation::isServerUri(location) ? location.trimmed() : location.toUpper();
}

QString Location::copiedText(int cases, int names, const QString& to)
{
    return counted(cases, QStringLiteral("case"), QStringLiteral("cases")) + QStringLiteral(" and ") +
           counted(names, QStringLiteral("name"), QStringLiteral("names")) +
           QStringLiteral(" were copied to ") + to + QLatin1Char('.');
}

bool Location::sameLocation(const QString& a, const QString& b)
{
    return cleanFolder(a).toUpper() == cleanFolder(b).toUpper();
}

Location::Location(Session& session, WindowHost& host, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_host(host)
{
    setObjectName(QStringLiteral("Location"));
    m_host.setBackgroundColorIndex(15);
    m_session.currentWindowName = QStringLiteral("Location");
    resize(ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowWidth),
           ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowHeight));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto makeLabel = [this](const char* name, const QString& text, int pointSize, bool bold, bool wrap) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        QFont font = label->font();
        if (pointSize > 0)
            font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
        label->setWordWrap(wrap);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    };
    QLabel* title =
        makeLabel("lblFormTitle", QStringLiteral("Change Location of Database Files"), 18, true, false);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("color: #12306a;"));
    QLabel* current =
        makeLabel("lblFormTitle2",
                  QStringLiteral("CURRENT LOCATION:  ") + shownLocation(m_session.paths.filesLocation),
                  11,
                  true,
                  true);
    current->setAlignment(Qt::AlignCenter);
    current->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QLabel* explanation = makeLabel("Label1", explanationText(), 0, false, true);

    QLabel* step1 = makeLabel("Label5", QStringLiteral("STEP 1:  Select a Drive"), 11, true, false);
    QLabel* step1Text = makeLabel(
        "Label3",
        QStringLiteral(
            "The drop-down box below contains a list of the DRIVES that are available on this particular "
            "computer.  Click on the down arrow to show all available DRIVES, then click on the DRIVE "
            "containing the desired folder.  Doing so will cause the folders on the selected drive to be "
            "displayed on the right."),
        0,
        false,
        true);
    QLabel* step2 =
        makeLabel("Label6", QStringLiteral("STEP 2:  Navigate to the desired Folder"), 11, true, false);
    QLabel* step2Text = makeLabel(
        "Label4",
        QStringLiteral(
            "The box below lists the folders that are accessible on the selected DRIVE. Navigate (DOUBLE "
            "CLICK) your way through the list until you have found the desired FOLDER."),
        0,
        false,
        true);
    QLabel* step3 = makeLabel("Label7", QStringLiteral("STEP 3:  Make the change"), 11, true, false);
    QLabel* step3Text = makeLabel(
        "Label2",
        QStringLiteral(
            "Change the location of the Database Files by clicking on the button labeled 'CHANGE NOW'. If "
            "you are not sure, then you can either 'Cancel' or 'Change back' to the original location."),
        0,
        false,
        true);

    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("drvNames"));
    m_folders = new QListWidget(this);
    m_folders->setObjectName(QStringLiteral("dirNames"));
    m_folders->setMinimumHeight(200);
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("folderPathLabel"));
    m_folderLabel->setWordWrap(true);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont folderFont = m_folderLabel->font();
    folderFont.setBold(true);
    m_folderLabel->setFont(folderFont);

    auto makeButton = [this](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setMinimumHeight(32);
        return button;
    };
    QPushButton* change = makeButton("cmdChange", QStringLiteral("CHANGE NOW"));
    QPushButton* back = makeButton("Command1", QStringLiteral("Change back to \\VTRForms"));
    QPushButton* cancel = makeButton("cmdCancel", QStringLiteral("Cancel with no changes"));
    QLabel* serverTitle =
        makeLabel("lblServerTitle", QStringLiteral("OR:  Use the office's database server"), 11, true, false);
    QLabel* serverText = makeLabel(
        "lblServerText",
        QStringLiteral("Instead of a folder, the database files can be kept in a PostgreSQL database on "
                       "your office's server.  Click on the button below to name the server."),
        0,
        false,
        true);
    QPushButton* server = makeButton("cmdServer", QStringLiteral("PostgreSQL Ser&ver..."));

    auto* steps = new QGridLayout;
    steps->setHorizontalSpacing(28);
    steps->setVerticalSpacing(6);
    steps->addWidget(step1, 0, 0);
    steps->addWidget(step2, 0, 1);
    steps->addWidget(step3, 0, 2);
    steps->addWidget(step1Text, 1, 0);
    steps->addWidget(step2Text, 1, 1);
    steps->addWidget(step3Text, 1, 2);
    auto* driveColumn = new QVBoxLayout;
    driveColumn->addWidget(m_drives);
    driveColumn->addStretch(1);
    steps->addLayout(driveColumn, 2, 0);
    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(m_folderLabel);
    folderColumn->addWidget(m_folders, 1);
    steps->addLayout(folderColumn, 2, 1);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->setSpacing(10);
    buttonColumn->addWidget(change);
    buttonColumn->addWidget(back);
    buttonColumn->addWidget(cancel);
    buttonColumn->addSpacing(24);
    buttonColumn->addWidget(serverTitle);
    buttonColumn->addWidget(serverText);
    buttonColumn->addWidget(server);
    buttonColumn->addStretch(1);
    steps->addLayout(buttonColumn, 2, 2);
    steps->setRowStretch(2, 1);
    for (int column = 0; column < 3; ++column)
        steps->setColumnStretch(column, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 14, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(title);
    layout->addWidget(current);
    layout->addWidget(explanation);
    layout->addSpacing(6);
    layout->addLayout(steps, 1);

    fillDrives();
    // From a server, the folders to choose from start at the working drive's VTRForms.
    setFolder(existingFolder(m_session.paths.onServer() ? m_session.paths.defaultFilesLocation()
                                                        : m_session.paths.filesLocation));

    connect(m_drives, &QComboBox::activated, this, &Location::driveChosen);
    connect(m_folders, &QListWidget::itemDoubleClicked, this, &Location::folderActivated);
    connect(change, &QPushButton::clicked, this, &Location::changeNow);
    connect(back, &QPushButton::clicked, this, &Location::changeBack);
    connect(server, &QPushButton::clicked, this, &Location::chooseServer);
    connect(cancel, &QPushButton::clicked, this, [this] { m_host.showCaseLibrary(); });
}

void Location::fillDrives()
{
    QStringList roots{QDir::rootPath()};
    const auto volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& volume : volumes) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    roots.sort(Qt::CaseInsensitive);
    for (const QString& root : std::as_const(roots))
        m_drives->addItem(QDir::toNativeSeparators(root), root);
}

void Location::setFolder(const QString& path)
{
    m_folder = cleanFolder(QFileInfo(path).absoluteFilePath());
    m_folderLabel->setText(QDir::toNativeSeparators(m_folder));

    // The drive list follows the folder: the volume that holds it.
    const QString root = QStorageInfo(m_folder).rootPath();
    int driveRow = m_drives->findData(root);
    if (driveRow < 0) {
        m_drives->addItem(QDir::toNativeSeparators(root), root);
        driveRow = m_drives->count() - 1;
    }
    m_drives->setCurrentIndex(driveRow);

    m_folders->clear();
    const QDir folder(m_folder);
    if (!folder.isRoot())
        m_folders->addItem(UpEntry);
    m_folders->addItems(folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void Location::driveChosen(int index)
{
    const QString root = m_drives->itemData(index).toString();
    if (!root.isEmpty())
        setFolder(root);
}

void Location::folderActivated(QListWidgetItem* item)
{
    if (!item)
        return;
    if (item->text() == UpEntry)
        setFolder(QFileInfo(m_folder).path());
    else
        setFolder(QDir(m_folder).filePath(item->text()));
}

bool Location::saveLocation(const QString& folder, const QString& title)
{
    const QString previous = m_session.paths.filesLocation;
    m_session.paths.filesLocation = folder;
    if (!DataStore::saveFilesLocation(m_session.paths)) {
        m_session.paths.filesLocation = previous;
        m_session.interaction->inform(
            this,
            title,
            QStringLiteral("The new location could not be saved in the settings database, "
                           "so the location of files was not changed."),
            Interaction::Icon::Warning);
        return false;
    }
    m_session.currentCaseId.clear();
    return true;
}

void Location::changeNow()
{
    const QString title = QStringLiteral("Change Location of Files");
    const QString chosen = QDir::toNativeSeparators(m_folder);
    if (!sameLocation(chosen, m_session.paths.filesLocation)) {
        const QString question =
            QStringLiteral("Are you sure you want to change the 'Location of Files'?     ") + CrLf + CrLf +
            QStringLiteral("     From:  ") + shownLocation(m_session.paths.filesLocation) + CrLf +
            QStringLiteral("        To:  ") + chosen.toUpper() + QStringLiteral("?");
        if (m_session.interaction->ask(this, title, question) == Interaction::Answer::Yes) {
            // A folder the program cannot write into would hold no databases, and every later
            // start would end at the case library: keep the user here to choose another.
            const QFileInfo info(m_folder);
            if (!info.isDir() || !info.isWritable()) {
                m_session.interaction->inform(
                    this,
                    title,
                    QStringLiteral("The Database Files cannot be kept in ") + chosen +
                        QStringLiteral(", because this computer cannot write there.  "
                                       "Please choose another folder."),
                    Interaction::Icon::Warning);
                return;
            }
            // A folder without databases would show an empty library: offer to bring the cases
            // and names along.
            if (!DataMove::holdsDatabases(m_session.paths, chosen)) {
                const std::optional<int> choice =
                    m_session.interaction->chooseItem(this, title, moveQuestion(chosen), moveChoices(), 0);
                if (!choice)
                    return;
                // A server's cases and names are read from it and written into new files; a
                // folder's database files are copied as they are.
                if (*choice == 0 && m_session.paths.onServer()) {
                    if (!migrateTo(chosen, chosen, title))
                        return;
                } else if (QString error;
                           *choice == 0 && !DataMove::copyDatabases(m_session.paths, chosen, &error)) {
                    notCopied(chosen, error, title);
                    return;
                }
            }
            saveLocation(storedFolderText(m_folder), title);
        }
    }
    m_host.showCaseLibrary();
}

QString Location::moveQuestion(const QString& folder)
{
    return QStringLiteral("There are no cases or names in ") + folder +
           QStringLiteral(" yet.  Copy the current cases and names there, or start there with none?");
}

QStringList Location::moveChoices()
{
    return {QStringLiteral("Copy the current cases and names there"),
            QStringLiteral("Start there with no cases and names")};
}

void Location::notCopied(const QString& shownTo, const QString& error, const QString& title)
{
    m_session.interaction->inform(this,
                                  title,
                                  QStringLiteral("The cases and names could not be copied to ") + shownTo +
                                      QStringLiteral(", so the location of files was not changed.") + CrLf +
                                      CrLf + error,
                                  Interaction::Icon::Warning);
}

bool Location::migrateTo(const QString& to, const QString& shownTo, const QString& title)
{
    const Migration::Outcome outcome = Migration::migrate(m_session.paths.filesLocation, to, false);
    if (!outcome.copied) {
        notCopied(shownTo, outcome.error, title);
        return false;
    }
    m_session.interaction->inform(
        this, title, copiedText(outcome.cases, outcome.names, shownTo), Interaction::Icon::Information);
    return true;
}

void Location::chooseServer()
{
    const QString title = QStringLiteral("Change Location of Files");
    const std::optional<ServerLocation> server = ServerDialog::choose(m_session, this);
    if (!server)
        return;
    const QString uri = server->toUri();
    const std::optional<ServerLocation> current = ServerLocation::fromUri(m_session.paths.filesLocation);
    if (current && current->toUri() == uri) {
        m_host.showCaseLibrary();
        return;
    }
    // An empty server would show an empty library: offer to bring the cases and names along, as
    // a move to an empty folder does.
    if (CaseStore(m_session.paths.casesDbPath()).caseCount() > 0 && serverIsEmpty(uri)) {
        const std::optional<int> choice = m_session.interaction->chooseItem(
            this, title, moveQuestion(server->displayText()), moveChoices(), 0);
        if (!choice)
            return;
        if (*choice == 0 && !migrateTo(uri, server->displayText(), title))
            return;
    }
    if (saveLocation(uri, title))
        m_host.showCaseLibrary();
}

void Location::changeBack()
{
    const QString title = QStringLiteral("Change Location");
    if (m_session.interaction->ask(this,
                                   title,
                                   QStringLiteral("This will change the location of database files to "
                                                  "'C:\\VTRForms'.  Do you wish to proceed?")) ==
        Interaction::Answer::Yes)
        saveLocation(m_session.paths.defaultFilesLocation(), title);
    m_host.showCaseLibrary();
}

} // namespace cs42
