#include "frame/set_auto_id_form.h"

#include "session/app_globals.h"
#include "frame/form_keys.h"
#include "frame/settings.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kAutoOrder = QStringLiteral("发件编号");
const QString kCheckOrder = QStringLiteral("检查发件编号重复");
const QString kNoBackup = QStringLiteral("不自动数据备份");

QString yesNo(bool on)
{
    return on ? QStringLiteral("是") : QStringLiteral("否");
}
} // namespace

TSetAutoIDForm::TSetAutoIDForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("发件编号方式设置窗口"));
    // No system buttons: the window is left through "确定".
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    AutoOrderBox = new QCheckBox(QStringLiteral("自动填写发件编号"), this);
    CheckOrderBox = new QCheckBox(QStringLiteral("检查发件编号重复"), this);
    NoBackupBox = new QCheckBox(kNoBackup, this);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setDefault(true);
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{AutoOrderBox, CheckOrderBox, NoBackupBox, ok})
        b->setAccessibleName(b->text());
    connect(ok, &QPushButton::clicked, this, &TSetAutoIDForm::confirm);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AutoOrderBox);
    layout->addWidget(CheckOrderBox);
    layout->addWidget(NoBackupBox);
    layout->addSpacing(8);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setMinimumWidth(300);
}

void TSetAutoIDForm::showEvent(QShowEvent* event)
{
    AutoOrderBox->setChecked(GetSysFlag(kAutoOrder));
    CheckOrderBox->setChecked(GetSysFlag(kCheckOrder));
    // The box follows its caption: checked means no backup question at start.
    NoBackupBox->setChecked(GetSysFlag(kNoBackup));
    QDialog::showEvent(event);
    CenterOnOwner(this);
}

void TSetAutoIDForm::confirm()
{
    SetSysValue(kAutoOrder, yesNo(AutoOrderBox->isChecked()));
    SetSysValue(kCheckOrder, yesNo(CheckOrderBox->isChecked()));
    SetSysValue(kNoBackup, yesNo(NoBackupBox->isChecked()));
    AppGlobals.AutoOrderID = AutoOrderBox->isChecked();
    AppGlobals.CheckOrderID = CheckOrderBox->isChecked();
    accept();
}
