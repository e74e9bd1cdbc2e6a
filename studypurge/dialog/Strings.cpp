#include "Strings.h"

#include <QStringList>

namespace spdialog {

QString loadString(int id) {
    switch (id) {
        case IDS_ABOUTBOX:
            return QStringLiteral("&About studypurge...");
        case IDS_FILE_NOT_FOUND:
            return QStringLiteral(
                "Simulation file is not found, pleease check input file pathname.");
        case IDS_CLEANED:
            return QStringLiteral(
                "Success - Simulation data is cleaned from the file for selected simulation "
                "product(s).");
        case IDS_NO_FILE:
            return QStringLiteral("Please select a PLANDRY file before clicking this button");
        case IDS_NO_PRODUCT:
            return QStringLiteral(
                "Please select a Simulation Product name before clicking this button");
        case IDS_FILE_FILTER:
            return QStringLiteral(
                "PLANDRY Files (*.pldprt;*.pldasm)|*.pldprt;*.pldasm|PLANDRY Part Files "
                "(*.pldprt)|*.pldprt|PLANDRY Assembly Files (*.pldasm)|*.pldasm||");
        default:
            return {};
    }
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
