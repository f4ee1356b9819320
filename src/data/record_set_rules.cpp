#include "data/record_set.h"

#include "data/dates.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_rows.h"
#include "platform/clock.h"
#include "platform/gbk.h"

#include <QSqlRecord>
#include <cmath>

// The record set's rules: status locks, values of new rows with their
// generated keys, and the checks before a row is saved.
using namespace record_rows;

namespace {

// Status texts in the messages are set between Chinese quotes, with the
// blanks exactly as the program has always shown them.
QString quoted(const char* before, const QString& status, const char* after)
{
    return QString::fromUtf8(before) + status + QString::fromUtf8(after);
}

enum class Verdict { Free, Forbidden, NotAllowed };

// Whether a record set's current row is locked by its status lists.
Verdict statusVerdict(const TKWQuery& q, const QStringList& forbidden, const QStringList& allowed,
                      QString& status)
{
    status = q.FieldText(QStringLiteral("STATUS")).trimmed();
    if (!q.ActiveStatus || status.isEmpty())
        return Verdict::Free;
    if (!forbidden.isEmpty())
        return forbidden.contains(status) ? Verdict::Forbidden : Verdict::Free;
    if (!allowed.isEmpty() && !allowed.contains(status))
        return Verdict::NotAllowed;
    return Verdict::Free;
}

} // namespace

void TKWQuery::checkOwnStatusForEdit() const
{
    QString s;
    if (statusVerdict(*this, m_forbidden, m_allowed, s) != Verdict::Free)
        refuse(quoted("状态为： “ ", s, " ”  的记录不能编辑"));
}

void TKWQuery::checkMasterStatusForEdit() const
{
    if (!QyMaster || QyMaster->IsEmpty())
        return;
    QString s;
    const Verdict v = statusVerdict(*QyMaster, QyMaster->m_forbidden, QyMaster->m_allowed, s);
    if (v == Verdict::Forbidden)
        refuse(StatusMsg.isEmpty() ? quoted("主档纪录状态为：  “", s, " ”  的记录不能编辑")
                                   : StatusMsg + quoted("的状态是 “", s, " ” , 不能修改记录"));
    if (v == Verdict::NotAllowed)
        refuse(StatusMsg.isEmpty() ? quoted("主档纪录状态为： “ ", s, " ”的记录不能编辑")
                                   : StatusMsg + quoted("的状态是 “ ", s, " ” , 不能修改记录"));
}

void TKWQuery::checkOwnStatusForDelete() const
{
    QString s;
    const Verdict v = statusVerdict(*this, m_forbidden, m_allowed, s);
    if (v == Verdict::Forbidden)
        refuse(quoted("状态为：  “ ", s, " ”   的记录不能删除"));
    if (v == Verdict::NotAllowed)
        refuse(quoted("状态为： “ ", s, " ”   的记录不能删除"));
}

void TKWQuery::checkMasterStatusForDelete() const
{
    if (!QyMaster || QyMaster->IsEmpty())
        return;
    QString s;
    if (statusVerdict(*QyMaster, QyMaster->m_forbidden, QyMaster->m_allowed, s) != Verdict::Free)
        refuse(StatusMsg.isEmpty() ? quoted("主档纪录状态为： “ ", s, " ”   的记录不能删除")
                                   : StatusMsg + quoted("的状态是 “ ", s, " ” , 该记录不能删除"));
}

void TKWQuery::checkMasterStatusForInsert() const
{
    if (!QyMaster)
        return;
    if (QyMaster->IsEmpty())
        refuse(QStringLiteral("主数据库页面没有数据纪录，从数据页面不能有新的纪录"));
    QString s;
    const Verdict v = statusVerdict(*QyMaster, QyMaster->m_forbidden, QyMaster->m_allowed, s);
    if (v == Verdict::Forbidden)
        refuse(StatusMsg.isEmpty() ? quoted("主档纪录状态为：  “", s, " ”  的从档不能增加新记录")
                                   : StatusMsg + quoted("的状态是 “", s, " ” , 不能增加新的记录"));
    if (v == Verdict::NotAllowed)
        refuse(StatusMsg.isEmpty() ? quoted("主档纪录状态为： “ ", s, " ”的从档不能增加新记录")
                                   : StatusMsg + quoted("的状态是 “ ", s, " ” , 不能增加新的记录"));
}

bool TKWQuery::FillInsertValues()
{
    for (const TInsertData& rule : m_insertData) {
        if (!applyInsertRule(rule)) {
            ShowErrorMsg(QStringLiteral("数据插入错误"));
            return false;
        }
    }
    return true;
}

bool TKWQuery::FillInsertValue(const QString& fieldName)
{
    static const QString keyKinds = QStringLiteral("TCYMD");
    for (const TInsertData& rule : m_insertData) {
        if (rule.FieldName.compare(fieldName, Qt::CaseInsensitive) != 0)
            continue;
        if (!keyKinds.contains(rule.Kind.toUpper()))
            continue;
        return applyInsertRule(rule);
    }
    return false;
}

bool TKWQuery::applyInsertRule(const TInsertData& rule)
{
    const QString kind = rule.Kind.toUpper();
    if (kind == QLatin1String("A") || kind == QLatin1String("L")) {
        if (rule.Value.isEmpty()) {
            ShowMsg(rule.Caption + QStringLiteral("字段需插入的值是空的"));
            return false;
        }
        if (!HasField(rule.FieldName))
            return true;
        // A logical column holds 是/否 like every yes/no column here.
        SetFieldText(rule.FieldName, kind == QLatin1String("A")           ? rule.Value
                                     : rule.Value == QStringLiteral("是") ? QStringLiteral("是")
                                                                          : QStringLiteral("否"));
        return true;
    }
    if (kind == QLatin1String("B")) {
        if (HasField(rule.FieldName) && rule.SourceData)
            SetFieldText(rule.FieldName, rule.SourceData->FieldText(rule.Value));
        return true;
    }
    if (kind == QLatin1String("T")) {
        if (HasField(rule.FieldName))
            setGeneratedKey(rule.FieldName, rule.Prefix + CurrentDateTime().toString(
                                                              QStringLiteral("yyMMddHHmmss")));
        return true;
    }
    if (kind == QLatin1String("C") || kind == QLatin1String("Y") || kind == QLatin1String("M") ||
        kind == QLatin1String("D")) {
        if (!HasField(rule.FieldName))
            return true;
        QString value;
        if (!serialKey(rule, value))
            return false;
        setGeneratedKey(rule.FieldName, value);
        return true;
    }
    return true;
}

void TKWQuery::setGeneratedKey(const QString& fieldName, const QString& value)
{
    SetFieldText(fieldName, value);
    m_generated.insert(fieldName.toUpper(), value);
}

// A key the operator typed or changed is the operator's: a clash is refused,
// never answered with another number.
bool TKWQuery::holdsGeneratedKey(const QString& fieldName) const
{
    const auto it = m_generated.constFind(fieldName.toUpper());
    return m_state == TDataSetState::dsInsert && it != m_generated.cend() &&
           FieldText(fieldName) == *it;
}

bool TKWQuery::serialKey(const TInsertData& rule, QString& value)
{
    if (m_tableName.isEmpty()) {
        ShowMsg(objectName() + QStringLiteral("必须有一个表名"));
        return false;
    }
    const QString kind = rule.Kind.toUpper();
    QString datePart;
    if (kind == QLatin1String("Y"))
        datePart = YearMonth.left(4);
    else if (kind == QLatin1String("M"))
        datePart = YearMonth;
    else if (kind == QLatin1String("D")) {
        if (Day.isEmpty()) {
            ShowMsg(QStringLiteral("没有Day值"));
            return false;
        }
        datePart = Day;
    }
    const QString& P = rule.Prefix;
    const QString& F = rule.FieldName;
    const QString& T = m_tableName;
    const int L = int(P.size());
    const int K = int(datePart.size());
    const int W = rule.Width;
    const int N = W - K;
    const QString n = QString::number(W);
    QString sql;
    if (kind == QLatin1String("C")) {
        if (W == 0)
            sql = QStringLiteral("SELECT MAX(") + F + QStringLiteral(") From ") + T;
        else if (P.isEmpty())
            sql = QStringLiteral("SELECT MAX(SubString(%1 FROM 1 FOR %2)) From %3").arg(F, n, T);
        else
            sql = QStringLiteral("SELECT MAX(SubString(%1 FROM %2 FOR %3)) From %4 WHERE "
                                 "SubString(%1 FROM 1 FOR %5) = %6")
                      .arg(F, QString::number(L + 1), n, T, QString::number(L), QuotedStr(P));
    } else if (P.isEmpty()) {
        sql = QStringLiteral("SELECT MAX(SubString(%1 FROM %2 FOR %3)) From %4 WHERE "
                             "SubString(%1 FROM 1 FOR %5)= %6")
                  .arg(F, QString::number(K + 1), n, T, QString::number(K), QuotedStr(datePart));
    } else {
        sql = QStringLiteral("SELECT MAX(SubString(%1 FROM %2 FOR %3)) From %4 WHERE "
                             "SubString(%1 FROM %5 FOR %6)= %7 AND  SubString(%1 FROM 1 FOR %8) "
                             "= %9")
                  .arg(F, QString::number(L + K + 1), n, T, QString::number(L + 1),
                       QString::number(K), QuotedStr(datePart), QString::number(L), QuotedStr(P));
    }
    if (!rule.Condition.isEmpty())
        sql += (sql.contains(QLatin1String("WHERE")) ? QStringLiteral(" AND ")
                                                     : QStringLiteral(" WHERE ")) +
               rule.Condition;

    QString maximum;
    try {
        maximum = GetSQLValue(DatabaseName, sql);
    } catch (const DatabaseError&) {
        ShowMsg(QStringLiteral("数据库操作过程发生错误"));
        return false;
    }
    if (kind == QLatin1String("C") && W == 0) {
        value = P + QString::number(qint64(ParseNumber(maximum)) + 1);
        return true;
    }
    const qint64 next = qint64(ParseNumber((maximum + QStringLiteral("000000000")).left(N))) + 1;
    value = P + datePart + (QStringLiteral("000000000") + QString::number(next)).right(N);
    return true;
}

bool TKWQuery::validate()
{
    for (const TFieldsData& d : m_fieldsData) {
        if (!HasField(d.FieldName))
            continue;
        const QString text = FieldText(d.FieldName);
        QString failure;
        if (d.Required && text.isEmpty())
            failure = d.DisplayLabel + QStringLiteral("必须有一个值");
        else if (d.DataType == QLatin1String("N") && !text.trimmed().isEmpty() && !isNumber(text))
            failure = d.DisplayLabel + QStringLiteral("是错误的数据");
        else if (d.DataType == QLatin1String("D") && !text.trimmed().isEmpty()) {
            const QDate date = ParseUserDate(text);
            if (date.isValid())
                SetFieldText(d.FieldName, DateText(date));
            else
                failure = InvalidDateMessage();
        }
        if (!failure.isEmpty()) {
            ShowMsg(failure);
            focus(d.Control);
            return false;
        }
    }
    for (const TCheckData& check : m_checks)
        if (!check.BaseSQL.isEmpty() && !runCheck(check))
            return false;
    return true;
}

QString TKWQuery::checkStatement(const TCheckData& check, bool& skip) const
{
    QStringList parts;
    skip = false;
    for (const TCheckCondition& c : check.Conditions) {
        if (c.FieldName.isEmpty() || c.ColumnName.isEmpty())
            continue;
        const QString value = c.FixedValue.isEmpty() ? FieldText(c.FieldName) : c.FixedValue;
        if (value.isEmpty() && check.SkipIfEmpty) {
            skip = true;
            return {};
        }
        QString literal;
        if (c.DataType == QLatin1String("N"))
            literal = isNumber(value) ? value.trimmed() : QuotedStr(value);
        else if (c.DataType == QLatin1String("D"))
            literal = SqlDate(DateText(ParseUserDate(value)));
        else
            literal = QuotedStr(value);
        parts << c.ColumnName + QLatin1Char('=') + literal;
    }
    return check.BaseSQL + parts.join(QStringLiteral(" and ")) + check.ExtraSQL;
}

bool TKWQuery::runCheck(const TCheckData& check)
{
    if (!check.KeyField.isEmpty() && !HasField(check.KeyField))
        return true;
    if (check.MustBeUnique && m_state != TDataSetState::dsInsert) {
        bool changed = false;
        for (const TCheckCondition& c : check.Conditions)
            if (!c.FieldName.isEmpty() && !c.ColumnName.isEmpty() &&
                FieldText(c.FieldName) != c.OldValue)
                changed = true;
        if (!changed)
            return true;
    }
    bool skip = false;
    QString sql = checkStatement(check, skip);
    if (skip)
        return true;
    try {
        auto found = OpenSQL(DatabaseName, sql);
        bool exists = found->next();
        if (check.MustBeUnique && exists && !check.NoRegenerate &&
            holdsGeneratedKey(check.KeyField) && FillInsertValue(check.KeyField)) {
            sql = checkStatement(check, skip);
            found = OpenSQL(DatabaseName, sql);
            exists = found->next();
        }
        const bool failed = check.MustBeUnique ? exists : !exists;
        if (failed) {
            if (check.AskOnly && (m_acceptedQuestions.contains(sql) || AskYesNo(check.Message))) {
                m_acceptedQuestions.insert(sql);
                return true;
            }
            if (!check.AskOnly)
                ShowMsg(check.Message);
            focus(check.Control ? check.Control : fieldControl(check.KeyField));
            return false;
        }
        if (!check.MustBeUnique && !check.FillFields.isEmpty()) {
            const QStringList targets = check.FillFields.split(QLatin1Char(','));
            for (int i = 0; i < targets.size() && i < found->record().count(); ++i)
                if (HasField(targets[i].trimmed()))
                    SetFieldText(targets[i].trimmed(), valueText(found->value(i)));
        }
        return true;
    } catch (const DatabaseError&) {
        ShowMsg(QStringLiteral("数据库操作过程发生错误"));
        return false;
    }
}

// A value wider than its column is refused, never cut.
bool TKWQuery::checkWidths()
{
    for (int i = 0; i < m_fields.size(); ++i) {
        const TKWField& f = m_fields[i];
        if (f.type != ColumnType::Text || f.size <= 0 || GbkByteLength(m_buffer[i]) <= f.size)
            continue;
        ShowMsg(QStringLiteral("数据太大,不能保存数据"));
        focus(fieldControl(f.name));
        return false;
    }
    return true;
}
