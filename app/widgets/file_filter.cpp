#include "app/widgets/file_filter.h"

#include "platform/dialog_filter.h"

namespace vt {

QStringList qtNameFilters(const QString &filter)
{
    QStringList result;
    for (const std::string &entry : qtFileDialogFilters(filter.toStdString()))
        result << QString::fromStdString(entry);
    return result;
}

int filterIndexOf(const QString &filter, const QString &chosen)
{
    const QStringList nameFilters = qtNameFilters(filter);
    for (qsizetype i = 0; i < nameFilters.size(); ++i) {
        if (nameFilters[i] == chosen)
            return int(i) + 1;
    }
    for (qsizetype i = 0; i < nameFilters.size(); ++i) {
        const QString &whole = nameFilters[i];
        if (whole.left(whole.lastIndexOf(QStringLiteral(" ("))) == chosen)
            return int(i) + 1;
    }
    return 0;
}

} // namespace vt
