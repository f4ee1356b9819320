#pragma once

#include "frame/rights.h"
#include "frame/window_family.h"

#include <QHash>

class TKWEdit;

// The window in which the operator types one shipment record, laid out from
// the field catalogue, working on the main window's record set.
class TEditClientForm : public TKWBasePopEditShowForm
{
    Q_OBJECT
public:
    TEditClientForm(TKWQuery* records, const TRights& recordRights, TKWMain* mainFrame,
                    QWidget* parent = nullptr);
    ~TEditClientForm() override;

    // The control of a record field, nullptr when the field is not shown.
    TKWEdit* Control(const QString& fieldName) const { return m_controls.value(fieldName); }

protected:
    bool checkBeforeSave() override;
    void printClicked() override;
    void showEvent(QShowEvent* event) override;

private:
    void buildFields();
    bool pickInto(const QString& fieldName);
    bool pickCourier();
    bool pickDate(const QString& fieldName, bool onlyWhenEmpty);

    void linkControls(bool linked);

    TRights m_rights;
    QHash<QString, TKWEdit*> m_controls;
    QHash<QString, QString> m_captions;
};
