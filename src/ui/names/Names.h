#pragma once

#include <QDialog>

class QLabel;
class QListView;
class QPushButton;

namespace cs42 {

struct Session;
class NameFieldBoxes;
class NameListModel;

// The party selection window: the names directory as a list to pick from, with every field of
// the selected name (seen when the window is wide), adding and deleting names. Shown modally;
// the window title is session.dialogTitle and the list starts at session.selectedKey. "SELECT
// NAME" (or a double click) leaves the picked record in session.selectedName, "No Selection"
// empties it, and any other way of closing leaves it alone; outcome() tells which happened.
class Names : public QDialog
{
    Q_OBJECT

public:
    enum class Outcome
    {
        Selected,
        NoSelection,
        Closed, // close box, Esc, or a picked name that is no longer in the directory
    };

    // Widths of the window in pixels: list and buttons only, and everything.
    static constexpr int NarrowWidth = 4545 / 15;
    static constexpr int WideWidth = 15195 / 15;

    explicit Names(Session& session, QWidget* parent = nullptr);
    ~Names() override;

    Outcome outcome() const { return m_outcome; }

    bool isWide() const;

    // BuildNameList: reloads the list and selects the entry of session.selectedKey, or the first.
    void buildNameList();
    // LoadNameFields: shows the record of session.currentNameKey.
    void loadNameFields();
    // SaveNameFields: stores the boxes into the record of session.currentNameKey, when edited.
    void saveNameFields();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString selectedEntry() const;
    void selectRow(int row);
    void listClicked();
    void selectName();
    void noSelection();
    void addNewName();
    void deleteName();
    void toggleMoreInfo();
    void setWide(bool wide);

    Session& m_session;
    NameListModel* m_model;
    QListView* m_list;
    QPushButton* m_select;
    QPushButton* m_noSelection;
    QPushButton* m_add;
    QPushButton* m_delete;
    QPushButton* m_moreInfo;
    QLabel* m_location;
    NameFieldBoxes* m_boxes;
    bool m_buildingList = false;
    Outcome m_outcome = Outcome::Closed;
};

} // namespace cs42
