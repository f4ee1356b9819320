#include "data/record_set.h"

#include "controls/data_source.h"
#include "data/connection.h"
#include "data/dates.h"
#include "data/dialect.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "platform/clock.h"
#include "platform/gbk.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>

namespace {

// A row is kept as one byte array: per column a length (0 for NULL, else
// bytes + 1) as a varint, then the UTF-8 bytes. A desk keeps years of
// records; this keeps them to a few hundred bytes each.
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

// Status texts in the messages are set between Chinese quotes, with the
// blanks exactly as the program has always shown them.
QString quoted(const char* before, const QString& status, const char* after)
{
    return QString::fromUtf8(before) + status + QString::fromUtf8(after);
}

} // namespace

TKWQuery::TKWQuery(QObject* parent) : QObject(parent), DatabaseName(kDatabaseName) {}

TKWQuery::~TKWQuery() = default;

void TKWQuery::SetTableName(const QString& name)
{
    if (name == m_tableName)
        return;
    m_tableName = name;
    SQL = QStringLiteral("SELECT  *  FROM  ") + name;
}

void TKWQuery::SetFieldsData(const TFieldsDataArray& fields)
{
    m_fieldsData = fields;
    if (Active()) {
        applyFieldDefinitions();
        // Views rebuild their columns from the new definitions.
        Q_EMIT rowsReset();
    }
}

void TKWQuery::SetCheckData(const TCheckDataArray& checks)
{
    m_checks = checks;
}

void TKWQuery::SetInsertData(const TInsertDataArray& values)
{
    m_insertData = values;
}

void TKWQuery::SetEditData(const TEditDataArray& values)
{
    m_editData = values;
}

QSqlDatabase TKWQuery::database() const
{
    return QSqlDatabase::database(DatabaseName, false);
}

void TKWQuery::setState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

// ---- opening and closing -------------------------------------------------

void TKWQuery::OpenData()
{
    if (QyDetail)
        QyDetail->CloseData();
    if (Active())
        return;
    Q_EMIT aboutToOpen();

    QSqlDatabase db = database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!db.isOpen() || !query.exec(TranslateSql(SQL, db.driverName()))) {
        ShowMsg(QStringLiteral("数据库操作过程发生错误"));
        Abort();
    }
    const QSqlRecord record = query.record();
    const QSqlRecord tableRecord = m_tableName.isEmpty() ? QSqlRecord() : db.record(m_tableName);
    m_fields.clear();
    m_fieldIndex.clear();
    for (int i = 0; i < record.count(); ++i) {
        TKWField f;
        f.name = record.fieldName(i);
        const ColumnDef* column = FindColumn(m_tableName, f.name);
        f.type = column ? column->type : typeOfField(record.field(i));
        f.size = column ? column->width : 0;
        f.caption = f.name;
        f.stored = tableRecord.indexOf(f.name) >= 0;
        f.displayWidth = f.size > 0 ? qMin(f.size, 40) : 10;
        m_fieldIndex.insert(f.name.toUpper(), i);
        m_fields << f;
    }
    const int columns = int(m_fields.size());
    QStringList values;
    while (query.next()) {
        values.clear();
        for (int i = 0; i < columns; ++i)
            values << valueText(query.value(i));
        m_rows << packRow(values);
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_cache.clear();
    applyFieldDefinitions();
    setState(TDataSetState::dsBrowse);
    Q_EMIT rowsReset();
    Q_EMIT currentChanged(m_current);
    Q_EMIT columnsChanged();
    if (AfterOpen)
        AfterOpen();
    if (AfterScroll)
        AfterScroll();
}

void TKWQuery::CloseData()
{
    if (!Active())
        return;
    m_rows.clear();
    m_buffer.clear();
    m_cache.clear();
    m_current = -1;
    setState(TDataSetState::dsInactive);
    Q_EMIT rowsReset();
    Q_EMIT columnsChanged();
}

void TKWQuery::ApplyStoredLayout(QList<TStoredColumn> layout)
{
    m_displayOrder.clear();
    if (!layout.isEmpty())
        applyLayout(layout);
    if (Active()) {
        applyFieldDefinitions();
        Q_EMIT rowsReset();
    }
}

void TKWQuery::applyLayout(QList<TStoredColumn> layout)
{
    std::stable_sort(
        layout.begin(), layout.end(),
        [](const TStoredColumn& a, const TStoredColumn& b) { return a.Order < b.Order; });
    for (const TStoredColumn& c : layout)
        m_displayOrder << c.FieldName;
    for (TFieldsData& d : m_fieldsData) {
        auto stored = std::find_if(layout.cbegin(), layout.cend(), [&d](const TStoredColumn& c) {
            return c.FieldName.compare(d.FieldName, Qt::CaseInsensitive) == 0;
        });
        if (stored == layout.cend()) {
            d.Visible = false;
            continue;
        }
        if (d.DisplayWidth == -1)
            continue;
        const int characters = int(std::lround(stored->Width * 0.16));
        if (characters >= 2) {
            d.DisplayWidth = characters;
        } else {
            // A column that carries a total comes back at its default width.
            d.DisplayWidth = 0;
            if (d.FooterKind != QLatin1String("@Count") && d.FooterKind != QLatin1String("@Sum"))
                d.Visible = false;
        }
    }
}

void TKWQuery::applyFieldDefinitions()
{
    if (m_fields.size() < 2 || m_fieldsData.isEmpty())
        return;
    for (TKWField& f : m_fields) {
        const TFieldsData* entry = nullptr;
        for (const TFieldsData& d : m_fieldsData)
            if (d.FieldName.compare(f.name, Qt::CaseInsensitive) == 0)
                entry = &d;
        if (!entry) {
            f.visible = false;
            continue;
        }
        if (f.tag == 0) {
            if (entry->DataType == QLatin1String("N"))
                f.displayWidth = 13;
            else if (entry->DataType == QLatin1String("D"))
                f.displayWidth = 10;
        }
        f.caption = entry->DisplayLabel;
        if (entry->DisplayWidth > 0)
            f.displayWidth = entry->DisplayWidth;
        f.visible = entry->Visible;
        if (entry->DisplayWidth == -1) {
            f.visible = true;
            f.displayWidth = 0;
        }
    }
}

// ---- cursor and fields ---------------------------------------------------

void TKWQuery::SetRecNo(int row)
{
    if (m_rows.isEmpty())
        return;
    row = qBound(0, row, int(m_rows.size()) - 1);
    if (row == m_current)
        return;
    // Moving away from a row being edited keeps it: the platform posts it.
    if (Editing())
        SaveData();
    m_current = row;
    Q_EMIT currentChanged(row);
    if (AfterScroll)
        AfterScroll();
}

int TKWQuery::FieldIndex(const QString& name) const
{
    return m_fieldIndex.value(name.toUpper(), -1);
}

const TKWField* TKWQuery::field(const QString& name) const
{
    const int i = FieldIndex(name);
    return i < 0 ? nullptr : &m_fields[i];
}

QString TKWQuery::FieldText(const QString& name) const
{
    const int i = FieldIndex(name);
    if (i < 0 || m_current < 0)
        return {};
    if (Editing())
        return m_buffer.value(i);
    return unpackCell(m_rows[m_current], i);
}

QString TKWQuery::CellText(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    if (row == m_current && Editing())
        return m_buffer.value(column);
    return unpackCell(m_rows[row], column);
}

QStringList TKWQuery::CurrentRow() const
{
    if (Editing())
        return m_buffer;
    if (m_current < 0)
        return {};
    return unpackRow(m_rows[m_current], int(m_fields.size()));
}

void TKWQuery::SetFieldText(const QString& name, const QString& value)
{
    const int i = FieldIndex(name);
    if (i < 0)
        throw KWError(QStringLiteral("没有字段: ") + name);
    if (!Editing())
        throw KWError(QStringLiteral("数据集不在编辑状态"));
    if (m_buffer[i] == value && m_buffer[i].isNull() == value.isNull())
        return;
    m_buffer[i] = value;
    Q_EMIT fieldChanged(m_fields[i].name);
    Q_EMIT rowChanged(m_current);
}

void TKWQuery::takeSnapshot()
{
    m_snapshot = CurrentRow();
}

QObject* TKWQuery::fieldControl(const QString& fieldName) const
{
    for (const TFieldsData& d : m_fieldsData)
        if (d.Control && d.FieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return d.Control;
    return nullptr;
}

void TKWQuery::focus(QObject* control)
{
    if (control)
        Q_EMIT focusRequested(control);
}

// ---- status rules ----------------------------------------------------------

namespace {

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

[[noreturn]] void refuse(const QString& message)
{
    ShowMsg(message);
    Abort();
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

// ---- adding and editing ----------------------------------------------------

void TKWQuery::AppendData()
{
    if (!Active())
        Abort();
    if (Editing())
        SaveData();
    checkMasterStatusForInsert();
    if (!Quiet)
        focus(ActiveControl);
    if (BeforeInsert)
        BeforeInsert();

    m_buffer = QStringList();
    for (int i = 0; i < m_fields.size(); ++i)
        m_buffer << QString();
    m_rows << QByteArray();
    m_beforeInsert = m_current;
    m_current = int(m_rows.size()) - 1;
    setState(TDataSetState::dsInsert);
    Q_EMIT rowsReset();
    Q_EMIT currentChanged(m_current);

    for (TCheckData& check : m_checks)
        for (TCheckCondition& c : check.Conditions)
            c.OldValue.clear();
    m_generated.clear();
    Q_EMIT editingStarted();
    if (FillOnAppend && !FillInsertValues()) {
        CancelData();
        Abort();
    }
}

void TKWQuery::EditData()
{
    if (!Active() || IsEmpty())
        Abort();
    if (Editing())
        return;
    if (!Quiet) {
        checkOwnStatusForEdit();
        checkMasterStatusForEdit();
        focus(ActiveControl);
    }
    for (TCheckData& check : m_checks) {
        if (check.BaseSQL.isEmpty() || !HasField(check.KeyField))
            continue;
        for (TCheckCondition& c : check.Conditions)
            c.OldValue = FieldText(c.FieldName);
    }
    if (BeforeEdit)
        BeforeEdit();

    m_generated.clear();
    m_buffer = unpackRow(m_rows[m_current], int(m_fields.size()));
    setState(TDataSetState::dsEdit);
    if (!Quiet)
        Q_EMIT editingStarted();
    takeSnapshot();
    if (NotEdit) {
        NotEdit = false;
    } else {
        for (const TEditData& e : m_editData)
            if (HasField(e.FieldName))
                SetFieldText(e.FieldName, e.Value);
    }
}

void TKWQuery::afterEditEnded()
{
    Q_EMIT editingEnded();
    Q_EMIT totalsChanged();
}

void TKWQuery::CancelData()
{
    if (m_state == TDataSetState::dsInsert) {
        m_rows.removeAt(m_current);
        m_current = qMin(m_beforeInsert, int(m_rows.size()) - 1);
        m_buffer.clear();
        setState(TDataSetState::dsBrowse);
        Q_EMIT rowsReset();
        Q_EMIT currentChanged(m_current);
    } else if (m_state == TDataSetState::dsEdit) {
        m_buffer.clear();
        setState(TDataSetState::dsBrowse);
        Q_EMIT rowChanged(m_current);
    }
    afterEditEnded();
    Quiet = false;
    CacheOnly = false;
}

// ---- insert rules ------------------------------------------------------------

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

// ---- validation ----------------------------------------------------------------

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

// ---- keys and writing ----------------------------------------------------------

QStringList TKWQuery::keyColumns() const
{
    QStringList keys;
    const QString modify = UpdateObject.ModifySQL.toUpper();
    const qsizetype where = modify.indexOf(QLatin1String(" WHERE "));
    if (where >= 0) {
        static const QRegularExpression pair(QStringLiteral("(\\w+)\\s*=\\s*:OLD_(\\w+)"));
        auto it = pair.globalMatch(modify.mid(where + 7));
        while (it.hasNext())
            keys << it.next().captured(1);
        return keys;
    }
    // Without update statements the table's own key locates the row.
    if (const TableDef* table = FindTable(m_tableName))
        return table->key;
    return keys;
}

QString TKWQuery::sqlValue(const QString& column, const QString& value) const
{
    const TKWField* f = field(column);
    const ColumnType type = f ? f->type : ColumnType::Text;
    if (type == ColumnType::Number || type == ColumnType::Integer)
        return isNumber(value) ? value.trimmed() : QuotedStr(value);
    if (type == ColumnType::Date)
        return SqlDate(value);
    return QuotedStr(value);
}

QString TKWQuery::keyCondition(bool fromSnapshot) const
{
    QStringList parts;
    const QStringList& row = fromSnapshot ? m_snapshot : m_buffer;
    for (const QString& key : keyColumns()) {
        const int i = FieldIndex(key);
        if (i < 0)
            continue;
        parts << m_fields[i].name + QStringLiteral(" = ") + sqlValue(key, row.value(i));
    }
    return parts.join(QStringLiteral(" AND "));
}

namespace {

QVariant boundValue(const TKWField& f, const QString& text)
{
    switch (f.type) {
    case ColumnType::Number:
        return text.trimmed().isEmpty() ? QVariant(QMetaType::fromType<double>())
                                        : QVariant(ParseNumber(text));
    case ColumnType::Integer:
        return text.trimmed().isEmpty() ? QVariant(QMetaType::fromType<int>())
                                        : QVariant(qint64(ParseNumber(text)));
    case ColumnType::Date:
        return text.trimmed().isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
    case ColumnType::Blob:
    case ColumnType::Text:
        break;
    }
    return text.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

} // namespace

// Writes the row being saved straight to the table, located by its key.
bool TKWQuery::writeRow()
{
    QSqlDatabase db = database();
    const bool adding = m_state == TDataSetState::dsInsert;
    const QString condition = keyCondition(!adding);
    const QString locate = QStringLiteral("SELECT COUNT(*) FROM ") + m_tableName +
                           QStringLiteral("  WHERE ") + condition;
    try {
        const bool found = GetSQLNumber(DatabaseName, locate) > 0;
        if (!found && !adding) {
            if (Quiet)
                CancelData();
            ShowMsg(QStringLiteral("该记录已被其它用户删除或在其它窗口被删除"));
            return false;
        }
        if (found && adding) {
            // A new row never replaces one that is already stored.
            ShowMsg(QStringLiteral("数据库主键重复"));
            return false;
        }
        QStringList columns;
        QList<QVariant> values;
        for (int i = 0; i < m_fields.size(); ++i) {
            if (!m_fields[i].stored)
                continue;
            columns << m_fields[i].name;
            values << boundValue(m_fields[i], m_buffer[i]);
        }
        QString sql;
        if (adding) {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks << QStringLiteral("?");
            sql =
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(m_tableName, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        } else {
            QStringList sets;
            for (const QString& c : columns)
                sets << c + QStringLiteral(" = ?");
            sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                      .arg(m_tableName, sets.join(QLatin1Char(',')),
                           TranslateSql(condition, db.driverName()));
        }
        QSqlQuery write(db);
        write.prepare(sql);
        for (const QVariant& v : values)
            write.addBindValue(v);
        if (!write.exec())
            throw DatabaseError::fromSqlError(write.lastError());
        if (adding) {
            const QString stored = QStringLiteral("SELECT COUNT(*) FROM ") + m_tableName +
                                   QStringLiteral("  WHERE ") + keyCondition(false);
            if (GetSQLNumber(DatabaseName, stored) == 0) {
                ShowMsg(QStringLiteral("数据保存过程发生错误,可能数据库索引已损坏，请先修复损坏的"
                                       "数据库索引"));
                return false;
            }
        }
        return true;
    } catch (const DatabaseError& e) {
        if (OnUpdateError)
            OnUpdateError();
        ShowMsg(e.condition() == DatabaseError::Condition::DuplicateKey
                    ? QStringLiteral("数据库主键重复")
                    : QStringLiteral("数据保存过程发生错误"));
        return false;
    }
}

void TKWQuery::logChange(char kind)
{
    m_cache.append({kind, kind == 'D' ? QStringList() : m_buffer, m_snapshot});
}

void TKWQuery::SaveData()
{
    if (!Editing())
        Abort();
    if (!Quiet && !validate())
        Abort();
    if (!checkWidths())
        Abort();
    if (BeforePost)
        BeforePost();
    const bool adding = m_state == TDataSetState::dsInsert;
    const QString condition = keyCondition(!adding);
    if (CacheOnly) {
        logChange(adding ? 'I' : 'M');
    } else if (!m_tableName.isEmpty() && !condition.isEmpty()) {
        // On failure the row stays as it was being edited.
        if (!writeRow())
            Abort();
    } else {
        logChange(adding ? 'I' : 'M');
        ApplyUpdates();
    }
    m_rows[m_current] = packRow(m_buffer);
    m_buffer.clear();
    setState(TDataSetState::dsBrowse);
    Q_EMIT rowChanged(m_current);
    afterEditEnded();
}

// ---- deleting -------------------------------------------------------------------

void TKWQuery::DeleteData()
{
    if (!Active() || IsEmpty())
        Abort();
    if (Editing())
        CancelData();
    if (!CacheOnly && !Quiet) {
        checkOwnStatusForDelete();
        checkMasterStatusForDelete();
    }
    if (!NoConfirm && !AskYesNo(QStringLiteral("请确认是否删除")))
        Abort();
    NoConfirm = false;
    takeSnapshot();
    const QString condition = keyCondition(true);
    const QString keyValue = KeyValue.isEmpty() ? QString() : FieldText(KeyValue);

    // The stored rows go first, so a failure leaves the list as it was.
    if (!DetailTable.isEmpty()) {
        if (QyDetail)
            QyDetail->CloseData();
        if (KeyValue.isEmpty())
            refuse(QStringLiteral("没有KeyValue 属性"));
        if (!RunSQL(DatabaseName, QStringLiteral("DELETE FROM ") + DetailTable +
                                      QStringLiteral(" WHERE ") + KeyValue + QStringLiteral(" = ") +
                                      QuotedStr(keyValue)))
            refuse(DetailDError + QStringLiteral("删除过程发生错误"));
    }
    if (CacheOnly) {
        logChange('D');
    } else if (!m_tableName.isEmpty() && !condition.isEmpty()) {
        if (!RunSQL(DatabaseName, QStringLiteral("DELETE FROM ") + m_tableName +
                                      QStringLiteral("  WHERE ") + condition))
            refuse(QStringLiteral("数据删除过程发生错误"));
    } else {
        logChange('D');
        ApplyUpdates();
    }
    m_rows.removeAt(m_current);
    if (m_current >= m_rows.size())
        m_current = int(m_rows.size()) - 1;
    Quiet = false;
    Q_EMIT rowsReset();
    Q_EMIT currentChanged(m_current);
    Q_EMIT totalsChanged();
}

void TKWQuery::SetStatus(const QString& status)
{
    if (!Active() || IsEmpty())
        return;
    Quiet = true;
    Q_EMIT statusWriteStarted();
    try {
        EditData();
        SetFieldText(QStringLiteral("STATUS"), status);
        SetFieldText(QStringLiteral("VERIFY_NAME"), VerifyName);
        SetFieldText(QStringLiteral("VERIFY_DATE"), VerifyDate);
        SaveData();
    } catch (...) {
        Quiet = false;
        if (Editing())
            CancelData();
        Q_EMIT statusWriteEnded();
        throw;
    }
    Quiet = false;
    Q_EMIT statusWriteEnded();
}

// ---- cached changes -----------------------------------------------------------------

void TKWQuery::ApplyUpdates()
{
    QSqlDatabase db = database();
    auto retarget = [this](QString sql) {
        if (!UpDateTable || m_tableName.isEmpty())
            return sql;
        static const QRegularExpression firstTable(
            QStringLiteral("^(\\s*(?:UPDATE|INSERT\\s+INTO|DELETE\\s+FROM)\\s+)\\w+"),
            QRegularExpression::CaseInsensitiveOption);
        return sql.replace(firstTable, QStringLiteral("\\1") + m_tableName);
    };
    while (!m_cache.isEmpty()) {
        const CachedChange change = m_cache.first();
        QString sql = change.kind == 'I'   ? UpdateObject.InsertSQL
                      : change.kind == 'M' ? UpdateObject.ModifySQL
                                           : UpdateObject.DeleteSQL;
        bool ok = false;
        if (!sql.isEmpty()) {
            sql = TranslateSql(retarget(sql), db.driverName());
            QSqlQuery query(db);
            query.prepare(sql);
            // Bind each parameter the statement names: :COLUMN or :OLD_COLUMN.
            static const QRegularExpression parameter(QStringLiteral(":(\\w+)"));
            QSet<QString> bound;
            for (auto it = parameter.globalMatch(sql); it.hasNext();) {
                const QString name = it.next().captured(1);
                if (bound.contains(name.toUpper()))
                    continue;
                bound.insert(name.toUpper());
                const bool old = name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive);
                const int i = FieldIndex(old ? name.mid(4) : name);
                if (i < 0)
                    continue;
                const QStringList& row = old ? change.oldValues : change.values;
                query.bindValue(QLatin1Char(':') + name, boundValue(m_fields[i], row.value(i)));
            }
            ok = query.exec();
        } else if (change.kind == 'D' && !m_tableName.isEmpty()) {
            const QStringList saved = m_snapshot;
            m_snapshot = change.oldValues;
            const QString condition = keyCondition(true);
            m_snapshot = saved;
            ok = !condition.isEmpty() &&
                 RunSQL(DatabaseName, QStringLiteral("DELETE FROM ") + m_tableName +
                                          QStringLiteral("  WHERE ") + condition);
        }
        if (!ok) {
            if (OnUpdateError)
                OnUpdateError();
            refuse(QStringLiteral("数据保存过程发生错误"));
        }
        m_cache.removeFirst();
    }
}
