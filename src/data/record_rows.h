#pragma once

#include "data/schema.h"

#include <QByteArray>
#include <QStringList>

class QSqlField;
class QVariant;

// What the parts of the record set share.
namespace record_rows {

// A row is kept as one byte array: per column a length (0 for NULL, else
// bytes + 1) as a varint, then the UTF-8 bytes. A desk keeps years of
// records; this keeps them to a few hundred bytes each.
QByteArray packRow(const QStringList& values);
QStringList unpackRow(const QByteArray& packed, int columns);
QString unpackCell(const QByteArray& packed, int column);

ColumnType typeOfField(const QSqlField& f);
// A value read from the database as the record set holds it.
QString valueText(const QVariant& v);
bool isNumber(const QString& text);
// Shows the refusal, then aborts silently.
[[noreturn]] void refuse(const QString& message);

} // namespace record_rows
