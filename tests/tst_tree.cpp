#include "controls/tree.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "scripted_prompter.h"
#include "test_database.h"

#include <QtTest>

class TreeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstCodeSelectionIsSwallowed();
    void lazyChildren();
    void captionsAndPlaceholders();
};

void TreeTest::firstCodeSelectionIsSwallowed()
{
    TKWTreeView tree;
    tree.SetColor = true;
    int changes = 0;
    tree.OnChange = [&changes](QTreeWidgetItem*) { ++changes; };
    tree.HookEvents();
    auto* all = new QTreeWidgetItem(&tree, {QStringLiteral("全部快递")});
    auto* today = new QTreeWidgetItem(&tree, {QStringLiteral("今日快递")});
    tree.setCurrentItem(all);
    QCOMPARE(changes, 0);
    QCOMPARE(tree.LastChanged(), all);
    tree.setCurrentItem(today);
    QCOMPARE(changes, 1);
}

void TreeTest::lazyChildren()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    TKWTreeView tree;
    tree.DataBaseName = kDatabaseName;
    tree.SQL[0] =
        QStringLiteral("SELECT PROGRAM_ID, PROGRAM_NAME FROM SYS_PROGRAM_TABLE WHERE COMPOSE_ID =");
    tree.SQL[1] = QStringLiteral("ORDER BY PROGRAM_ID");
    tree.SQL[2] = QStringLiteral("N");
    tree.SQL[5] = QStringLiteral("SELECT COUNT(*) FROM SYS_PROGRAM_TABLE WHERE COMPOSE_ID =");
    tree.SQL[7] = QStringLiteral("N");
    tree.HookEvents();
    QVERIFY(!tree.AddNode(nullptr, nullptr, QStringLiteral("1"), QStringLiteral("x")));
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("必须有头节点数据及未节点数据")});

    QTreeWidgetItem* group =
        tree.AddNode(nullptr, tree.NewNodeData(QStringLiteral("1"), QStringLiteral("快递单据管理")),
                     QStringLiteral("1"), QStringLiteral("快递单据管理"));
    QCOMPARE(group->childCount(), 1); // the placeholder
    QCOMPARE(group->child(0)->text(0), QStringLiteral("temp"));
    int expanding = 0;
    tree.OnExpanding = [&expanding](QTreeWidgetItem*) { ++expanding; };
    group->setExpanded(true);
    QCOMPARE(group->childCount(), 3);
    QCOMPARE(group->child(0)->text(0), QStringLiteral("发件记录录入编辑"));
    QCOMPARE(tree.NodeData(group->child(2))->Code, QStringLiteral("3"));
    QCOMPARE(expanding, 1);
    // Loaded once: expanding again reads nothing more.
    group->setExpanded(false);
    group->setExpanded(true);
    QCOMPARE(group->childCount(), 3);
    QCOMPARE(expanding, 1);

    // An unknown group counts no children: no placeholder.
    QTreeWidgetItem* empty = tree.AddNode(nullptr, tree.NewNodeData(QStringLiteral("9"), QString()),
                                          QStringLiteral("9"), QStringLiteral("无"));
    QCOMPARE(empty->childCount(), 0);
    QVERIFY(tree.FreeNodeData());
    QCOMPARE(tree.topLevelItemCount(), 0);
}

void TreeTest::captionsAndPlaceholders()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_ID_TABLE(NAME_ID,AUTO_ID) VALUES"
                                                 "('7','7'),('12345','12345')")));
    TKWTreeView tree;
    tree.DataBaseName = kDatabaseName;
    tree.SQL[0] =
        QStringLiteral("SELECT NAME_ID, AUTO_ID FROM SYS_ID_TABLE WHERE NAME_ID IN ('7','12345')");
    tree.SQL[1] = QStringLiteral("ORDER BY AUTO_ID");
    tree.SQL[3] = QStringLiteral("号");
    tree.SQL[4] = QStringLiteral("3");
    tree.SQL[7] = QStringLiteral("a");
    tree.HookEvents();
    QTreeWidgetItem* root = tree.AddNode(nullptr, tree.NewNodeData(QString(), QString()), QString(),
                                         QStringLiteral("根"));
    root->setExpanded(true);
    QCOMPARE(root->childCount(), 2);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("345号"));
    QCOMPARE(root->child(1)->text(0), QStringLiteral("007号"));
    QCOMPARE(root->child(1)->child(0)->text(0), QStringLiteral("temp")); // kind "A": always

    // A node that needs its key but carries no record.
    tree.SQL[2] = QStringLiteral("C");
    auto* fixed = new QTreeWidgetItem(&tree, {QStringLiteral("固定")});
    new QTreeWidgetItem(fixed, {QStringLiteral("temp")});
    fixed->setExpanded(true);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("节点空")});
    QCOMPARE(fixed->childCount(), 0);
}

QTEST_MAIN(TreeTest)
#include "tst_tree.moc"
