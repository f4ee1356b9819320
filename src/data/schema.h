#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The tables of the database: columns in stored order with their types and
// widths, and the keys. The widths let the record sets refuse values that
// would not fit.
enum class ColumnType { Text, Number, Integer, Date, Blob };

struct ColumnDef
{
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0; // GBK bytes, for text columns
};

struct TableDef
{
    QString name;
    QList<ColumnDef> columns;
    QStringList key;
};

const QList<TableDef>& SchemaTables();
// Case-insensitive; nullptr when unknown.
const TableDef* FindTable(const QString& tableName);
const ColumnDef* FindColumn(const QString& tableName, const QString& columnName);

// "CREATE TABLE …" for a table on the given Qt SQL driver.
QString CreateTableSql(const TableDef& table, const QString& driver);
// Indexes that keep the lists, checks and serial keys quick on years of rows.
QStringList IndexesSql();
// The reference rows delivered with a new database, as INSERT statements.
QStringList ReferenceRowsSql();
