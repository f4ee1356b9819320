#include "frame/window_family.h"

#include "app/app_globals.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/child_frame.h"
#include "frame/form_keys.h"
#include "frame/settings.h"
#include "platform/clock.h"

#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

void PrepareQuery(TKWQuery& query)
{
    const QString& work = AppGlobals.WorkDate;
    query.YearMonth = work.left(4) + work.mid(5, 2);
    query.Day = CurrentDate().toString(QStringLiteral("yyyyMMdd"));
    query.VerifyName = AppGlobals.UserName;
    query.VerifyDate = work;
    query.ColorOnFocus = AppGlobals.ColorOnFocus;
    query.DatabaseName = kDatabaseName;
}

void PrepareDataSource(TKWDataSource& source, const TRights& rights)
{
    source.RightAdd = rights.Add;
    source.RightEdit = rights.Add;
    source.RightDelete = rights.Add;
    source.RightPrint = rights.Print;
    source.RightCheck = rights.Verify;
    source.EditColor = AppGlobals.EditColor;
    source.BrowseColor = AppGlobals.Color;
    source.ColorOnFocus = AppGlobals.ColorOnFocus;
}

void MoveRecord(TKWQuery& query, RecordMove move)
{
    if (!query.Active())
        Abort();
    if (query.IsEmpty()) {
        ShowMsg(QStringLiteral("没有数据记录"));
        return;
    }
    switch (move) {
    case RecordMove::First:
        query.First();
        break;
    case RecordMove::Last:
        query.Last();
        break;
    case RecordMove::Prior:
        if (query.Bof())
            ShowMsg(QStringLiteral("已到第一个纪录"));
        else
            query.Prior();
        break;
    case RecordMove::Next:
        if (query.Eof())
            ShowMsg(QStringLiteral("已到最后一个纪录"));
        else
            query.Next();
        break;
    }
}

TKWBaseForm::TKWBaseForm(TKWMain* mainFrame, QWidget* parent)
    : QWidget(parent, Qt::Window), m_child(new TKWChild(this, mainFrame))
{
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, AppGlobals.Color);
    setPalette(palette);
    setAutoFillBackground(true);
    m_child->StartChild();
    RefreshWorkDate();
}

TKWDForm::TKWDForm(TKWMain* mainFrame, QWidget* parent)
    : TKWBaseForm(mainFrame, parent), m_query(new TKWQuery(this)),
      m_source(new TKWDataSource(this, m_query, this)), m_toolBar(new QToolBar(this)),
      m_body(new QWidget(this))
{
    m_query->AddStatusEditValue(QStringLiteral("未审核"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    using R = TKWDataSource::Role;
    const struct
    {
        const char* caption;
        int key;
        void (TKWDForm::*action)();
        R role;
    } buttons[] = {
        {"增加F5", Qt::Key_F5, &TKWDForm::add, R::Add},
        {"编辑F6", Qt::Key_F6, &TKWDForm::edit, R::Edit},
        {"删除F7", Qt::Key_F7, &TKWDForm::remove, R::Delete},
        {"保存F8", Qt::Key_F8, &TKWDForm::save, R::Save},
        {"取消F9", Qt::Key_F9, &TKWDForm::cancel, R::Cancel},
        {"查找F10", Qt::Key_F10, &TKWDForm::find, R::Find},
        {"打印F11", Qt::Key_F11, &TKWDForm::print, R::Print},
        {"确认", 0, &TKWDForm::confirm, R::Check},
        {"头一条", 0, &TKWDForm::first, R::First},
        {"前一条 ", 0, &TKWDForm::prior, R::Prior},
        {"下一条", 0, &TKWDForm::next, R::Next},
        {"末一条", 0, &TKWDForm::last, R::Last},
        {"关闭F12", Qt::Key_F12, nullptr, R::Close},
    };
    for (const auto& b : buttons) {
        QAbstractButton* button = addButton(QString::fromUtf8(b.caption), b.key, b.action);
        m_source->SetButton(b.role, button);
    }
    connect(Button(QStringLiteral("关闭F12")), &QAbstractButton::clicked, this, &QWidget::close);
    // The moves and 补充 are there for windows that show them.
    for (const char* hidden : {"头一条", "前一条 ", "下一条", "末一条"})
        m_toolBar->actions()
            .at(m_buttons.indexOf(Button(QString::fromUtf8(hidden))))
            ->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_body, 1);
}

QAbstractButton* TKWDForm::addButton(const QString& caption, int key, void (TKWDForm::*action)())
{
    auto* button = new QToolButton(m_toolBar);
    button->setText(caption);
    button->setAccessibleName(caption);
    m_toolBar->addWidget(button);
    m_buttons << button;
    if (action)
        connect(button, &QAbstractButton::clicked, this, action);
    if (key)
        BindFunctionKey(button, QKeySequence(key));
    return button;
}

QAbstractButton* TKWDForm::Button(const QString& caption) const
{
    for (QAbstractButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TKWDForm::showEvent(QShowEvent* event)
{
    TKWBaseForm::showEvent(event);
    TRights rights;
    if (!Group.isEmpty() && !Program.isEmpty()) {
        rights = GetRights(Group, Program, AppGlobals.UserID);
    } else {
        rights.Add = rights.Print = rights.Verify = true;
    }
    PrepareQuery(*m_query);
    PrepareDataSource(*m_source, rights);
    m_source->SetActiveColor(true);
    m_source->StartSource();
}

void TKWDForm::add()
{
    if (!m_query->Active())
        Abort();
    RefreshWorkDate();
    m_query->AppendData();
}

void TKWDForm::edit()
{
    if (!m_query->Active())
        Abort();
    if (m_query->IsEmpty())
        return;
    RefreshWorkDate();
    m_query->EditData();
}

void TKWDForm::remove()
{
    if (!m_query->Active())
        Abort();
    if (!m_query->IsEmpty())
        m_query->DeleteData();
}

void TKWDForm::save()
{
    if (!m_query->Active())
        Abort();
    m_toolBar->setFocus(); // a field being typed in hands over its text first
    if (m_query->Editing())
        m_query->SaveData();
}

void TKWDForm::cancel()
{
    if (!m_query->Active())
        Abort();
    m_query->CancelData();
}
