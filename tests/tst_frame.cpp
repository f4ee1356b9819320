#include "controls/data_source.h"
#include "data/connection.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "desktop/single_instance.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
#include "frame/rights.h"
#include "scripted_prompter.h"
#include "session/app_globals.h"
#include "test_database.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>

class FrameTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rights();
    void writingRights();
    void singleInstance_data();
    void singleInstance();
    void instanceLock();
    void openWindowsAndCloseGuard();
    void childKeysMoveTheFocus();
    void childPlacementAndClosing();
};

void FrameTest::rights()
{
    TestDatabase db;
    QVERIFY(
        RunSQL(kDatabaseName,
               QStringLiteral(
                   "INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,PROGRAM_ID,ADD_RIGHT,EDIT_RIGHT,"
                   "DElETE_RIGHT,BROWSE_RIGHT,PRINT_RIGHT,VERIFY_RIGHT,CURRENCY_RIGHT) VALUES("
                   "'A01',1,1,'是','否','是','是','否','是','')")));
    const TRights r = GetRights(QStringLiteral("快递单据管理"), QStringLiteral("发件记录录入编辑"),
                                QStringLiteral("A01"));
    QVERIFY(r.Add && !r.Edit && r.Delete && r.Browse && !r.Print && r.Verify);
    QVERIFY(!r.Currency); // empty reads as no right
    const TRights none = GetRights(QStringLiteral("快递单据管理"),
                                   QStringLiteral("快递名称录入编辑"), QStringLiteral("A01"));
    QVERIFY(!none.Add && !none.Browse);
    QVERIFY(!GetRights(QStringLiteral("没有的组"), QStringLiteral("发件记录录入编辑"),
                       QStringLiteral("A01"))
                 .Browse);
    QCOMPARE(ReadRight(QStringLiteral("A01"), 1, 1, 2), QStringLiteral("是"));
    QCOMPARE(ReadRight(QStringLiteral("A01"), 1, 1, 6), QStringLiteral("否"));
    QCOMPARE(ReadRight(QStringLiteral("A01"), 2, 1, 3), QStringLiteral("否"));
}

void FrameTest::writingRights()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    WriteRight(QStringLiteral("B'02"), 1, 2, 4, QStringLiteral("是"));
    WriteRight(QStringLiteral("B'02"), 1, 2, 3, QStringLiteral("是"));
    WriteRight(QStringLiteral("B'02"), 1, 2, 4, QStringLiteral("否"));
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT COUNT(*) || PRINT_RIGHT || "
                                                       "BROWSE_RIGHT || IFNULL(ADD_RIGHT, '-') "
                                                       "FROM SYS_RIGHT_TABLE")),
             QStringLiteral("1否是-"));
    WriteRight(QStringLiteral("C03"), 1, 1, 0, QStringLiteral("是"), QString());
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("DataBaseName必须有一个值")});
}

void FrameTest::singleInstance_data()
{
    QTest::addColumn<bool>("atLogon");
    QTest::newRow("main window") << false;
    QTest::newRow("still at logon") << true;
}

void FrameTest::singleInstance()
{
    QFETCH(bool, atLogon);
    ScriptedPrompter prompts;
    const QString name = QStringLiteral("kwfast-test-%1").arg(QCoreApplication::applicationPid());
    QMainWindow first;
    TKWMain firstFrame(&first);
    firstFrame.InstanceName = name;
    QVERIFY(firstFrame.StartMain(QStringLiteral("202403")));
    QCOMPARE(firstFrame.Date, QStringLiteral("202403"));
    QVERIFY_THROWS_EXCEPTION(KWError, TKWMain{&first});
    // The window the operator sees, minimised: the main window, or the logon window
    // while the main window waits for the logon.
    QDialog logon;
    logon.setWindowModality(Qt::ApplicationModal);
    QWidget* visible = atLogon ? static_cast<QWidget*>(&logon) : &first;
    visible->showMinimized();

    QMainWindow second;
    TKWMain secondFrame(&second);
    secondFrame.InstanceName = name;
    QVERIFY(!secondFrame.StartMain(QStringLiteral("202403")));
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("程序已经运行")});
    QTRY_VERIFY(!visible->isMinimized());
    QCOMPARE(first.isVisible(), !atLogon);
}

void FrameTest::instanceLock()
{
    const QString name = QStringLiteral("kwfast-lock-%1").arg(QCoreApplication::applicationPid());
    SingleInstance probe(name);
    {
        // Another copy has taken the lock and is still starting: this one does not run,
        // and leaves the other's socket name alone.
        QLockFile starting(probe.LockPath());
        QVERIFY(starting.tryLock(0));
        SingleInstance later(name);
        QVERIFY(!later.Claim(50));
    }
    {
        // A copy that died leaves its lock behind; the next start takes it over.
        QProcess gone;
        gone.start(QStringLiteral("true"), {});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile lock(probe.LockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QStringLiteral("%1\nkwfast\n%2\n")
                       .arg(deadPid)
                       .arg(QSysInfo::machineHostName())
                       .toUtf8());
        lock.close();
        SingleInstance next(name);
        QVERIFY(next.Claim(50));
        // And answers later starts.
        int raised = 0;
        connect(&next, &SingleInstance::raiseRequested, this, [&raised] { ++raised; });
        SingleInstance again(name);
        QVERIFY(!again.Claim(5000));
        QTRY_COMPARE(raised, 1);
    }
}

void FrameTest::openWindowsAndCloseGuard()
{
    ScriptedPrompter prompts;
    QMainWindow main;
    for (const char* title : {"文件", "编辑", "系统管理", ""})
        main.menuBar()->addMenu(QString::fromUtf8(title));
    main.menuBar()->actions().at(3)->setVisible(false);
    TKWMain frame(&main);
    frame.MainMenu = main.menuBar();
    main.show();

    auto* company = new QWidget;
    company->show();
    int clicks = 0;
    frame.AddChildWindow(
        QStringLiteral("CompanyForm"), company, [&clicks] { ++clicks; },
        QStringLiteral("发件人资料录入编辑"));
    QAction* open = main.menuBar()->actions().at(3);
    QCOMPARE(open->text(), QStringLiteral("打开的窗口"));
    QVERIFY(open->isVisible());
    open->menu()->actions().at(0)->trigger();
    QCOMPARE(clicks, 1);
    QVERIFY(frame.ShowChildWindow(QStringLiteral("CompanyForm")));
    QVERIFY(!frame.ShowChildWindow(QStringLiteral("UserForm")));

    // The program does not close while a child window is open.
    QVERIFY(!main.close());
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("请先关闭打开的全部子程序后,才能退出系统")});
    frame.ChildClosed(company);
    QVERIFY(!open->isVisible());
    QCOMPARE(frame.OpenWindowCount(), 0);

    // A window that went away without telling is dropped when asked for.
    auto* users = new QWidget;
    frame.AddChildWindow(QStringLiteral("UserForm"), users, {}, QStringLiteral("用户管理"));
    delete users;
    QVERIFY(!frame.ShowChildWindow(QStringLiteral("UserForm")));
    QVERIFY(!open->isVisible());
    delete company;
    QVERIFY(main.close());
}

void FrameTest::childKeysMoveTheFocus()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QLineEdit;
    auto* memo = new QPlainTextEdit;
    auto* second = new QLineEdit;
    auto* grid = new QTableView;
    auto* shown = new QLineEdit;
    SetControlTag(shown, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{first, memo, second, grid, shown})
        layout->addWidget(w);
    TKWChild child(&window, nullptr);
    int firstShows = 0;
    child.OnFirstShow = [&firstShows] { ++firstShows; };
    child.StartChild();
    QVERIFY_THROWS_EXCEPTION(KWError, TKWChild(&window, nullptr));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->setFocus();

    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), memo);
    QTest::keyClick(memo, Qt::Key_Return); // a memo keeps Enter
    QCOMPARE(QApplication::focusWidget(), memo);
    QCOMPARE(memo->toPlainText(), QStringLiteral("\n"));
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), memo);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), grid);
    QTest::keyClick(grid, Qt::Key_Down); // the grid moves within itself
    QCOMPARE(QApplication::focusWidget(), grid);
    QVERIFY(shown->styleSheet().contains(AppGlobals.LabelColor.name()));

    window.hide();
    window.show();
    QCOMPARE(firstShows, 1);
}

void FrameTest::childPlacementAndClosing()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QMainWindow main;
    main.setGeometry(0, 0, 1000, 800);
    TKWMain frame(&main);
    main.show();

    QWidget window;
    window.resize(400, 600);
    TKWQuery query(&window);
    query.SetTableName(QStringLiteral("SYS_USER_TABLE"));
    query.OpenData();
    TKWChild child(&window, &frame);
    child.StartChild();
    QCOMPARE(child.ShowChild(90), &window);
    frame.AddChildWindow(QStringLiteral("UserForm"), &window, {}, QStringLiteral("用户管理"));
    // 105 from the middle is capped at 90; left is centred.
    QCOMPARE(window.pos() - main.geometry().topLeft(), QPoint(299, 90));
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);

    query.AppendData();
    QVERIFY(!window.close());
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("必须先保存或取消新增的数据或修改后的数据")});
    QCOMPARE(frame.OpenWindowCount(), 1);
    query.CancelData();
    QVERIFY(window.close());
    QTRY_COMPARE(frame.OpenWindowCount(), 0);
    QVERIFY(!query.Active());
    QCOMPARE(child.WindowID(), nullptr);

    QWidget wide;
    wide.resize(1200, 300);
    TKWChild wideChild(&wide, &frame);
    wideChild.ShowChild(1);
    QCOMPARE(wide.pos().x() - main.geometry().x(), 2);
    QVERIFY(!(wide.windowFlags() & Qt::WindowStaysOnTopHint));
}

QTEST_MAIN(FrameTest)
#include "tst_frame.moc"
