#pragma once

#include "data/rules.h"
#include "data/schema.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSqlDatabase>
#include <QStringList>
#include <functional>

class QObject;
class TKWDataSource;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// One column of an open record set.
struct TKWField
{
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0; // GBK bytes of a text column; 0 when unknown
    QString caption;
    int displayWidth = 10; // characters
    bool visible = true;
    int tag = 0;
    bool stored = false; // a column of TableName, written on save
};

// The record set behind every list and editing window: the rows of one
// table held in memory with a cursor, edited in place, checked by the rule
// tables and written straight to the table on save. GUI thread only; it
// reaches the database through the named connection DatabaseName.
//
// Refusals show their message and then throw SilentAbort, which the
// application's handler ignores.
class TKWQuery : public QObject
{
    Q_OBJECT
public:
    explicit TKWQuery(QObject* parent = nullptr);
    ~TKWQuery() override;

    // Published properties.
    QString DatabaseName;
    QString SQL;
    const QString& TableName() const { return m_tableName; }
    // Also makes the statement "SELECT  *  FROM  " + name.
    void SetTableName(const QString& name);
    // Focused when adding or editing begins.
    QObject* ActiveControl = nullptr;
    QColor ColorOnFocus;
    bool ActiveStatus = false;
    void AddStatusEditValue(const QString& status) { m_allowed << status; }
    void AddStatusEditEndValue(const QString& status) { m_forbidden << status; }
    TKWQuery* QyMaster = nullptr;
    TKWQuery* QyDetail = nullptr;
    QString KeyValue;
    QString DetailTable;
    // A plain grid disabled while a row is added or edited.
    QObject* DBGride = nullptr;
    // The list grid that lays out this record set's columns; it alone
    // follows the record set when several grids show it.
    QObject* DBNGride = nullptr;
    QString DetailDError;
    // The data source that follows this record set now (a window that
    // borrows the record set makes its own the current one).
    TKWDataSource* KWDS = nullptr;
    QString StatusMsg;
    bool UpDateTable = false;
    TUpdateSQL UpdateObject;

    // Run-time state, set by the windows.
    QString YearMonth; // "YYYYMM"
    QString Day;       // "YYYYMMDD"
    QString VerifyName;
    QString VerifyDate;
    bool Quiet = false;
    bool NoConfirm = false;
    bool CacheOnly = false;
    bool FillOnAppend = true;
    bool NotEdit = false;

    // The form's own handlers, called after the record set's own work.
    std::function<void()> BeforeInsert, BeforeEdit, AfterOpen, AfterScroll, BeforePost,
        OnUpdateError;

    void SetFieldsData(const TFieldsDataArray& fields);
    void SetCheckData(const TCheckDataArray& checks);
    void SetInsertData(const TInsertDataArray& values);
    void SetEditData(const TEditDataArray& values);
    const TFieldsDataArray& FieldsData() const { return m_fieldsData; }
    TFieldsDataArray& FieldsData() { return m_fieldsData; }
    const TCheckDataArray& CheckData() const { return m_checks; }

    // A user's stored layout, applied before opening (or at once to an open
    // set): widths in characters (pixels × 0.16), narrow columns hidden
    // unless they carry a footer sum or count (those come back at their
    // default width), missing columns hidden, and the stored order. An
    // empty layout leaves the order to the field definitions.
    void ApplyStoredLayout(QList<TStoredColumn> layout);
    // Fields in the order the grid shows them (stored order first).
    const QStringList& DisplayOrder() const { return m_displayOrder; }

    void OpenData();
    void CloseData();
    void AppendData();
    void EditData();
    void SaveData();
    void CancelData();
    void DeleteData();
    bool FillInsertValues();
    bool FillInsertValue(const QString& fieldName);
    void SetStatus(const QString& status);
    // Writes the cached changes through the update statements (or the key).
    void ApplyUpdates();
    int PendingUpdates() const { return m_cache.size(); }

    // State and cursor.
    TDataSetState State() const { return m_state; }
    bool Active() const { return m_state != TDataSetState::dsInactive; }
    bool Editing() const
    {
        return m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert;
    }
    int RecordCount() const { return int(m_rows.size()); }
    bool IsEmpty() const { return m_rows.isEmpty(); }
    int RecNo() const { return m_current; } // 0-based, -1 when empty
    void SetRecNo(int row);
    void First() { SetRecNo(0); }
    void Last() { SetRecNo(RecordCount() - 1); }
    void Next() { SetRecNo(m_current + 1); }
    void Prior() { SetRecNo(m_current - 1); }
    bool Bof() const { return m_current <= 0; }
    bool Eof() const { return m_current >= RecordCount() - 1; }

    // Columns, matched without regard to case.
    const QList<TKWField>& Fields() const { return m_fields; }
    QList<TKWField>& Fields() { return m_fields; }
    int FieldIndex(const QString& name) const;
    bool HasField(const QString& name) const { return FieldIndex(name) >= 0; }
    // Text of a field in the current row (the edit buffer while editing).
    QString FieldText(const QString& name) const;
    QString CellText(int row, int column) const;
    // Only while adding or editing; throws KWError otherwise.
    void SetFieldText(const QString& name, const QString& value);
    QStringList CurrentRow() const;

Q_SIGNALS:
    void stateChanged(TDataSetState state);
    void currentChanged(int row);
    void fieldChanged(const QString& fieldName);
    // Rows came or went: open, close, append, delete.
    void rowsReset();
    void rowChanged(int row);
    // Opening: the list grid applies the user's stored layout first.
    void aboutToOpen();
    // The columns came or went (open, close).
    void columnsChanged();
    // A row is being added or edited; grids stop taking the cursor.
    void editingStarted();
    // Adding or editing ended (saved or cancelled).
    void editingEnded();
    // A control should take the focus: the one to type into, or the one
    // whose value failed a check.
    void focusRequested(QObject* control);
    // The rows' sums may differ now.
    void totalsChanged();
    // The status of the current row is written behind the controls; they
    // keep their look until statusWriteEnded.
    void statusWriteStarted();
    void statusWriteEnded();

private:
    void setState(TDataSetState state);
    void afterEditEnded();
    void applyFieldDefinitions();
    void applyLayout(QList<TStoredColumn> layout);
    void takeSnapshot();
    QSqlDatabase database() const;
    const TKWField* field(const QString& name) const;

    // Rules.
    void checkOwnStatusForEdit() const;
    void checkMasterStatusForEdit() const;
    void checkOwnStatusForDelete() const;
    void checkMasterStatusForDelete() const;
    void checkMasterStatusForInsert() const;
    bool applyInsertRule(const TInsertData& rule);
    void setGeneratedKey(const QString& fieldName, const QString& value);
    bool holdsGeneratedKey(const QString& fieldName) const;
    bool serialKey(const TInsertData& rule, QString& value);
    bool validate();
    bool runCheck(const TCheckData& check);
    QString checkStatement(const TCheckData& check, bool& skip) const;
    bool checkWidths();
    void focus(QObject* control);
    // The entry control of a field, from the field definitions.
    QObject* fieldControl(const QString& fieldName) const;

    // Writing.
    QStringList keyColumns() const;
    QString keyCondition(bool fromSnapshot) const;
    QString sqlValue(const QString& column, const QString& value) const;
    bool writeRow();
    void logChange(char kind);

    QString m_tableName;
    QList<TKWField> m_fields;
    QHash<QString, int> m_fieldIndex;
    QList<QByteArray> m_rows; // packed
    int m_current = -1;
    int m_beforeInsert = -1; // the row to return to when a new row is cancelled
    QStringList m_buffer;    // the row being added or edited
    QStringList m_snapshot;
    TDataSetState m_state = TDataSetState::dsInactive;
    QStringList m_allowed;
    QStringList m_forbidden;
    TFieldsDataArray m_fieldsData;
    TCheckDataArray m_checks;
    TInsertDataArray m_insertData;
    TEditDataArray m_editData;
    QSet<QString> m_acceptedQuestions;
    // Keys the insert rules generated for the row being added, by upper-case
    // field name; only these are regenerated on a clash.
    QHash<QString, QString> m_generated;
    QStringList m_displayOrder;

    struct CachedChange
    {
        char kind; // 'I', 'M', 'D'
        QStringList values;
        QStringList oldValues;
    };
    QList<CachedChange> m_cache;
};
