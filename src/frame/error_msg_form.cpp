#include "frame/error_msg_form.h"

#include "data/helpers.h"
#include "platform/prompts.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

TErrorMsgForm::TErrorMsgForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("信息显示窗口"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(640, 420);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setAccessibleName(QStringLiteral("信息"));

    auto* closeButton = new QPushButton(QStringLiteral("关闭"), this);
    auto* saveButton = new QPushButton(QStringLiteral("保存"), this);
    for (QPushButton* b : {closeButton, saveButton}) {
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(saveButton, &QPushButton::clicked, this, &TErrorMsgForm::save);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
}

void TErrorMsgForm::addLine(const QString& line)
{
    Memo1->appendPlainText(line);
}

QStringList TErrorMsgForm::lines() const
{
    return Memo1->toPlainText().split(QLatin1Char('\n'));
}

void TErrorMsgForm::save()
{
    const QString path = CurrentPrompter().saveFile(
        this, QStringLiteral("保存"), m_proposedFileName, QStringLiteral("txt (*.txt)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write(Memo1->toPlainText().toUtf8());
        file.write("\n");
        if (file.commit())
            return;
    }
    ShowErrorMsg(QStringLiteral("文件 ") + path + QStringLiteral(" 保存过程发生错误"));
}
