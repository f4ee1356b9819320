#pragma once

#include "model/courier.h"

#include <QDialog>
#include <QHash>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TKWQuery;

// "快递单连续打印窗口": prints the shipment list from its current record to
// the end, one job per waybill, paced by the default printer's queue;
// records already printed are skipped and counted.
class TPrintForm : public QDialog
{
    Q_OBJECT
public:
    TPrintForm(TKWQuery* records, const WaybillCourier& courier,
               const QHash<QString, QString>& sender, bool fromFirst, QWidget* parent = nullptr);

    // One step of the run; the timer calls it every 100 ms.
    void Tick();
    bool Running() const;
    int Sent() const { return m_sent; }
    int Skipped() const { return m_skipped; }
    QPushButton* Button(const QString& caption) const;
    QProgressBar* Progress() const { return m_progress; }
    QProgressBar* Animation() const { return m_animation; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void stop();
    void resume();
    void finish();
    void noPrinter();

    TKWQuery* m_records;
    WaybillCourier m_courier;
    QHash<QString, QString> m_sender;
    bool m_fromFirst;
    bool m_finished = false;
    int m_sent = 0;
    int m_skipped = 0;
    QTimer* m_timer;
    QLabel* m_total;
    QLabel* m_totalCaption;
    QLabel* m_sentCaption;
    QLabel* m_sentNumber;
    QLabel* m_skippedNumber;
    QProgressBar* m_progress;
    QProgressBar* m_animation; // busy bar when the total is not known
    QPushButton* m_continue;
    QPushButton* m_stop;
    QPushButton* m_close;
};
