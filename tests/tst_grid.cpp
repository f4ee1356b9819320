#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "scripted_prompter.h"
#include "test_database.h"

#include <QHeaderView>
#include <QTableView>
#include <QtTest>

class GridTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exactSums_data();
    void exactSums();
    void catalogueFootersAndRows();
    void emptyRowsTakeNoSelection_data();
    void emptyRowsTakeNoSelection();
    void storedLayoutPerUser();
    void resetSettings();
};

namespace {

TFieldsDataArray catalogue()
{
    TFieldsData status{QStringLiteral("STATUS"), QStringLiteral("打单状态"), 8};
    status.FooterKind = QStringLiteral("合计");
    TFieldsData order{QStringLiteral("CLIENT_ORDER_ID"), QStringLiteral("订单编号"), 12};
    order.FooterKind = QStringLiteral("@Count");
    TFieldsData name{QStringLiteral("CLIENT_NAME"), QStringLiteral("收件人"), 10};
    TFieldsData money{QStringLiteral("FAST_MONEY"), QStringLiteral("快递费用"), 0};
    money.FooterKind = QStringLiteral("@Sum");
    money.DataType = QStringLiteral("N");
    return {status, order, name, money};
}

struct MainList
{
    TKWQuery query;
    TKWNDBGrid grid{&query};
    explicit MainList(const QString& user)
    {
        query.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
        grid.SetFieldsData(catalogue());
        grid.FormName = QStringLiteral("MainForm");
        grid.SetTableName = QStringLiteral("SYS_DBGRID_SET_TABLE");
        grid.DataBaseName = kDatabaseName;
        grid.UserID = user;
        grid.SaveOrder = true;
        grid.SetFullRows(true);
        grid.resize(900, 400);
        grid.show();
        query.OpenData();
    }
    QHeaderView* header() const { return grid.view()->horizontalHeader(); }
    int column(const char* field) const
    {
        return grid.model()->columnOfField(QString::fromLatin1(field));
    }
};

void addRecords()
{
    QVERIFY(RunSQL(
        kDatabaseName,
        QStringLiteral(
            "INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,CLIENT_ORDER_ID,CLIENT_NAME,FAST_MONEY,"
            "STATUS) VALUES ('1','A1','甲',0.1,'未打单'),('2','A2','乙',0.2,'已打单'),"
            "('3','A3','丙',0.3,'已打单'),('4','A4','丁',NULL,'未打单')")));
}

} // namespace

void GridTest::exactSums_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("sum");
    QTest::newRow("tenths") << QStringList{"0.1", "0.2", "0.3"} << "0.6";
    QTest::newRow("money") << QStringList{"19.99", "0.01", "", "100"} << "120";
    QTest::newRow("many decimals") << QStringList{"1.123456789", "1"} << "2.12345679";
    QTest::newRow("nothing") << QStringList{} << "0";
    QTest::newRow("signs") << QStringList{"-1.5", "0.25", "-0.75"} << "-2";
    QTest::newRow("large") << QStringList{"123456789012345", "-1.25"} << "123456789012343.75";
}

void GridTest::exactSums()
{
    QFETCH(QStringList, values);
    QFETCH(QString, sum);
    QCOMPARE(ExactSum(values), sum);
}

void GridTest::catalogueFootersAndRows()
{
    TestDatabase db;
    addRecords();
    MainList list(QStringLiteral("A01"));
    QCOMPARE(list.grid.model()->columnCount(), 4);
    QCOMPARE(list.grid.model()->headerData(list.column("FAST_MONEY"), Qt::Horizontal).toString(),
             QStringLiteral("快递费用"));
    QCOMPARE(list.grid.GetFooterText(list.column("FAST_MONEY")), QStringLiteral("0.6"));
    QCOMPARE(list.grid.GetFooterText(list.column("CLIENT_ORDER_ID")), QStringLiteral("4"));
    QCOMPARE(list.grid.GetFooterText(list.column("STATUS")), QStringLiteral("合计"));
    QCOMPARE(list.grid.GetFooterText(list.column("CLIENT_NAME")), QString());
    QCOMPARE(list.grid.model()->rowCount(), 100); // ruled rows below the records

    // The view and the record set keep one current row.
    list.grid.view()->selectRow(2);
    QCOMPARE(list.query.RecNo(), 2);
    list.query.SetRecNo(1);
    QCOMPARE(list.grid.view()->currentIndex().row(), 1);

    // Unprinted rows take the colour the window gives them.
    list.grid.OnApplyCellAttr = [&list](int row, const QString&, QColor& background, QColor&) {
        if (list.query.CellText(row, list.query.FieldIndex(QStringLiteral("STATUS"))) ==
            QStringLiteral("未打单"))
            background = QColor(0xFF, 0xD2, 0xFF);
    };
    const QImage shot = list.grid.view()->viewport()->grab().toImage();
    const QRect first =
        list.grid.view()->visualRect(list.grid.model()->index(0, list.column("CLIENT_NAME")));
    QCOMPARE(shot.pixelColor(first.topLeft() + QPoint(3, 3)), QColor(0xFF, 0xD2, 0xFF));

    list.query.AppendData();
    QVERIFY(!list.grid.view()->isEnabled());
    list.query.CancelData();
    QVERIFY(list.grid.view()->isEnabled());
}

void GridTest::emptyRowsTakeNoSelection_data()
{
    // From the record at startRow, a key, or a click on a row's cell or number.
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<int>("clickedRow"); // -1: no click
    QTest::addColumn<bool>("onNumber");
    QTest::addColumn<int>("row");
    const QKeyCombination none;
    QTest::newRow("Down from the last") << 3 << QKeyCombination(Qt::Key_Down) << -1 << false << 3;
    QTest::newRow("PageDown") << 0 << QKeyCombination(Qt::Key_PageDown) << -1 << false << 3;
    QTest::newRow("End stays in the row") << 1 << QKeyCombination(Qt::Key_End) << -1 << false << 1;
    QTest::newRow("Ctrl+End") << 0 << QKeyCombination(Qt::ControlModifier, Qt::Key_End) << -1
                              << false << 3;
    QTest::newRow("click below the records") << 1 << none << 4 << false << 1;
    QTest::newRow("click on an empty row's number") << 1 << none << 4 << true << 1;
    // Ctrl+click on the highlighted row would take its highlight away.
    QTest::newRow("Ctrl+click on the current row")
        << 2 << QKeyCombination(Qt::ControlModifier) << 2 << false << 2;
}

void GridTest::emptyRowsTakeNoSelection()
{
    QFETCH(int, startRow);
    QFETCH(QKeyCombination, key);
    QFETCH(int, clickedRow);
    QFETCH(bool, onNumber);
    QFETCH(int, row);
    TestDatabase db;
    addRecords();
    MainList list(QStringLiteral("A01"));
    QTableView* view = list.grid.view();
    view->setFocus();
    list.query.SetRecNo(startRow);
    if (clickedRow < 0) {
        QTest::keyClick(view, key.key(), key.keyboardModifiers());
    } else {
        const QRect cell = view->visualRect(list.grid.model()->index(clickedRow, 1));
        QHeaderView* numbers = view->verticalHeader();
        if (onNumber)
            QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {},
                              QPoint(numbers->width() / 2, cell.center().y()));
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, key.keyboardModifiers(),
                              cell.center());
    }
    // The highlighted row is the record acted on.
    QCOMPARE(list.query.RecNo(), row);
    QCOMPARE(view->currentIndex().row(), row);
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().row(), row);
}

void GridTest::storedLayoutPerUser()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    addRecords();
    {
        MainList list(QStringLiteral("A01"));
        // Narrowing the name column out of sight, the money column too, and widening the order.
        list.header()->resizeSection(list.column("CLIENT_NAME"), 6);
        list.header()->resizeSection(list.column("FAST_MONEY"), 6);
        list.header()->resizeSection(list.column("CLIENT_ORDER_ID"), 250);
        list.header()->moveSection(list.header()->visualIndex(list.column("STATUS")), 3);
        list.grid.SaveSettings();
    }
    QCOMPARE(GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM SYS_DBGRID_SET_TABLE "
                                                        "WHERE USE_ID = 'A01'")),
             4.0);
    {
        MainList again(QStringLiteral("A01"));
        QCOMPARE(again.grid.model()->columnOfField(QStringLiteral("CLIENT_NAME")), -1);
        QVERIFY(again.column("FAST_MONEY") >= 0); // it carries a total: it comes back
        QCOMPARE(again.header()->sectionSize(again.column("CLIENT_ORDER_ID")), 250);
        // The stored order puts the status column last.
        QCOMPARE(again.grid.model()
                     ->headerData(again.grid.model()->columnCount() - 1, Qt::Horizontal)
                     .toString(),
                 QStringLiteral("打单状态"));
        // The hidden column's row is gone.
        QCOMPARE(GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM "
                                                            "SYS_DBGRID_SET_TABLE WHERE "
                                                            "FIELD_NAME = 'CLIENT_NAME'")),
                 0.0);
        // Once the layouts are dropped (a changed catalogue), the catalogue's order is back.
        again.grid.ResetAllSettings();
        again.query.CloseData();
        again.query.OpenData();
        QCOMPARE(again.grid.model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("打单状态"));
    }
    // Another user keeps the defaults.
    MainList other(QStringLiteral("B02"));
    QCOMPARE(other.grid.model()->columnCount(), 4);
    QVERIFY(prompts.shown.isEmpty());
}

void GridTest::resetSettings()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    addRecords();
    {
        MainList list(QStringLiteral("A01"));
        list.header()->resizeSection(list.column("CLIENT_NAME"), 6);
        list.header()->resizeSection(list.column("CLIENT_ORDER_ID"), 250);
        list.grid.SaveSettings();
    }
    MainList list(QStringLiteral("A01"));
    prompts.answers.enqueue(true);
    list.grid.ResetSettings();
    QCOMPARE(prompts.takeTexts(), (QStringList{QStringLiteral("是否恢复默认显示设置 ?"),
                                               QStringLiteral("请关闭窗口后再重新打开")}));
    list.header()->resizeSection(list.column("CLIENT_ORDER_ID"), 300);
    list.grid.SaveSettings(); // closing writes nothing after a reset
    QCOMPARE(
        GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM SYS_DBGRID_SET_TABLE")),
        0.0);
    MainList reopened(QStringLiteral("A01"));
    QCOMPARE(reopened.grid.model()->columnCount(), 4);
}

QTEST_MAIN(GridTest)
#include "tst_grid.moc"
