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
    // An entry control of the window that shows none of the record set (a
    // search box): its state and colours are its own.
    void LeaveAlone(QWidget* control);

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

// Keeps an entry control and a field of a record set in step. The record
// refills the control and nothing goes back from that; every other change of
// the control's text (typed, pasted, from an input method, the accessibility
// interface or code) reaches the record while it is added or edited. While
// browsing the control shows the record and nothing else. Esc while the
// record is added or edited puts back what the field held when the caret
// came into it (or the record last changed it).
class TKWFieldLink : public QObject
{
    Q_OBJECT
public:
    // `text` reads the control, `show` puts a value into it.
    TKWFieldLink(QWidget* control, TKWQuery* query, const QString& fieldName,
                 std::function<QString()> text, std::function<void(const QString&)> show);

    TKWQuery* Query() const { return m_query; }
    const QString& FieldName() const { return m_field; }
    // The record's value into the control.
    void Refill();
    // To be called on every change of the control's text.
    void ControlChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isMine(const QString& fieldName) const;

    QWidget* m_control;
    TKWQuery* m_query;
    QString m_field;
    std::function<QString()> m_text;
    std::function<void(const QString&)> m_show;
    QString m_entered; // the value to go back to on Esc
    bool m_refilling = false;
    bool m_writing = false;
};

// Shows a field of the record set in a line edit, linked as above; a text
// column's width in GBK bytes is the most the edit takes.
void BindLineEdit(QLineEdit* edit, TKWQuery* query, const QString& fieldName);
