#pragma once

#include <QString>

// The installation's own settings: the database alias and the values the
// program keeps under SOFTWARE\KWSOFTWARE. One INI file,
// $KWFAST_HOME/kwsoftware.ini (default ~/.config/kwsoftware/).
namespace config {

QString HomeFolder();
QString IniPath();

// The alias names a database: its engine and, for SQLite, the folder of the
// tables; for PostgreSQL the server as well.
struct Alias
{
    QString driver = QStringLiteral("QSQLITE");
    QString path; // folder of the tables and of the waybill pictures
    QString host;
    int port = 0;
    QString databaseName;
    QString user;
    QString password;
};

bool AliasExists(const QString& aliasName);
Alias ReadAlias(const QString& aliasName);
// False when the file cannot be written.
bool WriteAlias(const QString& aliasName, const Alias& alias);

// False when the store cannot be opened for reading (value stays empty).
bool ReadValue(const QString& name, QString& value);
// False when the store cannot be opened for writing.
bool WriteValue(const QString& name, const QString& value);

} // namespace config
