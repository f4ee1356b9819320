#include "model/courier.h"

#include "data/connection.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QSqlRecord>

namespace {

double number(const TKWQuery& q, const char* field)
{
    return ParseNumber(q.FieldText(QString::fromLatin1(field)));
}

// How a stored extension says the picture is decoded; empty for none.
QByteArray pictureFormat(const QString& ext)
{
    if (ext == QLatin1String(".BMP"))
        return "BMP";
    if (ext == QLatin1String(".JPG") || ext == QLatin1String(".JPEG"))
        return "JPEG";
    return {};
}

void setPictureExt(TKWQuery& couriers, const QString& ext)
{
    couriers.EditData();
    try {
        couriers.SetFieldText(QStringLiteral("PICTURE_EXTNAME"), ext);
        couriers.SaveData();
    } catch (...) {
        couriers.CancelData();
        throw;
    }
}

} // namespace

WaybillCourier CourierFromRow(const TKWQuery& q)
{
    WaybillCourier c;
    c.fastId = q.FieldText(QStringLiteral("FAST_ID"));
    c.name = q.FieldText(QStringLiteral("FAST_NAME"));
    c.widthMm = number(q, "FAST_NAME_WIDTH");
    c.heightMm = number(q, "FAST_NAME_HEIGHT");
    c.topMm = number(q, "FAST_TOP");
    c.leftMm = number(q, "FAST_LEFT");
    c.bottomMm = number(q, "FAST_BOTTOM");
    c.pictureExt = q.FieldText(QStringLiteral("PICTURE_EXTNAME")).trimmed();
    return c;
}

WaybillCourier CourierByName(const QString& name)
{
    TKWQuery q;
    q.SQL = QStringLiteral("SELECT * FROM KW_FAST_NAME_TABLE WHERE FAST_NAME = ") + QuotedStr(name);
    q.OpenData();
    return q.IsEmpty() ? WaybillCourier{} : CourierFromRow(q);
}

QString DefaultCourierName()
{
    return GetSQLValue(kDatabaseName, QStringLiteral("SELECT FAST_NAME FROM KW_FAST_NAME_TABLE "
                                                     "WHERE FAST_DEFAULT = '是'"));
}

QList<WaybillField> ReadPrintFields(const QString& fastId)
{
    auto rows = OpenSQL(kDatabaseName,
                        QStringLiteral("SELECT * FROM KW_FAST_NAME_PRINT_TABLE WHERE FAST_ID = ") +
                            QuotedStr(fastId));
    QList<WaybillField> fields;
    while (rows->next()) {
        auto text = [&](const char* column) {
            return rows->value(QString::fromLatin1(column)).toString();
        };
        WaybillField f;
        f.recordId = text("FIELD_RECORD_ID");
        f.fieldName = text("FIELD_NAME");
        f.displayName = text("FIELD_DISPLAY_NAME");
        f.tableName = text("FIELD_TABLE_NAME");
        f.fontName = text("FIELD_FONT_NAME");
        f.fontSize = ParseNumber(text("FIELD_FONT_SIZE"));
        f.leftMm = ParseNumber(text("FIELD_NAME_LEFT"));
        f.topMm = ParseNumber(text("FIELD_NAME_TOP"));
        f.fontNumber = ParseNumber(text("FIELD_FONT_NUMBER"));
        fields << f;
    }
    return fields;
}

QHash<QString, QString> ReadSenderRow()
{
    QHash<QString, QString> row;
    auto sender = OpenSQL(kDatabaseName, QStringLiteral("SELECT  *  FROM  SYS_COMPANY_TABLE"));
    if (!sender->next())
        return row;
    const QSqlRecord record = sender->record();
    for (int i = 0; i < record.count(); ++i) {
        const QVariant v = sender->value(i);
        row.insert(record.fieldName(i).toUpper(), v.metaType().id() == QMetaType::Double
                                                      ? QString::number(v.toDouble(), 'g', 15)
                                                      : v.toString());
    }
    return row;
}

QList<PrintableField> PrintableFieldCatalogue()
{
    QList<PrintableField> catalogue;
    auto rows = OpenSQL(kDatabaseName, QStringLiteral("SELECT  *  FROM  SYS_CLIENT_FIELD_TABLE "
                                                      "ORDER BY FIELD_ORDER"));
    while (rows->next())
        catalogue << PrintableField{rows->value(QStringLiteral("FIELD_NAME")).toString(),
                                    rows->value(QStringLiteral("FIELD_DISPLAY_NAME")).toString(),
                                    QStringLiteral("SYS_CLIENT_FIELD_TABLE")};
    const std::pair<const char*, const char*> sender[] = {
        {"COMPANY_EMPLOYEE_NAME", "默认发件人"},
        {"COMPANY_NAME", "发件单位"},
        {"COMPANY_POSTCODE", "发件邮编"},
        {"COMPANY_PHONE", "发件电话"},
        {"COMPANY_HANDSET_PHONE", "发件手机"},
        {"COMPANY_ADDRESS", "发件地址"},
        {"COMPANY_CITY", "发件城市"},
        {"COMPANY_PROVINCE", "发件省份"},
    };
    for (const auto& [field, caption] : sender)
        catalogue << PrintableField{QString::fromLatin1(field), QString::fromUtf8(caption),
                                    QStringLiteral("SYS_COMPANY_TABLE")};
    return catalogue;
}

void CheckSingleDefaultCourier(const TKWQuery& q)
{
    if (q.FieldText(QStringLiteral("FAST_DEFAULT")) != QStringLiteral("是"))
        return;
    const double others = GetSQLNumber(
        kDatabaseName, QStringLiteral("SELECT Count(FAST_ID) FROM KW_FAST_NAME_TABLE WHERE FAST_ID "
                                      "<> %1 AND FAST_DEFAULT = '是'")
                           .arg(QuotedStr(q.FieldText(QStringLiteral("FAST_ID")))));
    if (others > 0) {
        ShowMsg(QStringLiteral("只能有一个默认的快递"));
        Abort();
    }
}

void ConfigureCourierQuery(TKWQuery& q, const QString& userName, const QString& workDate)
{
    q.SetTableName(QStringLiteral("KW_FAST_NAME_TABLE"));
    q.SQL = QStringLiteral("SELECT * FROM KW_FAST_NAME_TABLE ORDER BY FAST_NAME");
    const QString a = QStringLiteral("A");
    q.SetInsertData({InsertRule(QStringLiteral("FAST_ID"), QStringLiteral("T"), QString(), 12),
                     InsertRule(QStringLiteral("FAST_DEFAULT"), a, QStringLiteral("否")),
                     InsertRule(QStringLiteral("FAST_NAME_HEIGHT"), a, QStringLiteral("120")),
                     InsertRule(QStringLiteral("FAST_NAME_WIDTH"), a, QStringLiteral("220")),
                     InsertRule(QStringLiteral("CREATE_NAME"), a, userName),
                     InsertRule(QStringLiteral("CREATE_DATE"), a, workDate)});
    q.SetEditData(EditStamps(userName, workDate));
    const QString table = QStringLiteral("KW_FAST_NAME_TABLE");
    TCheckData name =
        UniqueCheck(table, QStringLiteral("FAST_NAME"), QStringLiteral("快递名称名称重复"));
    name.NoRegenerate = true;
    q.SetCheckData(
        {UniqueCheck(table, QStringLiteral("FAST_ID"), QStringLiteral("纪录编号重复")), name});
    q.BeforePost = [&q] {
        CheckSingleDefaultCourier(q);
        // A new courier keeps the new-courier size until it is first saved.
        if (q.State() == TDataSetState::dsInsert) {
            if (q.FieldText(QStringLiteral("FAST_NAME_HEIGHT")).isEmpty())
                q.SetFieldText(QStringLiteral("FAST_NAME_HEIGHT"), QStringLiteral("120"));
            if (q.FieldText(QStringLiteral("FAST_NAME_WIDTH")).isEmpty())
                q.SetFieldText(QStringLiteral("FAST_NAME_WIDTH"), QStringLiteral("220"));
        }
    };
}

QPoint NextAutoPlacement(QPoint& point)
{
    point += QPoint(20, 20);
    if (point.x() > 300)
        point.setX(30);
    if (point.y() > 300)
        point.setY(30);
    return point;
}

QString CourierPicturePath(const QString& dbFolder, const QString& fastId)
{
    return QDir(dbFolder).filePath(fastId);
}

bool LoadCourierPicture(TKWQuery& couriers, const QString& dbFolder)
{
    const QString chosen = CurrentPrompter().openFile(
        nullptr, QStringLiteral("加载快递单图片"), QString(),
        QStringLiteral("BMP JPG JPEG (*.BMP *.JPG *.JPEG *.bmp *.jpg *.jpeg)"));
    if (chosen.isEmpty())
        return false;
    const QFileInfo file(chosen);
    if (file.fileName().isEmpty()) {
        ShowMsg(QStringLiteral("必须选择要加载的快递单图片文件"));
        return false;
    }
    const QString ext = QLatin1Char('.') + file.suffix().toUpper();
    if (pictureFormat(ext).isEmpty()) {
        ShowMsg(QStringLiteral("图片格式必须是: BMP 、JPG 或 JPEG 格式"));
        return false;
    }
    // A file that does not decode would put nothing in place of a good picture.
    if (QImageReader(file.absoluteFilePath(), pictureFormat(ext)).read().isNull()) {
        ShowMsg(QStringLiteral("快递单图片装载过程发生错误"));
        return false;
    }
    if (!QDir().mkpath(dbFolder)) {
        ShowMsg(QStringLiteral("文件夹 ") + dbFolder + QStringLiteral(" 建立过程发生错误"));
        return false;
    }
    // The copy is written beside the old picture and takes its place only
    // once complete and once the row names its format.
    QSaveFile staged(CourierPicturePath(dbFolder, couriers.FieldText(QStringLiteral("FAST_ID"))));
    if (!StageFileCopy(file.absoluteFilePath(), staged)) {
        ShowErrorMsg(QStringLiteral("图片文件保存过程发生错误"));
        return false;
    }
    const QString oldExt = couriers.FieldText(QStringLiteral("PICTURE_EXTNAME"));
    setPictureExt(couriers, ext);
    if (!staged.commit()) {
        setPictureExt(couriers, oldExt);
        ShowErrorMsg(QStringLiteral("图片文件保存过程发生错误"));
        return false;
    }
    return true;
}

QImage ReadCourierPicture(const WaybillCourier& courier, const QString& dbFolder, bool* failed)
{
    if (failed)
        *failed = false;
    const QString path = CourierPicturePath(dbFolder, courier.fastId);
    if (courier.fastId.isEmpty() || !QFileInfo::exists(path))
        return {};
    const QByteArray format = pictureFormat(courier.pictureExt);
    if (format.isEmpty())
        return {};
    const QImage image = QImageReader(path, format).read();
    if (image.isNull()) {
        ShowMsg(QStringLiteral("快递单图片装载过程发生错误"));
        if (failed)
            *failed = true;
    }
    return image;
}

void DeleteCourierPicture(const QString& dbFolder, const QString& fastId)
{
    if (!fastId.isEmpty())
        QFile::remove(CourierPicturePath(dbFolder, fastId));
}

void DeleteCourier(TKWQuery& couriers, const QString& dbFolder)
{
    // Deleting during an edit drops the edit first; then the current row is the one to go.
    if (couriers.Editing())
        couriers.CancelData();
    if (!couriers.Active() || couriers.IsEmpty())
        Abort();
    const QString fastId = couriers.FieldText(QStringLiteral("FAST_ID"));
    // Records name their courier: once it is gone they have no form to print on.
    const int used = int(GetSQLNumber(
        couriers.DatabaseName,
        QStringLiteral("SELECT COUNT(*) FROM KW_CLIENT_TABLE WHERE TRIM(FAST_NAME) = ") +
            QuotedStr(couriers.FieldText(QStringLiteral("FAST_NAME")).trimmed())));
    if (used > 0) {
        if (!AskYesNo(QStringLiteral("有%1条快件记录使用该快递名称，是否删除").arg(used)))
            Abort();
        couriers.NoConfirm = true;
    }
    try {
        couriers.DeleteData();
    } catch (...) {
        couriers.NoConfirm = false;
        throw;
    }
    if (fastId.isEmpty())
        return;
    // Nothing reads a layout whose courier is gone; leaving it would only pile up rows.
    RunSQL(couriers.DatabaseName,
           QStringLiteral("DELETE FROM KW_FAST_NAME_PRINT_TABLE WHERE FAST_ID = ") +
               QuotedStr(fastId));
    DeleteCourierPicture(dbFolder, fastId);
}

QString MissingCourierMessage(const TKWQuery& records)
{
    const QString name = records.FieldText(QStringLiteral("FAST_NAME")).trimmed();
    if (name.isEmpty() || !DefaultCourierName().isEmpty() ||
        GetSQLNumber(kDatabaseName,
                     QStringLiteral("SELECT COUNT(*) FROM KW_FAST_NAME_TABLE WHERE FAST_NAME = ") +
                         QuotedStr(name)) > 0)
        return {};
    QStringList record;
    const QString orderId = records.FieldText(QStringLiteral("CLIENT_ORDER_ID")).trimmed();
    const QString consignee = records.FieldText(QStringLiteral("CLIENT_NAME")).trimmed();
    if (!orderId.isEmpty())
        record << QStringLiteral("订单编号 ") + orderId;
    if (!consignee.isEmpty())
        record << QStringLiteral("收件人 ") + consignee;
    if (record.isEmpty())
        record << QStringLiteral("纪录编号 ") +
                      records.FieldText(QStringLiteral("CLIENT_RECORD_ID"));
    return QStringLiteral("快件记录（%1）的快递名称“%2”已不存在，又没有默认快递，不能打印")
        .arg(record.join(QStringLiteral("，")), name);
}
