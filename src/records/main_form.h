#pragma once

#include "frame/rights.h"

#include <QMainWindow>

class QAbstractButton;
class QLabel;
class QPushButton;
class TKWDataSource;
class TKWMain;
class TKWNDBGrid;
class TKWQuery;
class TKWTreeView;
class TKW3DLabel;
struct CatalogueRow;

// The program's main window: the date-range tree, the shipment list of the
// chosen range, the tool bar, the menus and the status bar. Its creation
// connects the database and reads the settings; it is shown only after a
// successful logon.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Throws DatabaseError when the database cannot be opened.
    explicit TMainForm(QWidget* parent = nullptr);

    void UpdateCaption();
    // Set when another instance of the program already runs; start-up ends.
    bool AnotherInstanceRuns() const { return m_anotherInstance; }
    TKWMain* Frame() const { return m_frame; }
    TKWQuery* Records() const { return m_records; }
    TKWNDBGrid* Grid() const { return m_grid; }
    TKWTreeView* Tree() const { return m_tree; }
    QAbstractButton* ToolButton(const QString& caption) const;
    QPushButton* PrintButton() const { return m_printButton; }
    // "日期范围节点按" + the caption of the date the tree filters on.
    QPushButton* DateNodeButton() const { return m_nodeButton; }

    QString DateNodeField;
    QString DateNodeName;
    QString FindCondition;

    // Loads the list for a date node (0 全部快递 … 8 今日快递).
    void LoadDateNode(int node);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolBar();
    void buildMenus();
    void buildRecordRules();
    void numberingSettings();
    void settings();
    void configureFields();
    void chooseDateNodeField();
    void setDateNodeField(const QString& caption, const QList<CatalogueRow>& rows);
    void reloadCurrentNode();
    void deleteRecord();
    void printWaybills();
    void designWaybills();
    enum class EditorMode { Add, Edit, View };
    void openEditor(EditorMode mode);
    void applyRights();

    TKWMain* m_frame = nullptr;
    TKWQuery* m_records = nullptr;
    TKWDataSource* m_source = nullptr;
    TKWNDBGrid* m_grid = nullptr;
    TKWTreeView* m_tree = nullptr;
    TKW3DLabel* m_findLabel = nullptr;
    QLabel* m_waitPanel = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_nodeButton = nullptr;
    QList<QAbstractButton*> m_toolButtons;
    bool m_anotherInstance = false;
    TRights m_rights;
    bool m_shownOnce = false;
};
