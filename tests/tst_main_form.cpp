#include "app/application.h"
#include "app/startup.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "controls/tree.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "data/record_set.h"
#include "frame/settings.h"
#include "modal.h"
#include "platform/clock.h"
#include "records/choice_dialogs.h"
#include "records/help_form.h"
#include "records/main_form.h"
#include "records/record_editor.h"
#include "scripted_prompter.h"
#include "seam_guards.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "typing.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

class MainFormTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listsTheChosenDateRange();
    void numberingIsForAdministrators();
    void dateNodeFieldChooser();
    void closingTheDateNodeChooserChangesNothing_data();
    void closingTheDateNodeChooserChangesNothing();
    void choiceDialogAndDatePicker();
    void addingARecordInTheEditor();
    void helpShowsTheOperatorsGuide();
    void refusedSaveKeepsTheCaret_data();
    void refusedSaveKeepsTheCaret();
    void viewingAPrintedRecord();
    void tabReachesThePrintButtons();
};

void MainFormTest::listsTheChosenDateRange()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    FixedClock clock(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
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
    OpenSession(); // as start-up does, after the settings above
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

void MainFormTest::dateNodeFieldChooser()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    FixedClock clock(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
    TMainForm main;
    main.show();
    QVERIFY(
        RunSQL(kDatabaseName,
               QStringLiteral(
                   "INSERT INTO "
                   "SYS_CLIENT_FIELD_TABLE(FIELD_NAME,FIELD_DISPLAY_NAME,FIELD_TYPE,FIELD_ORDER) "
                   "VALUES('DATE_FIELD1','发货日期','Date',13)")));
    QVERIFY(
        RunSQL(kDatabaseName,
               QStringLiteral(
                   "INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,DATE_FIELD1,CREATE_DATE) VALUES "
                   "('1','2024-03-13','2020-01-01'),('2','2023-01-01','2024-03-13')")));
    QCOMPARE(main.DateNodeButton()->text(), QStringLiteral("日期范围节点按建挡日期"));
    OnNextModal("TSetClientForm", [](QWidget* w) {
        auto* chooser = static_cast<TSetClientForm*>(w);
        // The catalogue's dates (订单日期, 发货日期), then 建挡日期 and one empty line.
        QCOMPARE(chooser->Choice->count(), 4);
        chooser->Choice->setCurrentText(QStringLiteral("发货日期"));
        chooser->accept();
    });
    main.DateNodeButton()->click();
    QCOMPARE(main.DateNodeField, QStringLiteral("DATE_FIELD1"));
    QCOMPARE(main.DateNodeButton()->text(), QStringLiteral("日期范围节点按发货日期"));
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT AUTO_ID FROM SYS_ID_TABLE WHERE "
                                                       "NAME_ID = '日期范围节点字段'")),
             QStringLiteral("DATE_FIELD1"));
    main.Tree()->setCurrentItem(main.Tree()->topLevelItem(8)); // today, on the new field
    QCOMPARE(main.Records()->RecordCount(), 1);
    QCOMPARE(main.Records()->FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("1"));
    QVERIFY(prompts.shown.isEmpty());
}

void MainFormTest::closingTheDateNodeChooserChangesNothing_data()
{
    QTest::addColumn<bool>("fromSettings");
    QTest::addColumn<QString>("shown");
    QTest::newRow("tree button") << false << QStringLiteral("建挡日期");
    // "建挡日期" is not offered there: nothing is shown as chosen.
    QTest::newRow("设置日期范围节点字段") << true << QString();
}

void MainFormTest::closingTheDateNodeChooserChangesNothing()
{
    QFETCH(bool, fromSettings);
    QFETCH(QString, shown);
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.IsSysUser = true;
    TMainForm main;
    main.show();
    if (fromSettings)
        OnNextModal("TSelectItemQueryForm", [](QWidget* w) {
            auto* form = static_cast<TSelectItemQueryForm*>(w);
            form->Group()->button(2)->click();
            form->accept();
        });
    QString offered = QStringLiteral("-");
    OnNextModal("TSetClientForm", [&offered](QWidget* w) {
        offered = static_cast<TSetClientForm*>(w)->Choice->currentText();
        w->close(); // the close box
    });
    if (fromSettings)
        main.ToolButton(QStringLiteral("设置"))->click();
    else
        main.DateNodeButton()->click();
    QCOMPARE(offered, shown);
    QCOMPARE(main.DateNodeField, QStringLiteral("CREATE_DATE"));
    QCOMPARE(main.DateNodeButton()->text(), QStringLiteral("日期范围节点按建挡日期"));
    QCOMPARE(GetSysValue(QStringLiteral("日期范围节点字段")), QString());
    QCOMPARE(GetSysValue(QStringLiteral("日期范围节点名称")), QString());
    QVERIFY(prompts.shown.isEmpty());
    AppGlobals.IsSysUser = false;
}

void MainFormTest::choiceDialogAndDatePicker()
{
    OnNextModal("TSelectItemQueryForm", [](QWidget* w) {
        auto* form = static_cast<TSelectItemQueryForm*>(w);
        QCOMPARE(form->windowTitle(), QStringLiteral("操作选择"));
        QCOMPARE(form->Chosen(), 1); // the first is chosen when nothing is
        form->Group()->button(2)->click();
        form->findChildren<QPushButton*>().first()->click();
    });
    QCOMPARE(AskItem(QStringLiteral("设置快递资料字段"), QStringLiteral("设置日期范围节点字段"),
                     QStringLiteral("操作选择")),
             2);
    OnNextModal("TSelectItemQueryForm", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    QCOMPARE(AskItemPreselected(1, QStringLiteral("a"), QStringLiteral("b"), QString()), 0);

    FixedClock clock(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
    QCOMPARE(DatePickerStart(QStringLiteral("2024-03-05 10:20:30"), QString()), QDate(2024, 3, 5));
    QCOMPARE(DatePickerStart(QStringLiteral("不是日期"), QStringLiteral("2024-01-02")),
             QDate(2024, 3, 13));
    QCOMPARE(DatePickerStart(QString(), QStringLiteral("2024-01-02")), QDate(2024, 1, 2));
    OnNextModal("TDateForm", [](QWidget* w) {
        auto* form = static_cast<TDateForm*>(w);
        form->Calendar->setSelectedDate(QDate(2024, 2, 29));
        QCOMPARE(form->windowTitle(), QStringLiteral("2024-02-29"));
        QTest::keyClick(form, Qt::Key_F3);
    });
    QCOMPARE(PickDate(QStringLiteral("2024-03-05"), QString()), QStringLiteral("2024-02-29"));
    OnNextModal("TDateForm", [](QWidget* w) { QTest::keyClick(w, Qt::Key_F4); });
    QCOMPARE(PickDate(QString(), QStringLiteral("2024-03-05")), QString());
}

void MainFormTest::addingARecordInTheEditor()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    FixedClock clock(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
    AppGlobals.UserID = QStringLiteral("A01");
    AppGlobals.UserName = QStringLiteral("王五");
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,"
                                                 "PROGRAM_ID,ADD_RIGHT,BROWSE_RIGHT,PRINT_RIGHT) "
                                                 "VALUES('A01',1,1,'是','是','是')")));
    SetSysValue(QStringLiteral("发件编号"), QStringLiteral("否"));
    OpenSession(); // as start-up does, after the settings above
    TMainForm main;
    main.show();
    QVERIFY(main.ToolButton(QStringLiteral("增加F5"))->isEnabled());

    OnNextModal("TEditClientForm", [](QWidget* w) {
        auto* editor = static_cast<TEditClientForm*>(w);
        QCOMPARE(editor->windowTitle(), QStringLiteral("发件记录录入编辑窗口"));
        // The default catalogue: the address moved up into row 4.
        QCOMPARE(editor->Control(QStringLiteral("CLIENT_ADD"))->geometry().top(), 70);
        QTRY_COMPARE(QApplication::focusWidget(),
                     editor->Control(QStringLiteral("CLIENT_ORDER_ID")));
        QTest::keyClick(editor, Qt::Key_F8); // no sender number yet
        editor->Control(QStringLiteral("CLIENT_NAME"))->setFocus();
        TypeText(editor->Control(QStringLiteral("CLIENT_NAME")), QStringLiteral("张三"));
        TypeText(editor->Control(QStringLiteral("CLIENT_ORDER_ID")), QStringLiteral("A-1"));
        // Alt+Down opens the calendar of a date field, as in a field alone.
        OnNextModal("TDateForm", [](QWidget* w) {
            static_cast<TDateForm*>(w)->Calendar->setSelectedDate(QDate(2024, 3, 1));
            QTest::keyClick(w, Qt::Key_F3);
        });
        TKWEdit* date = editor->Control(QStringLiteral("CLIENT_ORDER_DATE"));
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(editor->focusWidget(), date);
        QApplication::setActiveWindow(editor); // the offscreen platform does not give it back
        // A screen reader or an on-screen keyboard fills a field without keys.
        QAccessible::queryAccessibleInterface(editor->Control(QStringLiteral("TEXT_NOTE")))
            ->setText(QAccessible::Value, QStringLiteral("易碎"));
        QTest::keyClick(editor, Qt::Key_F8);
        QTest::keyClick(editor, Qt::Key_F12);
    });
    QTest::mouseClick(main.ToolButton(QStringLiteral("增加F5")), Qt::LeftButton);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("必须输入订单编号")});
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT CLIENT_NAME || CLIENT_ORDER_ID || "
                                                       "STATUS || CREATE_NAME || CREATE_DATE || "
                                                       "TEXT_NOTE || CLIENT_ORDER_DATE FROM "
                                                       "KW_CLIENT_TABLE")),
             QStringLiteral("张三A-1未打单王五2024-03-13易碎2024-03-01"));
    QCOMPARE(main.Records()->RecordCount(), 1);
    QCOMPARE(main.Records()->State(), TDataSetState::dsBrowse);

    // F7 deletes the current record after the question; No keeps it.
    QApplication::setActiveWindow(&main);
    prompts.answers.enqueue(false);
    QTest::keyClick(&main, Qt::Key_F7);
    QCOMPARE(main.Records()->RecordCount(), 1);
    prompts.answers.enqueue(true);
    QTest::keyClick(&main, Qt::Key_F7);
    QCOMPARE(prompts.takeTexts(), QStringList(2, QStringLiteral("请确认是否删除 ?")));
    QCOMPARE(main.Records()->RecordCount(), 0);
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM KW_CLIENT_TABLE")),
             QStringLiteral("0"));
}

void MainFormTest::helpShowsTheOperatorsGuide()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    TMainForm main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    // F1 wherever the focus is in the main window; a second F1 brings the same window.
    for (QWidget* focus :
         {static_cast<QWidget*>(main.Grid()->view()), static_cast<QWidget*>(main.Tree())}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F1);
        QCOMPARE(main.findChildren<THelpForm*>().size(), 1);
        THelpForm* help = main.findChild<THelpForm*>();
        // It takes the keyboard: F12 closes it, not the main window.
        QTRY_COMPARE(QApplication::activeWindow(), help);
        const QString shown = help->Browser()->toPlainText();
        for (const char* heading : {"首次启动", "发件记录", "打印快递单", "校准打印位置",
                                    "快递单打印设置（设计）", "各窗口按键"})
            QVERIFY2(shown.contains(QString::fromUtf8(heading)), heading);
        QTest::keyClick(help, Qt::Key_F12);
        QVERIFY(!help->isVisible());
        QVERIFY(main.isVisible());
        main.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &main);
    }
    QVERIFY(prompts.shown.isEmpty());
}

void MainFormTest::refusedSaveKeepsTheCaret_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    // The generated number is 2024030002; the operator types one that exists.
    QTest::newRow("sender number that exists") << "CLIENT_ORDER_ID"
                                               << "2024030001"
                                               << "订单编号重复";
    QTest::newRow("bad date") << "CLIENT_ORDER_DATE"
                              << "2024-13-45"
                              << "请按格式YYYY-MM-DD 输入日期";
}

void MainFormTest::refusedSaveKeepsTheCaret()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    TestDatabase db;
    ScriptedPrompter prompts;
    FixedClock clock(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
    AppGlobals.UserID = QStringLiteral("A01");
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,"
                                                 "PROGRAM_ID,ADD_RIGHT,BROWSE_RIGHT,PRINT_RIGHT) "
                                                 "VALUES('A01',1,1,'是','是','是')")));
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CLIENT_ORDER_ID,CLIENT_NAME,CREATE_DATE) "
                                                 "VALUES('240313080000','2024030001','甲',"
                                                 "'2024-03-13')")));
    SetSysValue(QStringLiteral("发件编号"), QStringLiteral("是"));
    SetSysValue(QStringLiteral("检查发件编号重复"), QStringLiteral("是"));
    TMainForm main;
    main.show();

    OnNextModal("TEditClientForm", [&](QWidget* w) {
        auto* editor = static_cast<TEditClientForm*>(w);
        TKWEdit* control = editor->Control(field);
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
        QCOMPARE(editor->Control(QStringLiteral("CLIENT_ORDER_ID"))->text(),
                 QStringLiteral("2024030002"));
        editor->Control(QStringLiteral("CLIENT_NAME"))->setFocus();
        TypeText(editor->Control(QStringLiteral("CLIENT_NAME")), QStringLiteral("乙"));
        control->setFocus();
        control->selectAll();
        TypeText(control, typed);
        editor->Control(QStringLiteral("CLIENT_NAME"))->setFocus();
        QTest::keyClick(editor, Qt::Key_F8);
        QCOMPARE(prompts.takeTexts(), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), control);
        QCOMPARE(control->text(), typed);
        QTest::keyClick(editor, Qt::Key_F9);
        QTest::keyClick(editor, Qt::Key_F12);
    });
    QTest::mouseClick(main.ToolButton(QStringLiteral("增加F5")), Qt::LeftButton);
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM KW_CLIENT_TABLE")),
             QStringLiteral("1"));
}

void MainFormTest::viewingAPrintedRecord()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CLIENT_NAME,STATUS) VALUES('1','甲','已打单')")));
    TMainForm main;
    main.show();
    QString shown;
    OnNextModal("TEditClientForm", [&shown](QWidget* w) {
        for (QComboBox* box : w->findChildren<QComboBox*>())
            if (box->accessibleName() == QStringLiteral("打单状态"))
                shown = box->currentText();
        QTest::keyClick(w, Qt::Key_F12);
    });
    QTableView* list = main.Grid()->view();
    const QRect cell = list->visualRect(list->model()->index(
        0, main.Grid()->model()->columnOfField(QStringLiteral("CLIENT_NAME"))));
    // A real double-click starts with a press; the test's double-click alone has none.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(shown, QStringLiteral("已打单"));
    QCOMPARE(main.Records()->State(), TDataSetState::dsBrowse);
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT STATUS FROM KW_CLIENT_TABLE")),
             QStringLiteral("已打单"));
}

void MainFormTest::tabReachesThePrintButtons()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CLIENT_NAME) VALUES('1','甲'),('2','乙')")));
    TMainForm main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QPushButton* design = nullptr;
    for (QPushButton* b : main.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("快递单打印设置"))
            design = b;
    QVERIFY(design);
    const QList<QWidget*> expected{main.Tree(), main.DateNodeButton(), main.Grid()->view(), design,
                                   main.PrintButton()};
    main.Tree()->setFocus();
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected[i]);
    }
    for (int i = expected.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), expected[i]);
    }
    // Enter on a reached button presses it.
    main.PrintButton()->setFocus();
    QTest::keyClick(main.PrintButton(), Qt::Key_Return);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("您没有浏览快递名称资料的权限")});
}

// A refused delete aborts the key's handler; the program's application catches that.
int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_main_form.moc"
