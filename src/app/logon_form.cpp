#include "app/logon_form.h"

#include "session/app_globals.h"
#include "data/connection.h"
#include "controls/fill_combo.h"
#include "data/helpers.h"
#include "frame/form_keys.h"
#include "frame/settings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

TLogonForm::TLogonForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("用户登陆窗口"));
    setAccessibleName(windowTitle());

    UserIDBox = new QComboBox;
    UserIDBox->setEditable(true);
    UserIDBox->setInsertPolicy(QComboBox::NoInsert);
    UserIDBox->setAccessibleName(QStringLiteral("用户编号"));
    PasswordEdit = new QLineEdit;
    MaskWithStars(PasswordEdit);
    PasswordEdit->setMaxLength(10);
    PasswordEdit->setAccessibleName(QStringLiteral("用户口令"));

    auto users =
        OpenSQL(kDatabaseName,
                QStringLiteral("SELECT  USE_ID from SYS_USER_TABLE WHERE STOP_RIGHT ='有效'"));
    FillCombo(UserIDBox, *users, QStringLiteral("USE_ID"));
    users.reset();
    UserIDBox->setCurrentIndex(-1);
    UserIDBox->setEditText(QString());

    ButtonOK = new QPushButton(QStringLiteral("确定[F3]"));
    ButtonCancel = new QPushButton(QStringLiteral("取消[F4]"));
    for (QPushButton* b : {ButtonOK, ButtonCancel}) {
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }
    connect(ButtonOK, &QPushButton::clicked, this, &TLogonForm::confirm);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    BindFunctionKey(ButtonOK, Qt::Key_F3);
    BindFunctionKey(ButtonCancel, Qt::Key_F4);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用户编号"), UserIDBox);
    form->addRow(QStringLiteral("用户口令"), PasswordEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setTabOrder(UserIDBox, PasswordEdit);
    setTabOrder(PasswordEdit, ButtonOK);
    setTabOrder(ButtonOK, ButtonCancel);

    InstallEnterMovesFocus(this);
    ApplyEditColors(this);
    setMinimumWidth(320);
}

void TLogonForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnOwner(this);
    UserIDBox->setFocus();
}

void TLogonForm::confirm()
{
    const QString id = UserIDBox->currentText().trimmed();
    const QString password = PasswordEdit->text().trimmed();
    auto user = OpenSQL(kDatabaseName,
                        QStringLiteral("SELECT  USE_ID,USE_NAME,SYS_USER,STOP_RIGHT from "
                                       "SYS_USER_TABLE where USE_ID = %1 and USE_PASSWORD = %2 "
                                       "and STOP_RIGHT ='有效'")
                            .arg(QuotedStr(id), QuotedStr(password)));
    if (!user->next()) {
        user.reset();
        if (m_failures >= 3) {
            ShowMsg(QStringLiteral("您可能是非法的用户,不能登陆系统"));
            reject();
            return;
        }
        ++m_failures;
        ShowMsg(QStringLiteral("错误的用户编号或错误的口令"));
        UserIDBox->setFocus();
        return;
    }
    AppGlobals.UserName = user->value(QStringLiteral("USE_NAME")).toString();
    AppGlobals.UserID = user->value(QStringLiteral("USE_ID")).toString();
    AppGlobals.IsSysUser =
        user->value(QStringLiteral("SYS_USER")).toString() == QStringLiteral("是");
    user.reset();
    AppGlobals.ImeName = ReadRegString(QStringLiteral("KWfastImes"));
    accept();
}
