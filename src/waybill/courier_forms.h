#pragma once

#include "frame/window_family.h"

class TKWDBEdit;

// The default courier's row stands out in every courier list.
inline const QColor kDefaultCourierBackground(255, 217, 235);
inline const QColor kDefaultCourierSelectedText(255, 0, 128);

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
