#include "waybill/courier_forms.h"

#include "controls/data_source.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "data/rules.h"
#include "frame/form_keys.h"
#include "model/courier.h"
#include "session/app_globals.h"
#include "waybill/courier_widgets.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

TFieldsData column(const char* field, const char* caption, int width, const char* type)
{
    TFieldsData d{.FieldName = QString::fromLatin1(field),
                  .DisplayLabel = QString::fromUtf8(caption),
                  .DisplayWidth = width};
    d.DataType = QString::fromLatin1(type);
    return d;
}

TFieldsDataArray courierColumns(bool withDefaultAndNote)
{
    TFieldsDataArray columns{column("FAST_NAME", "快递名称", 16, "C"),
                             column("FAST_STANDARD_MONEY", "标准收费", 10, "N")};
    if (withDefaultAndNote)
        columns << column("FAST_DEFAULT", "默认快递", 8, "C") << column("NOTE", "备注", 16, "C");
    columns << column("CREATE_NAME", "建档人员", 10, "C")
            << column("CREATE_DATE", "建档日期", 10, "D")
            << column("EDIT_NAME", "修改人员", 10, "C") << column("EDIT_DATE", "修改日期", 10, "D");
    return columns;
}

// Both courier lists keep their column widths under the same name.
void setUpCourierGrid(TKWNDBGrid* grid, TKWQuery* couriers, const TFieldsDataArray& columns)
{
    grid->FormName = QStringLiteral("SelectFastNameForm");
    grid->SetTableName = QStringLiteral("SYS_FAST_NAME_TABLE");
    grid->DataBaseName = kDatabaseName;
    grid->UserID = AppGlobals.UserID;
    grid->SetFieldsData(columns);
    grid->SetFullRows(true);
    HighlightDefaultCourier(grid, couriers);
}

// The columns a borrowed list shows here. The owner's entries keep what they
// check on save (required, types, the control to focus); only how they are
// shown changes, and the owner's other columns stay but are not shown.
TFieldsDataArray borrowedColumns(const TFieldsDataArray& owner, const TFieldsDataArray& shown)
{
    TFieldsDataArray result;
    auto sameField = [](const QString& name) {
        return [name](const TFieldsData& d) {
            return d.FieldName.compare(name, Qt::CaseInsensitive) == 0;
        };
    };
    for (const TFieldsData& mine : shown) {
        const auto theirs = std::find_if(owner.cbegin(), owner.cend(), sameField(mine.FieldName));
        if (theirs == owner.cend()) {
            result << mine;
            continue;
        }
        TFieldsData d = *theirs;
        d.DisplayLabel = mine.DisplayLabel;
        d.DisplayWidth = mine.DisplayWidth;
        d.Visible = true;
        if (d.DataType.isEmpty())
            d.DataType = mine.DataType;
        result << d;
    }
    for (const TFieldsData& d : owner)
        if (std::none_of(shown.cbegin(), shown.cend(), sameField(d.FieldName))) {
            result << d;
            result.last().Visible = false;
        }
    return result;
}

QLabel* captionFor(QWidget* control, const char* caption, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setBuddy(control);
    control->setAccessibleName(label->text());
    return label;
}

QPushButton* dialogButton(const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setAccessibleName(button->text());
    return button;
}

// A whole number typed into one of the dialogs; false when the text is none.
bool wholeNumber(const TKWEdit* edit, int& value)
{
    bool ok = false;
    value = edit->text().trimmed().toInt(&ok);
    return ok;
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
    setUpCourierGrid(grid, Query(), courierColumns(false));
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

TSelectFastNameEditForm::TSelectFastNameEditForm(TKWQuery* couriers, QWidget* parent)
    : TKWBasePopEditShowForm(couriers, nullptr, parent), m_ownerFields(couriers->Fields()),
      m_ownerFieldsData(couriers->FieldsData()), m_ownerGrid(couriers->DBNGride)
{
    setWindowTitle(QStringLiteral("快递名称录入编辑窗口"));
    for (const char* caption : {"确定[F3]", "打印[F11]", "首条", "前条", "下条", "末条"})
        Button(QString::fromUtf8(caption))->hide();

    m_name = new TKWDBEdit(couriers, QStringLiteral("FAST_NAME"), Body());
    auto* money = new TKWDBEdit(couriers, QStringLiteral("FAST_STANDARD_MONEY"), Body());
    money->SetEditType(TEditTypes::etFloat);
    money->setMaxLength(8);
    m_default = new TKWDBComboBox(couriers, QStringLiteral("FAST_DEFAULT"), Body());
    {
        // Filled after it bound itself: show the row's value without writing to it.
        const QSignalBlocker quiet(m_default);
        m_default->addItems({QStringLiteral("是"), QStringLiteral("否")});
        m_default->setCurrentIndex(
            m_default->findText(couriers->FieldText(QStringLiteral("FAST_DEFAULT"))));
    }
    auto* note = new TKWDBEdit(couriers, QStringLiteral("NOTE"), Body());
    auto* fields = new QGridLayout;
    fields->addWidget(captionFor(m_name, "快递名称", Body()), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(captionFor(money, "标准收费", Body()), 0, 2);
    fields->addWidget(money, 0, 3);
    fields->addWidget(captionFor(m_default, "默认快递", Body()), 1, 0);
    fields->addWidget(m_default, 1, 1);
    fields->addWidget(captionFor(note, "备注", Body()), 1, 2);
    fields->addWidget(note, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    m_grid = new TKWNDBGrid(couriers, Body());
    setUpCourierGrid(m_grid, couriers, borrowedColumns(m_ownerFieldsData, courierColumns(true)));
    m_grid->SetFooterVisible(false);
    QPalette palette = m_grid->view()->palette();
    palette.setColor(QPalette::Base, AppGlobals.Color);
    m_grid->view()->setPalette(palette);
    auto* body = new QVBoxLayout(Body());
    body->setContentsMargins(0, 0, 0, 0);
    body->addLayout(fields);
    body->addWidget(m_grid, 1);
    setTabOrder(m_name, money);
    setTabOrder(money, m_default);
    setTabOrder(m_default, note);

    // A new courier starts with the new-courier size; typing starts at its name.
    connect(Button(QStringLiteral("增加[F5]")), &QPushButton::clicked, this, [this] {
        if (Query()->State() != TDataSetState::dsInsert)
            return;
        Query()->SetFieldText(QStringLiteral("FAST_NAME_HEIGHT"), QStringLiteral("120"));
        Query()->SetFieldText(QStringLiteral("FAST_NAME_WIDTH"), QStringLiteral("220"));
        m_name->setFocus();
    });
    connect(Button(QStringLiteral("编辑[F6]")), &QPushButton::clicked, this, [this] {
        if (Query()->Editing())
            m_name->setFocus();
    });
    // Instead of the family's plain delete: the courier's layout and picture go with it.
    QPushButton* remove = Button(QStringLiteral("删除[F7]"));
    disconnect(remove, &QPushButton::clicked, this, nullptr);
    connect(remove, &QPushButton::clicked, this,
            [this] { DeleteCourier(*Query(), AppGlobals.DBPath); });

    auto* load = m_loadPicture = new QPushButton(QStringLiteral("加载快递单图片"), this);
    load->setAutoDefault(false);
    load->setAccessibleName(load->text());
    connect(load, &QPushButton::clicked, this, &TSelectFastNameEditForm::loadPicture);
    // Only while browsing: the picture is stored by saving the row.
    DS()->SetButton(TKWDataSource::Role::Other, load);
    QPushButton* close = Button(QStringLiteral("关闭[F12]"));
    for (int i = 0; i < layout()->count(); ++i)
        if (auto* row = qobject_cast<QBoxLayout*>(layout()->itemAt(i)->layout());
            row && row->indexOf(close) >= 0)
            row->insertWidget(row->indexOf(close), load);
    resize(800, 440);
}

TSelectFastNameEditForm::~TSelectFastNameEditForm()
{
    // The owner's list gets its own columns and grid back.
    TKWQuery* couriers = Query();
    couriers->DBNGride = m_ownerGrid;
    for (TKWField& f : couriers->Fields())
        for (const TKWField& theirs : m_ownerFields)
            if (theirs.name.compare(f.name, Qt::CaseInsensitive) == 0) {
                f.caption = theirs.caption;
                f.displayWidth = theirs.displayWidth;
                f.visible = theirs.visible;
            }
    couriers->SetFieldsData(m_ownerFieldsData);
    if (auto* grid = qobject_cast<TKWNDBGrid*>(m_ownerGrid)) {
        grid->ApplyStoredLayout(*couriers); // its own column order
        grid->LayoutChanged();
        // Its rebuilt view lost the row, and a view without one moves the cursor to the top.
        if (couriers->RecNo() >= 0)
            grid->view()->selectRow(couriers->RecNo());
    } else {
        couriers->ApplyStoredLayout({});
    }
}

void TSelectFastNameEditForm::showEvent(QShowEvent* event)
{
    TKWBasePopEditShowForm::showEvent(event);
    // The list was open before this window: the user's layout, order too, is applied now.
    m_grid->ApplyStoredLayout(*Query());
    m_grid->LayoutChanged();
    // Stay on the owner's courier: a view without a row would move to the first.
    if (Query()->RecNo() >= 0)
        m_grid->view()->selectRow(Query()->RecNo());
    m_grid->setFocus();
}

bool TSelectFastNameEditForm::checkBeforeSave()
{
    if (!Query()->Editing())
        return true;
    CheckSingleDefaultCourier(*Query());
    if (Query()->State() == TDataSetState::dsInsert) {
        Query()->SetFieldText(QStringLiteral("FAST_NAME_HEIGHT"), QStringLiteral("120"));
        Query()->SetFieldText(QStringLiteral("FAST_NAME_WIDTH"), QStringLiteral("220"));
    }
    return true;
}

void TSelectFastNameEditForm::loadPicture()
{
    if (!Query()->Active() || Query()->IsEmpty() || Query()->Editing())
        return;
    if (LoadCourierPicture(*Query(), AppGlobals.DBPath) && OnPictureLoaded)
        OnPictureLoaded();
}

TSelectFontNumberForm::TSelectFontNumberForm(QWidget* parent)
    : QDialog(parent), m_number(new TKWEdit(this))
{
    setWindowTitle(QStringLiteral("没行打印汉字数量"));
    m_number->SetEditType(TEditTypes::etInteger);
    m_number->setMaxLength(4);
    m_number->SetEntryColors(AppGlobals.EditColor, AppGlobals.ColorOnFocus);
    auto* ok = dialogButton("确定[F3]", this);
    auto* close = dialogButton("关闭[F12]", this);
    ok->setDefault(true);
    close->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TSelectFontNumberForm::confirm);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    BindFunctionKey(ok, Qt::Key_F3);
    BindFunctionKey(close, Qt::Key_F12);

    auto* field = new QHBoxLayout;
    field->addWidget(captionFor(m_number, "每行打印汉字数量", this));
    field->addWidget(m_number);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TKWEdit* TSelectFontNumberForm::Number() const
{
    return m_number;
}

void TSelectFontNumberForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnOwner(this);
    m_number->setFocus();
    m_number->selectAll();
}

void TSelectFontNumberForm::confirm()
{
    int number = 0;
    // Anything but a whole number (the field also lets "#$%'" through) counts as nothing typed.
    if (!wholeNumber(m_number, number)) {
        ShowMsg(QStringLiteral("必须输入每行打印汉字数量"));
        m_number->setFocus();
        return;
    }
    if (number <= 2) {
        ShowMsg(QStringLiteral("每行打印汉字数量不能小于3"));
        m_number->setFocus();
        return;
    }
    m_number->setText(QString::number(number));
    accept();
}

TSetPrintPaperForm::TSetPrintPaperForm(QWidget* parent)
    : QDialog(parent), m_width(new TKWEdit(this)), m_height(new TKWEdit(this))
{
    setWindowTitle(QStringLiteral("自定义纸张大小设置窗口"));
    for (TKWEdit* edit : {m_width, m_height}) {
        edit->SetEditType(TEditTypes::etInteger);
        edit->setMaxLength(7);
        edit->SetEntryColors(AppGlobals.EditColor, AppGlobals.ColorOnFocus);
    }
    auto* ok = dialogButton("确定", this);
    auto* close = dialogButton("关闭", this);
    connect(ok, &QPushButton::clicked, this, &TSetPrintPaperForm::confirm);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(captionFor(m_width, "纸张宽度", this), m_width);
    fields->addRow(captionFor(m_height, "纸张高度", this), m_height);
    fields->addRow(new QLabel(QStringLiteral("单位:毫米"), this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(m_width, m_height);
    setTabOrder(m_height, ok);
    setTabOrder(ok, close);
    InstallEnterMovesFocus(this);
}

TKWEdit* TSetPrintPaperForm::PaperWidth() const
{
    return m_width;
}

TKWEdit* TSetPrintPaperForm::PaperHeight() const
{
    return m_height;
}

void TSetPrintPaperForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnOwner(this);
    m_width->setFocus();
    m_width->selectAll();
}

void TSetPrintPaperForm::confirm()
{
    // A size that is not a whole number of millimetres above 0 is no size at all.
    const std::pair<TKWEdit*, const char*> sizes[] = {{m_width, "必须输入纸张宽度"},
                                                      {m_height, "必须输入纸张高度"}};
    for (const auto& [edit, refusal] : sizes) {
        int mm = 0;
        if (!wholeNumber(edit, mm) || mm <= 0) {
            ShowMsg(QString::fromUtf8(refusal));
            edit->setFocus();
            return;
        }
    }
    accept();
}
