#pragma once

#include "frame/window_family.h"

class TKWDBEdit;

// "发件人资料编辑窗口": the one row of SYS_COMPANY_TABLE that every waybill
// prints as its sender. The row cannot be deleted here and a second one
// cannot be added; a save makes the saved name the program's company name.
class TCompanyForm : public TKWDForm
{
    Q_OBJECT
public:
    explicit TCompanyForm(TKWMain* mainFrame, QWidget* parent = nullptr);

    // The entry field of a column, e.g. "COMPANY_NAME".
    TKWDBEdit* Field(const QString& column) const;

Q_SIGNALS:
    // After AppGlobals.CompanyName took the saved name.
    void CompanySaved();

protected:
    void addClicked() override;
    void saveClicked() override;

private:
    void setRules();
    QList<TKWDBEdit*> m_fields;
};
