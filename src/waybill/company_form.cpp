#include "waybill/company_form.h"

#include "controls/edits.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "data/rules.h"
#include "frame/child_frame.h"
#include "session/app_globals.h"

#include <QAbstractButton>
#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <iterator>

namespace {

const QString kTable = QStringLiteral("SYS_COMPANY_TABLE");

struct FieldPlace
{
    const char* column;
    const char* caption;
    int row;
    int pair; // 0 left, 1 right, -1 the whole line
};

// Read left to right, top to bottom; Enter follows the same order.
const FieldPlace kPlaces[] = {
    {"COMPANY_NAME", "发件单位", 0, -1},          {"COMPANY_EMPLOYEE_NAME", "默认发件人", 1, 0},
    {"COMPANY_PHONE", "发件电话", 1, 1},          {"COMPANY_HANDSET_PHONE", "发件手机", 2, 0},
    {"COMPANY_PROVINCE", "发件省份", 2, 1},       {"COMPANY_CITY", "发件城市", 3, 0},
    {"COMPANY_POSTCODE", "发件邮编", 3, 1},       {"COMPANY_ADDRESS", "发件地址", 4, -1},
    {"COMPANY_POSTCODE_WIDTH", "邮编间距", 5, 0}, {"NOTE", "备注", 6, -1},
};

void showToolButton(QToolBar* bar, const QString& caption, bool shown)
{
    for (QAction* action : bar->actions()) {
        auto* button = qobject_cast<QAbstractButton*>(bar->widgetForAction(action));
        if (button && button->text() == caption)
            action->setVisible(shown);
    }
}

} // namespace

TCompanyForm::TCompanyForm(TKWMain* mainFrame, QWidget* parent) : TKWDForm(mainFrame, parent)
{
    setWindowTitle(QStringLiteral("发件人资料编辑窗口"));
    setAccessibleName(windowTitle());
    Group = QStringLiteral("快递单据管理");
    Program = QStringLiteral("发件人资料录入编辑");

    // The one row can be neither deleted nor searched; confirming has no use here.
    for (const char* caption : {"删除F7", "查找F10", "打印F11", "确认"})
        showToolButton(ToolBar(), QString::fromUtf8(caption), false);
    for (const char* caption : {"头一条", "前一条 ", "下一条", "末一条"})
        showToolButton(ToolBar(), QString::fromUtf8(caption), true);

    auto* grid = new QGridLayout(Body());
    grid->setContentsMargins(12, 10, 12, 12);
    grid->setHorizontalSpacing(8);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    TFieldsDataArray fields{
        {.FieldName = QStringLiteral("COMPANY_ID"), .DisplayLabel = QStringLiteral("单位编号")}};
    fields.first().Visible = false;
    for (const FieldPlace& p : kPlaces) {
        const QString column = QString::fromLatin1(p.column);
        const QString caption = QString::fromUtf8(p.caption);
        auto* edit = new TKWDBEdit(Query(), column, Body());
        edit->setObjectName(column);
        edit->setAccessibleName(caption);
        auto* label = new QLabel(caption, Body());
        label->setBuddy(edit);
        const int labelColumn = p.pair == 1 ? 2 : 0;
        grid->addWidget(label, p.row, labelColumn, Qt::AlignRight | Qt::AlignVCenter);
        TFieldsData d{.FieldName = column, .DisplayLabel = caption};
        d.DataType = QStringLiteral("C");
        d.Control = edit;
        if (column == QLatin1String("COMPANY_POSTCODE_WIDTH")) {
            edit->SetEditType(TEditTypes::etFloat);
            edit->setMaxLength(8);
            d.DataType = QStringLiteral("N");
            // An empty spacing would print every postcode digit on one spot, unseen until
            // the forms come out; 0 does that too, but only when typed on purpose.
            d.Required = true;
            // The spacing is in millimetres; say so beside the field.
            auto* place = new QHBoxLayout;
            place->addWidget(edit, 1);
            place->addWidget(new QLabel(QStringLiteral("毫米"), Body()));
            grid->addLayout(place, p.row, 1);
        } else if (p.pair == -1) {
            grid->addWidget(edit, p.row, 1, 1, 3);
        } else {
            grid->addWidget(edit, p.row, labelColumn + 1);
        }
        fields << d;
        m_fields << edit;
    }
    grid->setRowStretch(int(std::size(kPlaces)), 1);

    Query()->SetTableName(kTable);
    Query()->SetFieldsData(fields);
    Query()->SetCheckData(
        {UniqueCheck(kTable, QStringLiteral("COMPANY_ID"), QStringLiteral("公司名称重复"))});
    KWChild()->OnFirstShow = [this] { setRules(); };
    // The base frame styled the window before these fields existed.
    KWChild()->ApplyStyle(this);
    Query()->OpenData();
    resize(qMax(560, ToolBar()->sizeHint().width()), sizeHint().height());
}

TKWDBEdit* TCompanyForm::Field(const QString& column) const
{
    for (TKWDBEdit* edit : m_fields)
        if (edit->DataField().compare(column, Qt::CaseInsensitive) == 0)
            return edit;
    return nullptr;
}

void TCompanyForm::setRules()
{
    const QString a = QStringLiteral("A");
    // A new row starts with the spacing enrolment gives the sender: 3 mm.
    Query()->SetInsertData(
        {InsertRule(QStringLiteral("COMPANY_ID"), QStringLiteral("C"), {}, 6),
         InsertRule(QStringLiteral("CREATE_NAME"), a, AppGlobals.UserName),
         InsertRule(QStringLiteral("CREATE_DATE"), a, AppGlobals.WorkDate),
         InsertRule(QStringLiteral("COMPANY_POSTCODE_WIDTH"), a, QStringLiteral("3"))});
    Query()->SetEditData(EditStamps(AppGlobals.UserName, AppGlobals.WorkDate));
}

void TCompanyForm::addClicked()
{
    // Every waybill prints one sender; a second row would never be used.
    if (Query()->Active() &&
        (!Query()->IsEmpty() ||
         GetSQLNumber(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM SYS_COMPANY_TABLE")) >
             0)) {
        ShowMsg(QStringLiteral("公司名称只能有一个"));
        return;
    }
    TKWDForm::addClicked();
}

void TCompanyForm::saveClicked()
{
    const bool saving = Query()->Active() && Query()->Editing();
    TKWDForm::saveClicked(); // a refused save aborts here and changes nothing
    if (!saving)
        return;
    AppGlobals.CompanyName = Query()->FieldText(QStringLiteral("COMPANY_NAME"));
    Q_EMIT CompanySaved();
}
