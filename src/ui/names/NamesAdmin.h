#pragma once

#include "core/names/NameStore.h"

#include <QWidget>

class QLabel;
class QListView;
class QPushButton;

namespace cs42 {

struct Session;
class WindowHost;
class NameFieldBoxes;
class NameListModel;

// "Names": the names directory outside any case, hosted in the main window. Browse the names,
// edit every field (stored on leaving each box), add and delete names; "SAVE" goes back to the
// case library. A database step that fails is reported and the window stays usable.
class NamesAdmin : public QWidget
{
    Q_OBJECT

public:
    NamesAdmin(Session& session, WindowHost& host, QWidget* parent = nullptr);
    ~NamesAdmin() override;

    // BuildNameList: reloads the list and selects the entry of session.currentNameKey (the
    // first entry when it is empty, the last when it is not listed).
    void buildNameList();
    // LoadNameFields: blank-fills the table, then shows the record of session.currentNameKey.
    void loadNameFields();
    // SaveNameFields: stores the boxes into the record of session.currentNameKey, when edited.
    void saveNameFields();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QString selectedEntry() const;
    void selectRow(int row);
    void listClicked();
    void save();
    void addName();
    void deleteName();
    void report(const QString& text, const QString& reason);

    Session& m_session;
    WindowHost& m_host;
    NameStore m_store;
    NameListModel* m_model;
    QLabel* m_title;
    QLabel* m_title2;
    QListView* m_list;
    QPushButton* m_save;
    QPushButton* m_add;
    QPushButton* m_delete;
    NameFieldBoxes* m_boxes;
    bool m_buildingList = false;
};

} // namespace cs42
