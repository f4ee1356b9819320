#include "frame/rights.h"

#include "data/connection.h"
#include "data/helpers.h"

const QStringList& RightColumns()
{
    static const QStringList columns{
        QStringLiteral("ADD_RIGHT"),     QStringLiteral("EDIT_RIGHT"),
        QStringLiteral("DElETE_RIGHT"),  QStringLiteral("BROWSE_RIGHT"),
        QStringLiteral("PRINT_RIGHT"),   QStringLiteral("VERIFY_RIGHT"),
        QStringLiteral("CURRENCY_RIGHT")};
    return columns;
}

TRights GetRights(const QString& group, const QString& program, const QString& userId)
{
    const int composeId = int(GetSQLNumber(
        kDatabaseName,
        QStringLiteral("SELECT COMPOSE_ID FROM  SYS_COMPOSE_TABLE WHERE COMPOSE_NAME =") +
            QuotedStr(group)));
    const int programId = int(GetSQLNumber(
        kDatabaseName, QStringLiteral("SELECT PROGRAM_ID FROM  SYS_PROGRAM_TABLE WHERE "
                                      "PROGRAM_NAME =%1 and COMPOSE_ID =%2")
                           .arg(QuotedStr(program))
                           .arg(composeId)));
    auto row = OpenSQL(kDatabaseName, QStringLiteral("SELECT * FROM  SYS_RIGHT_TABLE WHERE "
                                                     "COMPOSE_ID =%1 and PROGRAM_ID =%2 and "
                                                     "USE_ID =%3")
                                          .arg(composeId)
                                          .arg(programId)
                                          .arg(QuotedStr(userId)));
    TRights rights;
    if (!row->next())
        return rights;
    auto yes = [&row](const char* column) {
        return row->value(QString::fromLatin1(column)).toString() == QStringLiteral("是");
    };
    rights.Add = yes("ADD_RIGHT");
    rights.Edit = yes("EDIT_RIGHT");
    rights.Delete = yes("DELETE_RIGHT");
    rights.Browse = yes("BROWSE_RIGHT");
    rights.Print = yes("PRINT_RIGHT");
    rights.Verify = yes("VERIFY_RIGHT");
    rights.Currency = yes("CURRENCY_RIGHT");
    return rights;
}

QString ReadRight(const QString& userId, int composeId, int programId, int rightIndex)
{
    const QString value = GetSQLValue(
        kDatabaseName, QStringLiteral("SELECT %1 FROM SYS_RIGHT_TABLE WHERE USE_ID = %2 AND "
                                      "COMPOSE_ID = %3 AND PROGRAM_ID = %4")
                           .arg(RightColumns().value(rightIndex), QuotedStr(userId))
                           .arg(composeId)
                           .arg(programId));
    return value.isEmpty() ? QStringLiteral("否") : value;
}

void WriteRight(const QString& userId, int composeId, int programId, int rightIndex,
                const QString& value, const QString& dbName)
{
    if (dbName.isEmpty()) {
        ShowMsg(QStringLiteral("DataBaseName必须有一个值"));
        return;
    }
    const QString column = RightColumns().value(rightIndex);
    const QString where = QStringLiteral("USE_ID = %1 AND COMPOSE_ID = %2 AND PROGRAM_ID = %3")
                              .arg(QuotedStr(userId))
                              .arg(composeId)
                              .arg(programId);
    auto existing = OpenSQL(dbName, QStringLiteral("SELECT * FROM SYS_RIGHT_TABLE WHERE ") + where);
    const bool found = existing->next();
    existing.reset();
    if (found)
        RunSQL(dbName, QStringLiteral("UPDATE SYS_RIGHT_TABLE SET %1 = %2 WHERE %3 ")
                           .arg(column, QuotedStr(value), where));
    else
        RunSQL(dbName, QStringLiteral(" INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,PROGRAM_ID, "
                                      "%1) VALUES(%2, %3,%4,%5)")
                           .arg(column, QuotedStr(userId))
                           .arg(composeId)
                           .arg(programId)
                           .arg(QuotedStr(value)));
}

void WriteRight(const QString& userId, int composeId, int programId, int rightIndex,
                const QString& value)
{
    WriteRight(userId, composeId, programId, rightIndex, value, kDatabaseName);
}
