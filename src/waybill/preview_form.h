#pragma once

#include <QDialog>
#include <QHash>

class CourierSizeBox;
class LayoutWaybillView;
class QPushButton;
class TKWQuery;

// "快递单据打印预览窗口": the current shipment record in red over the
// selected courier's form, the three print offsets, and a test print.
class TFastPrintPreviewForm : public QDialog
{
    Q_OBJECT
public:
    TFastPrintPreviewForm(TKWQuery* records, TKWQuery* couriers, QWidget* parent = nullptr);

    LayoutWaybillView* View() const { return m_view; }
    CourierSizeBox* Offsets() const { return m_offsets; }
    QPushButton* PrintButton() const { return m_print; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TKWQuery* m_records;
    TKWQuery* m_couriers;
    QHash<QString, QString> m_sender;
    LayoutWaybillView* m_view;
    CourierSizeBox* m_offsets;
    QPushButton* m_print;
};
