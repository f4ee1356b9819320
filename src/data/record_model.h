#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class TKWQuery;

// Shows a TKWQuery in any item view: its visible columns, with captions,
// numbers as "0.########" and dates as "yyyy-mm-dd".
class TKWQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TKWQueryModel(TKWQuery* query, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The empty ruled rows can be neither chosen nor entered: a highlight
    // there would not be the record the commands act on.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Index of the record set's field shown in a view column, and back.
    int fieldOfColumn(int column) const { return m_columns.value(column, -1); }
    int columnOfField(const QString& fieldName) const;
    TKWQuery* query() const { return m_query; }

    // Empty ruled rows below the records up to this count (the grids' 100 rows).
    void setMinimumRows(int rows);
    // Shows these fields, in this order, whatever the record set's column
    // definitions say: a list whose record set another window borrows and
    // shows otherwise keeps its own columns.
    void pinColumns(const QStringList& fieldNames);

    // Text of a number as the lists show it: up to eight decimals, no trailing zeros.
    static QString NumberText(const QString& stored);

public Q_SLOTS:
    // The visible columns changed (field definitions, stored layout).
    void refreshColumns();

private:
    TKWQuery* m_query;
    QList<int> m_columns;
    QStringList m_pinned;
    int m_minimumRows = 0;
};
