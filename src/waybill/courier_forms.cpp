#include "waybill/courier_forms.h"

#include "app/app_globals.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/record_set.h"
#include "data/rules.h"

#include <QFormLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

TFieldsData column(const char* field, const char* caption, int width, const char* type)
{
    TFieldsData d{QString::fromLatin1(field), QString::fromUtf8(caption), width};
    d.DataType = QString::fromLatin1(type);
    return d;
}

} // namespace

TSelectFastNameForm::TSelectFastNameForm(TKWMain* mainFrame, QWidget* parent)
    : TKWAppPopForm(mainFrame, parent)
{
    setWindowTitle(QStringLiteral("快递名称录入编辑窗口"));
    const QString table = QStringLiteral("KW_FAST_NAME_TABLE");
    Query()->SetTableName(table);
    Query()->SQL = QStringLiteral("SELECT  *  FROM  KW_FAST_NAME_TABLE  ORDER BY  FAST_NAME");
    Query()->SetCheckData(
        {UniqueCheck(table, QStringLiteral("FAST_NAME"), QStringLiteral("快递名称名称重复"))});
    Query()->SetInsertData(
        {InsertRule(QStringLiteral("CREATE_NAME"), QStringLiteral("A"), AppGlobals.UserName),
         InsertRule(QStringLiteral("CREATE_DATE"), QStringLiteral("A"), AppGlobals.WorkDate),
         InsertRule(QStringLiteral("FAST_ID"), QStringLiteral("T"))});
    Query()->SetEditData(EditStamps(AppGlobals.UserName, AppGlobals.WorkDate));

    TKWNDBGrid* grid = DBGrid();
    grid->FormName = QStringLiteral("SelectFastNameForm");
    grid->SetTableName = QStringLiteral("SYS_FAST_NAME_TABLE");
    grid->DataBaseName = kDatabaseName;
    grid->UserID = AppGlobals.UserID;
    grid->SetFieldsData({column("FAST_NAME", "快递名称", 16, "C"),
                         column("FAST_STANDARD_MONEY", "标准收费", 10, "N"),
                         column("CREATE_NAME", "建档人员", 10, "C"),
                         column("CREATE_DATE", "建档日期", 10, "D"),
                         column("EDIT_NAME", "修改人员", 10, "C"),
                         column("EDIT_DATE", "修改日期", 10, "D")});
    grid->SetFullRows(true);
    grid->OnApplyCellAttr = [this](int row, const QString&, QColor& background, QColor& text) {
        if (Query()->CellText(row, Query()->FieldIndex(QStringLiteral("FAST_DEFAULT"))) ==
            QStringLiteral("是")) {
            background = kDefaultCourierBackground;
            text = row == Query()->RecNo() ? kDefaultCourierSelectedText : QColor(Qt::black);
        }
    };
    connect(grid->view(), &QTableView::doubleClicked, this, [this] {
        if (!Query()->IsEmpty())
            accept();
    });

    m_name = new TKWDBEdit(Query(), QStringLiteral("FAST_NAME"), this);
    auto* money = new TKWDBEdit(Query(), QStringLiteral("FAST_STANDARD_MONEY"), this);
    money->SetEditType(TEditTypes::etFloat);
    money->setMaxLength(8);
    auto* note = new TKWDBEdit(Query(), QStringLiteral("NOTE"), this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("快递名称"), m_name);
    fields->addRow(QStringLiteral("标准收费"), money);
    fields->addRow(QStringLiteral("备注"), note);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, fields);

    // Only picking is offered here; hidden buttons leave their keys without effect.
    for (const char* caption :
         {"新增[F5]", "编辑[F6]", "删除[F7]", "保存[F8]", "取消[F9]", "查找[F10]", "打印[F11]"})
        Button(QString::fromUtf8(caption))->hide();
    Query()->OpenData();
    resize(640, 420);
}

QString TSelectFastNameForm::ChosenName() const
{
    return Query()->FieldText(QStringLiteral("FAST_NAME"));
}

QString TSelectFastNameForm::ChosenStandardMoney() const
{
    return Query()->FieldText(QStringLiteral("FAST_STANDARD_MONEY"));
}
