#include "data/record_set.h"

#include "data/connection.h"
#include "data/dialect.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_rows.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>

// The record set's cursor, edit buffer and states; its rules and its
// writing live beside it.
using namespace record_rows;

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
