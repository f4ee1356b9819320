#include "controls/data_source.h"
#include "controls/small_dialogs.h"
#include "data/record_set.h"
#include "scripted_prompter.h"
#include "test_database.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

class SmallDialogsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void waitWindow();
    void folderChooser_data();
    void folderChooser();
    void pageControlGuardsUnsavedData();
    void inputMethodChooser();
    void panelShadow();
};

void SmallDialogsTest::waitWindow()
{
    TKWThread wait;
    wait.Stop(); // not shown: only the cursor is reset
    QVERIFY(!QApplication::overrideCursor());
    wait.Start();
    QWidget* window = wait.window();
    wait.Start(); // a second start shows no second window
    QCOMPARE(wait.window(), window);
    QCOMPARE(window->windowTitle(), QStringLiteral("提示窗口"));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QVERIFY(!wait.Cancelled());
    window->findChild<QPushButton*>()->click();
    QVERIFY(wait.Cancelled());
    wait.Stop();
    QVERIFY(!wait.Active());
    QVERIFY(!QApplication::overrideCursor());
}

void SmallDialogsTest::folderChooser_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("directory");
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("folder") << "/home/kw/backup"
                            << "/home/kw/backup/";
    QTest::newRow("trailing separators") << "/home/kw/backup//"
                                         << "/home/kw/backup/";
}

void SmallDialogsTest::folderChooser()
{
    QFETCH(QString, chosen);
    QFETCH(QString, directory);
    ScriptedPrompter prompts;
    prompts.paths.enqueue(chosen);
    TOpenDirDialog dialog;
    QVERIFY(dialog.Execute());
    QCOMPARE(dialog.Directory, directory);
    prompts.paths.enqueue(QString()); // cancelled
    QVERIFY(!dialog.Execute());
}

void SmallDialogsTest::pageControlGuardsUnsavedData()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    TKWQuery users;
    users.SetTableName(QStringLiteral("SYS_USER_TABLE"));
    users.OpenData();
    QWidget form;
    TKWDataSource source(&form, &users);
    TKWPageControl pages(&form);
    pages.addTab(new QWidget, QStringLiteral("用户列表"));
    pages.addTab(new QWidget, QStringLiteral("用户权限"));
    pages.addTab(new QWidget, QStringLiteral("报表"));
    pages.DataSources << &source;
    pages.QyMaster = &users;

    QVERIFY(!pages.RequestPage(1)); // no master rows, from the first page
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("没有主档数据记录，不能改变页面")});
    users.AppendData();
    QVERIFY(!pages.RequestPage(1));
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("必须先保存或取消新增的数据或修改后的数据")});
    users.SetFieldText(QStringLiteral("USE_ID"), QStringLiteral("A01"));
    users.SaveData();
    QVERIFY(pages.RequestPage(1));
    QCOMPARE(pages.currentIndex(), 1);
    pages.OnChanging = [](int index) { return index != 2; };
    QVERIFY(!pages.RequestPage(2));
    QCOMPARE(pages.currentIndex(), 1);
}

void SmallDialogsTest::inputMethodChooser()
{
    TSelectImesForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("输入法选择窗口"));
    const int count = form.List->count();
    QVERIFY(count >= 3);
    for (int i = count - 3; i < count; ++i)
        QCOMPARE(form.List->item(i)->text(), QString());
    form.List->setCurrentRow(count - 1);
    QCOMPARE(form.Selected(), QString()); // "none" can be chosen
}

void SmallDialogsTest::panelShadow()
{
    TKWPanel panel(QStringLiteral("请稍候"));
    panel.resize(panel.sizeHint());
    QCOMPARE(panel.size(), QSize(185, 41));
    const QImage image = panel.grab().toImage();
    // The shadow shows at the lower right, the face elsewhere.
    QCOMPARE(image.pixelColor(183, 39), panel.ShadowColor);
    QCOMPARE(image.pixelColor(20, 20), panel.FaceColor);
}

QTEST_MAIN(SmallDialogsTest)
#include "tst_small_dialogs.moc"
