#include "app/widgets/sui_font_size_combo_box.h"

#include <QFontDatabase>
#include <QIntValidator>
#include <QLineEdit>

TsuiFontSizeComboBox::TsuiFontSizeComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (int size : QFontDatabase::standardSizes())
        addItem(QString::number(size));
    lineEdit()->setValidator(new QIntValidator(1, 999, this));
    connect(this, &QComboBox::currentTextChanged, this, [this] { emit fontSizeChanged(fontSize()); });
}

int TsuiFontSizeComboBox::fontSize() const
{
    bool ok = false;
    int size = currentText().trimmed().toInt(&ok);
    return ok && size > 0 ? size : 0;
}

void TsuiFontSizeComboBox::setFontSize(int size)
{
    int index = findText(QString::number(size));
    if (index >= 0)
        setCurrentIndex(index);
    else
        setEditText(QString::number(size));
}
