#include "platform/FileFilter.h"

#include <QStringList>

namespace platform {

namespace {

QString labelWithoutPatterns(QString label)
{
    label = label.trimmed();
    const qsizetype open = label.lastIndexOf(QLatin1Char('('));
    if (label.endsWith(QLatin1Char(')')) && open > 0)
        label = label.left(open).trimmed();
    return label;
}

QString qtPatterns(const QString& patterns)
{
    QStringList result;
    for (QString pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        // "*.*" means every file; on Linux it would only match names holding a dot.
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        if (!pattern.isEmpty())
            result << pattern;
    }
    return result.isEmpty() ? QStringLiteral("*") : result.join(QLatin1Char(' '));
}

}  // namespace

QString toQtNameFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (filter.isEmpty())
        return QString();
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString patterns = i + 1 < parts.size() ? qtPatterns(parts[i + 1]) : QStringLiteral("*");
        const QString label = labelWithoutPatterns(parts[i]);
        entries << (label.isEmpty() ? QStringLiteral("(%1)").arg(patterns)
                                    : QStringLiteral("%1 (%2)").arg(label, patterns));
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace platform
