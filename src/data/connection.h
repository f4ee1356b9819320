#pragma once

#include <QSqlDatabase>
#include <QString>

// The one named connection of the program. It lives on the GUI thread;
// every record set and one-shot statement reaches the tables through it.
inline const QString kDatabaseName = QStringLiteral("KWfastDataBase");
inline const QString kAliasName = QStringLiteral("fastLink");

// The SQLite file inside the alias folder.
QString SqliteFilePath(const QString& folder);

// Opens KWfastDataBase from the alias (once; later calls return it).
// Throws DatabaseError when the database cannot be opened.
QSqlDatabase OpenKWfastDataBase();
void CloseKWfastDataBase();

// Makes a driver session speak the program's date form (month/day/year).
void PrepareSession(QSqlDatabase& db);

// Creates, in `folder`, a new database with every table and the reference
// rows. Returns an empty text on success, else what went wrong.
QString InstallDatabase(const QString& folder);
