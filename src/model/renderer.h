#pragma once

#include "model/courier.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPoint>
#include <QSizeF>
#include <QString>
#include <functional>

class QPainter;
class QPaintDevice;
class TKWQuery;

// Where and how a waybill is drawn. The printer adds the courier's offsets;
// the screen variants draw red over the picture of the blank form.
enum class WaybillMode {
    Printer,    // printer page
    ScreenFull, // print window
    Preview,    // preview window
};

// Device units per millimetre of one target.
struct WaybillScale
{
    double x = 1;
    double y = 1;
    static WaybillScale printer(double dpiX, double dpiY) { return {dpiX / 25.4, dpiY / 25.4}; }
    static WaybillScale screen(double dpiX, double dpiY) { return {dpiX / 25.0, dpiY / 25.0}; }
};

// One piece of text placed on the waybill, in device units: a line of a
// field, or one digit of a postcode.
struct WaybillRun
{
    QString fieldName;
    QString text;
    QString fontName;
    int pointSize = 10;
    QPoint topLeft;
    QPoint corner; // the text is clipped to the rectangle topLeft .. corner
};

// The value of a field: the sender row for sender fields, the record otherwise.
using WaybillValue = std::function<QString(const WaybillField&)>;

// The value with CR LF inserted so that lines hold bytesPerLine GBK bytes
// (one more where a Chinese character would be cut; never inside one).
QString BreakFieldText(const QString& value, int bytesPerLine);

// Places every field's text; `metrics` is the device whose font metrics
// wrap and space the lines (the printer page or the screen). Text is clipped
// to the rectangle from its start to a corner: 2500 device units on screen
// (5000 in the print window), the page's far corner on paper.
QList<WaybillRun> ComputeWaybillRuns(const WaybillCourier& courier,
                                     const QList<WaybillField>& fields, const WaybillValue& value,
                                     const WaybillScale& scale, WaybillMode mode,
                                     const QPaintDevice* metrics);
void PaintWaybillRuns(QPainter& painter, const QList<WaybillRun>& runs, const QColor& color);

// Reads the values of the current record of `records` and of the sender row.
WaybillValue RecordValues(const TKWQuery& records, const QHash<QString, QString>& sender);

// Draws all print fields of the courier for the current record.
void DrawWaybillFields(QPainter& painter, const WaybillCourier& courier,
                       const QList<WaybillField>& fields, const WaybillValue& value,
                       const WaybillScale& scale, WaybillMode mode);

enum class PaperVariant { Single, Batch };
// The paper of one waybill in true millimetres (width × length).
QSizeF ApplyWaybillPaper(const WaybillCourier& courier, PaperVariant variant);

// Prints the current record of `records` on the courier's form and marks it
// "已打单". Single: refuses without printers, asks before printing a record
// already printed; false when it stopped there. A failing job throws
// KWError and leaves the status as it was.
bool PrintOneWaybill(TKWQuery& records, const WaybillCourier& courier,
                     const QHash<QString, QString>& sender, PaperVariant variant);
