#include "data/errors.h"

#include <QSqlError>

KWError::KWError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

DatabaseError::DatabaseError(Condition condition, QString engineCode, QString message)
    : KWError(std::move(message)), m_condition(condition), m_engineCode(std::move(engineCode))
{
}

namespace {

using Condition = DatabaseError::Condition;

// SQLite reports its result codes, PostgreSQL its SQLSTATE.
Condition classify(const QString& code, const QString& text)
{
    struct Rule
    {
        const char* code;
        Condition condition;
    };
    static const Rule rules[] = {
        // SQLite primary result codes and their extended forms
        {"1555", Condition::DuplicateKey},
        {"2067", Condition::DuplicateKey},
        {"787", Condition::ReferencedRow},
        {"18", Condition::ValueTooLong},
        {"5", Condition::TableInUse},
        {"6", Condition::TableInUse},
        {"14", Condition::CannotOpen},
        {"26", Condition::CannotOpen},
        // PostgreSQL
        {"23505", Condition::DuplicateKey},
        {"23503", Condition::ReferencedRow},
        {"22001", Condition::ValueTooLong},
        {"55P03", Condition::TableInUse},
        {"40001", Condition::RowChanged},
        {"3D000", Condition::CannotOpen},
        {"08001", Condition::CannotOpen},
        {"08006", Condition::CannotOpen},
    };
    for (const Rule& rule : rules)
        if (code == QLatin1String(rule.code))
            return rule.condition;
    // Qt's SQLite driver does not always switch on extended codes.
    if (text.contains(QLatin1String("UNIQUE constraint failed")) ||
        text.contains(QLatin1String("PRIMARY KEY constraint failed")))
        return Condition::DuplicateKey;
    if (text.contains(QLatin1String("FOREIGN KEY constraint failed")))
        return Condition::ReferencedRow;
    if (text.contains(QLatin1String("database is locked")))
        return Condition::TableInUse;
    if (text.contains(QLatin1String("unable to open database")))
        return Condition::CannotOpen;
    return Condition::Other;
}

} // namespace

DatabaseError DatabaseError::fromSqlError(const QSqlError& error)
{
    const QString text = error.text();
    const QString code = error.nativeErrorCode();
    return DatabaseError(classify(code, text), code, text);
}

QString InvalidDateMessage()
{
    return QStringLiteral("请按格式YYYY%1MM%1DD 输入日期").arg(QLatin1Char('-'));
}

ConvertError::ConvertError(Kind kind, QString message) : KWError(std::move(message)), m_kind(kind)
{
}

SilentAbort::SilentAbort() : KWError(QStringLiteral("Operation aborted")) {}

void Abort()
{
    throw SilentAbort();
}
