#pragma once

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <memory>

// The key and caption of a node the tree loaded from the database.
struct TTreeData
{
    QString Code;
    QString Text;
};

// The program's tree: its own colour for the selected node, a one-shot
// switch that swallows the next selection change (so an owner can select in
// code), and children loaded from the database on first expanding, behind a
// placeholder child named "temp".
class TKWTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TKWTreeView(QWidget* parent = nullptr);
    ~TKWTreeView() override;

    QString DataBaseName;
    bool SetColor = false;
    QColor SelectColor{0, 0x80, 0xC0};
    // Slots 0..7: child query head and tail, its key kind, caption suffix,
    // caption width, count query head and tail, its key kind.
    QStringList SQL = QStringList(25, QString());

    // The owner's handlers, called after the tree's own work.
    std::function<void(QTreeWidgetItem* node)> OnChange;
    std::function<void(QTreeWidgetItem* node)> OnExpanding;

    void HookEvents();
    void SetSelectColor(const QColor& color);
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, TTreeData* data, const QString& key,
                             const QString& caption);
    void LoadChildren(QTreeWidgetItem* node);
    bool FreeNodeData();
    // The record a loaded node carries; nullptr for the owner's fixed nodes.
    TTreeData* NodeData(const QTreeWidgetItem* node) const;
    // Keeps a record for AddNode; the tree owns it.
    TTreeData* NewNodeData(const QString& code, const QString& text);
    QTreeWidgetItem* LastChanged() const { return m_lastChanged; }

private:
    void changed(QTreeWidgetItem* node);
    void expanding(QTreeWidgetItem* node);
    QString statement(const QString& head, const QString& tail, const QString& kind,
                      const QString& key) const;

    std::vector<std::unique_ptr<TTreeData>> m_records;
    QTreeWidgetItem* m_lastChanged = nullptr;
    bool m_hooked = false;
};
