#include "app/data_module.h"
#include "app/enrol_form.h"
#include "app/logon_form.h"
#include "app/startup.h"
#include "app/translations.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "frame/set_auto_id_form.h"
#include "frame/settings.h"
#include "modal.h"
#include "scripted_prompter.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "typing.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class StartupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingAliasEndsStartup();
    void firstRunNeedsAnAdministrator();
    void enrolmentChecks_data();
    void enrolmentChecks();
    void enrolmentWritesSenderUserAndRights();
    void enrolmentUpdatesExistingSenderAndReplacesUser();
    void enrolmentKeys();
    void logonAdmitsAnActiveUser();
    void fourthFailedLogonEnds();
    void disabledUserCannotLogOn();
    void standardDialogsSpeakChinese();
};

namespace {

void insertUser(const QString& id, const QString& name, const QString& password,
                const QString& sysUser, const QString& state)
{
    QVERIFY(
        RunSQL(kDatabaseName,
               QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID,USE_NAME,USE_PASSWORD,SYS_USER,"
                              "STOP_RIGHT) VALUES(%1,%2,%3,%4,%5)")
                   .arg(QuotedStr(id), QuotedStr(name), QuotedStr(password), QuotedStr(sysUser),
                        QuotedStr(state))));
}

QString value(const QString& sql)
{
    return GetSQLValue(kDatabaseName, sql);
}

// Fills every field of the enrolment window.
void fillEnrolment(TEnrolForm& form, const QString& password, const QString& confirmation)
{
    form.CompanyEdit->setText(QStringLiteral("凯维贸易's"));
    form.SenderEdit->setText(QStringLiteral("李四"));
    form.PostcodeEdit->setText(QStringLiteral("200000"));
    form.PhoneEdit->setText(QStringLiteral("021-12345678"));
    form.MobileEdit->setText(QStringLiteral("13900000000"));
    form.AddressEdit->setText(QStringLiteral("上海市中山路1号"));
    form.CityEdit->setText(QStringLiteral("浦东"));
    form.ProvinceEdit->setText(QStringLiteral("上海"));
    form.UserIDEdit->setText(QStringLiteral("a01"));
    form.UserNameEdit->setText(QStringLiteral(" 王五 "));
    form.PasswordEdit->setText(password);
    form.ConfirmEdit->setText(confirmation);
}

// Confirms the enrolment and answers the numbering window that follows it.
void confirmEnrolment(TEnrolForm& form)
{
    OnNextModal("TSetAutoIDForm", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    QTest::mouseClick(form.ButtonOK, Qt::LeftButton);
}

} // namespace

void StartupTest::missingAliasEndsStartup()
{
    QTemporaryDir home;
    qputenv("KWFAST_HOME", home.path().toUtf8());
    ScriptedPrompter prompts;
    AppGlobals.DBConnectFailed = false;
    DataModuleCreate();
    QVERIFY(AppGlobals.DBConnectFailed);
    const QStringList shown = prompts.takeTexts();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].startsWith(QStringLiteral("1.没有找到软件设置的数据库连接参数")));
    QVERIFY(shown[0].contains(QStringLiteral("重新打开软件。\n\r2.如果打勾后")));
}

void StartupTest::firstRunNeedsAnAdministrator()
{
    TestDatabase db;
    QCOMPARE(AdministratorCount(), 0.0);
    insertUser(QStringLiteral("U1"), QStringLiteral("甲"), QStringLiteral("1"),
               QStringLiteral("否"), QStringLiteral("有效"));
    QCOMPARE(AdministratorCount(), 0.0);
    insertUser(QStringLiteral("U2"), QStringLiteral("乙"), QStringLiteral("1"),
               QStringLiteral("是"), QStringLiteral("停用"));
    QCOMPARE(AdministratorCount(), 1.0);
}

void StartupTest::enrolmentChecks_data()
{
    QTest::addColumn<QString>("emptied");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("company") << "发件单位"
                             << "必须输入发件单位，如果没发件单位可以输入发件人"
                             << "发件单位";
    QTest::newRow("sender") << "默认发件人"
                            << "必须输入默认发件人"
                            << "默认发件人";
    QTest::newRow("postcode") << "发件邮编"
                              << "必须输入发件邮编"
                              << "发件邮编";
    QTest::newRow("address") << "发件地址"
                             << "必须输入发件地址"
                             << "发件地址";
    QTest::newRow("user id") << "用户编号"
                             << "必须输入用户编号"
                             << "用户编号";
    QTest::newRow("user name") << "用户姓名"
                               << "必须输入用户姓名"
                               << "用户姓名";
    QTest::newRow("passcode") << "口令"
                              << "必须输入用户口令"
                              << "口令";
    QTest::newRow("confirmation") << "口令确认"
                                  << "必须确认用户口令"
                                  << "口令确认";
    QTest::newRow("mismatch") << ""
                              << "口令确认错误"
                              << "口令";
}

void StartupTest::enrolmentChecks()
{
    QFETCH(QString, emptied);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    TestDatabase db;
    ScriptedPrompter prompts;
    TEnrolForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    fillEnrolment(form, QStringLiteral("abc"), QStringLiteral("abd"));
    if (!emptied.isEmpty()) {
        form.ConfirmEdit->setText(QStringLiteral("abc"));
        for (QLineEdit* edit : form.findChildren<QLineEdit*>())
            if (edit->accessibleName() == emptied)
                edit->setText(QStringLiteral("   "));
    }
    // Telephone, mobile, city and province may stay empty.
    form.PhoneEdit->clear();
    form.CityEdit->clear();
    QTest::mouseClick(form.ButtonOK, Qt::LeftButton);
    QCOMPARE(prompts.takeTexts(), QStringList{message});
    QCOMPARE(QApplication::focusWidget()->accessibleName(), focused);
    QVERIFY(form.isVisible());
    QCOMPARE(AdministratorCount(), 0.0);
}

void StartupTest::enrolmentWritesSenderUserAndRights()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    insertUser(QStringLiteral("OLD"), QStringLiteral("旧"), QStringLiteral("1"),
               QStringLiteral("否"), QStringLiteral("有效"));
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,"
                                                 "PROGRAM_ID,ADD_RIGHT) VALUES('OLD',1,1,'是')")));
    TEnrolForm form;
    form.show();
    fillEnrolment(form, QStringLiteral(" pw1 "), QStringLiteral("pw1"));
    QCOMPARE(form.UserIDEdit->text(), QStringLiteral("A01")); // forced to upper case
    confirmEnrolment(form);

    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("您的用户名称是： 王五 \n\r    用户编号是：A01\n\r    "
                                        "您的口令是： pw1        ")});
    QCOMPARE(
        value(QStringLiteral("SELECT COMPANY_ID || '|' || COMPANY_NAME || '|' || "
                             "COMPANY_EMPLOYEE_NAME || '|' || COMPANY_POSTCODE_WIDTH || '|' || "
                             "COMPANY_CITY || '|' || COMPANY_PROVINCE FROM SYS_COMPANY_TABLE")),
        QStringLiteral("000001|凯维贸易's|李四|3.0|浦东|上海"));
    QCOMPARE(
        value(QStringLiteral("SELECT USE_NAME || '|' || USE_PASSWORD || '|' || SYS_USER || '|' "
                             "|| STOP_RIGHT || '|' || CREATE_NAME || '|' || CREATE_DATE FROM "
                             "SYS_USER_TABLE WHERE USE_ID = 'A01'")),
        QStringLiteral("王五|pw1|是|有效|王五|2024-03-05"));
    QCOMPARE(value(QStringLiteral("SELECT GROUP_CONCAT(COMPOSE_ID || '.' || PROGRAM_ID) FROM "
                                  "(SELECT * FROM SYS_RIGHT_TABLE WHERE USE_ID = 'A01' AND "
                                  "DElETE_RIGHT = '是' AND CURRENCY_RIGHT = '是' ORDER BY "
                                  "COMPOSE_ID, PROGRAM_ID)")),
             QStringLiteral("1.0.1.0,1.0.2.0,1.0.3.0,2.0.1.0,2.0.2.0"));
    // The rights of every other user are gone; the other user stays.
    QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM SYS_RIGHT_TABLE")), QStringLiteral("5"));
    QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM SYS_USER_TABLE")), QStringLiteral("2"));

    QVERIFY(AppGlobals.IsSysUser);
    QCOMPARE(AppGlobals.UserID, QStringLiteral("A01"));
    QCOMPARE(AppGlobals.UserName, QStringLiteral("王五"));
    QCOMPARE(AppGlobals.CompanyName, QStringLiteral("凯维贸易's"));
    QCOMPARE(ReadRegString(QStringLiteral("KWfastImes")), AppGlobals.ImeName);
    QCOMPARE(AdministratorCount(), 1.0);
}

void StartupTest::enrolmentUpdatesExistingSenderAndReplacesUser()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    for (const char* id : {"000001", "000002"})
        QVERIFY(RunSQL(kDatabaseName,
                       QStringLiteral("INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,COMPANY_NAME,"
                                      "COMPANY_POSTCODE_WIDTH) VALUES('%1','旧公司',5)")
                           .arg(QString::fromLatin1(id))));
    insertUser(QStringLiteral("A01"), QStringLiteral("旧名"), QStringLiteral("old"),
               QStringLiteral("否"), QStringLiteral("停用"));
    TEnrolForm form;
    form.show();
    fillEnrolment(form, QStringLiteral("pw"), QStringLiteral("pw"));
    confirmEnrolment(form);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    prompts.takeTexts();
    QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM SYS_COMPANY_TABLE WHERE COMPANY_NAME = "
                                  "'凯维贸易''s' AND COMPANY_CITY = '浦东' AND "
                                  "COMPANY_POSTCODE_WIDTH = 5")),
             QStringLiteral("2"));
    QCOMPARE(value(QStringLiteral("SELECT USE_NAME || STOP_RIGHT || SYS_USER FROM SYS_USER_TABLE")),
             QStringLiteral("王五有效是"));
}

void StartupTest::enrolmentKeys()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    TEnrolForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.CompanyEdit);
    QTest::keyClicks(form.CompanyEdit, QStringLiteral("Kaiwei"));
    QTest::keyClick(form.CompanyEdit, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), form.SenderEdit);
    QVERIFY(form.isVisible()); // Enter never confirms
    QTest::keyClick(form.SenderEdit, Qt::Key_F3);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("必须输入默认发件人")});
    // Nothing longer than the column is taken: 40 bytes are 20 Chinese characters.
    TypeText(form.AddressEdit, QString(25, QChar(0x8DEF)));
    QCOMPARE(form.AddressEdit->text().size(), 20);
    // Esc neither closes the window nor ends the program; only 关闭F4 does.
    for (QWidget* w : std::initializer_list<QWidget*>{form.AddressEdit, form.ButtonOK, &form})
        QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(form.isVisible());
    QCOMPARE(form.AddressEdit->text().size(), 20);
    QTest::keyClick(form.SenderEdit, Qt::Key_F4);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());
}

void StartupTest::logonAdmitsAnActiveUser()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    insertUser(QStringLiteral("A01"), QStringLiteral("王五"), QStringLiteral("pw"),
               QStringLiteral("是"), QStringLiteral("有效"));
    insertUser(QStringLiteral("B02"), QStringLiteral("赵六"), QStringLiteral("x"),
               QStringLiteral("否"), QStringLiteral("停用"));
    WriteRegString(QStringLiteral("KWfastImes"), QStringLiteral("fcitx5"));

    TLogonForm form;
    QCOMPARE(form.UserIDBox->count(), 1); // only active users are offered
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.UserIDBox);
    QTest::keyClicks(form.UserIDBox, QStringLiteral(" A01 "));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), form.PasswordEdit);
    QTest::keyClicks(form.PasswordEdit, QStringLiteral("pw"));
    QTest::keyClick(form.PasswordEdit, Qt::Key_F3);

    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(AppGlobals.UserID, QStringLiteral("A01"));
    QCOMPARE(AppGlobals.UserName, QStringLiteral("王五"));
    QVERIFY(AppGlobals.IsSysUser);
    QCOMPARE(AppGlobals.ImeName, QStringLiteral("fcitx5"));
    QVERIFY(prompts.shown.isEmpty());
}

void StartupTest::fourthFailedLogonEnds()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    insertUser(QStringLiteral("A01"), QStringLiteral("王五"), QStringLiteral("pw"),
               QStringLiteral("是"), QStringLiteral("有效"));
    TLogonForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.UserIDBox->setEditText(QStringLiteral("A01"));
    form.PasswordEdit->setText(QStringLiteral("' OR '1'='1"));
    for (int attempt = 1; attempt <= 3; ++attempt) {
        QTest::keyClick(form.PasswordEdit, Qt::Key_F3);
        QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("错误的用户编号或错误的口令")});
        QVERIFY(form.isVisible());
        QCOMPARE(QApplication::focusWidget(), form.UserIDBox);
    }
    QTest::keyClick(form.PasswordEdit, Qt::Key_F3);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("您可能是非法的用户,不能登陆系统")});
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());
}

void StartupTest::disabledUserCannotLogOn()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    insertUser(QStringLiteral("B02"), QStringLiteral("赵六"), QStringLiteral("x"),
               QStringLiteral("是"), QStringLiteral("停用"));
    TLogonForm form;
    form.show();
    form.UserIDBox->setEditText(QStringLiteral("B02"));
    form.PasswordEdit->setText(QStringLiteral("x"));
    QTest::mouseClick(form.ButtonOK, Qt::LeftButton);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("错误的用户编号或错误的口令")});
    QTest::mouseClick(form.ButtonCancel, Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Rejected));
}

void StartupTest::standardDialogsSpeakChinese()
{
    // Last here: Qt's texts stay Chinese for the rest of the run.
    QVERIFY(InstallQtTranslations());
    QFileDialog files(nullptr, QString(), QDir::tempPath());
    files.setOption(QFileDialog::DontUseNativeDialog);
    QCOMPARE(files.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
             QStringLiteral("查找范围："));
    QCOMPARE(files.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(),
             QStringLiteral("文件名称(&N)："));
    QCOMPARE(files.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->text(),
             QStringLiteral("打开(&O)"));
    QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"),
             QStringLiteral("文件夹"));
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text();
    QVERIFY2(items.join(u' ').contains(QStringLiteral("复制(&C)")), qPrintable(items.join(u' ')));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
