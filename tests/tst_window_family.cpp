#include "controls/data_source.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/window_family.h"
#include "scripted_prompter.h"
#include "session/app_globals.h"
#include "test_database.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>

class WindowFamilyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void editingButtonsFollowTheAddRight_data();
    void editingButtonsFollowTheAddRight();
    void keysDriveTheRecordSet();
    void movingThroughRows();
    void popUpList();
    void popUpEditor();
    void showWindow();
};

namespace {

// A small tool-bar window over the users, as a derived window would be.
TKWDForm* userWindow(const QString& group, const QString& program)
{
    auto* form = new TKWDForm(nullptr);
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->Group = group;
    form->Program = program;
    form->Query()->SetTableName(QStringLiteral("SYS_USER_TABLE"));
    auto* id = new QLineEdit(form->Body());
    id->setObjectName(QStringLiteral("id"));
    BindLineEdit(id, form->Query(), QStringLiteral("USE_ID"));
    auto* layout = new QVBoxLayout(form->Body());
    layout->addWidget(id);
    form->Query()->OpenData();
    form->show();
    return form;
}

} // namespace

void WindowFamilyTest::editingButtonsFollowTheAddRight_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("add");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("add right, no edit right") << "发件人资料录入编辑"
                                              << "是" << true;
    QTest::newRow("no add right") << "发件人资料录入编辑"
                                  << "否" << false;
    QTest::newRow("no program: everything") << ""
                                            << "否" << true;
}

void WindowFamilyTest::editingButtonsFollowTheAddRight()
{
    QFETCH(QString, program);
    QFETCH(QString, add);
    QFETCH(bool, enabled);
    TestDatabase db;
    AppGlobals.UserID = QStringLiteral("A01");
    QVERIFY(
        RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,"
                                             "PROGRAM_ID,ADD_RIGHT,EDIT_RIGHT,DElETE_RIGHT,"
                                             "BROWSE_RIGHT) VALUES('A01',1,3,'%1','否','否','是')")
                                  .arg(add)));
    std::unique_ptr<TKWDForm> form(
        userWindow(program.isEmpty() ? QString() : QStringLiteral("快递单据管理"), program));
    for (const char* caption : {"增加F5", "编辑F6", "删除F7"})
        QCOMPARE(form->Button(QString::fromUtf8(caption))->isEnabled(), enabled);
    QVERIFY(!form->Button(QStringLiteral("保存F8"))->isEnabled());
    QVERIFY(form->Button(QStringLiteral("关闭F12"))->isEnabled());
}

void WindowFamilyTest::keysDriveTheRecordSet()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    std::unique_ptr<TKWDForm> form(userWindow(QString(), QString()));
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto* id = form->findChild<QLineEdit*>(QStringLiteral("id"));
    QTest::keyClick(form.get(), Qt::Key_F5);
    QCOMPARE(form->Query()->State(), TDataSetState::dsInsert);
    QVERIFY(!id->isReadOnly());
    id->setFocus();
    QTest::keyClicks(id, "U1");
    QVERIFY(!form->close()); // not while a row is being added
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("必须先保存或取消新增的数据或修改后的数据")});
    QTest::keyClick(id, Qt::Key_F8);
    QCOMPARE(form->Query()->State(), TDataSetState::dsBrowse);
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT USE_ID FROM SYS_USER_TABLE")),
             QStringLiteral("U1"));
    QTest::keyClick(form.get(), Qt::Key_F6);
    QCOMPARE(form->Query()->State(), TDataSetState::dsEdit);
    QTest::keyClick(form.get(), Qt::Key_F9);
    QCOMPARE(form->Query()->State(), TDataSetState::dsBrowse);
    QTest::keyClick(form.get(), Qt::Key_F12);
    QVERIFY(!form->isVisible());
}

void WindowFamilyTest::movingThroughRows()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    TKWQuery users;
    users.SetTableName(QStringLiteral("SYS_USER_TABLE"));
    users.OpenData();
    MoveRecord(users, RecordMove::Next);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("没有数据记录")});
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID) VALUES('A'),('B')")));
    users.CloseData();
    users.OpenData();
    MoveRecord(users, RecordMove::Prior);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("已到第一个纪录")});
    QCOMPARE(users.RecNo(), 0);
    MoveRecord(users, RecordMove::Last);
    MoveRecord(users, RecordMove::Next);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("已到最后一个纪录")});
    QCOMPARE(users.RecNo(), 1);
    MoveRecord(users, RecordMove::First);
    QCOMPARE(users.RecNo(), 0);
}

void WindowFamilyTest::popUpList()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    TKWAppPopForm list(nullptr);
    list.Query()->SetTableName(QStringLiteral("KW_FAST_NAME_TABLE"));
    list.Query()->OpenData();
    list.show();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    QCOMPARE(QApplication::focusWidget(), list.DBGrid()->view());
    QTest::keyClick(&list, Qt::Key_F3);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("必须选择一个记录")});
    QTest::keyClick(&list, Qt::Key_F5);
    QCOMPARE(list.Query()->State(), TDataSetState::dsInsert);
    QVERIFY(!list.Button(QStringLiteral("新增[F5]"))->isEnabled());
    QVERIFY(!list.Button(QStringLiteral("关闭[F12]"))->isEnabled()); // F12 does nothing now
    QTest::keyClick(&list, Qt::Key_Escape);
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("必须先保存或取消新增的数据或修改后的数据")});
    QVERIFY(list.isVisible());
    list.Query()->SetFieldText(QStringLiteral("FAST_ID"), QStringLiteral("1"));
    list.Query()->SetFieldText(QStringLiteral("FAST_NAME"), QStringLiteral("顺丰"));
    QTest::keyClick(&list, Qt::Key_F8);
    QTest::keyClick(&list, Qt::Key_F3);
    QCOMPARE(list.result(), int(QDialog::Accepted));
}

void WindowFamilyTest::popUpEditor()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID) VALUES('A'),('B')")));
    TKWQuery users;
    users.SetTableName(QStringLiteral("SYS_USER_TABLE"));
    users.OpenData();
    TKWDataSource listSource(nullptr, &users);
    {
        TKWBasePopEditShowForm editor(&users, nullptr);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QTest::mouseClick(editor.Button(QStringLiteral("前条")), Qt::LeftButton);
        QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("已到第一个纪录")});
        QTest::mouseClick(editor.Button(QStringLiteral("下条")), Qt::LeftButton);
        QCOMPARE(users.RecNo(), 1);
        QTest::keyClick(&editor, Qt::Key_F6);
        QCOMPARE(users.State(), TDataSetState::dsEdit);
        QTest::keyClick(&editor, Qt::Key_Escape);
        QCOMPARE(prompts.takeTexts(),
                 QStringList{QStringLiteral("必须先按“保存”或“取消”按钮后才能关闭窗口")});
        QVERIFY(editor.isVisible());
        QTest::keyClick(&editor, Qt::Key_F9);
        QTest::keyClick(&editor, Qt::Key_F12);
        QVERIFY(!editor.isVisible());
    }
    QCOMPARE(users.KWDS, &listSource); // the list's data source follows its records again
}

void WindowFamilyTest::showWindow()
{
    TestDatabase db;
    TKWAppPopShowForm show(nullptr);
    auto* edit = new QLineEdit(show.Body());
    show.show();
    QVERIFY(QTest::qWaitForWindowActive(&show));
    QVERIFY(!show.Button(QStringLiteral("确定[F3]"))->isVisible());
    QVERIFY(edit->styleSheet().contains(AppGlobals.ColorOnFocus.name()));
    QTest::keyClick(&show, Qt::Key_F12);
    QVERIFY(!show.isVisible());
}

QTEST_MAIN(WindowFamilyTest)
#include "tst_window_family.moc"
