#include "data/record_set.h"

#include "data/dialect.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_rows.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

// How the record set finds a row's key and writes, deletes and logs rows.
using namespace record_rows;

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
