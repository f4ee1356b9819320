#include "app/app_globals.h"
#include "controls/grid.h"
#include "controls/tree.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "data/record_set.h"
#include "platform/clock.h"
#include "records/main_form.h"
#include "scripted_prompter.h"
#include "test_database.h"

#include <QAbstractButton>
#include <QMenuBar>
#include <QTableView>
#include <QtTest>

class MainFormTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listsTheChosenDateRange();
    void numberingIsForAdministrators();
};

void MainFormTest::listsTheChosenDateRange()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    SetFixedDateTime(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
    QVERIFY(RunSQL(
        kDatabaseName,
        QStringLiteral(
            "INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,CLIENT_NAME,STATUS,CREATE_DATE) VALUES "
            "('1','甲','已打单','2024-02-29'),('2','乙','未打单','2024-03-13'),"
            "('3','丙','已打单','2024-03-12')")));
    QVERIFY(RunSQL(
        kDatabaseName,
        QStringLiteral(
            "INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,COMPANY_NAME) VALUES('000001','凯维')")));
    AppGlobals.UserID = QStringLiteral("A01");
    TMainForm main;
    QCOMPARE(main.windowTitle(), QStringLiteral("凯维快递单打印系统"));
    main.show();
    QCOMPARE(main.Records()->RecordCount(), 3);
    // The default catalogue was made and gives the list its columns.
    QCOMPARE(
        GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM SYS_CLIENT_FIELD_TABLE")),
        14.0);
    QVERIFY(main.Grid()->model()->columnOfField(QStringLiteral("CLIENT_NAME")) >= 0);
    QCOMPARE(main.Grid()->model()->columnOfField(QStringLiteral("CLIENT_RECORD_ID")), -1);

    main.Tree()->setCurrentItem(main.Tree()->topLevelItem(8)); // 今日快递
    QCOMPARE(main.Records()->RecordCount(), 1);
    QCOMPARE(main.Records()->FieldText(QStringLiteral("CLIENT_NAME")), QStringLiteral("乙"));
    main.Tree()->setCurrentItem(main.Tree()->topLevelItem(3)); // 前月快递
    QCOMPARE(main.Records()->FieldText(QStringLiteral("CLIENT_NAME")), QStringLiteral("甲"));

    // Without the add right the editing buttons stay off.
    QVERIFY(!main.ToolButton(QStringLiteral("增加F5"))->isEnabled());
    QVERIFY(main.ToolButton(QStringLiteral("关闭"))->isEnabled());
    QVERIFY(prompts.shown.isEmpty());
    SetFixedDateTime({});
}

void MainFormTest::numberingIsForAdministrators()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.IsSysUser = false;
    TMainForm main;
    main.show();
    QAction* numbering = nullptr;
    for (QAction* menu : main.menuBar()->actions())
        if (menu->menu())
            for (QAction* a : menu->menu()->actions())
                if (a->text() == QStringLiteral("编号方式设置"))
                    numbering = a;
    QVERIFY(numbering);
    numbering->trigger();
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("只有系统管理员才能有设置修改编号方式的权限")});
}

QTEST_MAIN(MainFormTest)
#include "tst_main_form.moc"
