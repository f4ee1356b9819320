#include "app/app_globals.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "scripted_prompter.h"
#include "modal.h"
#include "test_database.h"
#include "waybill/courier_forms.h"

#include <QPushButton>
#include <QTableView>
#include <QtTest>

class CourierFormsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pickListOnlyPicks();
};

void CourierFormsTest::pickListOnlyPicks()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_FAST_NAME_TABLE(FAST_ID,FAST_NAME,"
                                  "FAST_STANDARD_MONEY,FAST_DEFAULT) VALUES"
                                  "('1','顺丰速运',12,'是'),('2','圆通速递',8.5,'否')")));
    TSelectFastNameForm list(nullptr);
    OnNextModal("TSelectFastNameForm", [](QWidget* w) {
        auto* form = static_cast<TSelectFastNameForm*>(w);
        QCOMPARE(form->windowTitle(), QStringLiteral("快递名称录入编辑窗口"));
        // The record keys are dead: their buttons are hidden.
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9})
            QTest::keyClick(form, key);
        QCOMPARE(form->Query()->State(), TDataSetState::dsBrowse);
        QCOMPARE(form->Query()->RecordCount(), 2);
        form->Query()->Last();
        QTest::keyClick(form, Qt::Key_F3);
    });
    QCOMPARE(list.exec(), int(QDialog::Accepted));
    QCOMPARE(list.ChosenName(), QStringLiteral("顺丰速运")); // ordered by name: 圆通 < 顺丰
    QCOMPARE(list.ChosenStandardMoney(), QStringLiteral("12"));
    QVERIFY(prompts.shown.isEmpty());
}

QTEST_MAIN(CourierFormsTest)
#include "tst_courier_forms.moc"
