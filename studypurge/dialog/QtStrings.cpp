#include "QtStrings.h"

#include <QStringList>

namespace spdialog {

QString loadQString(int id) {
    return QString::fromStdString(spapp::loadString(id));
}

namespace {

QString qtFilterEntry(const QString& description, const QString& patterns) {
    QString name = description;
    const qsizetype open = name.indexOf(QLatin1Char('('));
    if (open >= 0) {
        name.truncate(open);
    }
    name = name.trimmed();
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
    }
    list.removeAll(QString());
    if (list.isEmpty()) {
        return name;
    }
    const QString joined = list.join(QLatin1Char(' '));
    return name.isEmpty() ? joined : name + QStringLiteral(" (") + joined + QLatin1Char(')');
}

}  // namespace

QString qtFilterFromPairs(const QString& pairs) {
    // The list ends at the first empty description (the closing "||").
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        const QString entry = qtFilterEntry(parts[i], parts[i + 1]);
        if (!entry.isEmpty()) {
            entries << entry;
        }
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace spdialog
