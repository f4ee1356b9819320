#pragma once

#include "data/rules.h"

#include <QList>
#include <QString>

// One row of the custom-field catalogue (SYS_CLIENT_FIELD_TABLE).
struct CatalogueRow
{
    int order = 0;
    QString fieldName{};
    QString displayName{};
    QString fieldType{}; // "String", "Date", "Float" ("Integer" too)
    QString findType{};  // "T" typed, "DT" picked from a list, "D" date
    int width = 0;
    int displayWidth = 0;
    QString orderType{}; // "是"/"否": marked as a sort field
};

// A field the field dialog offers, with the defaults it brings.
struct FieldChoice
{
    QString caption; // "1字符字段" …
    QString fieldName;
    QString fieldType;
    int width = 0;
    int displayWidth = 0;
    QString findType;
};

// The catalogue a new database starts with.
const QList<CatalogueRow>& DefaultCatalogue();
// The 27 choices of the field dialog, in their order.
const QList<FieldChoice>& FieldChoices();

// The catalogue as stored, in FIELD_ORDER order.
QList<CatalogueRow> ReadCatalogue();
// Inserts the default rows when the catalogue is empty; false when that failed.
bool EnsureDefaultCatalogue();

// "String" → "C", "Integer"/"Float" → "N", "Date" → "D", anything else "C".
QString TypeLetter(const QString& fieldType);

// The list columns built from the catalogue: the print status first, the
// catalogue's fields, then who printed, created and changed the record.
TFieldsDataArray BuildColumnCatalogue(const QList<CatalogueRow>& rows);
