#include "data/connection.h"
#include "data/helpers.h"
#include "records/date_nodes.h"
#include "records/editor_layout.h"
#include "records/field_catalogue.h"
#include "test_database.h"

#include <QtTest>

class CatalogueTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultCatalogueOnce();
    void fieldChoices();
    void columnCatalogue();
    void dateNodes_data();
    void dateNodes();
    void dateNodesRunOnSqlite();
    void editorLayout();
};

void CatalogueTest::defaultCatalogueOnce()
{
    TestDatabase db;
    QVERIFY(EnsureDefaultCatalogue());
    QList<CatalogueRow> rows = ReadCatalogue();
    QCOMPARE(rows.size(), 14);
    QCOMPARE(rows.first().fieldName, QStringLiteral("CLIENT_ORDER_ID"));
    QCOMPARE(rows.last().fieldName, QStringLiteral("TEXT_NOTE"));
    QCOMPARE(rows.last().order, 22);
    QCOMPARE(rows[7].findType, QStringLiteral("DT"));
    // A catalogue with rows is left as it is.
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("DELETE FROM SYS_CLIENT_FIELD_TABLE WHERE FIELD_ORDER > 1")));
    QVERIFY(EnsureDefaultCatalogue());
    QCOMPARE(ReadCatalogue().size(), 1);
}

void CatalogueTest::fieldChoices()
{
    const QList<FieldChoice>& choices = FieldChoices();
    QCOMPARE(choices.size(), 27);
    QCOMPARE(choices[0].caption, QStringLiteral("1字符字段"));
    QCOMPARE(choices[8].width, 160); // TEXT_FIELD9
    QCOMPARE(choices[9].fieldName, QStringLiteral("DATE_FIELD1"));
    QCOMPARE(choices[12].fieldType, QStringLiteral("Float"));
    QCOMPARE(choices[25].fieldName, QStringLiteral("CLIENT_EMPLOYEE_NAME"));
    QCOMPARE(choices[25].findType, QStringLiteral("DT"));
    QCOMPARE(choices[26].caption, QStringLiteral("备注字段"));
}

void CatalogueTest::columnCatalogue()
{
    const TFieldsDataArray columns = BuildColumnCatalogue(DefaultCatalogue());
    QCOMPARE(columns.size(), 1 + 14 + 6);
    QCOMPARE(columns[0].FieldName, QStringLiteral("STATUS"));
    QCOMPARE(columns[0].Choices, QStringLiteral("未打单;已打单"));
    QCOMPARE(columns[0].FooterKind, QStringLiteral("合计"));
    QCOMPARE(columns[1].FooterKind, QStringLiteral("@Count")); // CLIENT_ORDER_ID
    QCOMPARE(columns[2].DataType, QStringLiteral("D"));
    QCOMPARE(columns[12].FieldName, QStringLiteral("FAST_MONEY"));
    QCOMPARE(columns[12].FooterKind, QStringLiteral("@Sum"));
    QCOMPARE(columns[12].DataType, QStringLiteral("N"));
    QCOMPARE(columns.last().DisplayLabel, QStringLiteral("修改日期"));
    QCOMPARE(TypeLetter(QStringLiteral("Integer")), QStringLiteral("N"));
    QCOMPARE(TypeLetter(QStringLiteral("Memo")), QStringLiteral("C"));
}

void CatalogueTest::dateNodes_data()
{
    QTest::addColumn<int>("node");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("where");
    const QDate wednesday(2024, 3, 13);
    QTest::newRow("all") << 0 << wednesday << ""
                         << "";
    QTest::newRow("all with find") << 0 << wednesday << "STATUS = '未打单'"
                                   << " WHERE STATUS = '未打单'";
    QTest::newRow("last year") << 1 << wednesday << ""
                               << " WHERE F >= DATE '01/01/2023' AND F <= DATE '12/31/2023'";
    QTest::newRow("this year, leap") << 2 << wednesday << ""
                                     << " WHERE F >= DATE '01/01/2024' AND F <= DATE '12/31/2024'";
    QTest::newRow("last month") << 3 << wednesday << ""
                                << " WHERE F >= DATE '02/01/2024' AND F <= DATE '02/29/2024'";
    // Early in the month the 31 days are counted from ten days later.
    QTest::newRow("last month from the 1st of March")
        << 3 << QDate(2024, 3, 1) << ""
        << " WHERE F >= DATE '02/01/2024' AND F <= DATE '02/29/2024'";
    QTest::newRow("last month from 31 March")
        << 3 << QDate(2024, 3, 31) << ""
        << " WHERE F >= DATE '02/01/2024' AND F <= DATE '02/29/2024'";
    QTest::newRow("last month in January")
        << 3 << QDate(2024, 1, 5) << ""
        << " WHERE F >= DATE '12/01/2023' AND F <= DATE '12/31/2023'";
    QTest::newRow("this month") << 4 << wednesday << ""
                                << " WHERE F >= DATE '03/01/2024' AND F <= DATE '03/31/2024'";
    QTest::newRow("last week") << 5 << wednesday << ""
                               << " WHERE F >= DATE '03/04/2024' AND F <= DATE '03/10/2024'";
    QTest::newRow("this week from Sunday")
        << 6 << QDate(2024, 3, 17) << ""
        << " WHERE F >= DATE '03/11/2024' AND F <= DATE '03/17/2024'";
    QTest::newRow("yesterday with find") << 7 << wednesday << "A = 1"
                                         << " WHERE A = 1 AND (F = DATE '03/12/2024')";
    QTest::newRow("today") << 8 << wednesday << ""
                           << " WHERE F = DATE '03/13/2024'";
    QTest::newRow("range with find")
        << 4 << wednesday << "A = 1"
        << " WHERE A = 1 AND (F >= DATE '03/01/2024' AND F <= DATE '03/31/2024')";
}

void CatalogueTest::dateNodes()
{
    QFETCH(int, node);
    QFETCH(QDate, today);
    QFETCH(QString, condition);
    QFETCH(QString, where);
    QCOMPARE(DateNodeStatement(node, QStringLiteral("F"), condition, today),
             QStringLiteral("SELECT * FROM KW_CLIENT_TABLE") + where);
}

void CatalogueTest::dateNodesRunOnSqlite()
{
    TestDatabase db;
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CREATE_DATE) VALUES('1','2024-02-29'),"
                                                 "('2','2024-03-01'),('3','2024-03-13')")));
    auto count = [](int node) {
        return GetSQLNumber(kDatabaseName,
                            QStringLiteral("SELECT COUNT(*) FROM (%1)")
                                .arg(DateNodeStatement(node, QStringLiteral("CREATE_DATE"),
                                                       QString(), QDate(2024, 3, 13))));
    };
    QCOMPARE(count(0), 3.0);
    QCOMPARE(count(3), 1.0);
    QCOMPARE(count(4), 2.0);
    QCOMPARE(count(8), 1.0);
    QCOMPARE(DateNodeNames().size(), 9);
}

namespace {
const EditorPlacement* placed(const QList<EditorPlacement>& layout, const char* field)
{
    for (const EditorPlacement& p : layout)
        if (p.fieldName == QLatin1String(field))
            return &p;
    return nullptr;
}
CatalogueRow catalogueRow(int order, const char* field, const char* find = "T")
{
    return {order,
            QString::fromLatin1(field),
            QString::fromLatin1(field),
            QStringLiteral("String"),
            QString::fromLatin1(find),
            0,
            0,
            QString()};
}
} // namespace

void CatalogueTest::editorLayout()
{
    // The default catalogue fills rows 1 to 3: the address moves up into row 4
    // and the note follows into row 5.
    QList<EditorPlacement> layout = ComputeEditorLayout(DefaultCatalogue());
    QCOMPARE(placed(layout, "CLIENT_ORDER_ID")->control, QRect(63, 10, 135, 20));
    QCOMPARE(placed(layout, "CLIENT_NAME")->control, QRect(465, 10, 135, 20)); // place 3
    QCOMPARE(placed(layout, "FAST_MONEY")->control, QRect(666, 50, 135, 20));  // place 12
    QCOMPARE(placed(layout, "FAST_MONEY")->kind, QStringLiteral("number"));
    QCOMPARE(placed(layout, "TEXT_FIELD2")->kind, QStringLiteral("pick"));
    QCOMPARE(placed(layout, "CLIENT_ORDER_DATE")->kind, QStringLiteral("date"));
    QCOMPARE(placed(layout, "CLIENT_ADD")->control, QRect(63, 70, 738, 20));
    QCOMPARE(placed(layout, "TEXT_NOTE")->control, QRect(63, 90, 738, 20));
    QCOMPARE(placed(layout, "TEXT_NOTE")->label, QPoint(61, 94));

    // Few fields: widening over free neighbours, address into row 2, note into row 3.
    layout =
        ComputeEditorLayout({catalogueRow(1, "CLIENT_ORDER_ID"), catalogueRow(2, "CLIENT_NAME"),
                             catalogueRow(21, "CLIENT_ADD"), catalogueRow(26, "TEXT_NOTE"),
                             catalogueRow(9, "FAST_NAME", "T")});
    QCOMPARE(placed(layout, "CLIENT_NAME")->control.width(), 537);
    QVERIFY(!placed(layout, "FAST_NAME")); // typed freely is no kind a courier has
    QCOMPARE(placed(layout, "CLIENT_ADD")->control.top(), 30);
    QCOMPARE(placed(layout, "TEXT_NOTE")->control.top(), 50);

    // Places 1 … 6 only: place 6 widens over 7 and 8, the address goes to row 3, the note to row 4.
    QList<CatalogueRow> six{catalogueRow(21, "CLIENT_ADD"), catalogueRow(26, "TEXT_NOTE")};
    const char* sixFields[] = {"CLIENT_ORDER_ID", "CLIENT_NAME", "CLIENT_PHONE",
                               "CLIENT_POSTCODE", "FAST_ID",     "TEXT_FIELD1"};
    for (int n = 1; n <= 6; ++n)
        six << catalogueRow(n, sixFields[n - 1]);
    layout = ComputeEditorLayout(six);
    QCOMPARE(placed(layout, "FAST_ID")->control.width(), 135);
    QCOMPARE(placed(layout, "TEXT_FIELD1")->control.width(), 537);
    QCOMPARE(placed(layout, "CLIENT_ADD")->control.top(), 50);
    QCOMPARE(placed(layout, "TEXT_NOTE")->control.top(), 70);

    // Rows 2 and 3 empty, rows 4 and 5 used: the address goes to row 2, the note to the address
    // line.
    QList<CatalogueRow> low{catalogueRow(1, "CLIENT_ORDER_ID"), catalogueRow(13, "CLIENT_NAME"),
                            catalogueRow(17, "CLIENT_PHONE"), catalogueRow(21, "CLIENT_ADD"),
                            catalogueRow(26, "TEXT_NOTE")};
    layout = ComputeEditorLayout(low);
    QCOMPARE(placed(layout, "CLIENT_ADD")->control.top(), 30);
    QCOMPARE(placed(layout, "TEXT_NOTE")->control.top(), 110);

    // A full row 5 keeps the address on its line; the note follows it there.
    QList<CatalogueRow> full{catalogueRow(1, "CLIENT_ORDER_ID")};
    for (int n = 2; n <= 20; ++n)
        full << catalogueRow(n, "TEXT_FIELD1");
    full[1] = catalogueRow(5, "CLIENT_PHONE");
    full << catalogueRow(21, "CLIENT_ADD") << catalogueRow(26, "TEXT_NOTE");
    layout = ComputeEditorLayout(full);
    QCOMPARE(placed(layout, "CLIENT_ADD")->control.top(), 110);
    QCOMPARE(placed(layout, "TEXT_NOTE")->control.top(), 130);
    QCOMPARE(placed(layout, "CLIENT_PHONE")->control.width(), 135);
}

QTEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
