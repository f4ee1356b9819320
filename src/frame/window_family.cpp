#include "frame/window_family.h"

#include "session/app_globals.h"
#include "data/connection.h"
#include "controls/data_source.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/child_frame.h"
#include "frame/form_keys.h"
#include "frame/settings.h"
#include "platform/clock.h"

#include "controls/grid.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
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
    KWSetForm = {AppGlobals.ScreenWidth, kDatabaseName, AppGlobals.EditColor,
                 AppGlobals.ColorOnFocus};
    m_child->StartChild();
    RefreshWorkDate();
}

TKWAppForm::TKWAppForm(TKWMain* mainFrame, QWidget* parent)
    : TKWBaseForm(mainFrame, parent), m_toolBar(new QToolBar(this)), m_body(new QWidget(this))
{
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolBar->setFocusPolicy(Qt::StrongFocus);
    using R = TKWDataSource::Role;
    const struct
    {
        const char* caption;
        int key;
        std::function<void()> action;
        R role;
        bool shown;
    } buttons[] = {
        {"增加F5", Qt::Key_F5, [this] { addClicked(); }, R::Add, true},
        {"编辑F6", Qt::Key_F6, [this] { editClicked(); }, R::Edit, true},
        {"删除F7", Qt::Key_F7, [this] { deleteClicked(); }, R::Delete, true},
        {"保存F8", Qt::Key_F8,
         [this] {
             m_toolBar->setFocus();
             saveClicked();
         },
         R::Save, true},
        {"取消F9", Qt::Key_F9, [this] { cancelClicked(); }, R::Cancel, true},
        {"查找F10", Qt::Key_F10, [this] { findClicked(); }, R::Find, true},
        {"打印F11", Qt::Key_F11, [this] { printClicked(); }, R::Print, true},
        {"确认", 0, [this] { m_confirmed = true; }, R::Check, true},
        {"头一条", 0, [this] { moveClicked(RecordMove::First); }, R::First, false},
        {"前一条 ", 0, [this] { moveClicked(RecordMove::Prior); }, R::Prior, false},
        {"下一条", 0, [this] { moveClicked(RecordMove::Next); }, R::Next, false},
        {"末一条", 0, [this] { moveClicked(RecordMove::Last); }, R::Last, false},
        {"补充", 0, [] {}, R::Other, false},
        {"关闭F12", Qt::Key_F12, [this] { close(); }, R::Close, true},
    };
    for (const auto& b : buttons) {
        auto* button = new QToolButton(m_toolBar);
        button->setText(QString::fromUtf8(b.caption));
        button->setAccessibleName(button->text());
        m_toolBar->addWidget(button)->setVisible(b.shown);
        connect(button, &QAbstractButton::clicked, this, b.action);
        if (b.key)
            BindFunctionKey(button, QKeySequence(b.key));
        m_buttons << button;
        m_roles << std::pair{static_cast<QAbstractButton*>(button), int(b.role)};
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_body, 1);
}

QAbstractButton* TKWAppForm::Button(const QString& caption) const
{
    for (QAbstractButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TKWAppForm::showEvent(QShowEvent* event)
{
    TKWBaseForm::showEvent(event);
    if (m_toolBar->isVisible())
        m_toolBar->setFocus();
}

TKWDForm::TKWDForm(TKWMain* mainFrame, QWidget* parent)
    : TKWAppForm(mainFrame, parent), m_query(new TKWQuery(this)),
      m_source(new TKWDataSource(this, m_query, this))
{
    m_query->AddStatusEditValue(QStringLiteral("未审核"));
    for (const auto& [button, role] : ButtonRoles())
        m_source->SetButton(TKWDataSource::Role(role), button);
}

void TKWDForm::showEvent(QShowEvent* event)
{
    TKWAppForm::showEvent(event);
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

void TKWDForm::requireOpen() const
{
    if (!m_query->Active())
        Abort();
}

void TKWDForm::addClicked()
{
    requireOpen();
    RefreshWorkDate();
    m_query->AppendData();
}

void TKWDForm::editClicked()
{
    requireOpen();
    if (m_query->IsEmpty())
        return;
    RefreshWorkDate();
    m_query->EditData();
}

void TKWDForm::deleteClicked()
{
    requireOpen();
    if (!m_query->IsEmpty())
        m_query->DeleteData();
}

void TKWDForm::saveClicked()
{
    requireOpen();
    if (m_query->Editing())
        m_query->SaveData();
}

void TKWDForm::cancelClicked()
{
    requireOpen();
    m_query->CancelData();
}

namespace {

using Role = TKWDataSource::Role;

TRights windowRights(const QString& group, const QString& program)
{
    if (!group.isEmpty() && !program.isEmpty())
        return GetRights(group, program, AppGlobals.UserID);
    TRights all;
    all.Add = all.Print = all.Verify = true;
    return all;
}

void startSource(TKWDataSource& source, TKWQuery& query, const TRights& rights)
{
    PrepareQuery(query);
    PrepareDataSource(source, rights);
    source.SetActiveColor(true);
    source.StartSource();
}

} // namespace

FamilyButtons::FamilyButtons(QWidget* window, TKWDataSource* source)
    : m_window(window), m_source(source), m_layout(new QHBoxLayout)
{
    m_layout->addStretch();
}

QPushButton* FamilyButtons::add(const char* caption, int key, int role,
                                std::function<void()> action)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), m_window);
    button->setAutoDefault(false);
    button->setAccessibleName(button->text());
    m_layout->addWidget(button);
    m_buttons << button;
    QObject::connect(button, &QPushButton::clicked, m_window, std::move(action));
    if (key)
        BindFunctionKey(button, QKeySequence(key));
    if (role >= 0)
        m_source->SetButton(Role(role), button);
    return button;
}

void FamilyButtons::addRecordButtons(QDialog* dialog, TKWQuery* query, const char* addCaption,
                                     bool refreshWorkDate, std::function<bool()> maySave)
{
    auto whenOpen = [query](std::function<void()> operation) {
        return [query, operation] {
            if (!query->Active())
                Abort();
            operation();
        };
    };
    add("确定[F3]", Qt::Key_F3, -1, [dialog, query] {
        if (query->IsEmpty())
            ShowMsg(QStringLiteral("必须选择一个记录"));
        else
            dialog->accept();
    });
    add(addCaption, Qt::Key_F5, int(Role::Add), whenOpen([query, refreshWorkDate] {
            if (refreshWorkDate)
                RefreshWorkDate();
            query->AppendData();
        }));
    add("编辑[F6]", Qt::Key_F6, int(Role::Edit), whenOpen([query, refreshWorkDate] {
            if (query->IsEmpty())
                return;
            if (refreshWorkDate)
                RefreshWorkDate();
            query->EditData();
        }));
    add("删除[F7]", Qt::Key_F7, int(Role::Delete), whenOpen([query] {
            if (!query->IsEmpty())
                query->DeleteData();
        }));
    add("保存[F8]", Qt::Key_F8, int(Role::Save), whenOpen([query, maySave, this] {
            if (maySave && !maySave())
                return;
            // A field being typed in hands over its text first.
            button(QStringLiteral("保存[F8]"))->setFocus();
            if (query->Editing())
                query->SaveData();
        }));
    add("取消[F9]", Qt::Key_F9, int(Role::Cancel), whenOpen([query] { query->CancelData(); }));
}

void FamilyButtons::addMoves(TKWQuery* query)
{
    add("首条", 0, int(Role::First), [query] { MoveRecord(*query, RecordMove::First); });
    add("前条", 0, int(Role::Prior), [query] { MoveRecord(*query, RecordMove::Prior); });
    add("下条", 0, int(Role::Next), [query] { MoveRecord(*query, RecordMove::Next); });
    add("末条", 0, int(Role::Last), [query] { MoveRecord(*query, RecordMove::Last); });
}

QPushButton* FamilyButtons::button(const QString& caption) const
{
    for (QPushButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

TKWAppPopForm::TKWAppPopForm(TKWMain* mainFrame, QWidget* parent)
    : QDialog(parent), m_query(new TKWQuery(this)),
      m_source(new TKWDataSource(this, m_query, this)), m_grid(new TKWNDBGrid(m_query, this)),
      m_child(new TKWChild(this, mainFrame)), m_buttons(this, m_source)
{
    m_buttons.addRecordButtons(this, m_query, "新增[F5]", false, {});
    m_buttons.add("查找[F10]", Qt::Key_F10, int(Role::Find), [] {});
    m_buttons.add("打印[F11]", Qt::Key_F11, int(Role::Print), [] {});
    m_buttons.add("关闭[F12]", Qt::Key_F12, int(Role::Close), [this] { reject(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_buttons.layout());
    m_child->StartChild();
    RefreshWorkDate();
}

void TKWAppPopForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    startSource(*m_source, *m_query, windowRights(Group, Program));
    // The list takes the keys, so Down moves the choice at once and F3 takes it.
    m_grid->setFocus();
}

bool TKWAppPopForm::mayClose()
{
    if (!m_query->Editing())
        return true;
    ShowMsg(QStringLiteral("必须先保存或取消新增的数据或修改后的数据"));
    return false;
}

void TKWAppPopForm::reject()
{
    if (mayClose())
        QDialog::reject();
}

TKWBasePopEditShowForm::TKWBasePopEditShowForm(TKWQuery* records, TKWMain* mainFrame,
                                               QWidget* parent)
    : QDialog(parent), m_records(records), m_previousSource(records->KWDS),
      m_source(new TKWDataSource(this, records, this)), m_child(new TKWChild(this, mainFrame)),
      m_body(new QWidget(this)), m_buttons(this, m_source)
{
    m_buttons.addRecordButtons(this, m_records, "增加[F5]", true,
                               [this] { return checkBeforeSave(); });
    m_buttons.add("打印[F11]", Qt::Key_F11, int(Role::Print), [this] { printClicked(); });
    m_buttons.addMoves(m_records);
    m_buttons.add("关闭[F12]", Qt::Key_F12, int(Role::Close), [this] { reject(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_body, 1);
    layout->addLayout(m_buttons.layout());
    m_child->StartChild();
    RefreshWorkDate();
}

TKWBasePopEditShowForm::~TKWBasePopEditShowForm()
{
    // The record set goes back to the window that lent it.
    m_records->KWDS = m_previousSource;
}

void TKWBasePopEditShowForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const TRights rights = windowRights(Group, Program);
    PrepareDataSource(*m_source, rights);
    m_source->SetActiveColor(true);
    m_source->StartSource();
}

void TKWBasePopEditShowForm::changeEvent(QEvent* event)
{
    // Coming back to the editor with a row half edited and no way to save it: drop it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        !Button(QStringLiteral("保存[F8]"))->isEnabled() && m_records->Editing())
        m_records->CancelData();
    QDialog::changeEvent(event);
}

bool TKWBasePopEditShowForm::mayClose()
{
    if (!m_records->Editing())
        return true;
    ShowMsg(QStringLiteral("必须先按“保存”或“取消”按钮后才能关闭窗口"));
    return false;
}

void TKWBasePopEditShowForm::reject()
{
    if (mayClose())
        QDialog::reject();
}

TKWAppPopShowForm::TKWAppPopShowForm(TKWMain* mainFrame, QWidget* parent)
    : QDialog(parent), m_query(new TKWQuery(this)),
      m_source(new TKWDataSource(this, m_query, this)), m_child(new TKWChild(this, mainFrame)),
      m_body(new QWidget(this)), m_buttons(this, m_source)
{
    m_buttons.add("确定[F3]", Qt::Key_F3, -1, [this] { accept(); })->hide();
    m_buttons.addMoves(m_query);
    m_buttons.add("关闭[F12]", Qt::Key_F12, int(Role::Close), [this] { reject(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_body, 1);
    layout->addLayout(m_buttons.layout());
    m_query->ColorOnFocus = AppGlobals.ColorOnFocus;
    m_child->StartChild();
    RefreshWorkDate();
}

void TKWAppPopShowForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_styled)
        return;
    m_styled = true;
    // Everything the operator can enter takes the focus colour; display-only fields keep theirs.
    for (QWidget* w : findChildren<QWidget*>())
        if (IsEntryControl(w) && ControlTag(w) % 500 != 3)
            SetEntryColors(w, AppGlobals.Color, AppGlobals.ColorOnFocus);
    for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_source->BrowseColor = AppGlobals.Color;
    m_source->EditColor = AppGlobals.EditColor;
}
