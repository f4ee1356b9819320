#include "data/dialect.h"

#include <QRegularExpression>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Index just past the quoted text that starts at `start` ('' is an escaped quote).
qsizetype skipQuoted(const QString& s, qsizetype start)
{
    qsizetype i = start + 1;
    while (i < s.size()) {
        if (s[i] == QLatin1Char('\'')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\'')) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

// Index of the ')' that closes the '(' at `open`, or -1.
qsizetype matchingParen(const QString& s, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < s.size();) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'')) {
            i = skipQuoted(s, i);
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0)
            return i;
        ++i;
    }
    return -1;
}

// Position of a keyword standing on its own outside quotes and parentheses.
qsizetype findTopLevelWord(const QString& s, QLatin1String word)
{
    int depth = 0;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'')) {
            i = skipQuoted(s, i);
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (depth == 0 && (i == 0 || !isWordChar(s[i - 1])) &&
                 QStringView(s).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
                 (i + word.size() >= s.size() || !isWordChar(s[i + word.size()])))
            return i;
        ++i;
    }
    return -1;
}

QString translateSqlite(const QString& sql);

QString substringCall(const QString& inner)
{
    const qsizetype from = findTopLevelWord(inner, QLatin1String("FROM"));
    if (from < 0)
        return QStringLiteral("SUBSTR(") + inner + QLatin1Char(')');
    const QString value = inner.left(from).trimmed();
    QString rest = inner.mid(from + 4);
    const qsizetype forPos = findTopLevelWord(rest, QLatin1String("FOR"));
    if (forPos < 0)
        return QStringLiteral("SUBSTR(%1, %2)").arg(value, rest.trimmed());
    return QStringLiteral("SUBSTR(%1, %2, %3)")
        .arg(value, rest.left(forPos).trimmed(), rest.mid(forPos + 3).trimmed());
}

QString extractCall(const QString& inner)
{
    const qsizetype from = findTopLevelWord(inner, QLatin1String("FROM"));
    if (from < 0)
        return QStringLiteral("EXTRACT(") + inner + QLatin1Char(')');
    const QString part = inner.left(from).trimmed().toUpper();
    const QString value = inner.mid(from + 4).trimmed();
    QString format;
    if (part == QLatin1String("YEAR"))
        format = QStringLiteral("%Y");
    else if (part == QLatin1String("MONTH"))
        format = QStringLiteral("%m");
    else if (part == QLatin1String("DAY"))
        format = QStringLiteral("%d");
    else
        return QStringLiteral("EXTRACT(") + inner + QLatin1Char(')');
    return QStringLiteral("CAST(STRFTIME('%1', %2) AS INTEGER)").arg(format, value);
}

// The program's own dates come as DATE 'M/D/YYYY' (see SqlDate); SQLite
// keeps them as 'YYYY-MM-DD' text. Text between quotes alone is a value and
// stays as it is, whatever it looks like. Empty when the literal is no date.
QString dateLiteral(const QString& literal)
{
    static const QRegularExpression usDate(QStringLiteral("^'(\\d{1,2})/(\\d{1,2})/(\\d{4})'$"));
    static const QRegularExpression isoDate(QStringLiteral("^'\\d{4}-\\d{2}-\\d{2}'$"));
    if (isoDate.match(literal).hasMatch())
        return literal;
    const QRegularExpressionMatch m = usDate.match(literal);
    if (!m.hasMatch())
        return {};
    return QStringLiteral("'%1-%2-%3'")
        .arg(m.captured(3), m.captured(1).rightJustified(2, QLatin1Char('0')),
             m.captured(2).rightJustified(2, QLatin1Char('0')));
}

QString translateSqlite(const QString& sql)
{
    QString out;
    out.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype end = skipQuoted(sql, i);
            out += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (!isWordChar(c) || (i > 0 && isWordChar(sql[i - 1]))) {
            out += c;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < sql.size() && isWordChar(sql[end]))
            ++end;
        const QString word = sql.mid(i, end - i);
        const bool substring = word.compare(QLatin1String("SUBSTRING"), Qt::CaseInsensitive) == 0;
        const bool extract = word.compare(QLatin1String("EXTRACT"), Qt::CaseInsensitive) == 0;
        qsizetype open = end;
        while (open < sql.size() && sql[open].isSpace())
            ++open;
        if (word.compare(QLatin1String("DATE"), Qt::CaseInsensitive) == 0 && open < sql.size() &&
            sql[open] == QLatin1Char('\'')) {
            const qsizetype close = skipQuoted(sql, open);
            const QString date = dateLiteral(sql.mid(open, close - open));
            if (!date.isEmpty()) {
                out += date;
                i = close;
                continue;
            }
        }
        if ((substring || extract) && open < sql.size() && sql[open] == QLatin1Char('(')) {
            const qsizetype close = matchingParen(sql, open);
            if (close > 0) {
                const QString inner = translateSqlite(sql.mid(open + 1, close - open - 1));
                out += substring ? substringCall(inner) : extractCall(inner);
                i = close + 1;
                continue;
            }
        }
        out += word;
        i = end;
    }
    return out;
}

// SUBSTR(col, 1, n) = 'text of n characters' says "col begins with the
// text"; written as a range it can use an index on the column, which the
// serial-key searches need on a table of years of records.
QString prefixesAsRanges(const QString& sql)
{
    static const QRegularExpression prefix(
        QStringLiteral("SUBSTR\\((\\w+), 1, (\\d+)\\)\\s*=\\s*'((?:[^']|'')*)'"));
    QString out;
    qsizetype last = 0;
    for (auto it = prefix.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString literal = m.captured(3);
        QString text = literal;
        text.replace(QStringLiteral("''"), QStringLiteral("'"));
        if (text.size() != m.captured(2).toInt() || text.isEmpty())
            continue;
        out += sql.mid(last, m.capturedStart() - last);
        out += QStringLiteral("(%1 >= '%2' AND %1 < '%2' || char(1114111))")
                   .arg(m.captured(1), literal);
        last = m.capturedEnd();
    }
    return last == 0 ? sql : out + sql.mid(last);
}

} // namespace

QString TranslateSql(const QString& sql, const QString& driver)
{
    if (driver == QLatin1String("QSQLITE"))
        return prefixesAsRanges(translateSqlite(sql));
    return sql;
}
