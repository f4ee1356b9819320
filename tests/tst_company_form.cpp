#include "app/application.h"
#include "app/startup.h"
#include "controls/edits.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/main_frame.h"
#include "platform/clock.h"
#include "records/main_form.h"
#include "scripted_prompter.h"
#include "seam_guards.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "typing.h"
#include "waybill/company_form.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>
#include <memory>

class CompanyFormTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldsShowAndSaveTheRow();
    void addingIsRefusedWhileTheRowExists();
    void addingTheFirstRow();
    void spacingMustBeANumber_data();
    void spacingMustBeANumber();
    void toolBarOffersNoDeleteFindOrPrint();
    void savingRenamesTheMainWindow();
    void menuNeedsTheProgramRight_data();
    void menuNeedsTheProgramRight();
};

namespace {

const char* const kNoRight = "您没有在程序\"发件人资料录入编辑\"中的权限";

void insertSender()
{
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,COMPANY_NAME,"
                                  "COMPANY_EMPLOYEE_NAME,COMPANY_ADDRESS,COMPANY_POSTCODE,"
                                  "COMPANY_PHONE,COMPANY_HANDSET_PHONE,COMPANY_CITY,"
                                  "COMPANY_PROVINCE,COMPANY_POSTCODE_WIDTH,NOTE) VALUES("
                                  "'000001','凯维','李四','解放路1号','310000','0571-1234',"
                                  "'13900001111','杭州','浙江',3,'早班')")));
}

// User A01 logs on with the add right on a program of 快递单据管理 (3 is
// 发件人资料录入编辑) and the given browse right.
void grantCompanyRight(int program, const QString& browse)
{
    AppGlobals.UserID = QStringLiteral("A01");
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,PROGRAM_ID,"
                                  "ADD_RIGHT,BROWSE_RIGHT) VALUES('A01',1,%1,'是','%2')")
                       .arg(program)
                       .arg(browse)));
}

QString senderValue(const QString& column)
{
    return GetSQLValue(kDatabaseName,
                       QStringLiteral("SELECT %1 FROM SYS_COMPANY_TABLE").arg(column));
}

std::unique_ptr<TCompanyForm> openForm()
{
    auto form = std::make_unique<TCompanyForm>(nullptr);
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->show();
    if (!QTest::qWaitForWindowActive(form.get()))
        qWarning("the sender window did not become active");
    return form;
}

void retype(TKWDBEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    TypeText(edit, text);
}

QAction* menuEntry(const TMainForm& main, const QString& caption)
{
    for (QAction* menu : main.menuBar()->actions())
        if (menu->menu())
            for (QAction* a : menu->menu()->actions())
                if (a->text() == caption)
                    return a;
    return nullptr;
}

} // namespace

void CompanyFormTest::fieldsShowAndSaveTheRow()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    FixedClock clock(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
    grantCompanyRight(3, QStringLiteral("是"));
    AppGlobals.UserName = QStringLiteral("王五");
    insertSender();
    const struct
    {
        const char* caption;
        const char* column;
        const char* stored;
        const char* typed;
    } fields[] = {
        {"发件单位", "COMPANY_NAME", "凯维", "维达物流"},
        {"默认发件人", "COMPANY_EMPLOYEE_NAME", "李四", "赵六"},
        {"发件地址", "COMPANY_ADDRESS", "解放路1号", "中山路8号"},
        {"发件邮编", "COMPANY_POSTCODE", "310000", "200001"},
        {"发件电话", "COMPANY_PHONE", "0571-1234", "021-5678"},
        {"发件手机", "COMPANY_HANDSET_PHONE", "13900001111", "13800002222"},
        {"发件城市", "COMPANY_CITY", "杭州", "上海"},
        {"发件省份", "COMPANY_PROVINCE", "浙江", "上海市"},
        {"邮编间距", "COMPANY_POSTCODE_WIDTH", "3", "4.5"},
        {"备注", "NOTE", "早班", "晚班"},
    };
    auto form = openForm();
    QCOMPARE(form->windowTitle(), QStringLiteral("发件人资料编辑窗口"));
    QList<QLabel*> labels = form->findChildren<QLabel*>();
    for (const auto& f : fields) {
        const QString caption = QString::fromUtf8(f.caption);
        auto label = std::find_if(labels.cbegin(), labels.cend(),
                                  [&caption](const QLabel* l) { return l->text() == caption; });
        QVERIFY2(label != labels.cend(), f.caption);
        auto* edit = qobject_cast<TKWDBEdit*>((*label)->buddy());
        QVERIFY2(edit, f.caption);
        QCOMPARE(edit->DataField(), QString::fromLatin1(f.column));
        QCOMPARE(edit->text(), QString::fromUtf8(f.stored));
        QVERIFY(edit->isReadOnly()); // browsing
        // Beside its field, on the same line.
        QVERIFY((*label)->geometry().right() < edit->geometry().left());
        QVERIFY(qAbs((*label)->geometry().center().y() - edit->geometry().center().y()) < 4);
    }
    QCOMPARE(form->Field(QStringLiteral("COMPANY_POSTCODE_WIDTH"))->EditType(),
             TEditTypes::etFloat);

    QTest::keyClick(form.get(), Qt::Key_F6);
    QCOMPARE(form->Query()->State(), TDataSetState::dsEdit);
    for (const auto& f : fields)
        retype(form->Field(QString::fromLatin1(f.column)), QString::fromUtf8(f.typed));
    // The spacing is a number of millimetres: letters do not go in.
    TypeText(form->Field(QStringLiteral("COMPANY_POSTCODE_WIDTH")), QStringLiteral("x"));
    QTest::keyClick(form.get(), Qt::Key_F8);
    QCOMPARE(form->Query()->State(), TDataSetState::dsBrowse);
    for (const auto& f : fields)
        QCOMPARE(senderValue(QString::fromLatin1(f.column)), QString::fromUtf8(f.typed));
    QCOMPARE(senderValue(QStringLiteral("EDIT_NAME || EDIT_DATE")),
             QStringLiteral("王五2024-03-13"));
    QVERIFY(prompts.shown.isEmpty());
}

void CompanyFormTest::addingIsRefusedWhileTheRowExists()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    grantCompanyRight(3, QStringLiteral("是"));
    insertSender();
    auto form = openForm();
    QTest::keyClick(form.get(), Qt::Key_F5);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("公司名称只能有一个")});
    QCOMPARE(form->Query()->State(), TDataSetState::dsBrowse);
    QCOMPARE(form->Query()->RecordCount(), 1);
    QCOMPARE(form->Field(QStringLiteral("COMPANY_NAME"))->text(), QStringLiteral("凯维"));
}

void CompanyFormTest::addingTheFirstRow()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    FixedClock clock(QDateTime(QDate(2024, 3, 13), QTime(9, 0)));
    grantCompanyRight(3, QStringLiteral("是"));
    AppGlobals.UserName = QStringLiteral("王五");
    auto form = openForm();
    QTest::keyClick(form.get(), Qt::Key_F5);
    QCOMPARE(form->Query()->State(), TDataSetState::dsInsert);
    retype(form->Field(QStringLiteral("COMPANY_NAME")), QStringLiteral("维达物流"));
    QTest::keyClick(form.get(), Qt::Key_F8);
    QCOMPARE(senderValue(QStringLiteral("COMPANY_ID || COMPANY_NAME || CREATE_NAME || "
                                        "CREATE_DATE")),
             QStringLiteral("000001维达物流王五2024-03-13"));
    QCOMPARE(AppGlobals.CompanyName, QStringLiteral("维达物流"));
    QCOMPARE(senderValue(QStringLiteral("COMPANY_POSTCODE_WIDTH")), QStringLiteral("3"));
    QTest::keyClick(form.get(), Qt::Key_F5); // now there is one
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("公司名称只能有一个")});
}

void CompanyFormTest::spacingMustBeANumber_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("message");
    QTest::newRow("emptied") << ""
                             << "邮编间距必须有一个值";
    QTest::newRow("not a number") << "3毫米"
                                  << "邮编间距是错误的数据";
}

void CompanyFormTest::spacingMustBeANumber()
{
    QFETCH(QString, pasted);
    QFETCH(QString, message);
    TestDatabase db;
    ScriptedPrompter prompts;
    grantCompanyRight(3, QStringLiteral("是"));
    insertSender();
    auto form = openForm();
    QTest::keyClick(form.get(), Qt::Key_F6);
    TKWDBEdit* spacing = form->Field(QStringLiteral("COMPANY_POSTCODE_WIDTH"));
    spacing->setFocus();
    spacing->selectAll();
    QTest::keyClick(spacing, Qt::Key_Delete);
    QApplication::clipboard()->setText(pasted);
    spacing->paste();
    form->Field(QStringLiteral("NOTE"))->setFocus();
    QTest::keyClick(form.get(), Qt::Key_F8);
    QCOMPARE(prompts.takeTexts(), QStringList{message});
    QCOMPARE(QApplication::focusWidget(), spacing);
    QCOMPARE(form->Query()->State(), TDataSetState::dsEdit);
    QCOMPARE(senderValue(QStringLiteral("COMPANY_POSTCODE_WIDTH")), QStringLiteral("3"));
}

void CompanyFormTest::toolBarOffersNoDeleteFindOrPrint()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    grantCompanyRight(3, QStringLiteral("是"));
    insertSender();
    auto form = openForm();
    const std::pair<const char*, bool> buttons[] = {
        {"增加F5", true},  {"编辑F6", true},   {"删除F7", false},  {"保存F8", true},
        {"取消F9", true},  {"查找F10", false}, {"打印F11", false}, {"确认", false},
        {"头一条", true},  {"前一条 ", true},  {"下一条", true},   {"末一条", true},
        {"关闭F12", true},
    };
    for (const auto& [caption, shown] : buttons)
        QVERIFY2(form->Button(QString::fromUtf8(caption))->isVisible() == shown, caption);
    // Their keys do nothing either: the row stays.
    for (Qt::Key key : {Qt::Key_F7, Qt::Key_F10, Qt::Key_F11})
        QTest::keyClick(form.get(), key);
    QCOMPARE(form->Query()->State(), TDataSetState::dsBrowse);
    QCOMPARE(senderValue(QStringLiteral("COUNT(*)")), QStringLiteral("1"));
    QVERIFY(prompts.shown.isEmpty());
    QTest::mouseClick(form->Button(QStringLiteral("下一条")), Qt::LeftButton);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("已到最后一个纪录")});
}

void CompanyFormTest::savingRenamesTheMainWindow()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    insertSender();
    grantCompanyRight(3, QStringLiteral("是"));
    OpenSession(); // as start-up does, after the settings above
    TMainForm main;
    main.show();
    QCOMPARE(main.windowTitle(), QStringLiteral("凯维快递单打印系统"));
    QAction* entry = menuEntry(main, QStringLiteral("发件人资料录入编辑"));
    QVERIFY(entry);
    entry->trigger();
    entry->trigger(); // the open window comes to the front, no second copy
    const QList<TCompanyForm*> forms = main.findChildren<TCompanyForm*>();
    QCOMPARE(forms.size(), 1);
    QCOMPARE(main.Frame()->OpenWindowCount(), 1);
    TCompanyForm* form = forms.first();
    QVERIFY(QTest::qWaitForWindowActive(form));
    TKWDBEdit* name = form->Field(QStringLiteral("COMPANY_NAME"));

    // Cancelled and refused changes leave the name alone.
    QTest::keyClick(form, Qt::Key_F6);
    retype(name, QStringLiteral("维达物流"));
    QTest::keyClick(form, Qt::Key_F9);
    QCOMPARE(name->text(), QStringLiteral("凯维"));
    QTest::keyClick(form, Qt::Key_F6);
    retype(name, QString(21, QChar(u'长'))); // 42 bytes, the column holds 40
    QCOMPARE(name->text(), QString(20, QChar(u'长')));
    // Too long a value that comes without keys is refused by the save.
    name->setText(QString(21, QChar(u'长')));
    QTest::keyClick(form, Qt::Key_F8);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("数据太大,不能保存数据")});
    QCOMPARE(form->Query()->State(), TDataSetState::dsEdit);
    QCOMPARE(main.windowTitle(), QStringLiteral("凯维快递单打印系统"));
    QCOMPARE(AppGlobals.CompanyName, QStringLiteral("凯维"));

    retype(name, QStringLiteral("维达物流"));
    QTest::keyClick(form, Qt::Key_F8);
    QCOMPARE(AppGlobals.CompanyName, QStringLiteral("维达物流"));
    QCOMPARE(main.windowTitle(), QStringLiteral("维达物流快递单打印系统"));
    QCOMPARE(senderValue(QStringLiteral("COMPANY_NAME")), QStringLiteral("维达物流"));

    QTest::keyClick(form, Qt::Key_F12);
    QTRY_COMPARE(main.Frame()->OpenWindowCount(), 0);
    QVERIFY(prompts.shown.isEmpty());
}

void CompanyFormTest::menuNeedsTheProgramRight_data()
{
    QTest::addColumn<int>("program");
    QTest::addColumn<QString>("browse");
    QTest::newRow("no rights row") << 0 << "";
    QTest::newRow("browse right off") << 3 << "否";
    QTest::newRow("only another program's right") << 1 << "是";
}

void CompanyFormTest::menuNeedsTheProgramRight()
{
    QFETCH(int, program);
    QFETCH(QString, browse);
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.UserID = QStringLiteral("A01");
    insertSender();
    if (program)
        grantCompanyRight(program, browse);
    TMainForm main;
    main.show();
    menuEntry(main, QStringLiteral("发件人资料录入编辑"))->trigger();
    QCOMPARE(prompts.takeTexts(), QStringList{QString::fromUtf8(kNoRight)});
    QVERIFY(main.findChildren<TCompanyForm*>().isEmpty());
    QCOMPARE(main.Frame()->OpenWindowCount(), 0);
}

// A refused save aborts the key's handler; the program's application catches that.
int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    CompanyFormTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_company_form.moc"
