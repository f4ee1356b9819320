#include "records/date_nodes.h"

#include "data/dates.h"
#include "data/helpers.h"

#include <QPair>

namespace {

QString literal(const QDate& d)
{
    return SqlDate(DateText(d));
}

QDate monday(const QDate& d)
{
    return d.addDays(1 - d.dayOfWeek());
}

QDate lastOfMonth(const QDate& d)
{
    return QDate(d.year(), d.month(), 1).addMonths(1).addDays(-1);
}

} // namespace

const QStringList& DateNodeNames()
{
    static const QStringList names{
        QStringLiteral("全部快递"), QStringLiteral("前年快递"), QStringLiteral("本年快递"),
        QStringLiteral("前月快递"), QStringLiteral("本月快递"), QStringLiteral("前周快递"),
        QStringLiteral("本周快递"), QStringLiteral("前日快递"), QStringLiteral("今日快递")};
    return names;
}

QString DateNodeStatement(int node, const QString& field, const QString& findCondition,
                          const QDate& today)
{
    QString sql = QStringLiteral("SELECT * FROM KW_CLIENT_TABLE");
    const bool find = !findCondition.isEmpty();
    if (node <= 0 || node > 8)
        return find ? sql + QStringLiteral(" WHERE ") + findCondition : sql;

    if (node >= 7) {
        const QDate day = node == 7 ? today.addDays(-1) : today;
        const QString test = field + QStringLiteral(" = ") + literal(day);
        return sql + QStringLiteral(" WHERE ") +
               (find ? findCondition + QStringLiteral(" AND (") + test + QLatin1Char(')') : test);
    }

    QDate lo;
    QDate hi;
    const QDate january(today.year(), 1, 1);
    switch (node) {
    case 1: // last year
        lo = january.addYears(-1);
        hi = january.addDays(-1);
        break;
    case 2: // this year
        lo = january;
        hi = january.addYears(1).addDays(-1);
        break;
    case 3: { // last month
        const QDate base = (today.day() <= 9 ? today.addDays(10) : today).addDays(-31);
        lo = QDate(base.year(), base.month(), 1);
        hi = lastOfMonth(base);
        break;
    }
    case 4: // this month
        lo = QDate(today.year(), today.month(), 1);
        hi = lastOfMonth(today);
        break;
    case 5: // last week, Monday to Sunday
        lo = monday(today.addDays(-7));
        hi = lo.addDays(6);
        break;
    default: // this week
        lo = monday(today);
        hi = lo.addDays(6);
        break;
    }
    const QString range = field + QStringLiteral(" >= ") + literal(lo) + QStringLiteral(" AND ") +
                          field + QStringLiteral(" <= ") + literal(hi);
    return sql + QStringLiteral(" WHERE ") +
           (find ? findCondition + QStringLiteral(" AND (") + range + QLatin1Char(')') : range);
}
