#include "data/connection.h"

#include "data/errors.h"
#include "data/schema.h"
#include "platform/config.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

QString SqliteFilePath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("kwfast.sqlite"));
}

void PrepareSession(QSqlDatabase& db)
{
    if (db.driverName() == QLatin1String("QPSQL"))
        QSqlQuery(db).exec(QStringLiteral("SET DATESTYLE TO 'ISO, MDY'"));
}

QSqlDatabase OpenKWfastDataBase()
{
    if (QSqlDatabase::contains(kDatabaseName)) {
        QSqlDatabase db = QSqlDatabase::database(kDatabaseName, false);
        if (db.isOpen())
            return db;
        QSqlDatabase::removeDatabase(kDatabaseName);
    }
    const config::Alias alias = config::ReadAlias(kAliasName);
    QSqlDatabase db = QSqlDatabase::addDatabase(alias.driver, kDatabaseName);
    if (alias.driver == QLatin1String("QSQLITE")) {
        const QString file = SqliteFilePath(alias.path);
        // SQLite would quietly create an empty file; a missing database is an error.
        if (!QFileInfo::exists(file))
            throw DatabaseError(DatabaseError::Condition::CannotOpen, QStringLiteral("14"),
                                QStringLiteral("unable to open database file: ") + file);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db.setHostName(alias.host);
        if (alias.port > 0)
            db.setPort(alias.port);
        db.setDatabaseName(alias.databaseName);
        db.setUserName(alias.user);
        db.setPassword(alias.password);
    }
    if (!db.open()) {
        const QSqlError error = db.lastError();
        throw DatabaseError(DatabaseError::Condition::CannotOpen, error.nativeErrorCode(),
                            error.text());
    }
    PrepareSession(db);
    return db;
}

void CloseKWfastDataBase()
{
    if (!QSqlDatabase::contains(kDatabaseName))
        return;
    QSqlDatabase::database(kDatabaseName, false).close();
    QSqlDatabase::removeDatabase(kDatabaseName);
}

QString InstallDatabase(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("不能建立文件夹 ") + folder;
    const QString file = SqliteFilePath(folder);
    if (QFileInfo::exists(file))
        return QStringLiteral("数据库已经存在: ") + file;

    const QString connection = QStringLiteral("kwfast-install");
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery query(db);
            db.transaction();
            QStringList statements;
            for (const TableDef& table : SchemaTables())
                statements << CreateTableSql(table, db.driverName());
            statements << IndexesSql() << ReferenceRowsSql();
            for (const QString& sql : statements) {
                if (!query.exec(sql)) {
                    failure = query.lastError().text() + QStringLiteral(": ") + sql;
                    break;
                }
            }
            if (failure.isEmpty())
                db.commit();
            else
                db.rollback();
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.isEmpty())
        QFile::remove(file);
    return failure;
}
