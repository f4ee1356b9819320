#include "data/dates.h"

#include "platform/clock.h"

#include <QRegularExpression>

QDate ParseUserDate(const QString& text)
{
    const QString t = text.trimmed();
    static const QRegularExpression separated(
        QStringLiteral("^(\\d{2}|\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T].*)?$"));
    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    QRegularExpressionMatch m = separated.match(t);
    if (!m.hasMatch())
        m = compact.match(t);
    if (!m.hasMatch())
        return {};
    int year = m.captured(1).toInt();
    if (m.captured(1).size() == 2) {
        const int first = CurrentDate().year() - 70;
        year = first - first % 100 + year;
        if (year < first)
            year += 100;
    }
    return QDate(year, m.captured(2).toInt(), m.captured(3).toInt());
}

QString DateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
