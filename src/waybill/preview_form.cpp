#include "waybill/preview_form.h"

#include "data/record_set.h"
#include "model/courier.h"
#include "waybill/courier_widgets.h"
#include "model/renderer.h"
#include "waybill/waybill_view.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFastPrintPreviewForm::TFastPrintPreviewForm(TKWQuery* records, TKWQuery* couriers, QWidget* parent)
    : QDialog(parent), m_records(records), m_couriers(couriers), m_sender(ReadSenderRow()),
      m_view(new LayoutWaybillView(this)),
      m_offsets(new CourierSizeBox(couriers, CourierSizeBox::Kind::OffsetsOnly, this)),
      m_print(new QPushButton(QStringLiteral("快递单据打印"), this))
{
    setWindowTitle(QStringLiteral("快递单据打印预览窗口"));
    resize(1056, 668);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    for (QPushButton* b : {m_print, close})
        b->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_print, &QPushButton::clicked, this, [this] {
        if (!m_records->IsEmpty() && !m_couriers->IsEmpty())
            PrintOneWaybill(*m_records, CourierFromRow(*m_couriers), m_sender,
                            PaperVariant::Single);
    });
    auto* bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(m_offsets);
    bar->addWidget(m_print);
    bar->addWidget(close);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(bar);
}

void TFastPrintPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_couriers->IsEmpty())
        return;
    m_offsets->Fill();
    const WaybillCourier courier = CourierFromRow(*m_couriers);
    m_view->ShowCourier(courier);
    if (!m_records->IsEmpty())
        m_view->DrawRecord(ReadPrintFields(courier.fastId), RecordValues(*m_records, m_sender),
                           WaybillMode::Preview);
}
