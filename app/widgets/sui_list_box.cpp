#include "app/widgets/sui_list_box.h"

#include <QStyledItemDelegate>

namespace {

// Gives every row the list's row height.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    explicit FixedHeightDelegate(TsuiListBox *list)
        : QStyledItemDelegate(list)
        , list_(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        hint.setHeight(list_->itemHeight());
        return hint;
    }

private:
    TsuiListBox *list_;
};

} // namespace

TsuiListBox::TsuiListBox(QWidget *parent)
    : QListWidget(parent)
{
    setItemDelegate(new FixedHeightDelegate(this));
    setUniformItemSizes(true);
}

void TsuiListBox::setItemHeight(int height)
{
    itemHeight_ = height;
    doItemsLayout();
}

void TsuiListBox::setLines(const QStringList &lines)
{
    clear();
    addItems(lines);
}

QStringList TsuiListBox::lines() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result << item(i)->text();
    return result;
}
