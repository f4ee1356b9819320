#include "records/field_catalogue.h"

#include "data/connection.h"
#include "data/helpers.h"

#include <QSqlQuery>

namespace {

CatalogueRow row(int order, const char* field, const char* caption, const char* type,
                 const char* find, int width, int displayWidth)
{
    return {order,
            QString::fromLatin1(field),
            QString::fromUtf8(caption),
            QString::fromLatin1(type),
            QString::fromLatin1(find),
            width,
            displayWidth,
            QString()};
}

TFieldsData element(const char* field, const char* caption, const char* type, const char* find,
                    int width = 0)
{
    TFieldsData d;
    d.FieldName = QString::fromLatin1(field);
    d.DisplayLabel = QString::fromUtf8(caption);
    d.DataType = QString::fromLatin1(type);
    d.FindKind = QString::fromLatin1(find);
    d.DisplayWidth = width;
    d.Visible = true;
    return d;
}

} // namespace

const QList<CatalogueRow>& DefaultCatalogue()
{
    static const QList<CatalogueRow> rows{
        row(1, "CLIENT_ORDER_ID", "订单编号", "String", "T", 16, 13),
        row(2, "CLIENT_ORDER_DATE", "订单日期", "Date", "D", 17, 17),
        row(3, "CLIENT_NAME", "收件人", "String", "T", 50, 20),
        row(4, "TEXT_FIELD1", "收件单位", "String", "T", 50, 20),
        row(5, "CLIENT_HANDSET_PHONE", "收件手机", "String", "T", 50, 30),
        row(6, "CLIENT_PHONE", "收件电话", "String", "T", 30, 30),
        row(7, "CLIENT_POSTCODE", "收件邮编", "String", "T", 10, 10),
        row(8, "TEXT_FIELD2", "收件省份", "String", "DT", 50, 20),
        row(9, "TEXT_FIELD3", "收件城市", "String", "T", 50, 20),
        row(10, "FAST_NAME", "快递名称", "String", "DT", 20, 20),
        row(11, "FAST_ID", "快递单号", "String", "T", 30, 20),
        row(12, "FAST_MONEY", "快递费用", "Float", "T", 0, 10),
        row(21, "CLIENT_ADD", "收件地址", "String", "T", 160, 30),
        row(22, "TEXT_NOTE", "备注", "String", "T", 160, 80),
    };
    return rows;
}

const QList<FieldChoice>& FieldChoices()
{
    static const QList<FieldChoice> choices = [] {
        QList<FieldChoice> c;
        for (int i = 1; i <= 9; ++i)
            c << FieldChoice{QStringLiteral("%1字符字段").arg(i),
                             QStringLiteral("TEXT_FIELD%1").arg(i),
                             QStringLiteral("String"),
                             i == 9 ? 160 : 50,
                             20,
                             QStringLiteral("T")};
        for (int i = 1; i <= 3; ++i)
            c << FieldChoice{QStringLiteral("%1日期字段").arg(i),
                             QStringLiteral("DATE_FIELD%1").arg(i),
                             QStringLiteral("Date"),
                             0,
                             10,
                             QStringLiteral("D")};
        for (int i = 1; i <= 3; ++i)
            c << FieldChoice{QStringLiteral("%1数据字段").arg(i),
                             QStringLiteral("NUMBER_FIELD%1").arg(i),
                             QStringLiteral("Float"),
                             0,
                             10,
                             QStringLiteral("T")};
        const struct
        {
            const char* caption;
            const char* field;
            const char* type;
            int width;
            int displayWidth;
            const char* find;
        } fixed[] = {
            {"订单编号字段", "CLIENT_ORDER_ID", "String", 20, 13, "T"},
            {"订单日期字段", "CLIENT_ORDER_DATE", "Date", 0, 10, "D"},
            {"收货人字段", "CLIENT_NAME", "String", 50, 13, "T"},
            {"收货地址字段", "CLIENT_ADD", "String", 160, 80, "T"},
            {"手机字段", "CLIENT_HANDSET_PHONE", "String", 30, 13, "T"},
            {"电话字段", "CLIENT_PHONE", "String", 30, 13, "T"},
            {"邮编字段", "CLIENT_POSTCODE", "String", 10, 7, "T"},
            {"快递公司字段", "FAST_NAME", "String", 20, 12, "DT"},
            {"快递单号字段", "FAST_ID", "String", 30, 13, "T"},
            {"快递费用字段", "FAST_MONEY", "Float", 10, 10, "T"},
            {"发货人字段", "CLIENT_EMPLOYEE_NAME", "String", 20, 13, "DT"},
            {"备注字段", "TEXT_NOTE", "String", 160, 80, "T"},
        };
        for (const auto& f : fixed)
            c << FieldChoice{QString::fromUtf8(f.caption),
                             QString::fromLatin1(f.field),
                             QString::fromLatin1(f.type),
                             f.width,
                             f.displayWidth,
                             QString::fromLatin1(f.find)};
        return c;
    }();
    return choices;
}

QList<CatalogueRow> ReadCatalogue()
{
    QList<CatalogueRow> rows;
    auto query = OpenSQL(kDatabaseName, QStringLiteral("SELECT  *  FROM  SYS_CLIENT_FIELD_TABLE "
                                                       "ORDER BY FIELD_ORDER"));
    while (query->next()) {
        auto text = [&query](const char* column) {
            return query->value(QString::fromLatin1(column)).toString();
        };
        rows << CatalogueRow{text("FIELD_ORDER").toInt(),
                             text("FIELD_NAME"),
                             text("FIELD_DISPLAY_NAME"),
                             text("FIELD_TYPE"),
                             text("FIELD_FIND_TYPE"),
                             text("FIELD_WIDTH").toInt(),
                             text("FIELD_DISPLAY_WIDTH").toInt(),
                             text("FIELD_ORDER_TYPE")};
    }
    return rows;
}

bool EnsureDefaultCatalogue()
{
    if (GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM SYS_CLIENT_FIELD_TABLE")) >
        0)
        return true;
    for (const CatalogueRow& r : DefaultCatalogue())
        if (!RunSQL(
                kDatabaseName,
                QStringLiteral("INSERT INTO SYS_CLIENT_FIELD_TABLE(FIELD_NAME,FIELD_DISPLAY_NAME,"
                               "FIELD_TYPE,FIELD_WIDTH,FIELD_DISPLAY_WIDTH,FIELD_FIND_TYPE,"
                               "FIELD_ORDER) VALUES(%1,%2,%3,%4,%5,%6,%7)")
                    .arg(QuotedStr(r.fieldName), QuotedStr(r.displayName), QuotedStr(r.fieldType))
                    .arg(r.width)
                    .arg(r.displayWidth)
                    .arg(QuotedStr(r.findType))
                    .arg(r.order)))
            return false;
    return true;
}

QString TypeLetter(const QString& fieldType)
{
    if (fieldType == QLatin1String("Integer") || fieldType == QLatin1String("Float"))
        return QStringLiteral("N");
    if (fieldType == QLatin1String("Date"))
        return QStringLiteral("D");
    return QStringLiteral("C");
}

TFieldsDataArray BuildColumnCatalogue(const QList<CatalogueRow>& rows)
{
    TFieldsData status = element("STATUS", "打单状态", "C", "B", 8);
    status.Choices = QStringLiteral("未打单;已打单");
    status.FooterKind = QStringLiteral("合计");
    status.Required = true;
    TFieldsDataArray columns{status};
    for (const CatalogueRow& r : rows) {
        TFieldsData d;
        d.FieldName = r.fieldName;
        d.DisplayLabel = r.displayName;
        d.DisplayWidth = r.displayWidth;
        d.DataType = TypeLetter(r.fieldType);
        d.FindKind = r.findType;
        d.Visible = true;
        if (d.DataType == QLatin1String("N"))
            d.FooterKind = QStringLiteral("@Sum");
        else if (r.fieldName == QLatin1String("CLIENT_ORDER_ID"))
            d.FooterKind = QStringLiteral("@Count");
        columns << d;
    }
    columns << element("VERIFY_NAME", "打单人员", "C", "T")
            << element("VERIFY_DATE", "打单日期", "D", "D")
            << element("CREATE_NAME", "建档人员", "C", "T")
            << element("CREATE_DATE", "建档日期", "D", "D")
            << element("EDIT_NAME", "修改人员", "C", "T")
            << element("EDIT_DATE", "修改日期", "D", "D");
    return columns;
}
