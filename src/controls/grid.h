#pragma once

#include "data/record_set.h"
#include "data/rules.h"

#include <QColor>
#include <QWidget>
#include <functional>

class QTableView;
class TKWQueryModel;

// The program's list grid over a TKWQuery: captions, widths, visibility and
// footers from the field catalogue, each user's column widths and order
// kept in a settings table, hiding a column by narrowing it, a cell-colour
// hook, a focus colour, and optionally 100 ruled rows.
class TKWNDBGrid : public QWidget
{
    Q_OBJECT
public:
    TKWNDBGrid(TKWQuery* query, QWidget* parent = nullptr);

    // Raised for every data cell before it is drawn; may change its colours.
    std::function<void(int row, const QString& field, QColor& background, QColor& text)>
        OnApplyCellAttr;
    QColor ColorOnFocus;
    bool FocusColorChange = false;
    bool SetColWidthChange = false;
    QString FormName; // key in the settings table; empty: nothing stored
    QString UserID;
    QString DataBaseName;
    QString SetTableName;
    bool SaveOrder = true; // a stored layout keeps the column order too
    bool SettingsReset = false;
    bool SkipLayout = false;

    void SetFieldsData(const TFieldsDataArray& fields);
    void SetFullRows(bool on);
    bool FullRows() const { return m_fullRows; }
    QTableView* view() const { return m_view; }
    TKWQueryModel* model() const { return m_model; }

    void LoadSettings();
    void ApplyLayout();
    void SaveSettings();
    void DeleteFieldSetting(const QString& fieldName);
    void ResetSettings();
    void ResetAllSettings();
    // The footer of a view column as shown ("@Sum" totals exact in decimals).
    QString GetFooterText(int column) const;
    // Lists without totals can do without the footer row.
    void SetFooterVisible(bool visible);

    // Followed while this grid is the record set's list grid (DBNGride):
    // disabled while a row is added or edited, the stored layout applied
    // before opening and read again when the columns change, totals redrawn.
    void SetGridEnabled(bool enabled);
    void ApplyStoredLayout(TKWQuery& query);
    void LayoutChanged();
    void RecalcFooters();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Stored
    {
        QString name;
        int width = 0;
        int order = 0;
        QString loadedName;
        int loadedWidth = 0;
        int loadedOrder = 0;
    };
    QString condition() const;
    Stored* storedEntry(const QString& name);
    void recordWidths();
    void recordOrder();
    int pixelsFor(int characters) const;
    QString footerFor(const TFieldsData& field) const;
    // Totals to the right; a fixed text to the right under numbers only.
    Qt::Alignment footerAlignment(int column) const;

    TKWQuery* m_query;
    TKWQueryModel* m_model;
    QTableView* m_view;
    class Footer;
    Footer* m_footer;
    TFieldsDataArray m_fields;
    QList<Stored> m_stored;
    bool m_loaded = false;
    mutable QHash<QString, QString> m_sums; // footer totals by field

    bool m_fullRows = false;
    QPalette m_restPalette;
};

// Sums texts of numbers exactly in decimal terms: after each addition the
// sum is rounded to the most decimals seen so far (at most 8).
QString ExactSum(const QStringList& values);
