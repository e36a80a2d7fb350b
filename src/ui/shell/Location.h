#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace cs42 {

struct Session;
class WindowHost;

// "Change Location of Database Files": moves the folder of the names and cases databases, for
// instance to a shared network folder, or back to the VTRForms folder of the working drive; or
// moves them into a database on the office's PostgreSQL server (ServerDialog), and back again.
class Location : public QWidget
{
    Q_OBJECT

public:
    Location(Session& session, WindowHost& host, QWidget* parent = nullptr);

    // The folder the folder list shows (clean path, '/' separators).
    QString folderPath() const { return m_folder; }

    // Shows `path` in the folder list (and its drive in the drive list).
    void setFolder(const QString& path);

    // How a chosen folder is stored: in capitals when the capitalised path names the same
    // existing folder (a file system that ignores case), otherwise as the file system spells
    // it, since there the capitalised path would be another, missing folder.
    static QString storedFolderText(const QString& folder);
    // Two folder texts name the same location: compared without regard to case or separators.
    static bool sameLocation(const QString& a, const QString& b);
    // Asked when the chosen folder holds no databases, and the answers offered (copy, start empty);
    // Cancel keeps the location as it was.
    static QString moveQuestion(const QString& folder);
    static QStringList moveChoices();
    // A files location as the window shows it: a folder in capitals, a server's address as it is.
    static QString shownLocation(const QString& location);
    // What a move that brought the cases and names along copied.
    static QString copiedText(int cases, int names, const QString& to);

private:
    void fillDrives();
    void driveChosen(int index);
    void folderActivated(QListWidgetItem* item);
    void changeNow();
    void changeBack();
    void chooseServer();
    // Brings the current cases and names to `to` (a folder or a server's address) on the way
    // there; false (and the user told why) when they could not be copied.
    bool migrateTo(const QString& to, const QString& shownTo, const QString& title);
    void notCopied(const QString& shownTo, const QString& error, const QString& title);
    // Stores `folder` as the files location; false (location unchanged) when it could not be saved.
    bool saveLocation(const QString& folder, const QString& title);

    Session& m_session;
    WindowHost& m_host;
    QString m_folder;
    QComboBox* m_drives = nullptr;
    QListWidget* m_folders = nullptr;
    QLabel* m_folderLabel = nullptr;
};

} // namespace cs42
