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
};

} // namespace cs42
