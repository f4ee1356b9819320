#pragma once

#include "frame/rights.h"

#include <QColor>
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

// Shared values of a window. Input methods need no preset here: text fields
// take the desktop's input method, number and date fields none (TKWEdit).
struct TKWSetForm
{
    int ScreenWidth = 0;
    QString DataBaseName;
    QColor EditColor;
    QColor ColorOnFocus;
};

// The common frame of the program's windows: the child-window frame, the
// work date refreshed, and the shared palette.
class TKWBaseForm : public QWidget
{
    Q_OBJECT
public:
    TKWBaseForm(TKWMain* mainFrame, QWidget* parent = nullptr);
    TKWChild* KWChild() const { return m_child; }
    TKWSetForm KWSetForm;

private:
    TKWChild* m_child;
};

// A tool-bar window: "增加F5" … "关闭F12", "确认" and the hidden moves.
// "保存F8" first moves the focus to the tool bar so a field hands over its text.
class TKWAppForm : public TKWBaseForm
{
    Q_OBJECT
public:
    TKWAppForm(TKWMain* mainFrame, QWidget* parent = nullptr);

    QToolBar* ToolBar() const { return m_toolBar; }
    QAbstractButton* Button(const QString& caption) const;
    // The area under the tool bar where the derived window puts its fields.
    QWidget* Body() const { return m_body; }
    bool Confirmed() const { return m_confirmed; }

protected:
    void showEvent(QShowEvent* event) override;
    virtual void addClicked() {}
    virtual void editClicked() {}
    virtual void deleteClicked() {}
    virtual void saveClicked() {}
    virtual void cancelClicked() {}
    virtual void findClicked() {}
    virtual void printClicked() {}
    virtual void moveClicked(RecordMove) {}
    // Each button with the role a data source gives it.
    QList<std::pair<QAbstractButton*, int>> ButtonRoles() const { return m_roles; }

private:
    QToolBar* m_toolBar;
    QWidget* m_body;
    QList<QAbstractButton*> m_buttons;
    QList<std::pair<QAbstractButton*, int>> m_roles;
    bool m_confirmed = false;
};

// A tool-bar window over one table: its record set and data source, the
// editing buttons following the user's rights on (Group, Program).
class TKWDForm : public TKWAppForm
{
    Q_OBJECT
public:
    TKWDForm(TKWMain* mainFrame, QWidget* parent = nullptr);

    QString Group;
    QString Program;
    TKWQuery* Query() const { return m_query; }
    TKWDataSource* DS() const { return m_source; }

protected:
    void showEvent(QShowEvent* event) override;
    void addClicked() override;
    void editClicked() override;
    void deleteClicked() override;
    void saveClicked() override;
    void cancelClicked() override;
    void moveClicked(RecordMove move) override { MoveRecord(*m_query, move); }

private:
    void requireOpen() const;
    TKWQuery* m_query;
    TKWDataSource* m_source;
};

// The buttons of a pop-up window: a row of push buttons with their function
// keys, managed by the window's data source.
class FamilyButtons
{
public:
    FamilyButtons(QWidget* window, TKWDataSource* source);
    QPushButton* add(const char* caption, int key, int role, std::function<void()> action);
    // "确定[F3]" (Accepted on a chosen row), the add button named `addCaption`,
    // "编辑[F6]", "删除[F7]", "保存[F8]" (after `maySave`) and "取消[F9]"
    // over `query`; each aborts silently while the query is closed.
    void addRecordButtons(QDialog* dialog, TKWQuery* query, const char* addCaption,
                          bool refreshWorkDate, std::function<bool()> maySave);
    // "首条", "前条", "下条", "末条".
    void addMoves(TKWQuery* query);
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
    // The window's own checks before "保存[F8]" saves; false stops the save.
    virtual bool checkBeforeSave() { return true; }
    // "打印[F11]": nothing unless the window prints something.
    virtual void printClicked() {}

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
