#include "controls/data_source.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "scripted_prompter.h"
#include "test_database.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>

class DataSourceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void followsTheRecordSetState();
    void rightsAreAppliedAfterTheStateRule();
    void displayOnlyAndDetailGroups();
};

namespace {

// A small editing window over SYS_USER_TABLE.
struct UserWindow
{
    QWidget form;
    TKWQuery query;
    QTableView* grid = new QTableView(&form);
    QLineEdit* id = new QLineEdit(&form);
    QLineEdit* name = new QLineEdit(&form);
    QLineEdit* note = new QLineEdit(&form);
    QLineEdit* created = new QLineEdit(&form);
    QPushButton* add = new QPushButton(QStringLiteral("增加F5"), &form);
    QPushButton* edit = new QPushButton(QStringLiteral("编辑F6"), &form);
    QPushButton* save = new QPushButton(QStringLiteral("保存F8"), &form);
    QPushButton* cancel = new QPushButton(QStringLiteral("取消F9"), &form);
    TKWDataSource source{&form, &query};
    TKWQueryModel model{&query};

    UserWindow()
    {
        auto* layout = new QVBoxLayout(&form);
        for (QWidget* w : std::initializer_list<QWidget*>{grid, id, name, note, created, add, edit,
                                                          save, cancel})
            layout->addWidget(w);
        query.SetTableName(QStringLiteral("SYS_USER_TABLE"));
        grid->setModel(&model);
        query.DBGride = grid;
        BindLineEdit(id, &query, QStringLiteral("USE_ID"));
        BindLineEdit(name, &query, QStringLiteral("USE_NAME"));
        BindLineEdit(note, &query, QStringLiteral("NOTE"));
        BindLineEdit(created, &query, QStringLiteral("CREATE_NAME"));
        SetControlTag(note, 2);
        SetControlTag(created, 3);
        source.SetButton(TKWDataSource::Role::Add, add);
        source.SetButton(TKWDataSource::Role::Edit, edit);
        source.SetButton(TKWDataSource::Role::Save, save);
        source.SetButton(TKWDataSource::Role::Cancel, cancel);
        QObject::connect(add, &QPushButton::clicked, &query, [this] { query.AppendData(); });
        QObject::connect(save, &QPushButton::clicked, &query, [this] { query.SaveData(); });
        QObject::connect(cancel, &QPushButton::clicked, &query, [this] { query.CancelData(); });
        query.OpenData();
        source.SetActiveColor(true);
        source.StartSource();
        form.show();
    }
};

} // namespace

void DataSourceTest::followsTheRecordSetState()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    UserWindow w;
    QVERIFY(w.id->isReadOnly());
    QVERIFY(w.id->styleSheet().contains(w.source.BrowseColor.name()));
    QVERIFY(w.grid->isEnabled());
    QVERIFY(w.add->isEnabled());
    QVERIFY(!w.save->isEnabled());

    QTest::mouseClick(w.add, Qt::LeftButton);
    QVERIFY(!w.id->isReadOnly());
    QVERIFY(w.id->styleSheet().contains(w.source.EditColor.name()));
    QVERIFY(w.note->isReadOnly()); // tag 2
    QVERIFY(!w.grid->isEnabled());
    QVERIFY(!w.add->isEnabled());
    QVERIFY(w.save->isEnabled() && w.cancel->isEnabled());

    QTest::keyClicks(w.id, "U1");
    QTest::keyClicks(w.name, "Li");
    QTest::mouseClick(w.save, Qt::LeftButton);
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT USE_NAME FROM SYS_USER_TABLE "
                                                       "WHERE USE_ID = 'U1'")),
             QStringLiteral("Li"));
    QVERIFY(w.id->isReadOnly());
    QVERIFY(w.grid->isEnabled());

    QTest::mouseClick(w.add, Qt::LeftButton);
    QCOMPARE(w.id->text(), QString());
    QTest::mouseClick(w.cancel, Qt::LeftButton);
    QVERIFY(w.id->isReadOnly());
    QVERIFY(w.id->styleSheet().contains(w.source.BrowseColor.name()));
    QVERIFY(w.grid->isEnabled());
    QCOMPARE(w.id->text(), QStringLiteral("U1"));
    QVERIFY(prompts.shown.isEmpty());
}

void DataSourceTest::rightsAreAppliedAfterTheStateRule()
{
    TestDatabase db;
    UserWindow w;
    w.source.RightAdd = false;
    w.source.StartSource();
    QVERIFY(!w.add->isEnabled());
    QVERIFY(w.edit->isEnabled());
    w.query.AppendData();
    QVERIFY(!w.add->isEnabled());
    QVERIFY(w.save->isEnabled());
    w.query.CancelData();
    QVERIFY(!w.add->isEnabled());
    QVERIFY(w.edit->isEnabled());
}

void DataSourceTest::displayOnlyAndDetailGroups()
{
    TestDatabase db;
    UserWindow w;
    auto* detailNote = new QLineEdit(&w.form);
    SetControlTag(detailNote, 500);
    w.source.ApplyColors();
    w.query.AppendData();
    // Display-only: read-only in every state and no Tab stop.
    QVERIFY(w.created->isReadOnly());
    QCOMPARE(w.created->focusPolicy(), Qt::NoFocus);
    w.name->setFocus();
    QTest::keyClick(w.name, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != w.created);
    QVERIFY(detailNote->styleSheet().isEmpty()); // the detail group is left alone
    w.query.CancelData();

    w.source.IS_MASTER_CHANGE = false;
    w.source.IS_DETAIL_CHANGE = true;
    w.source.ApplyColors();
    QVERIFY(detailNote->isReadOnly());
}

QTEST_MAIN(DataSourceTest)
#include "tst_data_source.moc"
