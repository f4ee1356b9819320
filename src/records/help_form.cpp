#include "records/help_form.h"

#include "frame/form_keys.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

QString OperatorGuide()
{
    QFile guide(QStringLiteral(":/docs/guide.md"));
    if (!guide.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(guide.readAll());
}

THelpForm::THelpForm(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("帮助"));
    setAccessibleName(windowTitle());
    m_browser->setAccessibleName(QStringLiteral("操作说明"));
    m_browser->setMarkdown(OperatorGuide());
    auto* close = new QPushButton(QStringLiteral("关闭[F12]"), this);
    close->setAccessibleName(close->text());
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    BindFunctionKey(close, Qt::Key_F12);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addLayout(buttons);
    resize(760, 600);
}

THelpForm* THelpForm::ShowFor(QWidget* owner)
{
    auto* form = owner->findChild<THelpForm*>(QString(), Qt::FindDirectChildrenOnly);
    if (!form) {
        form = new THelpForm(owner);
        CenterOnOwner(form);
    }
    form->show();
    form->raise();
    form->activateWindow();
    form->m_browser->setFocus();
    return form;
}
