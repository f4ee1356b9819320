#include "app/enrol_form.h"

#include "session/app_globals.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "frame/form_keys.h"
#include "frame/set_auto_id_form.h"
#include "frame/settings.h"
#include "platform/gbk.h"
#include "platform/input_methods.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* addField(QFormLayout* form, const QString& caption, int maxBytes, bool upper = false)
{
    auto* edit = new QLineEdit;
    edit->setValidator(new GbkLengthValidator(maxBytes, upper, edit));
    edit->setAccessibleName(caption);
    form->addRow(caption, edit);
    return edit;
}

QString text(const QLineEdit* edit)
{
    return edit->text().trimmed();
}

} // namespace

TEnrolForm::TEnrolForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("注册窗口"));
    setAccessibleName(windowTitle());

    auto* senderBox = new QGroupBox(QStringLiteral("发件人资料"));
    auto* senderForm = new QFormLayout(senderBox);
    CompanyEdit = addField(senderForm, QStringLiteral("发件单位"), 40);
    SenderEdit = addField(senderForm, QStringLiteral("默认发件人"), 20);
    PostcodeEdit = addField(senderForm, QStringLiteral("发件邮编"), 10); // the column holds 10
    PhoneEdit = addField(senderForm, QStringLiteral("发件电话"), 20);
    MobileEdit = addField(senderForm, QStringLiteral("发件手机"), 20);
    AddressEdit = addField(senderForm, QStringLiteral("发件地址"), 40);
    CityEdit = addField(senderForm, QStringLiteral("发件城市"), 20);
    ProvinceEdit = addField(senderForm, QStringLiteral("发件省份"), 20);

    auto* userBox = new QGroupBox(QStringLiteral("系统管理员"));
    auto* userForm = new QFormLayout(userBox);
    UserIDEdit = addField(userForm, QStringLiteral("用户编号"), 6, true);
    UserNameEdit = addField(userForm, QStringLiteral("用户姓名"), 20);
    PasswordEdit = addField(userForm, QStringLiteral("口令"), 10);
    ConfirmEdit = addField(userForm, QStringLiteral("口令确认"), 10);
    MaskWithStars(PasswordEdit);
    MaskWithStars(ConfirmEdit);

    // The input method of this desk; kept hidden, its first entry is taken.
    ImeBox = new QComboBox(this);
    ImeBox->addItems(InstalledInputMethods() << QString() << QString());
    ImeBox->setAccessibleName(QStringLiteral("输入法"));
    ImeBox->hide();

    auto* hint = new QLabel(QStringLiteral("自己输入:发件单位 、用户编号、用户姓名、口令 ！"));
    hint->setStyleSheet(QStringLiteral("color: blue;"));

    ButtonOK = new QPushButton(QStringLiteral("确认F3"));
    ButtonClose = new QPushButton(QStringLiteral("关闭F4"));
    for (QPushButton* b : {ButtonOK, ButtonClose}) {
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }
    connect(ButtonOK, &QPushButton::clicked, this, &TEnrolForm::confirm);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject);
    BindFunctionKey(ButtonOK, Qt::Key_F3);
    BindFunctionKey(ButtonClose, Qt::Key_F4);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(senderBox, 3);
    auto* userColumn = new QVBoxLayout;
    userColumn->addWidget(userBox);
    userColumn->addStretch();
    boxes->addLayout(userColumn, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint);
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(buttons);

    // Tab order follows the captions: the sender first, then the user.
    QWidget* order[] = {CompanyEdit,  SenderEdit,  PostcodeEdit, PhoneEdit,  MobileEdit,
                        AddressEdit,  CityEdit,    ProvinceEdit, UserIDEdit, UserNameEdit,
                        PasswordEdit, ConfirmEdit, ButtonOK,     ButtonClose};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    InstallEnterMovesFocus(this);
    ApplyEditColors(this);
    setMinimumWidth(620);
}

void TEnrolForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnOwner(this);
    CompanyEdit->setFocus();
}

void TEnrolForm::keyPressEvent(QKeyEvent* event)
{
    // Closing this window ends the program: only "关闭F4" does that, never a stray Esc.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TEnrolForm::checkFields()
{
    const struct
    {
        QLineEdit* edit;
        const char* message;
    } required[] = {
        {CompanyEdit, "必须输入发件单位，如果没发件单位可以输入发件人"},
        {SenderEdit, "必须输入默认发件人"},
        {PostcodeEdit, "必须输入发件邮编"},
        {AddressEdit, "必须输入发件地址"},
        {UserIDEdit, "必须输入用户编号"},
        {UserNameEdit, "必须输入用户姓名"},
        {PasswordEdit, "必须输入用户口令"},
        {ConfirmEdit, "必须确认用户口令"},
    };
    for (const auto& field : required) {
        if (text(field.edit).isEmpty()) {
            ShowMsg(QString::fromUtf8(field.message));
            field.edit->setFocus();
            return false;
        }
    }
    if (text(PasswordEdit) != text(ConfirmEdit)) {
        ShowMsg(QStringLiteral("口令确认错误"));
        PasswordEdit->setFocus();
        return false;
    }
    return true;
}

bool TEnrolForm::writeCompany()
{
    QString sql;
    if (GetSQLNumber(kDatabaseName,
                     QStringLiteral("SELECT COUNT(COMPANY_ID) FROM SYS_COMPANY_TABLE ")) > 0) {
        sql = QStringLiteral("UPDATE SYS_COMPANY_TABLE SET COMPANY_NAME = %1, "
                             "COMPANY_EMPLOYEE_NAME = %2, COMPANY_POSTCODE = %3, "
                             "COMPANY_PHONE = %4, COMPANY_HANDSET_PHONE = %5, "
                             "COMPANY_ADDRESS = %6, COMPANY_CITY = %7, COMPANY_PROVINCE = %8")
                  .arg(QuotedStr(text(CompanyEdit)), QuotedStr(text(SenderEdit)),
                       QuotedStr(text(PostcodeEdit)), QuotedStr(text(PhoneEdit)),
                       QuotedStr(text(MobileEdit)), QuotedStr(text(AddressEdit)),
                       QuotedStr(text(CityEdit)), QuotedStr(text(ProvinceEdit)));
    } else {
        // City and province are kept like the rest of what the operator typed.
        sql = QStringLiteral("INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,COMPANY_NAME,"
                             "COMPANY_EMPLOYEE_NAME,COMPANY_POSTCODE,COMPANY_PHONE,"
                             "COMPANY_HANDSET_PHONE,COMPANY_ADDRESS,COMPANY_CITY,"
                             "COMPANY_PROVINCE,COMPANY_POSTCODE_WIDTH) "
                             "VALUES('000001',%1,%2,%3,%4,%5,%6,%7,%8,3)")
                  .arg(QuotedStr(text(CompanyEdit)), QuotedStr(text(SenderEdit)),
                       QuotedStr(text(PostcodeEdit)), QuotedStr(text(PhoneEdit)),
                       QuotedStr(text(MobileEdit)), QuotedStr(text(AddressEdit)),
                       QuotedStr(text(CityEdit)), QuotedStr(text(ProvinceEdit)));
    }
    return RunSQL(kDatabaseName, sql);
}

bool TEnrolForm::writeUser()
{
    const QString id = text(UserIDEdit);
    RunSQL(kDatabaseName,
           QStringLiteral("DELETE  FROM SYS_USER_TABLE WHERE USE_ID = ") + QuotedStr(id));
    return RunSQL(kDatabaseName,
                  QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_PASSWORD,USE_ID,USE_NAME,SYS_USER,"
                                 "STOP_RIGHT,CREATE_NAME,CREATE_DATE) "
                                 "VALUES(%1,%2,%3,'是','有效',%3,%4)")
                      .arg(QuotedStr(text(PasswordEdit)), QuotedStr(id),
                           QuotedStr(text(UserNameEdit)), SqlDate(AppGlobals.WorkDate)));
}

void TEnrolForm::writeRights()
{
    if (!RunSQL(kDatabaseName, QStringLiteral("DELETE FROM SYS_RIGHT_TABLE")))
        return;
    const int programs[][2] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}};
    for (const auto& p : programs)
        RunSQL(kDatabaseName,
               QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,PROGRAM_ID,ADD_RIGHT,"
                              "EDIT_RIGHT,DElETE_RIGHT,BROWSE_RIGHT,PRINT_RIGHT,VERIFY_RIGHT,"
                              "CURRENCY_RIGHT) VALUES(%1,%2,%3,'是','是','是','是','是','是','是')")
                   .arg(QuotedStr(AppGlobals.UserID))
                   .arg(p[0])
                   .arg(p[1]));
}

void TEnrolForm::confirm()
{
    if (!checkFields())
        return;
    if (!writeCompany()) {
        ShowMsg(QStringLiteral("公司名称注册错误"));
        return;
    }
    if (!writeUser()) {
        ShowMsg(QStringLiteral("用户注册错误"));
        return;
    }
    AppGlobals.IsSysUser = true;
    AppGlobals.CompanyName = text(CompanyEdit);
    AppGlobals.UserName = text(UserNameEdit);
    AppGlobals.UserID = text(UserIDEdit);
    AppGlobals.ImeName = ImeBox->currentText();
    WriteRegString(QStringLiteral("KWfastImes"), AppGlobals.ImeName);
    writeRights();

    ShowMsgOwner(nullptr, QStringLiteral("您的用户名称是：") + UserNameEdit->text() +
                              QStringLiteral("\n\r    用户编号是：") + UserIDEdit->text() +
                              QStringLiteral("\n\r    您的口令是：") + PasswordEdit->text() +
                              QStringLiteral("       "));
    hide();
    TSetAutoIDForm numbering(parentWidget());
    numbering.exec();
    accept();
}
