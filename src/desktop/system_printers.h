#pragma once

#include "platform/printers.h"

// The system's printers through Qt PrintSupport; the queue length from CUPS.
class SystemPrinters : public PrinterBackend
{
public:
    QStringList printerNames() override;
    QString defaultPrinter() override;
    int queueLength(const QString& printer) override;
    std::unique_ptr<PrintJob> beginJob(const QString& title, const QSizeF& paperMm) override;
};
