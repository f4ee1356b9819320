#include "data/record_model.h"

#include "data/helpers.h"
#include "data/record_set.h"

#include <algorithm>

TKWQueryModel::TKWQueryModel(TKWQuery* query, QObject* parent)
    : QAbstractTableModel(parent), m_query(query)
{
    connect(query, &TKWQuery::rowsReset, this, &TKWQueryModel::refreshColumns);
    connect(query, &TKWQuery::rowChanged, this, [this](int row) {
        if (row >= 0 && !m_columns.isEmpty())
            Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    });
    refreshColumns();
}

void TKWQueryModel::refreshColumns()
{
    beginResetModel();
    m_columns.clear();
    const QList<TKWField>& fields = m_query->Fields();
    if (!m_pinned.isEmpty()) {
        for (const QString& name : m_pinned)
            if (const int field = m_query->FieldIndex(name); field >= 0)
                m_columns << field;
        endResetModel();
        return;
    }
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].visible)
            m_columns << i;
    // The stored order first, then the order of the column definitions,
    // then the table's own order.
    const QStringList& order = m_query->DisplayOrder();
    const TFieldsDataArray& defined = m_query->FieldsData();
    auto position = [&](int field) {
        for (int i = 0; i < order.size(); ++i)
            if (order[i].compare(fields[field].name, Qt::CaseInsensitive) == 0)
                return i;
        for (int i = 0; i < defined.size(); ++i)
            if (defined[i].FieldName.compare(fields[field].name, Qt::CaseInsensitive) == 0)
                return int(order.size()) + i;
        return int(order.size() + defined.size());
    };
    std::stable_sort(m_columns.begin(), m_columns.end(),
                     [&](int a, int b) { return position(a) < position(b); });
    endResetModel();
}

void TKWQueryModel::pinColumns(const QStringList& fieldNames)
{
    m_pinned = fieldNames;
    refreshColumns();
}

int TKWQueryModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return qMax(m_minimumRows, m_query->Active() ? m_query->RecordCount() : 0);
}

int TKWQueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_query->Active() ? 0 : int(m_columns.size());
}

QString TKWQueryModel::NumberText(const QString& stored)
{
    if (stored.trimmed().isEmpty())
        return {};
    QString text = QString::number(ParseNumber(stored), 'f', 8);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QVariant TKWQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() ||
        (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::TextAlignmentRole))
        return {};
    const int field = m_columns.value(index.column(), -1);
    if (field < 0 || index.row() >= m_query->RecordCount())
        return {};
    const ColumnType type = m_query->Fields()[field].type;
    const bool numeric = type == ColumnType::Number || type == ColumnType::Integer;
    if (role == Qt::TextAlignmentRole)
        return numeric ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    const QString text = m_query->CellText(index.row(), field);
    if (numeric)
        return NumberText(text);
    if (type == ColumnType::Date)
        return text.left(10);
    return text;
}

Qt::ItemFlags TKWQueryModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !m_query->Active() || index.row() >= m_query->RecordCount())
        return Qt::ItemNeverHasChildren;
    return QAbstractTableModel::flags(index);
}

QVariant TKWQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const int field = m_columns.value(section, -1);
    return field < 0 ? QVariant() : QVariant(m_query->Fields()[field].caption);
}

void TKWQueryModel::setMinimumRows(int rows)
{
    beginResetModel();
    m_minimumRows = rows;
    endResetModel();
}

int TKWQueryModel::columnOfField(const QString& fieldName) const
{
    const int field = m_query->FieldIndex(fieldName);
    return int(m_columns.indexOf(field));
}
