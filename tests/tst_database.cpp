#include "data/connection.h"
#include "data/dialect.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/schema.h"
#include "platform/config.h"
#include "platform/gbk.h"
#include "test_database.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

class DatabaseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyTableWithItsColumnsAndKey();
    void referenceRows();
    void widthsFromTheSchema();
    void translate_data();
    void translate();
    void statementsRunOnSqlite_data();
    void statementsRunOnSqlite();
    void columnNamesIgnoreCase();
    void duplicateKeyIsRefused();
    void missingDatabaseFileIsAnError();
    void installTool();
    void gbkBytes();
};

void DatabaseTest::everyTableWithItsColumnsAndKey()
{
    TestDatabase db;
    QVERIFY(db.ok());
    QCOMPARE(SchemaTables().size(), 31);
    for (const TableDef& table : SchemaTables()) {
        auto info = OpenSQL(kDatabaseName, QStringLiteral("PRAGMA table_info(%1)").arg(table.name));
        QStringList columns;
        QStringList key;
        while (info->next()) {
            columns << info->value(QStringLiteral("name")).toString();
            if (info->value(QStringLiteral("pk")).toInt() > 0)
                key << info->value(QStringLiteral("name")).toString();
        }
        QStringList expected;
        for (const ColumnDef& c : table.columns)
            expected << c.name;
        QCOMPARE(columns, expected);
        QCOMPARE(key, table.key);
    }
    QVERIFY(FindTable(QStringLiteral("kw_client_table")));
    QCOMPARE(FindTable(QStringLiteral("KW_CLIENT_TABLE"))->columns.size(), 36);
}

void DatabaseTest::referenceRows()
{
    TestDatabase db;
    auto programs =
        OpenSQL(kDatabaseName, QStringLiteral("SELECT C.COMPOSE_NAME, P.PROGRAM_ID, P.PROGRAM_NAME "
                                              "FROM SYS_PROGRAM_TABLE P, SYS_COMPOSE_TABLE C WHERE "
                                              "P.COMPOSE_ID = C.COMPOSE_ID ORDER BY P.COMPOSE_ID, "
                                              "P.PROGRAM_ID"));
    QStringList rows;
    while (programs->next())
        rows << programs->value(0).toString() + QLatin1Char('/') + programs->value(1).toString() +
                    QLatin1Char('/') + programs->value(2).toString();
    QCOMPARE(rows, (QStringList{QStringLiteral("快递单据管理/1/发件记录录入编辑"),
                                QStringLiteral("快递单据管理/2/快递名称录入编辑"),
                                QStringLiteral("快递单据管理/3/发件人资料录入编辑"),
                                QStringLiteral("系统管理/1/数据备份"),
                                QStringLiteral("系统管理/2/数据恢复")}));
    for (const char* name : {"发件编号", "检查发件编号重复", "不自动数据备份", "日期范围节点字段",
                             "日期范围节点名称", "整页打印"})
        QCOMPARE(
            GetSQLNumber(kDatabaseName,
                         QStringLiteral("SELECT COUNT(*) FROM SYS_ID_TABLE WHERE NAME_ID = '%1'")
                             .arg(QString::fromUtf8(name))),
            1.0);
    QCOMPARE(GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM SYS_USER_TABLE")),
             0.0);
}

void DatabaseTest::widthsFromTheSchema()
{
    QCOMPARE(FindColumn(QStringLiteral("KW_CLIENT_TABLE"), QStringLiteral("client_add"))->width,
             180);
    QCOMPARE(FindColumn(QStringLiteral("SYS_USER_TABLE"), QStringLiteral("USE_ID"))->width, 6);
    QCOMPARE(
        FindColumn(QStringLiteral("KW_CLIENT_TEXT_FIELD9_TABLE"), QStringLiteral("TEXT_FIELD9"))
            ->width,
        160);
    QCOMPARE(FindColumn(QStringLiteral("SYS_RIGHT_TABLE"), QStringLiteral("DELETE_RIGHT"))->name,
             QStringLiteral("DElETE_RIGHT"));
    QCOMPARE(FindColumn(QStringLiteral("KW_FAST_NAME_TABLE"), QStringLiteral("FAST_TOP"))->type,
             ColumnType::Number);
    QVERIFY(!FindColumn(QStringLiteral("KW_CLIENT_TABLE"), QStringLiteral("NO_SUCH")));
}

void DatabaseTest::translate_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("substring") << "SELECT SUBSTRING(CLIENT_ORDER_ID FROM 7 FOR 4) FROM T"
                               << "SELECT SUBSTR(CLIENT_ORDER_ID, 7, 4) FROM T";
    QTest::newRow("prefix as a range") << "WHERE SubString(F FROM 1 FOR 6)= '202403'"
                                       << "WHERE (F >= '202403' AND F < '202403' || char(1114111))";
    QTest::newRow("not a prefix of that length") << "WHERE SUBSTRING(F FROM 1 FOR 6) = '2024'"
                                                 << "WHERE SUBSTR(F, 1, 6) = '2024'";
    QTest::newRow("nested max") << "SELECT MAX(SUBSTRING(A FROM 1 FOR 2)) FROM T"
                                << "SELECT MAX(SUBSTR(A, 1, 2)) FROM T";
    QTest::newRow("extract") << "WHERE EXTRACT(YEAR FROM CREATE_DATE) = 2024"
                             << "WHERE CAST(STRFTIME('%Y', CREATE_DATE) AS INTEGER) = 2024";
    QTest::newRow("date literal") << "WHERE D >= DATE '3/5/2024' AND D <= date  '12/31/2024'"
                                  << "WHERE D >= '2024-03-05' AND D <= '2024-12-31'";
    QTest::newRow("text shaped like a date") << "SET N = '3/5/2024', M = '12/31/2024'"
                                             << "SET N = '3/5/2024', M = '12/31/2024'";
    QTest::newRow("quoted text untouched")
        << "WHERE N = 'SUBSTRING(x FROM 1 FOR 2) it''s DATE ''1/2/2024'' ok'"
        << "WHERE N = 'SUBSTRING(x FROM 1 FOR 2) it''s DATE ''1/2/2024'' ok'";
    QTest::newRow("not a date after DATE") << "WHERE D = DATE '3/5'"
                                           << "WHERE D = DATE '3/5'";
    QTest::newRow("word containing the name") << "SELECT MY_SUBSTRING(A) FROM T"
                                              << "SELECT MY_SUBSTRING(A) FROM T";
}

void DatabaseTest::translate()
{
    QFETCH(QString, sql);
    QFETCH(QString, sqlite);
    QCOMPARE(TranslateSql(sql, QStringLiteral("QSQLITE")), sqlite);
    QCOMPARE(TranslateSql(sql, QStringLiteral("QPSQL")), sql);
}

void DatabaseTest::statementsRunOnSqlite_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("monthly serial") << "SELECT MAX(SUBSTRING(CLIENT_ORDER_ID FROM 7 FOR 4)) FROM "
                                       "KW_CLIENT_TABLE WHERE CLIENT_ORDER_ID LIKE '202403%'"
                                    << "0042";
    QTest::newRow("monthly serial as written")
        << "SELECT MAX(SubString(CLIENT_ORDER_ID FROM 7 FOR 10)) From KW_CLIENT_TABLE WHERE "
           "SubString(CLIENT_ORDER_ID FROM 1 FOR 6)= '202403'"
        << "0042";
    QTest::newRow("extract month") << "SELECT COUNT(*) FROM KW_CLIENT_TABLE WHERE "
                                      "EXTRACT(MONTH FROM CREATE_DATE) = 3 AND "
                                      "EXTRACT(YEAR FROM CREATE_DATE) = 2024"
                                   << "2";
    QTest::newRow("date range") << "SELECT COUNT(*) FROM KW_CLIENT_TABLE WHERE CREATE_DATE >= "
                                   "DATE '03/01/2024' AND CREATE_DATE <= DATE '03/31/2024'"
                                << "2";
    QTest::newRow("day") << "SELECT CLIENT_RECORD_ID FROM KW_CLIENT_TABLE WHERE CREATE_DATE = "
                            "DATE '04/01/2024'"
                         << "240401080000";
}

void DatabaseTest::statementsRunOnSqlite()
{
    TestDatabase db;
    const char* rows[][3] = {{"240305100000", "2024030001", "03/05/2024"},
                             {"240331235959", "2024030042", "03/31/2024"},
                             {"240401080000", "2024040001", "04/01/2024"}};
    for (const auto& r : rows)
        QVERIFY(
            RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,CLIENT_ORDER_ID,"
                                  "CREATE_DATE) VALUES('%1','%2',DATE '%3')")
                       .arg(QString::fromLatin1(r[0]), QString::fromLatin1(r[1]),
                            QString::fromLatin1(r[2]))));
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT CREATE_DATE FROM KW_CLIENT_TABLE "
                                                       "WHERE CLIENT_RECORD_ID='240305100000'")),
             QStringLiteral("2024-03-05"));
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(GetSQLValue(kDatabaseName, sql), expected);
}

void DatabaseTest::columnNamesIgnoreCase()
{
    TestDatabase db;
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,PROGRAM_ID,"
                                  "DElETE_RIGHT) VALUES('A',1,1,'是')")));
    auto rights = OpenSQL(kDatabaseName, QStringLiteral("SELECT * FROM  SYS_RIGHT_TABLE WHERE "
                                                        "COMPOSE_ID =1 and PROGRAM_ID =1"));
    QVERIFY(rights->next());
    QCOMPARE(rights->value(QStringLiteral("DELETE_RIGHT")).toString(), QStringLiteral("是"));
    QCOMPARE(rights->record().indexOf(QStringLiteral("delete_right")), 5);
}

void DatabaseTest::duplicateKeyIsRefused()
{
    TestDatabase db;
    const QString insert = QStringLiteral(
        "INSERT INTO KW_FAST_NAME_TABLE(FAST_ID,FAST_NAME) VALUES('240305100000','%1')");
    OpenSQL(kDatabaseName, insert.arg(QStringLiteral("顺丰")));
    try {
        OpenSQL(kDatabaseName, insert.arg(QStringLiteral("圆通")));
        QFAIL("a second row with the same key was accepted");
    } catch (const DatabaseError& e) {
        QCOMPARE(e.condition(), DatabaseError::Condition::DuplicateKey);
    }
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT FAST_NAME FROM KW_FAST_NAME_TABLE")),
             QStringLiteral("顺丰"));
}

void DatabaseTest::missingDatabaseFileIsAnError()
{
    TestDatabase db;
    CloseKWfastDataBase();
    QVERIFY(QFile::remove(SqliteFilePath(db.dbPath())));
    try {
        OpenKWfastDataBase();
        QFAIL("opened a database that is not there");
    } catch (const DatabaseError& e) {
        QCOMPARE(e.condition(), DatabaseError::Condition::CannotOpen);
    }
    QVERIFY(!QFile::exists(SqliteFilePath(db.dbPath())));
}

void DatabaseTest::installTool()
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KWFAST_HOME"), home.path());
    const QString folder = home.filePath(QStringLiteral("KWFast/data"));
    auto run = [&](const QStringList& args) {
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(KWFAST_INITDB), args);
        tool.waitForFinished();
        return tool.exitCode();
    };
    QCOMPARE(run({folder}), 0);
    QVERIFY(QFile::exists(SqliteFilePath(folder)));
    qputenv("KWFAST_HOME", home.path().toUtf8());
    QCOMPARE(AliasPath(kAliasName), folder);
    // A second installation never overwrites a database.
    QCOMPARE(run({folder}), 1);
    QCOMPARE(run({QStringLiteral("--alias-only"), folder}), 0);
    QCOMPARE(run({}), 2);
    qputenv("KWFAST_HOME", home.filePath(QStringLiteral("elsewhere")).toUtf8());
    QCOMPARE(AliasPath(kAliasName), QString());
}

void DatabaseTest::gbkBytes()
{
    QCOMPARE(GbkByteLength(u"abc"), 3);
    QCOMPARE(GbkByteLength(u"收货人A"), 7);
    QCOMPARE(GbkByteLength(u""), 0);
}

QTEST_MAIN(DatabaseTest)
#include "tst_database.moc"
