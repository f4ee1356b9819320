#pragma once

// The message boxes live with the prompts; most callers of these helpers use them.
#include "platform/prompts.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

class QSaveFile;

// A value between single quotes, its own quotes doubled.
QString QuotedStr(const QString& value);
// A stored date "YYYY-MM-DD" as the SQL literal DATE 'MM/DD/YYYY', NULL when
// it is no date. Every date the program puts into a statement is written so:
// the dialect rewrites these and never a value between quotes alone.
QString SqlDate(const QString& isoDate);
// Fills %s, %d, %f, %g in order with the arguments' texts; %% is a percent sign.
QString FormatSql(const QString& format, const QVariantList& args);

// One-shot statements on a named connection; each call makes and drops its
// own query. RunSQL never throws; the others pass database errors on as
// DatabaseError after releasing the query.
bool RunSQL(const QString& dbName, const QString& sql);
std::unique_ptr<QSqlQuery> OpenSQL(const QString& dbName, const QString& sql);
QString GetSQLValue(const QString& dbName, const QString& sql);
double GetSQLNumber(const QString& dbName, const QString& sql);
// One column: its value; several: a QVariantList of the first row; no row: invalid.
QVariant GetSQLRow(const QString& dbName, const QString& sql);

template <typename... Args>
bool RunSQLFmt(const QString& dbName, const QString& format, const Args&... args)
{
    return RunSQL(dbName, FormatSql(format, {QVariant::fromValue(args)...}));
}

template <typename... Args>
QString GetSQLValueFmt(const QString& dbName, const QString& format, const Args&... args)
{
    return GetSQLValue(dbName, FormatSql(format, {QVariant::fromValue(args)...}));
}

// Numbers and texts.
double ParseNumber(const QString&);
QString RoundText(int decimals, const QString& mode, double value);
QString AmountToChinese(const QString&);
QString ZeroPad(const QString&, int width);
QString ExtractField(const QString& text, const QString& separator, int index);
int MaxInt(int a, int b);
int MinInt(int a, int b);

// Files and folders. Folders are written with "/".
bool IsDirectory(const QString& path);
// The temporary folder, with a trailing "/".
QString TempFolder();
QString FileFolder(const QString& path);
QString AliasPath(const QString& aliasName);
// Copies a file, or a folder with its contents. An existing folder as the
// destination receives the source inside it; otherwise the destination
// becomes the copy. Existing files are replaced without asking.
bool CopyFiles(const QString& source, const QString& destination);
// Copies a file into `staged`, which writes beside the file it replaces: the
// old file stays untouched until the caller commits, and a failed copy (the
// disk full, the source unreadable) leaves it as it was. False on failure.
bool StageFileCopy(const QString& source, QSaveFile& staged);
