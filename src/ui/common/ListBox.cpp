#include "ui/common/ListBox.h"

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

} // namespace cs42
