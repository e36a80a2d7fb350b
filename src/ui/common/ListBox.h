#pragma once

#include <QListView>

class QAbstractItemModel;

namespace cs42 {

// The program's list box (`List1` in the case library and the names windows): one column of
// texts, one entry selected at a time, nothing edited in place.
class ListBox : public QListView
{
    Q_OBJECT

public:
    explicit ListBox(QAbstractItemModel* model, QWidget* parent = nullptr);

signals:
    // Enter on the list: the keyboard's double click on the current entry.
    void entryChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace cs42
