#include "model/demo_data.h"

#include "data/connection.h"
#include "data/helpers.h"
#include "platform/clock.h"
#include "platform/fonts.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

constexpr double kFormWidthMm = 230;
constexpr double kFormHeightMm = 127;
constexpr double kPixelsPerMm = 8;

struct DemoField
{
    const char* name;
    const char* caption;
    double left;
    double top;
    int fontNumber;
    bool sender;
};

// Where each value lands on the demo forms, in millimetres.
const DemoField kFields[] = {
    {"COMPANY_EMPLOYEE_NAME", "寄件人", 30, 21, 10, true},
    {"COMPANY_NAME", "单位名称", 30, 29, 20, true},
    {"COMPANY_ADDRESS", "地址", 30, 37, 20, true},
    {"COMPANY_PHONE", "电话", 30, 53, 20, true},
    {"COMPANY_POSTCODE", "邮编", 27, 61, 25, true},
    {"CLIENT_NAME", "收件人", 140, 21, 10, false},
    {"TEXT_FIELD1", "单位名称", 140, 29, 20, false},
    {"CLIENT_ADD", "地址", 140, 37, 20, false},
    {"CLIENT_HANDSET_PHONE", "手机", 140, 53, 8, false},
    {"CLIENT_PHONE", "电话", 184, 53, 8, false},
    {"CLIENT_POSTCODE", "邮编", 137, 61, 25, false},
    {"TEXT_NOTE", "备注", 30, 78, 20, false},
    {"FAST_MONEY", "运费", 140, 78, 10, false},
    {"CLIENT_ORDER_ID", "订单号", 140, 86, 15, false},
    {"CREATE_DATE", "寄件日期", 140, 94, 10, false},
};

QPointF px(double xMm, double yMm)
{
    return {xMm * kPixelsPerMm, yMm * kPixelsPerMm};
}

QRectF box(double x, double y, double w, double h)
{
    return {px(x, y), px(x + w, y + h)};
}

// A blank form with its boxes and printed captions, like a scanned one.
QImage blankForm(const QString& courierName, const QColor& ink)
{
    QImage image(int(kFormWidthMm * kPixelsPerMm), int(kFormHeightMm * kPixelsPerMm),
                 QImage::Format_RGB32);
    image.fill(QColor(255, 253, 246));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont title(QStringLiteral("黑体"));
    title.setPixelSize(int(8 * kPixelsPerMm));
    title.setBold(true);
    p.setFont(title);
    p.setPen(ink);
    p.drawText(box(8, 2, 120, 13), Qt::AlignLeft | Qt::AlignVCenter, courierName);
    for (int i = 0; i < 40; ++i) // a barcode-like strip
        p.fillRect(box(150 + i * 1.7, 4, (i % 3 + 1) * 0.35, 10), Qt::black);

    p.setPen(QPen(ink, 0.35 * kPixelsPerMm));
    p.drawRect(box(8, 17, 104, 54));
    p.drawRect(box(118, 17, 104, 54));
    p.drawRect(box(8, 74, 104, 42));
    p.drawRect(box(118, 74, 104, 42));
    QFont caption(QStringLiteral("宋体"));
    caption.setPixelSize(int(3.2 * kPixelsPerMm));
    p.setFont(caption);
    p.setPen(ink);
    for (const DemoField& f : kFields) {
        // Captions stand at the left of their box, or just before a second value on the line.
        const double x = f.left < 100 ? 10 : f.left < 180 ? 120 : f.left - 12;
        p.drawText(box(x, f.top, 18, 5), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromUtf8(f.caption) + QStringLiteral("："));
    }
    // Six squares for each postcode, one digit each, 3 mm apart.
    p.setPen(QPen(ink, 0.2 * kPixelsPerMm));
    for (double left : {30.0, 140.0})
        for (int k = 0; k < 6; ++k)
            p.drawRect(box(left + k * 3 - 0.4, 60.5, 2.8, 4.6));
    p.setFont(caption);
    p.drawText(box(120, 104, 100, 10), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("收件人签名：                 日期：    月    日"));
    p.drawText(box(10, 104, 100, 10), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("寄件人签名："));
    return image;
}

const char* const kNames[] = {"张伟", "王芳", "李娜", "刘洋", "陈静",
                              "杨磊", "赵敏", "黄强", "周杰", "吴霞"};
const char* const kCompanies[] = {"北京华信科技有限公司", "上海东方贸易公司", "",
                                  "广州天河电子商行", "深圳南山软件园"};
const char* const kAddresses[] = {
    "北京市海淀区中关村大街27号中关村大厦12层", "上海市浦东新区世纪大道100号环球金融中心",
    "广州市天河区天河路385号太古汇一座",        "深圳市南山区科技园南区深南大道9996号",
    "杭州市西湖区文三路90号东部软件园",         "成都市武侯区人民南路四段11号"};
const char* const kPostcodes[] = {"100080", "200120", "510620", "518057", "310012", "610041"};

} // namespace

QString InstallDemoData(const QString& folder)
{
    InstallFontSubstitutions();
    const QString connection = QStringLiteral("kwfast-demo");
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(SqliteFilePath(folder));
        if (!db.open())
            failure = db.lastError().text();
        db.transaction();
        auto run = [&](const QString& sql) {
            if (failure.isEmpty() && !RunSQL(connection, sql))
                failure = QStringLiteral("演示数据写入错误: ") + sql;
        };
        const struct
        {
            const char* id;
            const char* name;
            const char* isDefault;
            double fee;
            QColor ink;
        } couriers[] = {{"240101090000", "顺丰速运", "是", 18, QColor(20, 20, 20)},
                        {"240101090100", "圆通速递", "否", 10, QColor(120, 30, 140)}};
        int key = 0;
        for (const auto& c : couriers) {
            const QString id = QString::fromLatin1(c.id);
            run(QStringLiteral("INSERT INTO KW_FAST_NAME_TABLE(FAST_ID,FAST_NAME,"
                               "FAST_STANDARD_MONEY,FAST_DEFAULT,NOTE,FAST_NAME_WIDTH,"
                               "FAST_NAME_HEIGHT,FAST_TOP,FAST_BOTTOM,FAST_LEFT,PICTURE_EXTNAME,"
                               "CREATE_NAME,CREATE_DATE) VALUES('%1','%2',%3,'%4','演示快递',"
                               "%5,%6,0,0,0,'.JPG','演示','%7')")
                    .arg(id, QString::fromUtf8(c.name))
                    .arg(c.fee)
                    .arg(QString::fromUtf8(c.isDefault))
                    .arg(kFormWidthMm)
                    .arg(kFormHeightMm)
                    .arg(CurrentDate().toString(QStringLiteral("yyyy-MM-dd"))));
            for (const DemoField& f : kFields)
                run(QStringLiteral("INSERT INTO KW_FAST_NAME_PRINT_TABLE(FIELD_RECORD_ID,FAST_ID,"
                                   "FIELD_NAME,FIELD_DISPLAY_NAME,FIELD_FONT_NAME,FIELD_FONT_SIZE,"
                                   "FIELD_NAME_LEFT,FIELD_NAME_TOP,FIELD_FONT_NUMBER,"
                                   "FIELD_TABLE_NAME) VALUES('24010109%1','%2','%3','%4','仿宋',"
                                   "10,%5,%6,%7,'%8')")
                        .arg(++key, 6, 10, QLatin1Char('0'))
                        .arg(id, QString::fromLatin1(f.name), QString::fromUtf8(f.caption))
                        .arg(f.left)
                        .arg(f.top)
                        .arg(f.fontNumber)
                        .arg(f.sender ? QStringLiteral("SYS_COMPANY_TABLE")
                                      : QStringLiteral("SYS_CLIENT_FIELD_TABLE")));
            if (!blankForm(QString::fromUtf8(c.name), c.ink)
                     .save(QDir(folder).filePath(id), "JPEG", 85) &&
                failure.isEmpty())
                failure = QStringLiteral("演示快递单图片保存错误");
        }

        // Thirty records over the last three months, the older ones printed.
        const QDateTime now = CurrentDateTime();
        for (int i = 0; i < 30; ++i) {
            const QDateTime at = now.addDays(-(29 - i) * 3).addSecs(-i * 37);
            const QString date = at.date().toString(QStringLiteral("yyyy-MM-dd"));
            const bool printed = i < 20;
            run(QStringLiteral(
                    "INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,CLIENT_ORDER_ID,"
                    "CLIENT_ORDER_DATE,CLIENT_NAME,CLIENT_PHONE,CLIENT_HANDSET_PHONE,CLIENT_ADD,"
                    "CLIENT_POSTCODE,FAST_NAME,FAST_ID,FAST_MONEY,CLIENT_EMPLOYEE_NAME,"
                    "TEXT_FIELD1,TEXT_NOTE,CLIENT_POSTCODE_WIDTH,STATUS,VERIFY_NAME,VERIFY_DATE,"
                    "CREATE_NAME,CREATE_DATE) VALUES('%1','%2','%3','%4','0%5-8%6','13%7',"
                    "'%8','%9',")
                    .arg(at.toString(QStringLiteral("yyMMddHHmmss")),
                         at.toString(QStringLiteral("yyyyMM")) +
                             QString::number(i + 1).rightJustified(4, QLatin1Char('0')),
                         date, QString::fromUtf8(kNames[i % 10]))
                    .arg(10 + i % 80)
                    .arg(1000000 + i * 7919)
                    .arg(900000000 + i * 104729)
                    .arg(QString::fromUtf8(kAddresses[i % 6]),
                         QString::fromLatin1(kPostcodes[i % 6])) +
                QStringLiteral("'%1','%2',%3,'李四','%4','%5',3,'%6',%7,%8,'演示','%9')")
                    .arg(
                        QString::fromUtf8(i % 3 ? "顺丰速运" : "圆通速递"),
                        QStringLiteral("SF%1").arg(7000000000LL + i * 13, 10, 10, QLatin1Char('0')))
                    .arg(i % 3 ? 18 : 10)
                    .arg(QString::fromUtf8(kCompanies[i % 5]),
                         QString::fromUtf8(i % 4 ? "" : "易碎物品，请轻放"),
                         QString::fromUtf8(printed ? "已打单" : "未打单"),
                         printed ? QStringLiteral("'演示'") : QStringLiteral("NULL"),
                         printed ? QStringLiteral("'") + date + QStringLiteral("'")
                                 : QStringLiteral("NULL"),
                         date));
        }
        if (failure.isEmpty())
            db.commit();
        else
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return failure;
}
