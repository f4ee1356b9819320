#include "frame/settings.h"

#include "session/app_globals.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "platform/clock.h"
#include "platform/config.h"

namespace {
const QString kRegistryError = QStringLiteral("注册表打开错误");
}

bool GetSysFlag(const QString& name)
{
    return GetSysValue(name) == QStringLiteral("是");
}

QString GetSysValue(const QString& name)
{
    return GetSQLValue(kDatabaseName,
                       QStringLiteral("SELECT AUTO_ID FROM SYS_ID_TABLE WHERE NAME_ID = ") +
                           QuotedStr(name));
}

void SetSysValue(const QString& name, const QString& value)
{
    QString sql;
    if (GetSQLNumber(kDatabaseName,
                     QStringLiteral("SELECT COUNT(AUTO_ID) FROM SYS_ID_TABLE WHERE NAME_ID = ") +
                         QuotedStr(name)) > 0)
        sql = QStringLiteral("UPDATE SYS_ID_TABLE SET AUTO_ID = %1  WHERE NAME_ID = %2")
                  .arg(QuotedStr(value), QuotedStr(name));
    else
        sql = QStringLiteral("INSERT INTO SYS_ID_TABLE(NAME_ID,AUTO_ID) VALUES(%1,%2)")
                  .arg(QuotedStr(name), QuotedStr(value));
    if (!RunSQL(kDatabaseName, sql))
        ShowMsg(QStringLiteral("参数保存过程发生错误"));
}

void WriteRegString(const QString& name, const QString& value)
{
    if (!config::WriteValue(name, value))
        ShowMsg(kRegistryError);
}

QString ReadRegString(const QString& name)
{
    QString value;
    if (!config::ReadValue(name, value))
        ShowMsg(kRegistryError);
    return value;
}

QString ReadRegInteger(const QString& name)
{
    const QString value = ReadRegString(name);
    bool ok = false;
    value.trimmed().toInt(&ok);
    return ok ? value.trimmed() : QString();
}

void RefreshWorkDate()
{
    AppGlobals.WorkDate = CurrentDate().toString(QStringLiteral("yyyy-MM-dd"));
}
