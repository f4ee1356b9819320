#include "records/pick_list.h"

#include "controls/data_source.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "session/app_globals.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {
using Role = TKWDataSource::Role;
}

TSelectEditForm::TSelectEditForm(QWidget* parent)
    : QDialog(parent), m_query(new TKWQuery(this)),
      m_source(new TKWDataSource(this, m_query, this)), m_grid(new TKWNDBGrid(m_query, this)),
      m_label(new QLabel(this)), m_stack(new QStackedWidget(this)), m_search(new TKWEdit(this)),
      m_buttons(this, m_source)
{
    m_grid->SetFullRows(true);
    m_search->setAccessibleName(QStringLiteral("按回车键进行查找"));
    connect(m_search, &QLineEdit::returnPressed, this, &TSelectEditForm::search);
    // The search text is no value of the list: it takes typing in every state.
    m_source->LeaveAlone(m_search);
    SetEntryColors(m_search, AppGlobals.EditColor, AppGlobals.ColorOnFocus);

    auto whenRows = [this](auto operation) {
        return [this, operation] {
            if (!m_query->IsEmpty())
                operation();
        };
    };
    QPushButton* ok = m_buttons.add("确定[F3]", Qt::Key_F3, -1, [this] {
        if (m_query->IsEmpty())
            ShowMsg(QStringLiteral("必须选择一个记录"));
        else
            accept();
    });
    m_buttons.add("增加[F5]", Qt::Key_F5, int(Role::Add), [this] { m_query->AppendData(); });
    m_buttons.add("编辑[F6]", Qt::Key_F6, int(Role::Edit),
                  whenRows([this] { m_query->EditData(); }));
    m_buttons.add("删除[F7]", Qt::Key_F7, int(Role::Delete),
                  whenRows([this] { m_query->DeleteData(); }));
    m_buttons.add("保存[F8]", Qt::Key_F8, int(Role::Save), [this] {
        if (m_query->Editing()) {
            m_query->SetFieldText(m_field, m_value->text());
            m_query->SaveData();
        }
        m_grid->setFocus();
    });
    m_buttons.add("取消[F9]", Qt::Key_F9, int(Role::Cancel), [this] {
        m_query->CancelData();
        m_grid->setFocus();
    });
    m_buttons.add("全部数据", 0, int(Role::Other), [this] { showAll(); });
    m_buttons.add("关闭[F12]", Qt::Key_F12, int(Role::Close), [this] { reject(); });
    // "确定" works exactly when "增加" does: while browsing.
    m_source->SetButton(Role::New, ok);
    connect(m_grid->view(), &QTableView::doubleClicked, this, [this] {
        if (!m_query->IsEmpty() && !m_query->Editing())
            accept();
    });

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_label);
    entry->addWidget(m_stack, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_buttons.layout());
    resize(620, 460);
}

void TSelectEditForm::Prepare(const QString& fieldName, const QString& caption,
                              const QString& tableName)
{
    m_field = fieldName;
    m_caption = caption;
    m_table = tableName;
    setWindowTitle(caption + QStringLiteral("数据选择编辑窗口"));
    m_fullStatement = QStringLiteral("SELECT *  FROM %1 ORDER BY %2").arg(tableName, fieldName);
    m_query->SetTableName(tableName);
    m_query->SQL = m_fullStatement;

    m_query->SetInsertData(
        {InsertRule(QStringLiteral("CREATE_NAME"), QStringLiteral("A"), AppGlobals.UserName),
         InsertRule(QStringLiteral("CREATE_DATE"), QStringLiteral("A"), AppGlobals.WorkDate)});
    m_query->SetEditData(EditStamps(AppGlobals.UserName, AppGlobals.WorkDate));
    TCheckData unique = UniqueCheck(tableName, fieldName, caption + QStringLiteral("重复"));
    unique.NoRegenerate = true;
    m_query->SetCheckData({unique});
    m_query->UpdateObject.ModifySQL =
        QStringLiteral("UPDATE %1\nSET\n  %2 = :%2,\n  EDIT_NAME = :EDIT_NAME,\n  EDIT_DATE = "
                       ":EDIT_DATE,\n  CREATE_NAME = :CREATE_NAME,\n  CREATE_DATE = :CREATE_DATE\n"
                       "WHERE\n  %2 = :OLD_%2")
            .arg(tableName, fieldName);
    m_query->UpdateObject.InsertSQL =
        QStringLiteral("INSERT INTO %1\n  (%2, EDIT_NAME, EDIT_DATE, CREATE_NAME, CREATE_DATE)\n"
                       "VALUES\n  (:%2, :EDIT_NAME, :EDIT_DATE, :CREATE_NAME, :CREATE_DATE)")
            .arg(tableName, fieldName);
    m_query->UpdateObject.DeleteSQL =
        QStringLiteral("DELETE FROM %1\nWHERE\n  %2 = :OLD_%2").arg(tableName, fieldName);
    PrepareQuery(*m_query);

    TFieldsData value{.FieldName = fieldName, .DisplayLabel = caption, .DisplayWidth = 60};
    value.DataType = QStringLiteral("C");
    value.Required = true;
    auto column = [](const char* field, const char* label, const char* type) {
        TFieldsData d{.FieldName = QString::fromLatin1(field),
                      .DisplayLabel = QString::fromUtf8(label)};
        d.DataType = QString::fromLatin1(type);
        return d;
    };
    m_grid->SetFieldsData(
        {value, column("CREATE_NAME", "建档人员", "C"), column("CREATE_DATE", "建档日期", "D"),
         column("EDIT_NAME", "修改人员", "C"), column("EDIT_DATE", "修改日期", "D")});

    delete m_value;
    m_value = new TKWDBEdit(m_query, fieldName, m_stack);
    m_value->setAccessibleName(caption);
    m_stack->addWidget(m_search);
    m_stack->addWidget(m_value);
    connect(m_query, &TKWQuery::stateChanged, this, &TSelectEditForm::followState);
    connect(m_query, &TKWQuery::currentChanged, this, [this] {
        if (!m_query->Editing())
            m_search->setText(m_query->FieldText(m_field));
    });

    TRights all;
    all.Add = all.Print = all.Verify = true;
    PrepareDataSource(*m_source, all);
    m_source->SetActiveColor(true);
    m_source->StartSource();
    followState();
}

void TSelectEditForm::followState()
{
    const bool editing = m_query->Editing();
    m_stack->setCurrentWidget(editing ? static_cast<QWidget*>(m_value) : m_search);
    m_label->setText(editing ? m_caption : QStringLiteral("按回车键进行查找"));
    m_label->setBuddy(m_stack->currentWidget());
    m_value->setReadOnly(!editing);
    if (editing)
        m_value->setFocus();
    else
        m_search->setText(m_query->FieldText(m_field));
}

void TSelectEditForm::search()
{
    const QString s = m_search->text().trimmed();
    m_query->CloseData();
    m_query->SQL = QStringLiteral("SELECT * FROM %1 WHERE %2 LIKE %3 ORDER BY %2")
                       .arg(m_table, m_field, QuotedStr(QLatin1Char('%') + s + QLatin1Char('%')));
    m_query->OpenData();
    m_search->setFocus();
}

void TSelectEditForm::showAll()
{
    m_query->CloseData();
    m_query->SQL = m_fullStatement;
    m_query->OpenData();
}

QString TSelectEditForm::Value() const
{
    return m_query->FieldText(m_field);
}

void TSelectEditForm::reject()
{
    if (m_query->Editing()) {
        ShowMsg(QStringLiteral("必须保存或取消新增、修改的数据"));
        return;
    }
    QDialog::reject();
}

QString PickListTable(const QString& fieldName)
{
    // CLIENT_EMPLOYEE_NAME keeps its list in KW_CLIENT_EMPLOYEE_NAME_TABLE.
    QString subject = fieldName.toUpper();
    if (subject.startsWith(QLatin1String("CLIENT_")))
        subject = subject.mid(7);
    return QStringLiteral("KW_CLIENT_%1_TABLE").arg(subject);
}

QString PickValue(const QString& fieldName, const QString& caption, QWidget* parent)
{
    TSelectEditForm form(parent);
    form.Prepare(fieldName, caption, PickListTable(fieldName));
    form.Query()->OpenData();
    return form.exec() == QDialog::Accepted ? form.Value() : QString();
}
