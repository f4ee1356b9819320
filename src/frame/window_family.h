#pragma once

#include "frame/rights.h"

#include <QDialog>
#include <QString>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QHBoxLayout;
class QPushButton;
class QToolBar;
class TKWChild;
class TKWDataSource;
class TKWMain;
class TKWNDBGrid;
class TKWQuery;

// What every window gives its record set: serial-key dates, the verifier,
// the focus colour and the database.
void PrepareQuery(TKWQuery& query);
// The window's rights and colours for its data source: adding, editing and
// deleting all follow the Add right, printing the Print right, checking the
// Verify right.
void PrepareDataSource(TKWDataSource& source, const TRights& rights);

enum class RecordMove { First, Prior, Next, Last };
// Moves through the rows with the windows' messages: "没有数据记录" on an
// empty set, "已到第一个纪录" / "已到最后一个纪录" at the ends.
void MoveRecord(TKWQuery& query, RecordMove move);

// The common frame of the program's windows: the child-window frame, the
// work date refreshed, and the shared palette.
class TKWBaseForm : public QWidget
{
    Q_OBJECT
public:
    TKWBaseForm(TKWMain* mainFrame, QWidget* parent = nullptr);
    TKWChild* KWChild() const { return m_child; }

private:
    TKWChild* m_child;
};

// A tool-bar window over one table ("增加F5" … "关闭F12"), its buttons
// following the user's rights on (Group, Program).
class TKWDForm : public TKWBaseForm
{
    Q_OBJECT
public:
    TKWDForm(TKWMain* mainFrame, QWidget* parent = nullptr);

    QString Group;
    QString Program;
    TKWQuery* Query() const { return m_query; }
    TKWDataSource* DS() const { return m_source; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QAbstractButton* Button(const QString& caption) const;
    // The area under the tool bar where the derived window puts its fields.
    QWidget* Body() const { return m_body; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QAbstractButton* addButton(const QString& caption, int key, void (TKWDForm::*action)());
    void add();
    void edit();
    void remove();
    void save();
    void cancel();
    void find() {}
    void print() {}
    void confirm() { m_confirmed = true; }
    void first() { MoveRecord(*m_query, RecordMove::First); }
    void prior() { MoveRecord(*m_query, RecordMove::Prior); }
    void next() { MoveRecord(*m_query, RecordMove::Next); }
    void last() { MoveRecord(*m_query, RecordMove::Last); }

    TKWQuery* m_query;
    TKWDataSource* m_source;
    QToolBar* m_toolBar;
    QWidget* m_body;
    QList<QAbstractButton*> m_buttons;
    bool m_confirmed = false;
};

// The buttons of a pop-up window: a row of push buttons with their function
// keys, managed by the window's data source.
class FamilyButtons
{
public:
    FamilyButtons(QWidget* window, TKWDataSource* source);
    QPushButton* add(const char* caption, int key, int role, std::function<void()> action);
    QPushButton* button(const QString& caption) const;
    QHBoxLayout* layout() const { return m_layout; }

private:
    QWidget* m_window;
    TKWDataSource* m_source;
    QHBoxLayout* m_layout;
    QList<QPushButton*> m_buttons;
};

// A pop-up list to pick or maintain rows of one table: grid, record set and
// buttons "确定[F3]" … "关闭[F12]". 确定 closes with Accepted on a chosen row.
class TKWAppPopForm : public QDialog
{
    Q_OBJECT
public:
    TKWAppPopForm(TKWMain* mainFrame, QWidget* parent = nullptr);

    QString Group;
    QString Program;
    TKWQuery* Query() const { return m_query; }
    TKWDataSource* DS() const { return m_source; }
    TKWNDBGrid* DBGrid() const { return m_grid; }
    QPushButton* Button(const QString& caption) const { return m_buttons.button(caption); }
    TKWChild* KWChild() const { return m_child; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool mayClose();
    TKWQuery* m_query;
    TKWDataSource* m_source;
    TKWNDBGrid* m_grid;
    TKWChild* m_child;
    FamilyButtons m_buttons;
};

// A pop-up editor of the rows of a record set handed over by its caller.
class TKWBasePopEditShowForm : public QDialog
{
    Q_OBJECT
public:
    TKWBasePopEditShowForm(TKWQuery* records, TKWMain* mainFrame, QWidget* parent = nullptr);
    ~TKWBasePopEditShowForm() override;

    QString Group;
    QString Program;
    TKWQuery* Query() const { return m_records; }
    TKWDataSource* DS() const { return m_source; }
    QPushButton* Button(const QString& caption) const { return m_buttons.button(caption); }
    // Where the derived window puts its fields.
    QWidget* Body() const { return m_body; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool mayClose();
    TKWQuery* m_records;
    TKWDataSource* m_previousSource;
    TKWDataSource* m_source;
    TKWChild* m_child;
    QWidget* m_body;
    FamilyButtons m_buttons;
};

// A show window (printing, preview, design) over its own record set; its
// "确定[F3]" stays hidden unless the window shows it.
class TKWAppPopShowForm : public QDialog
{
    Q_OBJECT
public:
    TKWAppPopShowForm(TKWMain* mainFrame, QWidget* parent = nullptr);

    TKWQuery* Query() const { return m_query; }
    TKWDataSource* DS() const { return m_source; }
    QPushButton* Button(const QString& caption) const { return m_buttons.button(caption); }
    QWidget* Body() const { return m_body; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TKWQuery* m_query;
    TKWDataSource* m_source;
    TKWChild* m_child;
    QWidget* m_body;
    FamilyButtons m_buttons;
    bool m_styled = false;
};
