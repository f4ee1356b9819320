#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

class QPainter;

// One single-page print job. Paint in device units; end() says whether the
// page reached the printer (or the file).
class PrintJob
{
public:
    virtual ~PrintJob() = default;
    virtual QPainter& painter() = 0;
    virtual double dotsPerInchX() const = 0;
    virtual double dotsPerInchY() const = 0;
    virtual bool end() = 0;
};

// The installed printers and one-page jobs on a custom paper size.
class PrinterBackend
{
public:
    virtual ~PrinterBackend() = default;
    virtual QStringList printerNames() = 0;
    // Empty when no default printer is set.
    virtual QString defaultPrinter() = 0;
    // Jobs waiting in the printer's queue; -1 when it cannot be asked.
    virtual int queueLength(const QString& printer) = 0;
    // A job on the default printer, paper `paperMm` (width × length) in true
    // millimetres. nullptr when the printer cannot start a job.
    virtual std::unique_ptr<PrintJob> beginJob(const QString& title, const QSizeF& paperMm) = 0;
};

// The printers in use: the PDF-file printer when KWFAST_PDF_PRINTER names a
// folder, else the system's printers (CUPS). Tests may install their own.
PrinterBackend& CurrentPrinters();
void SetPrinterBackend(PrinterBackend* backend); // not owned; nullptr restores

// Writes every job as the next file waybill-00001.pdf, … in a folder, at
// 600 dpi, as the only and default printer with an empty queue.
class PdfFilePrinters : public PrinterBackend
{
public:
    explicit PdfFilePrinters(QString folder);
    QStringList printerNames() override;
    QString defaultPrinter() override;
    int queueLength(const QString& printer) override;
    std::unique_ptr<PrintJob> beginJob(const QString& title, const QSizeF& paperMm) override;
    // The file the last job wrote.
    QString lastFile() const { return m_lastFile; }

private:
    QString m_folder;
    QString m_lastFile;
    int m_next = 0;
};

// Number of jobs in the default printer's queue, or -1; without a default
// printer shows "没有默认的打印机，不能打印" and gives -1.
int DefaultPrinterJobs();
bool PrintersExist();
