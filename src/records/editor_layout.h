#pragma once

#include "records/field_catalogue.h"

#include <QList>
#include <QRect>
#include <QString>

// Where the record editor puts a field: its control, its caption label and
// its place in the tab order. Coordinates are the window's pixels.
struct EditorPlacement
{
    QString fieldName;
    QString caption;
    QString kind; // "text", "number", "date", "pick"
    QRect control;
    QPoint label; // the label's top-left (right-aligned to end at control.left() - 2)
    bool labelShown = true;
    int tabOrder = 0;
};

// Lays the catalogue's fields out on the editor's 22 places and closes up
// the empty ones: labels of free places hidden, controls widened over free
// neighbours, and the address and note lines moved up into empty rows.
QList<EditorPlacement> ComputeEditorLayout(const QList<CatalogueRow>& rows);
// The kind of control a field has for an input kind, or empty when it has none.
QString EditorControlKind(const QString& fieldName, const QString& findType);
// The control rectangle of a place: 1 … 20 the grid, 21 the address line,
// 22 the note line (the configuration numbers it 26).
QRect EditorPlaceRect(int place);
