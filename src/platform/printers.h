#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPageLayout;
class QPainter;
class QPaintDevice;

// One single-page print job, painted in device units.
class PrintJob
{
public:
    using Paint = std::function<void(QPainter&)>;
    virtual ~PrintJob() = default;
    // Measures text as the page will: the job's resolution and page size.
    virtual const QPaintDevice& metrics() const = 0;
    double dotsPerInchX() const;
    double dotsPerInchY() const;
    // Paints the page and hands it to the printer; false when the printer
    // failed. A spooling printer may run `paint` later on another thread, so
    // it must own everything it draws.
    virtual bool print(const Paint& paint) = 0;
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

// The printers in use: the installed backend, else the PDF-file printer when
// KWFAST_PDF_PRINTER names a folder, else the system's printers (none until
// the desktop installs them). Tests may install their own.
PrinterBackend& CurrentPrinters();
// Installs a backend (not owned) and returns the one it replaces; nullptr
// goes back to the PDF-file or system printers.
PrinterBackend* SetPrinterBackend(PrinterBackend* backend);
void SetSystemPrinters(PrinterBackend* backend); // not owned

// A waybill's page: paper `paperMm` (width × length) in true millimetres, no margins.
QPageLayout WaybillPageLayout(const QSizeF& paperMm);

// Writes every job as the next file waybill-00001.pdf, … in a folder, at
// 600 dpi, as the only and default printer. Like a printer's spooler it
// writes the files on worker threads; the queue is the jobs not yet written.
class PdfFilePrinters : public PrinterBackend
{
public:
    explicit PdfFilePrinters(QString folder);
    ~PdfFilePrinters() override;
    QStringList printerNames() override;
    QString defaultPrinter() override;
    int queueLength(const QString& printer) override;
    // nullptr also when an earlier file could not be written.
    std::unique_ptr<PrintJob> beginJob(const QString& title, const QSizeF& paperMm) override;
    // Waits until every job is written.
    void waitUntilWritten();
    // The file of the last job, once written.
    QString lastFile();

    struct Spool; // the worker threads and their counts

private:
    QString m_folder;
    QString m_lastFile;
    int m_next = 0;
    std::unique_ptr<Spool> m_spool;
};

// Number of jobs in the default printer's queue, or -1; without a default
// printer shows "没有默认的打印机，不能打印" and gives -1.
int DefaultPrinterJobs();
bool PrintersExist();
