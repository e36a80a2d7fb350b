#pragma once

#include "core/names/NameList.h"
#include "core/names/NameStore.h"

#include <QObject>
#include <QString>

#include <optional>

class QLineEdit;
class QListView;
class QWidget;

namespace cs42 {

struct Session;
class NameFieldBoxes;
class NameListModel;

// The names list, the record shown in the field boxes and every names database step that the
// party selection window (Names) and the administration window (NamesAdmin) share. The window
// lays out the list and the boxes; this keeps the list and the boxes in step with the store:
// the boxes always show the selected entry's record, and an edit is stored when a box is left,
// the selection moves, or the window acts or closes. A step that the database refuses is
// reported under the title "Names" and the window stays usable.
class NameDirectoryView : public QObject
{
    Q_OBJECT

public:
    // Where the two windows differ.
    struct Options
    {
        NameList::Style listStyle;
        // A key that is not listed selects the last entry rather than the first.
        bool unlistedKeySelectsLast = false;
        // Blank-fill the table before each record is shown, rather than on each list rebuild.
        bool blankFillOnLoad = false;
        // Scroll the selected entry to the middle of the list rather than just into view.
        bool centreSelection = false;
        // The message that refuses to delete a protected name.
        QString protectedRefusal;
    };

    // `model` is the list's model; the three belong to `window`, which messages are parented to.
    NameDirectoryView(Session& session,
                      Options options,
                      NameListModel* model,
                      QListView* list,
                      NameFieldBoxes* boxes,
                      QWidget* window);

    // The key of the record the boxes show; empty when the list is.
    const QString& currentKey() const { return m_currentKey; }

    QString selectedEntry() const;

    // BuildNameList then LoadNameFields: lists the directory afresh, selects the entry of `key`
    // (the first entry when `key` is empty) and shows its record.
    void rebuild(const QString& key);
    // SaveNameFields: stores the boxes into the current record, when one was edited.
    void saveNameFields();
    // Stores the boxes, then reads the selected record afresh: nothing when it is no longer in
    // the directory or cannot be read.
    std::optional<NameRecord> takeSelected();
    // The add-name dialog; a new record is listed, selected and shown.
    void addName();
    // The delete questions; once the selected name is deleted, the first entry is shown.
    void deleteName();

    // Narrows the list to the entries that hold `text` as the user types it into `box`; the
    // record shown stays while its entry is listed, else the first entry shown is.
    void attachFilter(QLineEdit* box);

    // The window is being taken down: boxes losing the focus must not store anything now.
    void detach();

private:
    void listClicked();
    // LoadNameFields: shows the current record; the boxes keep what they showed when there is none.
    void loadNameFields();
    // The current record read afresh; a failed read is reported.
    std::optional<NameRecord> loadCurrent() const;
    void selectRow(int row);
    void report(const QString& text, const QString& reason) const;

    Session& m_session;
    const Options m_options;
    NameStore m_store;
    NameListModel* m_model;
    QListView* m_list;
    NameFieldBoxes* m_boxes;
    QWidget* m_window;
    QString m_currentKey;
    bool m_buildingList = false;
};

} // namespace cs42
