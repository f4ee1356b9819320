#pragma once

#include "frame/window_family.h"

#include <QDialog>

class QLabel;
class QStackedWidget;
class TKWDBEdit;
class TKWEdit;
class TKWNDBGrid;

// The value pick list of a text field: the values typed earlier, searched,
// added, changed and deleted here; Accepted leaves the chosen row current.
class TSelectEditForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSelectEditForm(QWidget* parent = nullptr);

    // Field f with caption c, kept in table T.
    void Prepare(const QString& fieldName, const QString& caption, const QString& tableName);
    TKWQuery* Query() const { return m_query; }
    TKWNDBGrid* Grid() const { return m_grid; }
    TKWEdit* SearchBox() const { return m_search; }
    TKWDBEdit* ValueEdit() const { return m_value; }
    QPushButton* Button(const QString& caption) const { return m_buttons.button(caption); }
    // The chosen value.
    QString Value() const;

    void reject() override;

private:
    void search();
    void showAll();
    void followState();

    QString m_field;
    QString m_caption;
    QString m_table;
    QString m_fullStatement;
    TKWQuery* m_query;
    TKWDataSource* m_source;
    TKWNDBGrid* m_grid;
    QLabel* m_label;
    QStackedWidget* m_stack;
    TKWEdit* m_search;
    TKWDBEdit* m_value = nullptr;
    FamilyButtons m_buttons;
};

// The table of a field's value list: KW_CLIENT_TEXT_FIELD1_TABLE …
QString PickListTable(const QString& fieldName);
// Opens the pick list of a field; the chosen value, or empty when closed.
QString PickValue(const QString& fieldName, const QString& caption, QWidget* parent = nullptr);
