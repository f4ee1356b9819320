#pragma once

#include "data/record_set.h"

#include <QColor>
#include <QMultiHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QLineEdit;
class QWidget;

// What the entry controls of the program offer the data source; plain Qt
// entry widgets are handled without it.
class TKWEntryControl
{
public:
    virtual ~TKWEntryControl() = default;
    virtual void SetEntryReadOnly(bool readOnly) = 0;
    virtual void SetEntryColors(const QColor& rest, const QColor& focus) = 0;
    virtual bool HasDropButton() const { return false; }
    virtual void SetDropButtonEnabled(bool) {}
};

// Tags of a window's controls, as the data source reads them (add 500 for
// the detail group): 1 grid never disabled, 2 always read-only, 3 and 4
// display only (read-only, no Tab stop), 5 drop-down left alone, 6 drop-down
// whose button works only while browsing, 7 the same and always read-only.
void SetControlTag(QWidget* control, int tag);
int ControlTag(const QWidget* control);

// Makes a window follow its record set: while browsing the entry controls
// are read-only in the browse colour and the browsing buttons work; while
// adding or editing the controls are writable, the grids disabled, and only
// save and cancel work. The rights the window gives it are applied last.
class TKWDataSource : public QObject
{
    Q_OBJECT
public:
    enum class Role {
        New,
        Add,
        Edit,
        Print,
        Check,
        Delete,
        Cancel,
        Save,
        Find,
        Prior,
        Next,
        First,
        Last,
        Other,
        Close,
        Small,
    };

    // `form` is the window whose controls are managed.
    TKWDataSource(QWidget* form, TKWQuery* dataSet, QObject* parent = nullptr);

    TKWQuery* DataSet() const { return m_dataSet; }
    QColor BrowseColor{248, 252, 226};
    QColor ColorOnFocus{199, 247, 248};
    QColor EditColor{Qt::white};
    bool RightAdd = true;
    bool RightEdit = true;
    bool RightPrint = true;
    bool RightCheck = true;
    bool RightDelete = true;
    bool IS_MASTER_CHANGE = true;
    bool IS_DETAIL_CHANGE = false;
    // The form's own state-change handler, called last.
    std::function<void(TDataSetState)> OnStateChange;

    // A managed button; a role may have several (tool bar and push button).
    void SetButton(Role role, QAbstractButton* button);

    bool ActiveColor() const { return m_activeColor; }
    // Switching it on brings the controls in line with the current state.
    void SetActiveColor(bool on);

    void StartSource();
    void ApplyRights();
    void ApplyColors();

private:
    // Whether the record set follows this source now.
    bool current() const;
    void editingStarted();
    void setPlainGridEnabled(bool enabled);
    void stateChanged();
    bool browsing() const;
    bool managed(const QWidget* control) const;
    void setRole(Role role, bool enabled);

    QPointer<QWidget> m_form;
    TKWQuery* m_dataSet;
    QMultiHash<Role, QPointer<QAbstractButton>> m_buttons;
    bool m_activeColor = false;
    bool m_started = false;
};

// An entry field of the program: line, text and spin edits, combo boxes and
// the program's own entry controls.
bool IsEntryControl(const QWidget* control);
// Colours an entry control: `rest` without the focus, `focus` with it.
void SetEntryColors(QWidget* control, const QColor& rest, const QColor& focus);

// Shows a field of the record set in a line edit and writes what is typed
// back while the record set is adding or editing.
void BindLineEdit(QLineEdit* edit, TKWQuery* query, const QString& fieldName);
