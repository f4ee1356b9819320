#include "data/connection.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "data/record_set.h"
#include "platform/clock.h"
#include "scripted_prompter.h"
#include "seam_guards.h"
#include "test_database.h"

#include <QtTest>

class RecordSetTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newRecordKeysAndDefaults();
    void serialRules_data();
    void serialRules();
    void twoRowsInOneSecond();
    void onlyGeneratedKeysAreRegenerated_data();
    void onlyGeneratedKeysAreRegenerated();
    void newRowNeverReplacesAStoredOne();
    void validation_data();
    void validation();
    void unchangedUniqueValueIsNotQueried();
    void askOnlyAndExistenceChecks();
    void statusRules();
    void detailStatusRules();
    void savingARowDeletedElsewhere();
    void tooLongValueIsRefused();
    void editStampsAndQuotes();
    void setStatusMarksPrinted();
    void deleting();
    void cachedDeletesAndUpdateStatements();
    void modelShowsDisplayFormats();
    void storedLayout();
    void openingABadStatement();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedPrompter> m_prompts;
};

namespace {

const QString kClientTable = QStringLiteral("KW_CLIENT_TABLE");

// The shipment record set with the main window's rules.
std::unique_ptr<TKWQuery> clientQuery(bool withChecks = true)
{
    auto q = std::make_unique<TKWQuery>();
    q->SetTableName(kClientTable);
    q->UpdateObject.ModifySQL = QStringLiteral(
        "update KW_CLIENT_TABLE set CLIENT_NAME = :CLIENT_NAME where CLIENT_RECORD_ID = "
        ":OLD_CLIENT_RECORD_ID");
    q->YearMonth = QStringLiteral("202403");
    q->Day = QStringLiteral("20240305");
    q->VerifyName = QStringLiteral("王五");
    q->VerifyDate = QStringLiteral("2024-03-05");
    auto rule = [](const char* field, const char* kind, const char* value, int width = 0) {
        TInsertData d;
        d.FieldName = QString::fromLatin1(field);
        d.Kind = QString::fromLatin1(kind);
        d.Value = QString::fromUtf8(value);
        d.Width = width;
        d.Caption = d.FieldName;
        return d;
    };
    q->SetInsertData({rule("CREATE_NAME", "A", "王五"), rule("CREATE_DATE", "A", "2024-03-05"),
                      rule("CLIENT_ORDER_DATE", "A", "2024-03-05"),
                      rule("CLIENT_RECORD_ID", "T", "", 12), rule("STATUS", "A", "未打单"),
                      rule("CLIENT_POSTCODE_WIDTH", "A", "3"),
                      rule("CLIENT_ORDER_ID", "M", "", 10)});
    q->SetEditData({{QStringLiteral("EDIT_NAME"), QString(), QStringLiteral("赵六")},
                    {QStringLiteral("EDIT_DATE"), QString(), QStringLiteral("2024-03-06")}});
    if (withChecks) {
        auto unique = [](const char* column, const char* message) {
            TCheckData c;
            c.Conditions[0] = {QString::fromLatin1(column), QString::fromLatin1(column)};
            c.KeyField = QString::fromLatin1(column);
            c.BaseSQL = QStringLiteral("SELECT %1 FROM KW_CLIENT_TABLE WHERE ")
                            .arg(QString::fromLatin1(column));
            c.Message = QString::fromUtf8(message);
            return c;
        };
        q->SetCheckData({unique("CLIENT_RECORD_ID", "纪录编号重复"),
                         unique("CLIENT_ORDER_ID", "订单编号重复")});
    }
    TFieldsData name{QStringLiteral("CLIENT_NAME"), QStringLiteral("收件人")};
    name.Required = true;
    name.DataType = QStringLiteral("C");
    TFieldsData money{QStringLiteral("FAST_MONEY"), QStringLiteral("快递费用")};
    money.DataType = QStringLiteral("N");
    TFieldsData date{QStringLiteral("DATE_FIELD1"), QStringLiteral("日期1")};
    date.DataType = QStringLiteral("D");
    TFieldsData order{QStringLiteral("CLIENT_ORDER_ID"), QStringLiteral("订单编号")};
    q->SetFieldsData({name, money, date, order});
    q->OpenData();
    return q;
}

QString stored(const QString& sql)
{
    return GetSQLValue(kDatabaseName, sql);
}

double rows(const QString& table = kClientTable)
{
    return GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM ") + table);
}

void addClient(TKWQuery& q, const QString& name)
{
    q.AppendData();
    q.SetFieldText(QStringLiteral("CLIENT_NAME"), name);
    q.SaveData();
}

void insertClient(const char* id, const char* order, const char* status = "未打单")
{
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CLIENT_ORDER_ID,CLIENT_NAME,STATUS) "
                                                 "VALUES('%1','%2','某人','%3')")
                                      .arg(QString::fromLatin1(id), QString::fromLatin1(order),
                                           QString::fromUtf8(status))));
}

} // namespace

void RecordSetTest::init()
{
    m_db = std::make_unique<TestDatabase>();
    m_prompts = std::make_unique<ScriptedPrompter>();
    SetFixedDateTime(QDateTime(QDate(2024, 3, 5), QTime(10, 0, 0)));
}

void RecordSetTest::cleanup()
{
    QVERIFY2(m_prompts->unexpected.isEmpty(), qPrintable(m_prompts->unexpected.join(u'|')));
    QVERIFY2(m_prompts->shown.isEmpty(), qPrintable(m_prompts->takeTexts().join(u'|')));
    m_prompts.reset();
    m_db.reset();
    SetFixedDateTime({});
}

void RecordSetTest::newRecordKeysAndDefaults()
{
    insertClient("240201000000", "2024020077"); // another month is ignored
    insertClient("240301000000", "2024030041");
    auto q = clientQuery();
    QCOMPARE(q->RecordCount(), 2);
    addClient(*q, QStringLiteral("张三"));
    QCOMPARE(q->State(), TDataSetState::dsBrowse);
    QCOMPARE(stored(QStringLiteral("SELECT CLIENT_ORDER_ID || '|' || STATUS || '|' || "
                                   "CREATE_NAME || '|' || CREATE_DATE || '|' || "
                                   "CLIENT_POSTCODE_WIDTH FROM KW_CLIENT_TABLE WHERE "
                                   "CLIENT_RECORD_ID = '240305100000'")),
             QStringLiteral("2024030042|未打单|王五|2024-03-05|3.0"));
    QCOMPARE(q->RecordCount(), 3);
    QCOMPARE(q->FieldText(QStringLiteral("client_name")), QStringLiteral("张三"));
}

void RecordSetTest::serialRules_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");
    QTest::newRow("serial on an empty table") << "C"
                                              << "" << 6 << QStringList{} << "000001";
    QTest::newRow("serial") << "C"
                            << "" << 6 << QStringList{"000041", "000007"} << "000042";
    QTest::newRow("short values read padded") << "C"
                                              << "" << 4 << QStringList{"12"} << "1201";
    QTest::newRow("plain maximum") << "C"
                                   << "" << 0 << QStringList{"41", "39"} << "42";
    QTest::newRow("prefix") << "C"
                            << "X" << 4 << QStringList{"X0007", "Y0100"} << "X0008";
    QTest::newRow("year") << "Y"
                          << "" << 6 << QStringList{"202341", "202403"} << "202404";
    QTest::newRow("month") << "M"
                           << "" << 10 << QStringList{"2024020077"} << "2024030001";
    QTest::newRow("day with prefix") << "D"
                                     << "B" << 10 << QStringList{"B2024030501"} << "B2024030502";
}

void RecordSetTest::serialRules()
{
    QFETCH(QString, kind);
    QFETCH(QString, prefix);
    QFETCH(int, width);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    for (int i = 0; i < existing.size(); ++i)
        QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_PRINT_NAME_TABLE(PRINT_ID,"
                                                     "PRINT_NAME) VALUES('%1','n%2')")
                                          .arg(existing[i])
                                          .arg(i)));
    TKWQuery q;
    q.SetTableName(QStringLiteral("SYS_PRINT_NAME_TABLE"));
    q.YearMonth = QStringLiteral("202403");
    q.Day = QStringLiteral("20240305");
    TInsertData rule;
    rule.FieldName = QStringLiteral("PRINT_ID");
    rule.Kind = kind;
    rule.Prefix = prefix;
    rule.Width = width;
    q.SetInsertData({rule});
    q.OpenData();
    q.AppendData();
    QCOMPARE(q.FieldText(QStringLiteral("PRINT_ID")), expected);
    q.SaveData();
    QCOMPARE(rows(QStringLiteral("SYS_PRINT_NAME_TABLE")), double(existing.size() + 1));
}

void RecordSetTest::twoRowsInOneSecond()
{
    auto q = clientQuery();
    addClient(*q, QStringLiteral("甲"));
    q->AppendData();
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("乙"));
    // The regenerated key is the same within the second: the save is refused.
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("纪录编号重复")});
    QCOMPARE(q->State(), TDataSetState::dsInsert);
    QCOMPARE(rows(), 1.0);

    // A second later the new key is free.
    FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(10, 0, 1)));
    q->SaveData();
    QCOMPARE(rows(), 2.0);
    QCOMPARE(stored(QStringLiteral("SELECT CLIENT_ORDER_ID FROM KW_CLIENT_TABLE WHERE "
                                   "CLIENT_RECORD_ID = '240305100001'")),
             QStringLiteral("2024030002"));
}

void RecordSetTest::onlyGeneratedKeysAreRegenerated_data()
{
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("typed"); // empty: the generated number stays
    QTest::addColumn<QString>("saved"); // empty: refused
    QTest::newRow("generated number taken meanwhile") << false << ""
                                                      << "2024030043";
    QTest::newRow("typed number that exists") << false << "2024030041"
                                              << "";
    QTest::newRow("generated number typed again") << false << "2024030042"
                                                  << "2024030043";
    QTest::newRow("stored row changed to one that exists") << true << "2024030042"
                                                           << "";
}

void RecordSetTest::onlyGeneratedKeysAreRegenerated()
{
    QFETCH(bool, editing);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    const QString order = QStringLiteral("CLIENT_ORDER_ID");
    insertClient("240301000000", "2024030041");
    auto q = clientQuery();
    if (editing) {
        q->EditData();
    } else {
        q->AppendData();
        QCOMPARE(q->FieldText(order), QStringLiteral("2024030042"));
    }
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("新"));
    insertClient("240301000001", "2024030042"); // another desk took the next number
    if (!typed.isEmpty())
        q->SetFieldText(order, typed);
    if (saved.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
        QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("订单编号重复")});
        QVERIFY(q->Editing());
        QCOMPARE(q->FieldText(order), typed);
        QCOMPARE(stored(QStringLiteral("SELECT COUNT(*) FROM KW_CLIENT_TABLE WHERE CLIENT_NAME = "
                                       "'新'")),
                 QStringLiteral("0"));
        return;
    }
    q->SaveData();
    QCOMPARE(
        stored(QStringLiteral("SELECT CLIENT_ORDER_ID FROM KW_CLIENT_TABLE WHERE CLIENT_NAME = "
                              "'新'")),
        saved);
}

void RecordSetTest::newRowNeverReplacesAStoredOne()
{
    auto q = clientQuery(false);
    addClient(*q, QStringLiteral("甲"));
    q->AppendData();
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("乙"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("数据库主键重复")});
    QCOMPARE(stored(QStringLiteral("SELECT CLIENT_NAME FROM KW_CLIENT_TABLE")),
             QStringLiteral("甲"));
    q->CancelData();
    QCOMPARE(q->RecordCount(), 1);
}

void RecordSetTest::validation_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("storedValue");
    QTest::newRow("required") << "CLIENT_NAME"
                              << ""
                              << "收件人必须有一个值"
                              << "";
    QTest::newRow("number") << "FAST_MONEY"
                            << "12元"
                            << "快递费用是错误的数据"
                            << "";
    QTest::newRow("number ok") << "FAST_MONEY"
                               << " 12.5 "
                               << ""
                               << "12.5";
    QTest::newRow("date") << "DATE_FIELD1"
                          << "2024-13-45"
                          << "请按格式YYYY-MM-DD 输入日期"
                          << "";
    QTest::newRow("date rewritten") << "DATE_FIELD1"
                                    << "2024/3/5"
                                    << ""
                                    << "2024-03-05";
    QTest::newRow("two-digit year") << "DATE_FIELD1"
                                    << "24.12.31"
                                    << ""
                                    << "2024-12-31";
}

void RecordSetTest::validation()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(QString, storedValue);
    auto q = clientQuery();
    q->AppendData();
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("甲"));
    q->SetFieldText(field, value);
    if (!message.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
        QCOMPARE(m_prompts->takeTexts(), QStringList{message});
        QCOMPARE(rows(), 0.0);
        return;
    }
    q->SaveData();
    QCOMPARE(stored(QStringLiteral("SELECT %1 FROM KW_CLIENT_TABLE").arg(field)), storedValue);
}

void RecordSetTest::unchangedUniqueValueIsNotQueried()
{
    insertClient("240301000000", "2024030001");
    auto q = clientQuery();
    TCheckData broken = q->CheckData()[1];
    broken.BaseSQL = QStringLiteral("SELECT X FROM NO_SUCH_TABLE WHERE ");
    q->SetCheckData({broken});
    q->EditData();
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("改"));
    q->SaveData(); // the order number did not change: no statement runs
    q->EditData();
    q->SetFieldText(QStringLiteral("CLIENT_ORDER_ID"), QStringLiteral("2024039999"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("数据库操作过程发生错误")});
}

void RecordSetTest::askOnlyAndExistenceChecks()
{
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_FAST_NAME_TABLE(FAST_ID,FAST_NAME,"
                                                 "FAST_STANDARD_MONEY) VALUES('1','顺丰',12.5)")));
    insertClient("240301000000", "2024030001");
    auto q = clientQuery(false);
    TCheckData courier;
    courier.Conditions[0] = {QStringLiteral("FAST_NAME"), QStringLiteral("FAST_NAME")};
    courier.BaseSQL = QStringLiteral("SELECT FAST_STANDARD_MONEY FROM KW_FAST_NAME_TABLE WHERE ");
    courier.MustBeUnique = false;
    courier.SkipIfEmpty = true;
    courier.FillFields = QStringLiteral("FAST_MONEY");
    courier.Message = QStringLiteral("没有这个快递");
    TCheckData sameName;
    sameName.Conditions[0] = {QStringLiteral("CLIENT_NAME"), QStringLiteral("CLIENT_NAME")};
    sameName.BaseSQL = QStringLiteral("SELECT CLIENT_NAME FROM KW_CLIENT_TABLE WHERE ");
    sameName.AskOnly = true;
    sameName.NoRegenerate = true;
    sameName.Message = QStringLiteral("收件人已经存在,是否保存");
    q->SetCheckData({courier, sameName});

    q->AppendData();
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("某人"));
    q->SetFieldText(QStringLiteral("FAST_NAME"), QStringLiteral("圆通"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("没有这个快递")});

    q->SetFieldText(QStringLiteral("FAST_NAME"), QStringLiteral("顺丰"));
    m_prompts->answers.enqueue(false);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("收件人已经存在,是否保存 ?")});
    m_prompts->answers.enqueue(true);
    q->SaveData();
    m_prompts->takeTexts();
    QCOMPARE(stored(QStringLiteral("SELECT FAST_MONEY FROM KW_CLIENT_TABLE WHERE FAST_NAME = "
                                   "'顺丰'")),
             QStringLiteral("12.5"));

    // An accepted question is not asked again for the same statement.
    q->EditData();
    q->SetFieldText(QStringLiteral("FAST_NAME"), QString());
    q->SaveData();
}

void RecordSetTest::statusRules()
{
    insertClient("240301000000", "2024030001", "已审核");
    auto q = clientQuery();
    q->ActiveStatus = true;
    q->AddStatusEditValue(QStringLiteral("未审核"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->EditData());
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->DeleteData());
    QCOMPARE(m_prompts->takeTexts(),
             (QStringList{QStringLiteral("状态为： “ 已审核 ”  的记录不能编辑"),
                          QStringLiteral("状态为： “ 已审核 ”   的记录不能删除")}));
    QCOMPARE(q->State(), TDataSetState::dsBrowse);

    // A forbidden list wins over the allowed one.
    auto locked = clientQuery();
    locked->ActiveStatus = true;
    locked->AddStatusEditEndValue(QStringLiteral("作废"));
    locked->AddStatusEditValue(QStringLiteral("未审核"));
    locked->EditData();
    locked->CancelData();
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("UPDATE KW_CLIENT_TABLE SET STATUS = '作废'")));
    locked->CloseData();
    locked->OpenData();
    QVERIFY_THROWS_EXCEPTION(SilentAbort, locked->DeleteData());
    QCOMPARE(m_prompts->takeTexts(),
             QStringList{QStringLiteral("状态为：  “ 作废 ”   的记录不能删除")});

    // The shipment list has no lists: its rows are never locked by status.
    auto list = clientQuery();
    list->ActiveStatus = true;
    list->EditData();
    list->CancelData();
}

void RecordSetTest::detailStatusRules()
{
    auto master = clientQuery();
    master->ActiveStatus = true;
    master->AddStatusEditEndValue(QStringLiteral("已打单"));
    TKWQuery pictures;
    pictures.SetTableName(QStringLiteral("KW_CLIENT_MASTER_PICTURE_TABLE"));
    pictures.QyMaster = master.get();
    pictures.OpenData();
    QVERIFY_THROWS_EXCEPTION(SilentAbort, pictures.AppendData());
    QCOMPARE(m_prompts->takeTexts(),
             QStringList{QStringLiteral("主数据库页面没有数据纪录，从数据页面不能有新的纪录")});

    insertClient("240301000000", "2024030001", "已打单");
    master->CloseData();
    master->OpenData();
    QVERIFY_THROWS_EXCEPTION(SilentAbort, pictures.AppendData());
    pictures.StatusMsg = QStringLiteral("快件记录");
    QVERIFY_THROWS_EXCEPTION(SilentAbort, pictures.AppendData());
    QCOMPARE(m_prompts->takeTexts(),
             (QStringList{QStringLiteral("主档纪录状态为：  “已打单 ”  的从档不能增加新记录"),
                          QStringLiteral("快件记录的状态是 “已打单 ” , 不能增加新的记录")}));
    QCOMPARE(pictures.RecordCount(), 0);
}

void RecordSetTest::savingARowDeletedElsewhere()
{
    insertClient("240301000000", "2024030001");
    auto q = clientQuery();
    q->EditData();
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("新名字"));
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("DELETE FROM KW_CLIENT_TABLE")));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
    QCOMPARE(m_prompts->takeTexts(),
             QStringList{QStringLiteral("该记录已被其它用户删除或在其它窗口被删除")});
    QCOMPARE(q->State(), TDataSetState::dsEdit);
    QCOMPARE(q->FieldText(QStringLiteral("CLIENT_NAME")), QStringLiteral("新名字"));
    QCOMPARE(rows(), 0.0);
}

void RecordSetTest::tooLongValueIsRefused()
{
    auto q = clientQuery();
    q->AppendData();
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("甲"));
    q->SetFieldText(QStringLiteral("CLIENT_POSTCODE"),
                    QStringLiteral("邮编一二三四五六")); // 16 bytes
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->SaveData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("数据太大,不能保存数据")});
    QCOMPARE(q->FieldText(QStringLiteral("CLIENT_POSTCODE")), QStringLiteral("邮编一二三四五六"));
    q->SetFieldText(QStringLiteral("CLIENT_POSTCODE"), QStringLiteral("邮编一二三")); // 10 bytes
    q->SaveData();
    QCOMPARE(stored(QStringLiteral("SELECT CLIENT_POSTCODE FROM KW_CLIENT_TABLE")),
             QStringLiteral("邮编一二三"));
}

void RecordSetTest::editStampsAndQuotes()
{
    auto q = clientQuery();
    addClient(*q, QStringLiteral("O'Brien"));
    q->EditData();
    QCOMPARE(q->FieldText(QStringLiteral("EDIT_NAME")), QStringLiteral("赵六"));
    q->SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("O'Brien's"));
    q->SaveData();
    QCOMPARE(stored(QStringLiteral("SELECT CLIENT_NAME || EDIT_NAME || EDIT_DATE FROM "
                                   "KW_CLIENT_TABLE")),
             QStringLiteral("O'Brien's赵六2024-03-06"));
    // NotEdit skips the stamps once.
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("UPDATE KW_CLIENT_TABLE SET EDIT_NAME = NULL")));
    q->CloseData();
    q->OpenData();
    q->NotEdit = true;
    q->EditData();
    QCOMPARE(q->FieldText(QStringLiteral("EDIT_NAME")), QString());
    QVERIFY(!q->NotEdit);
    q->CancelData();
}

void RecordSetTest::setStatusMarksPrinted()
{
    insertClient("240301000000", "2024030001");
    auto q = clientQuery();
    q->ActiveStatus = true;
    q->SetStatus(QStringLiteral("已打单"));
    QCOMPARE(q->State(), TDataSetState::dsBrowse);
    QVERIFY(!q->Quiet);
    QCOMPARE(stored(QStringLiteral("SELECT STATUS || VERIFY_NAME || VERIFY_DATE || EDIT_NAME FROM "
                                   "KW_CLIENT_TABLE")),
             QStringLiteral("已打单王五2024-03-05赵六"));
}

void RecordSetTest::deleting()
{
    insertClient("240301000000", "2024030001");
    insertClient("240302000000", "2024030002");
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_MASTER_PICTURE_TABLE("
                                                 "CLIENT_RECORD_ID,PICTURE_RECORD_ID) VALUES("
                                                 "'240301000000','B1')")));
    auto q = clientQuery();
    q->DetailTable = QStringLiteral("KW_CLIENT_MASTER_PICTURE_TABLE");
    q->KeyValue = QStringLiteral("CLIENT_RECORD_ID");
    m_prompts->answers.enqueue(false);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->DeleteData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("请确认是否删除 ?")});
    QCOMPARE(rows(), 2.0);

    m_prompts->answers.enqueue(true);
    q->DeleteData();
    m_prompts->takeTexts();
    QCOMPARE(rows(), 1.0);
    QCOMPARE(rows(QStringLiteral("KW_CLIENT_MASTER_PICTURE_TABLE")), 0.0);
    QCOMPARE(q->RecordCount(), 1);
    QCOMPARE(q->FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("240302000000"));

    q->NoConfirm = true;
    q->DeleteData(); // no question
    QVERIFY(!q->NoConfirm);
    QCOMPARE(rows(), 0.0);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q->DeleteData()); // empty: nothing to do
}

void RecordSetTest::cachedDeletesAndUpdateStatements()
{
    insertClient("240301000000", "2024030001");
    insertClient("240302000000", "2024030002");
    auto q = clientQuery();
    while (!q->IsEmpty()) {
        q->CacheOnly = true;
        q->NoConfirm = true;
        q->DeleteData();
    }
    QCOMPARE(rows(), 2.0);
    QCOMPARE(q->PendingUpdates(), 2);
    q->ApplyUpdates();
    QCOMPARE(rows(), 0.0);

    // Without a table name the update statements write the change.
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID,USE_NAME) "
                                                 "VALUES('A01','旧名')")));
    TKWQuery users;
    users.SQL = QStringLiteral("SELECT * FROM SYS_USER_TABLE");
    users.UpdateObject.ModifySQL =
        QStringLiteral("UPDATE SYS_USER_TABLE SET USE_NAME = :USE_NAME WHERE USE_ID = :OLD_USE_ID");
    users.OpenData();
    users.EditData();
    users.SetFieldText(QStringLiteral("USE_NAME"), QStringLiteral("新名"));
    users.SaveData();
    QCOMPARE(stored(QStringLiteral("SELECT USE_NAME FROM SYS_USER_TABLE")), QStringLiteral("新名"));
    QCOMPARE(users.PendingUpdates(), 0);
}

void RecordSetTest::modelShowsDisplayFormats()
{
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,CLIENT_NAME,"
                                  "FAST_MONEY,DATE_FIELD1) VALUES('1','甲',12.5,'2024-03-05'),"
                                  "('2','乙',3,NULL),('3','丙',0.123456789,NULL)")));
    auto q = clientQuery();
    TKWQueryModel model(q.get());
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 4); // only the columns the window knows
    const int money = model.columnOfField(QStringLiteral("FAST_MONEY"));
    QCOMPARE(model.headerData(money, Qt::Horizontal).toString(), QStringLiteral("快递费用"));
    QCOMPARE(model.index(0, money).data().toString(), QStringLiteral("12.5"));
    QCOMPARE(model.index(1, money).data().toString(), QStringLiteral("3"));
    QCOMPARE(model.index(2, money).data().toString(), QStringLiteral("0.12345679"));
    QCOMPARE(model.index(0, model.columnOfField(QStringLiteral("DATE_FIELD1"))).data().toString(),
             QStringLiteral("2024-03-05"));

    q->SetRecNo(1);
    q->AppendData();
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(q->RecNo(), 3);
    q->CancelData();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(q->RecNo(), 1); // back on the row it came from
}

void RecordSetTest::storedLayout()
{
    auto q = clientQuery();
    q->CloseData();
    TFieldsDataArray fields = q->FieldsData();
    fields[1].FooterKind = QStringLiteral("@Sum"); // FAST_MONEY
    q->SetFieldsData(fields);
    // Money narrowed to nothing keeps its footer, the order number narrowed
    // is hidden, the date is missing: hidden too.
    q->ApplyStoredLayout({{QStringLiteral("CLIENT_NAME"), 100, 2},
                          {QStringLiteral("FAST_MONEY"), 5, 1},
                          {QStringLiteral("CLIENT_ORDER_ID"), 6, 4}});
    q->OpenData();
    TKWQueryModel model(q.get());
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("快递费用"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("收件人"));
    const TKWField& name = q->Fields()[q->FieldIndex(QStringLiteral("CLIENT_NAME"))];
    QCOMPARE(name.displayWidth, 16);
    QCOMPARE(q->Fields()[q->FieldIndex(QStringLiteral("FAST_MONEY"))].displayWidth, 13);
}

void RecordSetTest::openingABadStatement()
{
    TKWQuery q;
    q.SQL = QStringLiteral("SELECT * FROM NO_SUCH_TABLE");
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q.OpenData());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("数据库操作过程发生错误")});
    QVERIFY(!q.Active());
}

QTEST_MAIN(RecordSetTest)
#include "tst_record_set.moc"
