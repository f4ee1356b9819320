#include "records/main_form.h"

#include "session/app_globals.h"
#include "controls/grid.h"
#include "controls/small_dialogs.h"
#include "controls/tree.h"
#include "data/connection.h"
#include "controls/data_source.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/child_frame.h"
#include "frame/form_keys.h"
#include "frame/main_frame.h"
#include "frame/rights.h"
#include "frame/set_auto_id_form.h"
#include "frame/settings.h"
#include "frame/window_family.h"
#include "platform/clock.h"
#include "records/choice_dialogs.h"
#include "records/date_nodes.h"
#include "records/field_catalogue.h"
#include "records/field_settings.h"
#include "records/help_form.h"
#include "records/record_editor.h"
#include "waybill/company_form.h"
#include "model/courier.h"
#include "waybill/courier_forms.h"
#include "waybill/designer_form.h"
#include "waybill/print_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString kRecordGroup = QStringLiteral("快递单据管理");
const QString kRecordProgram = QStringLiteral("发件记录录入编辑");
const QString kCourierProgram = QStringLiteral("快递名称录入编辑");
const QColor kUnprinted(0xFF, 0xD2, 0xFF);
} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    RefreshWorkDate();
    m_frame = new TKWMain(this);
    m_frame->MainMenu = menuBar();
    if (!m_frame->StartMain(AppGlobals.WorkDate.left(4) + AppGlobals.WorkDate.mid(5, 2))) {
        m_anotherInstance = true;
        return;
    }

    DateNodeField = GetSysValue(QStringLiteral("日期范围节点字段"));
    DateNodeName = GetSysValue(QStringLiteral("日期范围节点名称"));
    if (DateNodeField.isEmpty()) {
        DateNodeField = QStringLiteral("CREATE_DATE");
        DateNodeName = QStringLiteral("建挡日期");
    }

    EnsureDefaultCatalogue();
    UpdateCaption();

    m_records = new TKWQuery(this);
    m_records->SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    m_records->ActiveStatus = true;
    m_records->UpdateObject.ModifySQL =
        QStringLiteral("UPDATE KW_CLIENT_TABLE SET STATUS = :STATUS WHERE CLIENT_RECORD_ID = "
                       ":OLD_CLIENT_RECORD_ID");

    auto* panel = new QWidget(this);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, AppGlobals.Color);
    bool ok = false;
    const int color = ReadRegInteger(QStringLiteral("KWfastColor")).toInt(&ok);
    if (ok) // kept as the old 0x00BBGGRR colour value
        palette.setColor(QPalette::Window,
                         QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    panel->setPalette(palette);

    m_tree = new TKWTreeView(panel);
    m_tree->setAccessibleName(QStringLiteral("日期范围"));
    m_tree->SetColor = true;
    m_tree->SetSelectColor(QColor(Qt::red));
    for (const QString& name : DateNodeNames())
        new QTreeWidgetItem(m_tree, {name});
    m_tree->OnChange = [this](QTreeWidgetItem* node) {
        if (node)
            LoadDateNode(m_tree->indexOfTopLevelItem(node));
    };
    m_tree->HookEvents();
    m_nodeButton = new QPushButton(QStringLiteral("日期范围节点按") + DateNodeName, panel);
    m_nodeButton->setFlat(true);
    connect(m_nodeButton, &QPushButton::clicked, this, &TMainForm::chooseDateNodeField);

    m_grid = new TKWNDBGrid(m_records, panel);
    m_grid->setAccessibleName(QStringLiteral("快递记录"));
    m_grid->FormName = QStringLiteral("MainForm");
    m_grid->SetTableName = QStringLiteral("SYS_DBGRID_SET_TABLE");
    m_grid->DataBaseName = kDatabaseName;
    m_grid->SaveOrder = true;
    m_grid->SetFullRows(true);
    m_grid->SetFieldsData(BuildColumnCatalogue(ReadCatalogue()));
    // Tab leaves the list for the buttons under it instead of walking its cells.
    m_grid->view()->setTabKeyNavigation(false);
    m_grid->OnApplyCellAttr = [this](int row, const QString&, QColor& background, QColor&) {
        if (m_records->CellText(row, m_records->FieldIndex(QStringLiteral("STATUS"))) ==
            QStringLiteral("未打单"))
            background = kUnprinted;
    };
    connect(m_grid->view(), &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.row() < m_records->RecordCount())
            openEditor(EditorMode::View);
    });
    m_grid->view()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid->view(), &QWidget::customContextMenuRequested, m_grid,
            &TKWNDBGrid::ResetSettings);
    m_source = new TKWDataSource(this, m_records, this);

    m_waitPanel = new QLabel(QStringLiteral("请稍候......"), m_grid);
    m_waitPanel->setAlignment(Qt::AlignCenter);
    m_waitPanel->setAutoFillBackground(true);
    m_waitPanel->hide();

    m_findLabel = new TKW3DLabel(QStringLiteral("查找条件："), panel);
    m_findLabel->setAlignment(Qt::AlignCenter);

    auto* designButton = new QPushButton(QStringLiteral("快递单打印设置"), panel);
    auto* printButton = new QPushButton(QStringLiteral("快递单打印"), panel);
    connect(designButton, &QPushButton::clicked, this, &TMainForm::designWaybills);
    connect(printButton, &QPushButton::clicked, this, &TMainForm::printWaybills);
    m_printButton = printButton;
    // Reached with Tab, pressed with Enter as well as Space.
    for (QPushButton* button : {m_nodeButton, designButton, printButton})
        button->setAutoDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(m_tree, 1);
    left->addWidget(m_nodeButton);
    auto* printRow = new QHBoxLayout;
    printRow->addStretch();
    printRow->addWidget(designButton);
    printRow->addWidget(printButton);
    printRow->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(m_findLabel);
    right->addWidget(m_grid, 1);
    right->addLayout(printRow);
    auto* layout = new QHBoxLayout(panel);
    layout->addLayout(left, 1);
    layout->addLayout(right, 5);
    setCentralWidget(panel);

    buildToolBar();
    buildMenus();

    const int screenWidth = screen() ? screen()->size().width() : 1024;
    auto* caption = new QLabel(QStringLiteral("凯维快递单打印系统    未打单的记录以粉红色显示"));
    caption->setMinimumWidth(screenWidth * 3 / 5);
    statusBar()->addWidget(caption);
    statusBar()->addWidget(
        new QLabel(CurrentDate().toString(QStringLiteral("yyyy'年'MM'月'dd'日'"))), 1);
    // The whole screen, also where no window manager maximises it.
    if (QScreen* s = QGuiApplication::primaryScreen())
        setGeometry(s->availableGeometry());
}

QAbstractButton* TMainForm::ToolButton(const QString& caption) const
{
    for (QAbstractButton* b : m_toolButtons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TMainForm::buildToolBar()
{
    auto* bar = addToolBar(QStringLiteral("工具栏"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct
    {
        const char* caption;
        int key;
    } buttons[] = {{"增加F5", Qt::Key_F5},
                   {"编辑F6", Qt::Key_F6},
                   {"删除F7", Qt::Key_F7},
                   {"批删除F8", Qt::Key_F8},
                   {"批导入F9", Qt::Key_F9},
                   {"查找F10", Qt::Key_F10},
                   {"打印F11", Qt::Key_F11},
                   {"设置", 0},
                   {"备份", 0},
                   {"关闭", Qt::Key_F12}};
    for (const auto& b : buttons) {
        auto* button = new QToolButton(bar);
        button->setText(QString::fromUtf8(b.caption));
        button->setAccessibleName(button->text());
        // The windows behind these buttons come with later parts of the program.
        button->setEnabled(false);
        bar->addWidget(button);
        if (b.key)
            BindFunctionKey(button, QKeySequence(b.key));
        m_toolButtons << button;
    }
    connect(ToolButton(QStringLiteral("增加F5")), &QAbstractButton::clicked, this,
            [this] { openEditor(EditorMode::Add); });
    connect(ToolButton(QStringLiteral("编辑F6")), &QAbstractButton::clicked, this,
            [this] { openEditor(EditorMode::Edit); });
    connect(ToolButton(QStringLiteral("删除F7")), &QAbstractButton::clicked, this,
            &TMainForm::deleteRecord);
    QAbstractButton* settings = ToolButton(QStringLiteral("设置"));
    settings->setEnabled(true);
    connect(settings, &QAbstractButton::clicked, this, &TMainForm::settings);
    QAbstractButton* close = ToolButton(QStringLiteral("关闭"));
    close->setEnabled(true);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);
}

void TMainForm::buildMenus()
{
    QMenu* basic = menuBar()->addMenu(QStringLiteral("基本数据录入编辑"));
    QAction* company = basic->addAction(QStringLiteral("发件人资料录入编辑"));
    connect(company, &QAction::triggered, this, [this, company] {
        const QString formName = QStringLiteral("CompanyForm");
        const QString program = QStringLiteral("发件人资料录入编辑");
        if (m_frame->ShowChildWindow(formName))
            return;
        if (!m_frame->CheckRight(kRecordGroup, program, AppGlobals.UserID)) {
            ShowMsg(QStringLiteral("您没有在程序\"发件人资料录入编辑\"中的权限"));
            return;
        }
        auto* form = new TCompanyForm(m_frame, this);
        connect(form, &TCompanyForm::CompanySaved, this, &TMainForm::UpdateCaption);
        form->KWChild()->ShowChild(90);
        // Choosing the open window's entry runs this command again: it comes to the front.
        m_frame->AddChildWindow(
            formName, form, [company] { company->trigger(); }, program);
    });
    basic->addAction(QStringLiteral("用户管理"))->setEnabled(false);
    QMenu* system = menuBar()->addMenu(QStringLiteral("系统管理"));
    system->addAction(QStringLiteral("用户口令修改"))->setEnabled(false);
    system->addAction(QStringLiteral("数据备份"))->setEnabled(false);
    system->addAction(QStringLiteral("数据恢复"))->setEnabled(false);
    system->addAction(QStringLiteral("数据修复"))->setEnabled(false);
    connect(system->addAction(QStringLiteral("编号方式设置")), &QAction::triggered, this,
            &TMainForm::numberingSettings);
    QAction* quit = system->addAction(QStringLiteral("退出[T]"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助[F1]"));
    QAction* guide = help->addAction(QStringLiteral("帮助"));
    guide->setShortcut(QKeySequence(Qt::Key_F1));
    connect(guide, &QAction::triggered, this, [this] { THelpForm::ShowFor(this); });
    // The fourth entry lists the open child windows; empty at start.
    menuBar()->addMenu(QString())->menuAction()->setVisible(false);
}

void TMainForm::buildRecordRules()
{
    const QString a = QStringLiteral("A");
    TInsertDataArray inserts{
        InsertRule(QStringLiteral("CREATE_NAME"), a, AppGlobals.UserName),
        InsertRule(QStringLiteral("CREATE_DATE"), a, AppGlobals.WorkDate),
        InsertRule(QStringLiteral("CLIENT_ORDER_DATE"), a, AppGlobals.WorkDate),
        InsertRule(QStringLiteral("CLIENT_RECORD_ID"), QStringLiteral("T"), QString(), 12),
        InsertRule(QStringLiteral("STATUS"), a, QStringLiteral("未打单")),
        InsertRule(QStringLiteral("CLIENT_POSTCODE_WIDTH"), a, QStringLiteral("3"))};
    if (AppGlobals.AutoOrderID)
        inserts << InsertRule(QStringLiteral("CLIENT_ORDER_ID"), QStringLiteral("M"), QString(),
                              10);
    m_records->SetInsertData(inserts);
    m_records->SetEditData(EditStamps(AppGlobals.UserName, AppGlobals.WorkDate));
    const QString table = QStringLiteral("KW_CLIENT_TABLE");
    TCheckDataArray checks{
        UniqueCheck(table, QStringLiteral("CLIENT_RECORD_ID"), QStringLiteral("纪录编号重复"))};
    if (AppGlobals.CheckOrderID) {
        QString caption = QStringLiteral("订单编号");
        for (const TFieldsData& d : m_records->FieldsData())
            if (d.FieldName == QLatin1String("CLIENT_ORDER_ID"))
                caption = d.DisplayLabel;
        checks << UniqueCheck(table, QStringLiteral("CLIENT_ORDER_ID"),
                              caption + QStringLiteral("重复"));
    }
    m_records->SetCheckData(checks);
    PrepareQuery(*m_records);
}

void TMainForm::applyRights()
{
    m_rights = GetRights(kRecordGroup, kRecordProgram, AppGlobals.UserID);
    PrepareDataSource(*m_source, m_rights);
    ToolButton(QStringLiteral("增加F5"))->setEnabled(m_rights.Add);
    ToolButton(QStringLiteral("编辑F6"))->setEnabled(m_rights.Add);
    ToolButton(QStringLiteral("删除F7"))->setEnabled(m_rights.Add);
}

void TMainForm::deleteRecord()
{
    if (!m_records->Active() || m_records->IsEmpty())
        return;
    m_records->DeleteData();
}

void TMainForm::openEditor(EditorMode mode)
{
    RefreshWorkDate();
    if (!m_records->Active())
        return;
    if (mode != EditorMode::View && !m_tree->currentItem()) {
        ShowMsg(QStringLiteral("必须选择一个日期范围节点"));
        return;
    }
    if (mode == EditorMode::Edit && m_records->IsEmpty())
        return;
    EnsureDefaultCatalogue();
    TEditClientForm editor(m_records, m_rights, m_frame, this);
    if (mode == EditorMode::Add)
        m_records->AppendData();
    else if (mode == EditorMode::Edit)
        m_records->EditData();
    editor.exec();
    // The list's own data source follows the records again.
    m_source->StartSource();
}

void TMainForm::UpdateCaption()
{
    setWindowTitle(AppGlobals.CompanyName + QStringLiteral("快递单打印系统"));
}

void TMainForm::LoadDateNode(int node)
{
    m_records->CloseData();
    m_records->SQL = DateNodeStatement(node, DateNodeField, FindCondition, CurrentDate());
    m_records->OpenData();
}

void TMainForm::showEvent(QShowEvent* event)
{
    // Enrolment may have named the company after this window was made.
    UpdateCaption();
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    buildRecordRules();
    applyRights();
    m_grid->UserID = AppGlobals.UserID;
    const QString height = GetSysValue(QStringLiteral("KWTreeViewHeight"));
    if (ParseNumber(height) != 0)
        m_tree->setFixedHeight(int(ParseNumber(height)));
    // Selecting the first node in code is swallowed by the tree; load it here.
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    LoadDateNode(0);
}

void TMainForm::chooseDateNodeField()
{
    QStringList captions;
    const QList<CatalogueRow> rows = ReadCatalogue();
    for (const CatalogueRow& r : rows)
        if (r.fieldType == QLatin1String("Date"))
            captions << r.displayName;
    captions << QStringLiteral("建挡日期") << QString();
    const QString chosen = ChooseDateNodeCaption(captions, DateNodeName, this);
    if (!chosen.isEmpty())
        setDateNodeField(chosen, rows);
}

void TMainForm::setDateNodeField(const QString& caption, const QList<CatalogueRow>& rows)
{
    if (caption == QStringLiteral("建挡日期"))
        DateNodeField = QStringLiteral("CREATE_DATE");
    for (const CatalogueRow& r : rows)
        if (r.displayName == caption)
            DateNodeField = r.fieldName;
    DateNodeName = caption;
    m_nodeButton->setText(QStringLiteral("日期范围节点按") + DateNodeName);
    SetSysValue(QStringLiteral("日期范围节点字段"), DateNodeField);
    SetSysValue(QStringLiteral("日期范围节点名称"), DateNodeName);
    reloadCurrentNode();
}

void TMainForm::reloadCurrentNode()
{
    LoadDateNode(qMax(0, m_tree->indexOfTopLevelItem(m_tree->currentItem())));
}

void TMainForm::settings()
{
    if (!AppGlobals.IsSysUser) {
        ShowMsg(QStringLiteral("只有系统管理员才能设置"));
        return;
    }
    const int choice = AskItem(QStringLiteral("设置快递资料字段"),
                               QStringLiteral("设置日期范围节点字段"), QStringLiteral("操作选择"));
    if (choice == 1) {
        configureFields();
    } else if (choice == 2) {
        QStringList captions;
        const QList<CatalogueRow> rows = ReadCatalogue();
        for (const CatalogueRow& r : rows)
            if (r.fieldType == QLatin1String("Date"))
                captions << r.displayName;
        if (captions.isEmpty()) {
            ShowMsg(QStringLiteral("没有日期字段,不能设置日期范围节点"));
            return;
        }
        captions << QString() << QString();
        // Closed without a choice: the tree keeps its field.
        const QString chosen = ChooseDateNodeCaption(captions, DateNodeName, this);
        if (!chosen.isEmpty())
            setDateNodeField(chosen, rows);
    }
}

void TMainForm::configureFields()
{
    TSetClientFieldForm form(this);
    form.exec();
    if (!form.Changed())
        return;
    m_waitPanel->setGeometry(m_grid->rect());
    m_waitPanel->show();
    m_waitPanel->repaint();
    const QList<CatalogueRow> rows = ReadCatalogue();
    if (std::none_of(rows.begin(), rows.end(),
                     [](const CatalogueRow& r) { return r.fieldType == QLatin1String("Date"); })) {
        DateNodeField = QStringLiteral("CREATE_DATE");
        DateNodeName = QStringLiteral("建挡日期");
        SetSysValue(QStringLiteral("日期范围节点字段"), DateNodeField);
        m_nodeButton->setText(QStringLiteral("日期范围节点按建挡日期"));
    }
    m_records->CloseData();
    m_grid->ResetAllSettings();
    m_grid->SetFieldsData(BuildColumnCatalogue(rows));
    // The sender-number check carries the field's caption.
    buildRecordRules();
    reloadCurrentNode();
    m_waitPanel->hide();
}

void TMainForm::designWaybills()
{
    if (!GetRights(kRecordGroup, kCourierProgram, AppGlobals.UserID).Add) {
        ShowMsg(QStringLiteral("您没有编辑快递名称资料的权限"));
        return;
    }
    RefreshWorkDate();
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, AppGlobals.UserName, AppGlobals.WorkDate);
    couriers.OpenData();
    if (couriers.IsEmpty()) {
        // Couriers are added only from here; a new office starts with none.
        ShowMsg(QStringLiteral("没有快递名称资料，不可以设置快件记录打印"));
        TSelectFastNameEditForm editor(&couriers, this);
        editor.exec();
        if (couriers.IsEmpty())
            return;
    }
    TSetFastNamePrintForm designer(m_records, &couriers, this);
    designer.exec();
}

void TMainForm::printWaybills()
{
    const TRights courierRights = GetRights(kRecordGroup, kCourierProgram, AppGlobals.UserID);
    if (!courierRights.Browse) {
        ShowMsg(QStringLiteral("您没有浏览快递名称资料的权限"));
        return;
    }
    if (!m_records->Active() || m_records->IsEmpty()) {
        ShowMsg(QStringLiteral("没有快件记录,不能打印快递单"));
        return;
    }
    RefreshWorkDate();
    PrepareQuery(*m_records);
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, AppGlobals.UserName, AppGlobals.WorkDate);
    couriers.OpenData();
    if (couriers.IsEmpty()) {
        ShowMsg(QStringLiteral("没有快递名称资料，不可以打印快件记录"));
        return;
    }
    TFastPrintForm form(m_records, &couriers, this);
    form.exec();
}

void TMainForm::numberingSettings()
{
    if (!AppGlobals.IsSysUser) {
        ShowMsg(QStringLiteral("只有系统管理员才能有设置修改编号方式的权限"));
        return;
    }
    if (m_frame->OpenWindowCount() > 0) {
        ShowMsg(QStringLiteral("请先关闭其它的窗口"));
        return;
    }
    TSetAutoIDForm form(this);
    form.exec();
    buildRecordRules();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        m_grid->SaveSettings();
}
