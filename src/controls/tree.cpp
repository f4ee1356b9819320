#include "controls/tree.h"

#include "data/helpers.h"

namespace {
const QString kPlaceholder = QStringLiteral("temp");
constexpr int kDataRole = Qt::UserRole + 1;
} // namespace

TKWTreeView::TKWTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    SetSelectColor(SelectColor);
}

TKWTreeView::~TKWTreeView() = default;

void TKWTreeView::SetSelectColor(const QColor& color)
{
    SelectColor = color;
    // White on the colour, also while the tree has no focus.
    setStyleSheet(QStringLiteral("QTreeView::item:selected, QTreeView::item:selected:!active "
                                 "{ background: %1; color: white; }")
                      .arg(color.name()));
}

void TKWTreeView::HookEvents()
{
    m_lastChanged = nullptr;
    if (m_hooked)
        return;
    m_hooked = true;
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { changed(current); });
    connect(this, &QTreeWidget::itemExpanded, this, &TKWTreeView::expanding);
}

void TKWTreeView::changed(QTreeWidgetItem* node)
{
    m_lastChanged = node;
    if (SetColor) {
        SetColor = false;
        return;
    }
    if (OnChange)
        OnChange(node);
}

void TKWTreeView::expanding(QTreeWidgetItem* node)
{
    if (OnExpanding && node->childCount() > 0 && node->child(0)->text(0) == kPlaceholder)
        OnExpanding(node);
    LoadChildren(node);
    node->setData(0, Qt::UserRole, 1); // open-folder picture
}

TTreeData* TKWTreeView::NodeData(const QTreeWidgetItem* node) const
{
    return node ? static_cast<TTreeData*>(node->data(0, kDataRole).value<void*>()) : nullptr;
}

TTreeData* TKWTreeView::NewNodeData(const QString& code, const QString& text)
{
    m_records.insert(m_records.begin(), std::make_unique<TTreeData>(TTreeData{code, text}));
    return m_records.front().get();
}

QString TKWTreeView::statement(const QString& head, const QString& tail, const QString& kind,
                               const QString& key) const
{
    if (kind.isEmpty())
        return head + QLatin1Char(' ') + tail;
    const QString value = kind == QLatin1String("C") ? QuotedStr(key) : key;
    return head + value + QLatin1Char(' ') + tail;
}

QTreeWidgetItem* TKWTreeView::AddNode(QTreeWidgetItem* parent, TTreeData* data, const QString& key,
                                      const QString& caption)
{
    if (m_records.empty()) {
        ShowMsg(QStringLiteral("必须有头节点数据及未节点数据"));
        return nullptr;
    }
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, caption);
    node->setData(0, kDataRole, QVariant::fromValue<void*>(data));
    if (parent && parent->childCount() == 1)
        parent->setExpanded(true);
    if (!parent || NodeData(parent)) {
        if (SQL[7].compare(QLatin1String("A"), Qt::CaseInsensitive) == 0) {
            new QTreeWidgetItem(node, {kPlaceholder});
        } else if (!SQL[5].isEmpty() && !DataBaseName.isEmpty()) {
            const QString sql = SQL[7].isEmpty() ? SQL[5] : statement(SQL[5], SQL[6], SQL[7], key);
            if (GetSQLNumber(DataBaseName, sql) > 0)
                new QTreeWidgetItem(node, {kPlaceholder});
        }
    }
    return node;
}

void TKWTreeView::LoadChildren(QTreeWidgetItem* node)
{
    if (node->childCount() != 1 || node->child(0)->text(0) != kPlaceholder)
        return;
    delete node->takeChild(0);
    if (SQL[0].isEmpty())
        return;
    QString sql;
    if (SQL[2].isEmpty()) {
        sql = SQL[0] + QLatin1Char(' ') + SQL[1];
    } else {
        const TTreeData* data = NodeData(node);
        if (!data) {
            ShowMsg(QStringLiteral("节点空"));
            return;
        }
        sql = statement(SQL[0], SQL[1], SQL[2], data->Code);
    }
    if (DataBaseName.isEmpty())
        return;
    const int width = SQL[4].toInt();
    auto rows = OpenSQL(DataBaseName, sql);
    while (rows->next()) {
        TTreeData* record = NewNodeData(rows->value(0).toString(), rows->value(1).toString());
        const QString caption = (width > 0 ? ZeroPad(record->Text, width) : record->Text) + SQL[3];
        if (QTreeWidgetItem* child = AddNode(node, record, record->Code, caption)) {
            node->setData(0, Qt::UserRole, 0);
            child->setData(0, Qt::UserRole, child->childCount() > 0 ? 0 : 2);
        }
    }
}

bool TKWTreeView::FreeNodeData()
{
    try {
        blockSignals(true);
        clear();
        blockSignals(false);
        m_records.clear();
        m_lastChanged = nullptr;
        return true;
    } catch (...) {
        blockSignals(false);
        return false;
    }
}
