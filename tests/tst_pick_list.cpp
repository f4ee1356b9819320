#include "app/application.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "modal.h"
#include "records/pick_list.h"
#include "scripted_prompter.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "typing.h"

#include <QPushButton>
#include <QtTest>

class PickListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addSearchAndChoose();
    void everyFieldOpensItsList_data();
    void everyFieldOpensItsList();
    void searchBoxTakesTyping();
};

void PickListTest::addSearchAndChoose()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.UserName = QStringLiteral("王五");
    TSelectEditForm form;
    form.Prepare(QStringLiteral("TEXT_FIELD2"), QStringLiteral("收件省份"),
                 QStringLiteral("KW_CLIENT_TEXT_FIELD2_TABLE"));
    QCOMPARE(form.windowTitle(), QStringLiteral("收件省份数据选择编辑窗口"));
    form.Query()->OpenData();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QTest::keyClick(&form, Qt::Key_F3);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("必须选择一个记录")});

    for (const QString& province : {QStringLiteral("北京"), QStringLiteral("湖北"),
                                    QStringLiteral("上海"), QStringLiteral("北京")}) {
        QTest::keyClick(&form, Qt::Key_F5);
        QVERIFY(!form.Button(QStringLiteral("确定[F3]"))->isEnabled());
        QVERIFY(form.ValueEdit()->isVisible());
        TypeText(form.ValueEdit(), province);
        QTest::keyClick(&form, Qt::Key_F8);
    }
    // The second 北京 is refused and stays being added until cancelled.
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("收件省份重复")});
    QCOMPARE(form.Query()->State(), TDataSetState::dsInsert);
    QTest::keyClick(&form, Qt::Key_Escape);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("必须保存或取消新增、修改的数据")});
    QTest::keyClick(&form, Qt::Key_F9);
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT COUNT(*) || CREATE_NAME FROM "
                                                       "KW_CLIENT_TEXT_FIELD2_TABLE")),
             QStringLiteral("3王五"));

    // Searching one character lists every value containing it, in order.
    form.SearchBox()->setFocus();
    form.SearchBox()->setText(QStringLiteral("北"));
    QTest::keyClick(form.SearchBox(), Qt::Key_Return);
    QCOMPARE(form.Query()->RecordCount(), 2);
    QCOMPARE(form.Query()->FieldText(QStringLiteral("TEXT_FIELD2")), QStringLiteral("北京"));
    form.Button(QStringLiteral("全部数据"))->click();
    QCOMPARE(form.Query()->RecordCount(), 3);
    form.Query()->Last();
    QTest::keyClick(&form, Qt::Key_F3);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.Value(), QStringLiteral("湖北"));
}

void PickListTest::everyFieldOpensItsList_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("table");
    QTest::newRow("发货人") << "CLIENT_EMPLOYEE_NAME"
                            << "KW_CLIENT_EMPLOYEE_NAME_TABLE";
    QTest::newRow("first text field") << "TEXT_FIELD1"
                                      << "KW_CLIENT_TEXT_FIELD1_TABLE";
    QTest::newRow("last text field") << "TEXT_FIELD9"
                                     << "KW_CLIENT_TEXT_FIELD9_TABLE";
}

void PickListTest::everyFieldOpensItsList()
{
    QFETCH(QString, field);
    QFETCH(QString, table);
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO %1(%2) VALUES('李四')").arg(table, field)));
    OnNextModal("TSelectEditForm", [](QWidget* w) { QTest::keyClick(w, Qt::Key_F3); });
    QCOMPARE(PickValue(field, QStringLiteral("发货人")), QStringLiteral("李四"));
    QCOMPARE(prompts.takeTexts(), QStringList());
}

void PickListTest::searchBoxTakesTyping()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_CLIENT_TEXT_FIELD2_TABLE(TEXT_FIELD2) VALUES "
                                  "('北京'),('湖北'),('上海')")));
    TSelectEditForm form;
    form.Prepare(QStringLiteral("TEXT_FIELD2"), QStringLiteral("收件省份"),
                 QStringLiteral("KW_CLIENT_TEXT_FIELD2_TABLE"));
    form.Query()->OpenData();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    TKWEdit* search = form.SearchBox();
    QVERIFY(search->isVisible());
    QVERIFY(!search->isReadOnly());
    search->setFocus();
    search->selectAll();
    TypeText(search, QStringLiteral("北"));
    QCOMPARE(search->text(), QStringLiteral("北"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(form.Query()->RecordCount(), 2);
    QCOMPARE(QApplication::focusWidget(), search);
    // Adding and cancelling leave it typeable.
    QTest::keyClick(&form, Qt::Key_F5);
    QTest::keyClick(&form, Qt::Key_F9);
    QVERIFY(!search->isReadOnly());
    QVERIFY(prompts.shown.isEmpty());
}

// Refusals abort the key's handler; the program's application catches that.
int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    PickListTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_pick_list.moc"
