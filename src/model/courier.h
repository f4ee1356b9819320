#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

class TKWQuery;

// A courier's waybill form: size and printer offsets in millimetres.
struct WaybillCourier
{
    QString fastId;
    QString name;
    double widthMm = 220;
    double heightMm = 120;
    double topMm = 0;
    double leftMm = 0;
    double bottomMm = 0;
    QString pictureExt; // ".BMP", ".JPG", ".JPEG" or empty
};

// One value placed on a courier's form.
struct WaybillField
{
    QString recordId;
    QString fieldName;
    QString displayName;
    QString tableName; // "SYS_COMPANY_TABLE" for a sender field
    QString fontName;
    double fontSize = 10;
    double leftMm = 0;
    double topMm = 0;
    double fontNumber = 25; // Chinese characters per line
    bool isSenderField() const { return tableName == QLatin1String("SYS_COMPANY_TABLE"); }
};

// A field the designer offers.
struct PrintableField
{
    QString fieldName;
    QString displayName;
    QString tableName;
};

inline constexpr int kMaxPrintFields = 20;
// A new print field's font: fits its 10-byte column and resolves to an
// installed fangsong/serif CJK face.
inline const QString kNewFieldFontName = QStringLiteral("仿宋");
inline constexpr int kNewFieldFontSize = 10;
inline constexpr int kNewFieldFontNumber = 25;

// The courier of the current row of a record set on KW_FAST_NAME_TABLE.
WaybillCourier CourierFromRow(const TKWQuery& couriers);
// A courier by name; fastId empty when there is none.
WaybillCourier CourierByName(const QString& name);
QString DefaultCourierName();
// The print fields in the order the table returns them.
QList<WaybillField> ReadPrintFields(const QString& fastId);
// The sender's row (first of SYS_COMPANY_TABLE), column name → text.
QHash<QString, QString> ReadSenderRow();
// The shipment catalogue in FIELD_ORDER, then the eight sender fields.
QList<PrintableField> PrintableFieldCatalogue();

// Sets up a record set on KW_FAST_NAME_TABLE with the courier rules: key,
// defaults, the unique name and the single default courier.
void ConfigureCourierQuery(TKWQuery& couriers, const QString& userName, const QString& workDate);
// Refuses (message, abort) a second default courier.
void CheckSingleDefaultCourier(const TKWQuery& couriers);

// The next automatic placement of a new field on the designer's screen:
// 20 pixels down and right each time, back to 30 past 300.
QPoint NextAutoPlacement(QPoint& point);

// The pictures of the blank forms live in the database folder `dbFolder`.
// The picture of the courier's blank form: dbFolder/FAST_ID.
QString CourierPicturePath(const QString& dbFolder, const QString& fastId);
// Asks for a BMP or JPEG file, copies it as the courier's picture and
// stores its extension in the current row. Only a file that decodes is
// taken, and the old picture stays until the copy is complete. False when
// nothing changed.
bool LoadCourierPicture(TKWQuery& couriers, const QString& dbFolder);
// The decoded picture; a null image when there is no file. A file that
// cannot be decoded shows "快递单图片装载过程发生错误" and sets `failed`.
QImage ReadCourierPicture(const WaybillCourier& courier, const QString& dbFolder,
                          bool* failed = nullptr);
void DeleteCourierPicture(const QString& dbFolder, const QString& fastId);
// Deletes the current courier after the usual confirmation (one that says
// how many shipment records use it, when any do), then its print fields and
// its picture; a refused or failed delete keeps all three.
void DeleteCourier(TKWQuery& couriers, const QString& dbFolder);
// Why the current record of `records` must not be printed: its courier was
// deleted and no default courier stands in, so any form would be the wrong
// one. Names the record; empty when it may be printed.
QString MissingCourierMessage(const TKWQuery& records);
