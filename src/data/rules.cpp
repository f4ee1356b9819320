#include "data/rules.h"

TInsertData InsertRule(const QString& field, const QString& kind, const QString& value, int width)
{
    TInsertData d;
    d.FieldName = field;
    d.Caption = field;
    d.Kind = kind;
    d.Value = value;
    d.Width = width;
    return d;
}

TEditDataArray EditStamps(const QString& userName, const QString& workDate)
{
    return {{QStringLiteral("EDIT_NAME"), QString(), userName},
            {QStringLiteral("EDIT_DATE"), QString(), workDate}};
}

TCheckData UniqueCheck(const QString& table, const QString& column, const QString& message)
{
    TCheckData c;
    c.Conditions[0] = {.FieldName = column, .ColumnName = column};
    c.KeyField = column;
    c.BaseSQL = QStringLiteral("SELECT %1 FROM %2 WHERE ").arg(column, table);
    c.Message = message;
    return c;
}
