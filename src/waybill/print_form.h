#pragma once

#include "frame/window_family.h"
#include "model/courier.h"

#include <QDialog>
#include <QHash>

class CourierSizeBox;
class LayoutWaybillView;
class QPushButton;
class TKWLComboEdit;
class TKWNDBGrid;
class TKWQuery;

// "快递单据打印窗口": the current shipment record drawn in red over the
// selected courier's blank form, the courier's size and offsets for
// calibration, moves through the list, and printing one or all.
class TFastPrintForm : public QDialog
{
    Q_OBJECT
public:
    // `couriers` is open on the courier list; both sets stay the caller's.
    TFastPrintForm(TKWQuery* records, TKWQuery* couriers, QWidget* parent = nullptr);

    LayoutWaybillView* View() const { return m_view; }
    TKWNDBGrid* CourierList() const { return m_list; }
    // "高", "宽", "上边距", "左边距", "下边距".
    TKWLComboEdit* SizeEdit(const QString& caption) const;
    QPushButton* Button(const QString& caption) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showCourier();
    void drawRecord();
    void selectRecordCourier();
    void move(RecordMove move);
    void printOne();
    void printBatch();

    TKWQuery* m_records;
    TKWQuery* m_couriers;
    QHash<QString, QString> m_sender;
    QString m_defaultCourier;
    QList<WaybillField> m_fields;
    LayoutWaybillView* m_view = nullptr;
    TKWNDBGrid* m_list = nullptr;
    CourierSizeBox* m_sizes = nullptr;
    QList<QPushButton*> m_buttons;
};

// "快递单据打印" for the current record from outside the print window: on the
// record's own courier's form, else the default courier's; with no such
// courier it says so and prints nothing. The same questions and status write
// as the print window.
bool PrintRecordWaybill(TKWQuery& records);
