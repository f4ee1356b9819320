#include "data/connection.h"
#include "data/helpers.h"
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
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("DELETE FROM SYS_CLIENT_FIELD_TABLE WHERE FIELD_ORDER > 1")));
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

QTEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
