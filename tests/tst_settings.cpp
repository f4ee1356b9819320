#include "data/connection.h"
#include "data/helpers.h"
#include "frame/set_auto_id_form.h"
#include "frame/settings.h"
#include "platform/clock.h"
#include "scripted_prompter.h"
#include "seam_guards.h"
#include "session/app_globals.h"
#include "test_database.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QtTest>

class SettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sysValueInsertsThenUpdates();
    void missingNamesReadEmpty();
    void failingStatementIsReported();
    void registryValues();
    void unopenableRegistry();
    void workDateFollowsTheClock();
    void numberingWindow_data();
    void numberingWindow();
};

namespace {
double rowsNamed(const QString& name)
{
    return GetSQLNumber(kDatabaseName,
                        QStringLiteral("SELECT COUNT(*) FROM SYS_ID_TABLE WHERE NAME_ID = ") +
                            QuotedStr(name));
}
} // namespace

void SettingsTest::sysValueInsertsThenUpdates()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    const QString name = QStringLiteral("KWTreeViewHeight");
    SetSysValue(name, QStringLiteral("120"));
    QCOMPARE(rowsNamed(name), 1.0);
    SetSysValue(name, QStringLiteral("it's 200"));
    QCOMPARE(rowsNamed(name), 1.0);
    QCOMPARE(GetSysValue(name), QStringLiteral("it's 200"));

    SetSysValue(QStringLiteral("整页打印"), QStringLiteral("是"));
    QVERIFY(GetSysFlag(QStringLiteral("整页打印")));
    SetSysValue(QStringLiteral("整页打印"), QStringLiteral("否"));
    QVERIFY(!GetSysFlag(QStringLiteral("整页打印")));
    QVERIFY(prompts.shown.isEmpty());
}

void SettingsTest::missingNamesReadEmpty()
{
    TestDatabase db;
    QVERIFY(!GetSysFlag(QStringLiteral("没有这个设置")));
    QCOMPARE(GetSysValue(QStringLiteral("没有这个设置")), QString());
}

void SettingsTest::failingStatementIsReported()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    // A table that refuses the value makes the insert fail.
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("ALTER TABLE SYS_ID_TABLE RENAME TO SYS_ID_OLD")));
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("CREATE TABLE SYS_ID_TABLE (NAME_ID VARCHAR(40), "
                                                 "AUTO_ID VARCHAR(100) CHECK (AUTO_ID <> 'x'))")));
    SetSysValue(QStringLiteral("发件编号"), QStringLiteral("x"));
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("参数保存过程发生错误")});
    QCOMPARE(GetSysValue(QStringLiteral("发件编号")), QString());
}

void SettingsTest::registryValues()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    WriteRegString(QStringLiteral("KWfastImes"), QStringLiteral("fcitx5"));
    QCOMPARE(ReadRegString(QStringLiteral("KWfastImes")), QStringLiteral("fcitx5"));
    QCOMPARE(ReadRegString(QStringLiteral("KWFastData")), QString());

    WriteRegString(QStringLiteral("KWfastColor"), QStringLiteral("abc"));
    QCOMPARE(ReadRegInteger(QStringLiteral("KWfastColor")), QString());
    WriteRegString(QStringLiteral("KWfastColor"), QStringLiteral("16777215"));
    QCOMPARE(ReadRegInteger(QStringLiteral("KWfastColor")), QStringLiteral("16777215"));
    WriteRegString(QStringLiteral("Set快递记录"), QStringLiteral("2"));
    QCOMPARE(ReadRegString(QStringLiteral("Set快递记录")), QStringLiteral("2"));
    QVERIFY(prompts.shown.isEmpty());
}

void SettingsTest::unopenableRegistry()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    // The store's folder is a file: it can be neither created nor read.
    const QString blocked = db.home() + QStringLiteral("/blocked");
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("KWFAST_HOME", blocked.toUtf8());
    WriteRegString(QStringLiteral("KWfastImes"), QStringLiteral("ibus"));
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("注册表打开错误")});
    if (QFile::exists(blocked + QStringLiteral("/kwsoftware.ini")))
        QFAIL("wrote through a file");
    qputenv("KWFAST_HOME", db.home().toUtf8());
}

void SettingsTest::workDateFollowsTheClock()
{
    FixedClock clock(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)));
    RefreshWorkDate();
    QCOMPARE(AppGlobals.WorkDate, QStringLiteral("2024-12-31"));
    clock.set(QDateTime(QDate(2025, 1, 1), QTime(0, 0, 1)));
    RefreshWorkDate();
    QCOMPARE(AppGlobals.WorkDate, QStringLiteral("2025-01-01"));
}

void SettingsTest::numberingWindow_data()
{
    QTest::addColumn<bool>("autoOrder");
    QTest::addColumn<bool>("checkOrder");
    QTest::addColumn<bool>("noBackup");
    QTest::newRow("all on") << true << true << true;
    QTest::newRow("all off") << false << false << false;
    QTest::newRow("only no backup") << false << false << true;
}

void SettingsTest::numberingWindow()
{
    QFETCH(bool, autoOrder);
    QFETCH(bool, checkOrder);
    QFETCH(bool, noBackup);
    TestDatabase db;
    ScriptedPrompter prompts;
    SetSysValue(QStringLiteral("不自动数据备份"), QStringLiteral("是"));

    TSetAutoIDForm form;
    form.show();
    // The third box follows its caption: "是" under 不自动数据备份 shows checked.
    QVERIFY(form.NoBackupBox->isChecked());
    form.AutoOrderBox->setChecked(autoOrder);
    form.CheckOrderBox->setChecked(checkOrder);
    form.NoBackupBox->setChecked(noBackup);
    QTest::keyClick(&form, Qt::Key_Escape); // Escape presses 确定
    QCOMPARE(form.result(), int(QDialog::Accepted));

    auto stored = [](const char* name) { return GetSysValue(QString::fromUtf8(name)); };
    auto yesNo = [](bool on) { return on ? QStringLiteral("是") : QStringLiteral("否"); };
    QCOMPARE(stored("发件编号"), yesNo(autoOrder));
    QCOMPARE(stored("检查发件编号重复"), yesNo(checkOrder));
    QCOMPARE(stored("不自动数据备份"), yesNo(noBackup));
    QCOMPARE(AppGlobals.AutoOrderID, autoOrder);
    QCOMPARE(AppGlobals.CheckOrderID, checkOrder);

    TSetAutoIDForm again;
    again.show();
    QCOMPARE(again.AutoOrderBox->isChecked(), autoOrder);
    QCOMPARE(again.CheckOrderBox->isChecked(), checkOrder);
    QCOMPARE(again.NoBackupBox->isChecked(), noBackup);
    QVERIFY(prompts.shown.isEmpty());
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
