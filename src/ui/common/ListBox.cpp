#include "ui/common/ListBox.h"

#include <QKeyEvent>

namespace cs42 {

ListBox::ListBox(QAbstractItemModel* model, QWidget* parent)
    : QListView(parent)
{
    setObjectName(QStringLiteral("List1"));
    setModel(model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        emit entryChosen();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace cs42
