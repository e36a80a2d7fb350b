#pragma once

#include <QWidget>

class QLabel;
class QListView;
class QPushButton;

namespace cs42 {

struct Session;
class WindowHost;
class NameDirectoryView;
class NameFieldBoxes;

// "Names": the names directory outside any case, hosted in the main window. Browse the names,
// edit every field (stored on leaving each box), add and delete names; "SAVE" goes back to the
// case library. A database step that fails is reported and the window stays usable.
class NamesAdmin : public QWidget
{
    Q_OBJECT

public:
    NamesAdmin(Session& session, WindowHost& host, QWidget* parent = nullptr);
    ~NamesAdmin() override;

    // The key of the record the boxes show.
    QString currentKey() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void save();

    WindowHost& m_host;
    QLabel* m_title;
    QLabel* m_title2;
    QListView* m_list;
    QPushButton* m_save;
    QPushButton* m_add;
    QPushButton* m_delete;
    NameFieldBoxes* m_boxes;
    NameDirectoryView* m_directory;
};

} // namespace cs42
