#include "data/record_rows.h"

#include "data/dates.h"
#include "data/errors.h"
#include "platform/prompts.h"

#include <QLocale>
#include <QSqlField>
#include <QVariant>

namespace {

void appendVarint(QByteArray& out, quint32 v)
{
    while (v >= 0x80) {
        out.append(char((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

quint32 readVarint(const char*& p)
{
    quint32 v = 0;
    int shift = 0;
    while (true) {
        const auto byte = quint8(*p++);
        v |= quint32(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return v;
        shift += 7;
    }
}

} // namespace

namespace record_rows {

QByteArray packRow(const QStringList& values)
{
    QByteArray out;
    for (const QString& v : values) {
        if (v.isNull()) {
            appendVarint(out, 0);
            continue;
        }
        const QByteArray utf8 = v.toUtf8();
        appendVarint(out, quint32(utf8.size()) + 1);
        out.append(utf8);
    }
    out.squeeze();
    return out;
}

QStringList unpackRow(const QByteArray& packed, int columns)
{
    QStringList values;
    values.reserve(columns);
    const char* p = packed.constData();
    const char* end = p + packed.size();
    while (p < end) {
        const quint32 length = readVarint(p);
        if (length == 0) {
            values << QString();
        } else {
            values << QString::fromUtf8(p, length - 1);
            p += length - 1;
        }
    }
    while (values.size() < columns)
        values << QString();
    return values;
}

QString unpackCell(const QByteArray& packed, int column)
{
    const char* p = packed.constData();
    const char* end = p + packed.size();
    for (int i = 0; p < end; ++i) {
        const quint32 length = readVarint(p);
        if (i == column)
            return length == 0 ? QString() : QString::fromUtf8(p, length - 1);
        if (length > 0)
            p += length - 1;
    }
    return {};
}

ColumnType typeOfField(const QSqlField& f)
{
    switch (f.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return ColumnType::Integer;
    case QMetaType::Double:
        return ColumnType::Number;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return ColumnType::Date;
    case QMetaType::QByteArray:
        return ColumnType::Blob;
    default:
        return ColumnType::Text;
    }
}

QString valueText(const QVariant& v)
{
    if (v.isNull())
        return {};
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return DateText(v.toDate());
    case QMetaType::QDateTime:
        return DateText(v.toDateTime().date());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

bool isNumber(const QString& text)
{
    bool ok = false;
    QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

void refuse(const QString& message)
{
    ShowMsg(message);
    Abort();
}

} // namespace record_rows
