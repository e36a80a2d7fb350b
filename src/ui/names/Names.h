#pragma once

#include "core/names/NameRecord.h"

#include <QDialog>

class QLabel;
class QListView;
class QPushButton;

namespace cs42 {

struct Session;
class ListBox;
class NameDirectoryView;
class NameFieldBoxes;

// What the party selection window hands back to its caller.
struct NameChoice
{
    enum class Outcome
    {
        Selected,    // "SELECT NAME" or a double click on an entry
        NoSelection, // "No Selection"
        Closed,      // close box, Esc, or a picked name that is no longer in the directory
    };

    Outcome outcome = Outcome::Closed;
    // Selected: every column of the picked record; NoSelection: every column, empty; Closed: none.
    NameRecord name;
};

// The party selection window: the names directory as a list to pick from, with every field of
// the selected name (seen when the window is wide), adding and deleting names. Shown modally.
class Names : public QDialog
{
    Q_OBJECT

public:
    using Outcome = NameChoice::Outcome;

    // Widths of the window in pixels: list and buttons only, and everything.
    static constexpr int NarrowWidth = 4545 / 15;
    static constexpr int WideWidth = 15195 / 15;

    // The window titled `title` ("NAMES Database" when empty), on the entry of `startKey` (the
    // first entry when it is empty or no longer listed).
    Names(Session& session, const QString& title, const QString& startKey, QWidget* parent = nullptr);
    ~Names() override;

    // Shows the window modally and returns what the user picked.
    static NameChoice pick(Session& session, QWidget* parent, const QString& title, const QString& startKey);

    const NameChoice& choice() const { return m_choice; }

    Outcome outcome() const { return m_choice.outcome; }

    // The key of the record the boxes show.
    QString currentKey() const;

    bool isWide() const;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void selectName();
    void noSelection();
    void toggleMoreInfo();
    void setWide(bool wide);

    ListBox* m_list;
    QPushButton* m_select;
    QPushButton* m_noSelection;
    QPushButton* m_add;
    QPushButton* m_delete;
    QPushButton* m_moreInfo;
    QLabel* m_location;
    NameFieldBoxes* m_boxes;
    NameDirectoryView* m_directory;
    NameChoice m_choice;
};

} // namespace cs42
