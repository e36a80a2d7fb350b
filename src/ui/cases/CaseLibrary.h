#pragma once

#include "core/store/CaseStore.h"

#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace cs42 {

class CaseListModel;
class ChangeWatch;
class ListBox;
struct Session;
class WindowHost;

// The case library: lists the cases of the cases database, adds, renames and deletes them, and
// chooses the current case, whose worksheet "&SELECT CASE" (or a double click) opens.
class CaseLibrary : public QWidget
{
    Q_OBJECT

public:
    CaseLibrary(Session& session, WindowHost& host, QWidget* parent = nullptr);

    // The introduction shown beside the list, with its CR LF line breaks.
    static QString introductionText();

    // BuildingList: reads the cases again (adding the sample case to an empty table), sorts the
    // entries, selects the current case (or the first entry, or the last when the current case
    // is gone) and runs the selection handler once.
    void rebuildList();

    // Asked when a new or renamed case would have the name of another one.
    static QString nameInUseQuestion(const QString& name);

    const CaseListModel& model() const { return *m_model; }

protected:
    bool event(QEvent* event) override;

private:
    // Selects the current case in the list as filtered, or the first entry shown.
    void selectCurrentRow();
    // True unless another case has `name` and the user would rather not use it again.
    bool confirmNameInUse(const QString& title, const QString& name, const QString& exceptKey = QString());
    void caseSelected();
    void addNewCase();
    void selectCase();
    void renameCase();
    void deleteCase();
    // The cases database cannot be opened: tell the user, and the program ends.
    void reportStoreFailure(const CaseStore& store, CaseStoreStatus status);
    void reportCaseRemoved(const QString& title);
    void showNoCasesMessage(const QString& action);
    // Another workstation added, renamed or deleted cases: the list shows the cases as stored,
    // keeping the current case selected while it is there. Never asks anything; a list that
    // cannot be read just now is read again shortly, and none is read while a modal window is open.
    void refreshList();

    Session& m_session;
    WindowHost& m_host;
    CaseListModel* m_model = nullptr;
    ListBox* m_list = nullptr;
    QLineEdit* m_filter = nullptr;
    QLabel* m_message = nullptr;
    QFrame* m_shape = nullptr;
    QLabel* m_image = nullptr;
    bool m_buildingList = false;
    QList<CaseListItem> m_cases; // as the list was last read
    ChangeWatch* m_watch = nullptr;
    QTimer m_refreshRetry;
};

} // namespace cs42
