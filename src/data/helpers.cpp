#include "data/helpers.h"

#include "data/dialect.h"
#include "data/errors.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QSqlDatabase namedDatabase(const QString& dbName)
{
    return QSqlDatabase::database(dbName, false);
}

std::unique_ptr<QSqlQuery> execute(const QString& dbName, const QString& sql)
{
    QSqlDatabase db = namedDatabase(dbName);
    auto query = std::make_unique<QSqlQuery>(db);
    if (!db.isOpen())
        throw DatabaseError(DatabaseError::Condition::CannotOpen, QString(),
                            QStringLiteral("connection %1 is not open").arg(dbName));
    if (!query->exec(TranslateSql(sql, db.driverName())))
        throw DatabaseError::fromSqlError(query->lastError());
    return query;
}

} // namespace

QString QuotedStr(const QString& value)
{
    QString doubled = value;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString SqlDate(const QString& isoDate)
{
    const QDate date = QDate::fromString(isoDate.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return QStringLiteral("NULL");
    return QStringLiteral("DATE ") + date.toString(QStringLiteral("''MM/dd/yyyy''"));
}

QString FormatSql(const QString& format, const QVariantList& args)
{
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        const QChar spec = format[i + 1];
        if (spec == QLatin1Char('%')) {
            out += c;
            ++i;
        } else if (QStringLiteral("sdfgu").contains(spec)) {
            out += next < args.size() ? args[next++].toString() : QString();
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool RunSQL(const QString& dbName, const QString& sql)
{
    try {
        execute(dbName, sql);
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

std::unique_ptr<QSqlQuery> OpenSQL(const QString& dbName, const QString& sql)
{
    return execute(dbName, sql);
}

QString GetSQLValue(const QString& dbName, const QString& sql)
{
    auto query = OpenSQL(dbName, sql);
    return query->next() ? query->value(0).toString() : QString();
}

double GetSQLNumber(const QString& dbName, const QString& sql)
{
    auto query = OpenSQL(dbName, sql);
    return query->next() ? ParseNumber(query->value(0).toString()) : 0.0;
}

QVariant GetSQLRow(const QString& dbName, const QString& sql)
{
    auto query = OpenSQL(dbName, sql);
    if (!query->next())
        return {};
    const int columns = query->record().count();
    if (columns == 1)
        return query->value(0);
    QVariantList row;
    for (int i = 0; i < columns; ++i)
        row << query->value(i);
    return row;
}

int MaxInt(int a, int b)
{
    return a > b ? a : b;
}

int MinInt(int a, int b)
{
    return a < b ? a : b;
}
