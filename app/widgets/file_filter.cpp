#include "app/widgets/file_filter.h"

namespace vt {

QStringList qtNameFilters(const QString &filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed();
        patterns.removeAll(QString());
        if (patterns.isEmpty())
            continue;
        // Qt reads the patterns from the last parentheses, so a description
        // that shows its own "(*.vob,*.VOB)" keeps it as text.
        result << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
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
