#pragma once

#include <QList>
#include <QString>
#include <array>

class QObject;
class TKWQuery;

// The rule tables a window hands to its record set instead of writing the
// logic itself.

// One column the window knows. Every member has an initializer, so a
// window may name only the members it sets.
struct TFieldsData
{
    QString FieldName{};
    QString DisplayLabel{}; // caption, also the name used in messages
    int DisplayWidth = 0;   // characters; 0 default, -1 shown with width 0
    QString FooterKind{};   // "@Count", "@Sum" or a fixed text
    QString DataType{};     // "C" text, "N" number, "D" date
    QString Choices{};      // "有效;停用"
    QString FindKind{};     // "T" typed, "B" choice list, "D" date
    bool Required = false;
    QObject* Control = nullptr; // focused when the column fails validation
    bool Visible = true;
    // Further texts read by the grid and the find window.
    QString DecimalMode{}; // rounding mode name of the footer sum
    int Decimals = 2;      // decimals of the footer sum
};
using TFieldsDataArray = QList<TFieldsData>;

struct TCheckCondition
{
    QString FieldName{};  // field of the record set
    QString ColumnName{}; // column compared in the statement
    QString OldValue{};
    QString FixedValue{};
    QString DataType = QStringLiteral("C");
};

// A uniqueness (MustBeUnique) or existence check against the table.
struct TCheckData
{
    std::array<TCheckCondition, 11> Conditions;
    QString Message;
    QString FillFields; // comma-separated fields filled from the found row
    QString KeyField;   // the check runs only when the record set has it
    QString ExtraSQL;
    QObject* Control = nullptr; // focused when the check fails
    QString BaseSQL;            // "SELECT CLIENT_RECORD_ID FROM KW_CLIENT_TABLE WHERE "
    bool MustBeUnique = true;
    bool SkipIfEmpty = false;
    bool AskOnly = false;
    bool NoRegenerate = false;
};
using TCheckDataArray = QList<TCheckData>;

// A value put into a new row. Kinds: "A" assign, "L" logical, "B" from
// another record set, "T" time key, "C" serial, "Y"/"M"/"D" serial with a
// year, year-month or day part.
struct TInsertData
{
    QString FieldName;
    QString Caption;
    QString Condition; // extra condition for the maximum search
    int Width = 0;
    QString Value;
    TKWQuery* SourceData = nullptr;
    QString Kind;
    QString Prefix;
};
using TInsertDataArray = QList<TInsertData>;

// A value put into a row when editing begins (EDIT_NAME, EDIT_DATE).
struct TEditData
{
    QString FieldName;
    QString Caption;
    QString Value;
};
using TEditDataArray = QList<TEditData>;

// The statements that apply cached changes, with :COLUMN and :OLD_COLUMN
// parameters. The key of a row is read from the modify statement's WHERE part.
struct TUpdateSQL
{
    QString ModifySQL;
    QString InsertSQL;
    QString DeleteSQL;
};

// One column of a user's stored grid layout: width in pixels, position.
struct TStoredColumn
{
    QString FieldName;
    int Width = 0;
    int Order = 0;
};

// A new-row value of a kind ("A", "T", "M" …) for a field.
TInsertData InsertRule(const QString& field, const QString& kind, const QString& value = {},
                       int width = 0);
// EDIT_NAME and EDIT_DATE stamped when editing begins.
TEditDataArray EditStamps(const QString& userName, const QString& workDate);
// A field whose value must not already be in the table (text comparison).
TCheckData UniqueCheck(const QString& table, const QString& column, const QString& message);
