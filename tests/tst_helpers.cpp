#include "controls/fill_combo.h"
#include "data/connection.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "data/rules.h"
#include "scripted_prompter.h"
#include "test_database.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class HelpersTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parseNumber_data();
    void parseNumber();
    void roundText_data();
    void roundText();
    void amountToChinese_data();
    void amountToChinese();
    void amountBeyondTwelveDigits();
    void zeroPad_data();
    void zeroPad();
    void extractField_data();
    void extractField();
    void fileFolder_data();
    void fileFolder();
    void messageBoxes();
    void statements();
    void quotesInValues();
    void textShapedLikeADate_data();
    void textShapedLikeADate();
    void formatVariants();
    void fillCombo();
    void copyFiles();
};

void HelpersTest::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("thousands") << "1,234.50" << 1234.5;
    QTest::newRow("blanks") << "  12  " << 12.0;
    QTest::newRow("currency") << "￥ 1,200" << 1200.0;
    QTest::newRow("text before currency") << "合计￥3.5" << 3.5;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("negative") << "-3.25" << -3.25;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("trailing letters") << "12abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("infinity") << "inf" << 0.0;
}

void HelpersTest::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ParseNumber(text), expected);
}

void HelpersTest::roundText_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("5-6 down") << 0 << "五舍六入" << 2.5 << "2";
    QTest::newRow("5-6 up") << 0 << "五舍六入" << 2.6 << "3";
    QTest::newRow("3-4 down") << 0 << "三舍四入" << 2.3 << "2";
    QTest::newRow("3-4 up") << 0 << "三舍四入" << 2.4 << "3";
    QTest::newRow("2-3 down") << 0 << "二舍三入" << 2.2 << "2";
    QTest::newRow("2-3 up") << 0 << "二舍三入" << 2.3 << "3";
    QTest::newRow("1-2 down") << 0 << "一舍二入" << 2.1 << "2";
    QTest::newRow("1-2 up") << 0 << "一舍二入" << 2.2 << "3";
    QTest::newRow("ordinary half") << 0 << "" << 2.5 << "3";
    QTest::newRow("ordinary other name") << 0 << "四舍五入" << 3.5 << "4";
    QTest::newRow("5-6 two decimals") << 2 << "五舍六入" << 2.345 << "2.34";
    QTest::newRow("typed half, not its binary neighbour") << 2 << "" << 2.675 << "2.68";
    QTest::newRow("negative half away from zero") << 2 << "" << -1.005 << "-1.01";
    QTest::newRow("ten decimals means none") << 10 << "" << 2.5 << "3";
    QTest::newRow("negative decimals mean none") << -1 << "" << 7.49 << "7";
    QTest::newRow("carry into a new digit") << 1 << "" << 99.96 << "100.0";
    QTest::newRow("small negative rounds to zero") << 0 << "" << -0.2 << "0";
}

void HelpersTest::roundText()
{
    QFETCH(int, decimals);
    QFETCH(QString, mode);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(RoundText(decimals, mode, value), expected);
}

void HelpersTest::amountToChinese_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("yuan jiao fen") << "1234.56"
                                   << "壹仟贰佰叁拾肆元伍角陆分";
    QTest::newRow("hundred") << "100"
                             << "壹佰元整";
    QTest::newRow("tens and jiao") << "10.30"
                                   << "壹拾元叁角整";
    QTest::newRow("jiao only") << "0.5"
                               << "伍角整";
    QTest::newRow("fen only") << "0.05"
                              << "零伍分";
    QTest::newRow("negative") << "-5"
                              << "负伍元整";
    QTest::newRow("negative jiao") << "-0.5"
                                   << "负伍角整";
    QTest::newRow("0htu after wan") << "100123"
                                    << "壹拾万零壹佰贰拾叁元整";
    QTest::newRow("0h00 after wan") << "100100"
                                    << "壹拾万壹佰元整";
    QTest::newRow("zero inside group") << "1001"
                                       << "壹仟零壹元整";
    QTest::newRow("T0t0") << "2030"
                          << "贰仟零叁拾元整";
    QTest::newRow("000u after wan") << "50007"
                                    << "伍万零柒元整";
    QTest::newRow("commas") << "1,234.5"
                            << "壹仟贰佰叁拾肆元伍角整";
    QTest::newRow("yi with empty wan group") << "100000001"
                                             << "壹亿零壹元整";
    QTest::newRow("yi, empty wan group, thousands") << "100001000"
                                                    << "壹亿零壹仟元整";
    QTest::newRow("yi with wan") << "100010000"
                                 << "壹亿零壹万元整";
    QTest::newRow("yi round") << "300000000"
                              << "叁亿元整";
    QTest::newRow("twelve digits") << "123456789012"
                                   << "壹仟贰佰叁拾肆亿伍仟陆佰柒拾捌万玖仟零壹拾贰元整";
    QTest::newRow("zero") << "0"
                          << "";
    QTest::newRow("zero with decimals") << "0.00"
                                        << "";
    QTest::newRow("empty") << ""
                           << "";
}

void HelpersTest::amountToChinese()
{
    ScriptedPrompter prompts;
    QFETCH(QString, amount);
    QFETCH(QString, expected);
    QCOMPARE(AmountToChinese(amount), expected);
    QVERIFY(prompts.shown.isEmpty());
}

void HelpersTest::amountBeyondTwelveDigits()
{
    ScriptedPrompter prompts;
    QCOMPARE(AmountToChinese(QStringLiteral("1234567890123")), QString());
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("所处理数据超出范围!")});
}

void HelpersTest::zeroPad_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pads") << "42" << 6 << "000042";
    QTest::newRow("keeps the last digits") << "1234567" << 4 << "4567";
    QTest::newRow("wider than padding") << "7" << 12 << "0000000007";
    QTest::newRow("exact") << "0042" << 4 << "0042";
}

void HelpersTest::zeroPad()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(ZeroPad(text, width), expected);
}

void HelpersTest::extractField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first piece after a separator") << "a,b,c"
                                                   << "," << 1 << "b";
    QTest::newRow("last piece") << "a,b,c"
                                << "," << 2 << "c";
    QTest::newRow("past the end") << "a,b,c"
                                  << "," << 3 << "";
    QTest::newRow("minus one") << "a,b,c"
                               << "," << -1 << "c";
    QTest::newRow("text before the first is never returned") << "a,b,c"
                                                             << "," << 0 << "";
    QTest::newRow("minus one without separator") << "abc"
                                                 << "," << -1 << "abc";
    QTest::newRow("long separator") << "x;;y;;z"
                                    << ";;" << 2 << "z";
    QTest::newRow("empty piece") << "a,,c"
                                 << "," << 1 << "";
    QTest::newRow("empty separator") << "abc"
                                     << "" << 1 << "";
}

void HelpersTest::extractField()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(ExtractField(text, separator, index), expected);
}

void HelpersTest::fileFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("file") << "/opt/kwfast/kwfast"
                          << "/opt/kwfast/";
    QTest::newRow("no folder") << "kwfast"
                               << "";
    QTest::newRow("ends with separator") << "/opt/kwfast/"
                                         << "";
}

void HelpersTest::fileFolder()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FileFolder(path), expected);
}

void HelpersTest::messageBoxes()
{
    ScriptedPrompter prompts;
    prompts.answers.enqueue(false);
    QVERIFY(!AskYesNo(QStringLiteral("请确认是否删除")));
    ShowMsg(QStringLiteral("注意"));
    ShowErrorMsg(QStringLiteral("出错"));
    QCOMPARE(prompts.shown.size(), 3);
    QCOMPARE(prompts.shown[0].text, QStringLiteral("请确认是否删除 ?"));
    QCOMPARE(prompts.shown[0].caption, QStringLiteral("提示信息"));
    QCOMPARE(prompts.shown[1].icon, Prompter::Icon::Warning);
    QCOMPARE(prompts.shown[1].caption, QStringLiteral("提示信息"));
    QCOMPARE(prompts.shown[2].icon, Prompter::Icon::Error);
    QCOMPARE(prompts.shown[2].caption, QStringLiteral("错误信息"));
    QVERIFY(prompts.unexpected.isEmpty());
}

void HelpersTest::statements()
{
    TestDatabase db;
    QVERIFY(db.ok());
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID,USE_NAME,"
                                                 "SYS_USER) VALUES('A1','张三','是')")));
    QVERIFY(!RunSQL(kDatabaseName, QStringLiteral("INSERT INTO NO_SUCH_TABLE VALUES(1)")));

    QCOMPARE(GetSQLValue(kDatabaseName,
                         QStringLiteral("SELECT USE_NAME FROM SYS_USER_TABLE WHERE USE_ID='A1'")),
             QStringLiteral("张三"));
    QCOMPARE(GetSQLValue(kDatabaseName,
                         QStringLiteral("SELECT USE_NAME FROM SYS_USER_TABLE WHERE USE_ID='ZZ'")),
             QString());
    QCOMPARE(GetSQLNumber(kDatabaseName, QStringLiteral("SELECT  Count(USE_ID) from "
                                                        "SYS_USER_TABLE WHERE  SYS_USER ='是'")),
             1.0);
    QCOMPARE(GetSQLNumber(kDatabaseName,
                          QStringLiteral("SELECT USE_ID FROM SYS_USER_TABLE WHERE USE_ID='ZZ'")),
             0.0);

    QVERIFY(!GetSQLRow(kDatabaseName,
                       QStringLiteral("SELECT USE_ID FROM SYS_USER_TABLE WHERE USE_ID='ZZ'"))
                 .isValid());
    QCOMPARE(GetSQLRow(kDatabaseName, QStringLiteral("SELECT USE_NAME FROM SYS_USER_TABLE")),
             QVariant(QStringLiteral("张三")));
    const QVariantList row =
        GetSQLRow(kDatabaseName, QStringLiteral("SELECT USE_ID,USE_NAME FROM SYS_USER_TABLE"))
            .toList();
    QCOMPARE(row, (QVariantList{QStringLiteral("A1"), QStringLiteral("张三")}));

    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             GetSQLValue(kDatabaseName, QStringLiteral("SELECT X FROM NOWHERE")));
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             OpenSQL(kDatabaseName, QStringLiteral("SELECT X FROM NOWHERE")));
    // A colon in a value is text, not a parameter.
    QVERIFY(
        RunSQL(kDatabaseName,
               QStringLiteral("UPDATE SYS_USER_TABLE SET NOTE='10:30 :OLD_X' WHERE USE_ID='A1'")));
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT NOTE FROM SYS_USER_TABLE")),
             QStringLiteral("10:30 :OLD_X"));
}

void HelpersTest::quotesInValues()
{
    TestDatabase db;
    const QString name = QStringLiteral("O'Brien'); DROP TABLE SYS_USER_TABLE; --");
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID,USE_NAME) VALUES('Q1',%1)")
                       .arg(QuotedStr(name))));
    QCOMPARE(GetSQLValue(kDatabaseName,
                         QStringLiteral("SELECT USE_ID FROM SYS_USER_TABLE WHERE USE_NAME = ") +
                             QuotedStr(name)),
             QStringLiteral("Q1"));
    QCOMPARE(SqlDate(QStringLiteral("2024-12-31")), QStringLiteral("DATE '12/31/2024'"));
    QCOMPARE(SqlDate(QStringLiteral("2024-13-01")), QStringLiteral("NULL"));
}

void HelpersTest::textShapedLikeADate_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("month/day/year") << "3/5/2024";
    QTest::newRow("two-digit parts") << "12/31/2024";
    QTest::newRow("quotes inside") << "it's DATE '3/5/2024'";
}

// Only the program's own dates are rewritten for the engine; an operator's
// text is stored, found and compared as typed.
void HelpersTest::textShapedLikeADate()
{
    QFETCH(QString, text);
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,TEXT_NOTE,"
                                  "CREATE_DATE) VALUES('1',%1,%2)")
                       .arg(QuotedStr(text), SqlDate(QStringLiteral("2024-03-05")))));
    QCOMPARE(GetSQLValue(kDatabaseName,
                         QStringLiteral("SELECT TEXT_NOTE || '|' || CREATE_DATE FROM "
                                        "KW_CLIENT_TABLE WHERE CREATE_DATE = %1 AND TEXT_NOTE = %2")
                             .arg(SqlDate(QStringLiteral("2024-03-05")), QuotedStr(text))),
             text + QStringLiteral("|2024-03-05"));

    // A value list is keyed by its text: the record set checks and finds rows by it.
    const QString table = QStringLiteral("KW_CLIENT_TEXT_FIELD1_TABLE");
    const QString field = QStringLiteral("TEXT_FIELD1");
    TKWQuery values;
    values.SetTableName(table);
    values.SetCheckData({UniqueCheck(table, field, QStringLiteral("备注重复"))});
    values.OpenData();
    values.AppendData();
    values.SetFieldText(field, text);
    values.SaveData();
    values.AppendData();
    values.SetFieldText(field, text);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, values.SaveData());
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("备注重复")});
    values.CancelData();
    values.EditData();
    values.SetFieldText(field, text + QStringLiteral("!"));
    values.SaveData();
    QCOMPARE(GetSQLValue(kDatabaseName,
                         QStringLiteral("SELECT COUNT(*) || %1 FROM %2").arg(field, table)),
             QStringLiteral("1") + text + QStringLiteral("!"));
    QVERIFY(prompts.shown.isEmpty());
}

void HelpersTest::formatVariants()
{
    TestDatabase db;
    QVERIFY(RunSQLFmt(kDatabaseName,
                      QStringLiteral("INSERT INTO SYS_ID_TABLE(NAME_ID,AUTO_ID) VALUES('%s','%d')"),
                      QStringLiteral("计数"), 42));
    QCOMPARE(GetSQLValueFmt(kDatabaseName,
                            QStringLiteral("SELECT AUTO_ID FROM SYS_ID_TABLE WHERE NAME_ID = '%s'"),
                            QStringLiteral("计数")),
             QStringLiteral("42"));
    QCOMPARE(FormatSql(QStringLiteral("100%% %s"), {QStringLiteral("x")}),
             QStringLiteral("100% x"));
}

void HelpersTest::fillCombo()
{
    TestDatabase db;
    for (const char* id : {"B", "A", "B2"})
        QVERIFY(
            RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID) VALUES('%1')")
                                      .arg(QString::fromLatin1(id))));
    auto query =
        OpenSQL(kDatabaseName, QStringLiteral("SELECT USE_ID FROM SYS_USER_TABLE ORDER BY USE_ID"));
    QComboBox box;
    box.addItem(QStringLiteral("old"));
    FillCombo(&box, *query, QStringLiteral("use_id"));
    QCOMPARE(box.count(), 3);
    QCOMPARE(box.itemText(0), QStringLiteral("A"));
    QCOMPARE(box.itemText(2), QStringLiteral("B2"));
}

void HelpersTest::copyFiles()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(source + QStringLiteral("/DataFile")));
    QFile file(source + QStringLiteral("/DataFile/A1"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("attachment");
    file.close();

    const QString copy = dir.filePath(QStringLiteral("copy"));
    QVERIFY(CopyFiles(source, copy));
    QVERIFY(IsDirectory(copy));
    QFile copied(copy + QStringLiteral("/DataFile/A1"));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray("attachment"));

    // Into an existing folder the source arrives as a folder of its own.
    QVERIFY(CopyFiles(source, copy));
    QVERIFY(IsDirectory(copy + QStringLiteral("/data/DataFile")));
    QVERIFY(!CopyFiles(source, source + QStringLiteral("/inside")));
    QVERIFY(!CopyFiles(dir.filePath(QStringLiteral("missing")), copy));
    QVERIFY(!IsDirectory(copy + QStringLiteral("/DataFile/A1")));
    QVERIFY(TempFolder().endsWith(QLatin1Char('/')));

    // A staged copy replaces its target only when committed.
    const QString stored = copy + QStringLiteral("/DataFile/A1");
    const QString update = dir.filePath(QStringLiteral("update"));
    QFile newer(update);
    QVERIFY(newer.open(QIODevice::WriteOnly));
    newer.write("newer");
    newer.close();
    auto content = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        QSaveFile staged(stored);
        QVERIFY(StageFileCopy(update, staged));
        QCOMPARE(content(stored), QByteArray("attachment"));
    }
    QCOMPARE(content(stored), QByteArray("attachment"));
    QSaveFile staged(stored);
    QVERIFY(StageFileCopy(update, staged));
    QVERIFY(staged.commit());
    QCOMPARE(content(stored), QByteArray("newer"));
    // Under a file there is no folder to write in; a missing source copies nothing.
    QSaveFile underAFile(stored + QStringLiteral("/A2"));
    QVERIFY(!StageFileCopy(update, underAFile));
    QSaveFile fromNothing(stored);
    QVERIFY(!StageFileCopy(dir.filePath(QStringLiteral("missing")), fromNothing));
    QVERIFY(!fromNothing.commit());
    QCOMPARE(content(stored), QByteArray("newer"));
    QCOMPARE(QDir(copy + QStringLiteral("/DataFile")).entryList(QDir::Files),
             QStringList{QStringLiteral("A1")});
}

QTEST_MAIN(HelpersTest)
#include "tst_helpers.moc"
