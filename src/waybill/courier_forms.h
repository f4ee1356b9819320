#pragma once

#include "data/record_set.h"
#include "frame/window_family.h"

#include <QDialog>
#include <QList>
#include <functional>

class TKWDBComboBox;
class TKWDBEdit;
class TKWEdit;
class TKWNDBGrid;

// "快递名称录入编辑窗口" as the record editor's courier list: lists the
// couriers and picks one; the record buttons are hidden.
class TSelectFastNameForm : public TKWAppPopForm
{
    Q_OBJECT
public:
    explicit TSelectFastNameForm(TKWMain* mainFrame, QWidget* parent = nullptr);

    QString ChosenName() const;
    QString ChosenStandardMoney() const;
    TKWDBEdit* NameEdit() const { return m_name; }

private:
    TKWDBEdit* m_name = nullptr;
};

// "快递名称录入编辑窗口" as the designer's courier editor: works on the
// designer's own courier list, so the designer sees every change at once.
// The list keeps the rules its owner gave it; its columns and grid are lent
// to this window and handed back when it goes.
class TSelectFastNameEditForm : public TKWBasePopEditShowForm
{
    Q_OBJECT
public:
    TSelectFastNameEditForm(TKWQuery* couriers, QWidget* parent = nullptr);
    ~TSelectFastNameEditForm() override;

    // Runs after a picture was loaded for the current courier, so the opener can redraw it.
    std::function<void()> OnPictureLoaded;

    TKWNDBGrid* Grid() const { return m_grid; }
    TKWDBEdit* NameEdit() const { return m_name; }
    TKWDBComboBox* DefaultBox() const { return m_default; }
    QPushButton* LoadPictureButton() const { return m_loadPicture; }

protected:
    void showEvent(QShowEvent* event) override;
    bool checkBeforeSave() override;

private:
    void loadPicture();

    TKWNDBGrid* m_grid = nullptr;
    TKWDBEdit* m_name = nullptr;
    TKWDBComboBox* m_default = nullptr;
    QPushButton* m_loadPicture = nullptr;
    // What the owner's list showed before this window set its columns.
    QList<TKWField> m_ownerFields;
    TFieldsDataArray m_ownerFieldsData;
    QObject* m_ownerGrid = nullptr;
};

// "没行打印汉字数量": characters per line of a print field.
class TSelectFontNumberForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSelectFontNumberForm(QWidget* parent = nullptr);
    TKWEdit* Number() const; // the caller puts the current value in and reads it back on OK

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    TKWEdit* m_number;
};

// "自定义纸张大小设置窗口": a custom paper size in millimetres.
class TSetPrintPaperForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSetPrintPaperForm(QWidget* parent = nullptr);
    TKWEdit* PaperWidth() const;
    TKWEdit* PaperHeight() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    TKWEdit* m_width;
    TKWEdit* m_height;
};
