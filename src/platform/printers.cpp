#include "platform/printers.h"

#include "platform/prompts.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cups/cups.h>

namespace {

PrinterBackend* g_installed = nullptr;

QPageSize customPage(const QSizeF& paperMm)
{
    // Printers refuse pages of nothing; a waybill is never below 10 mm.
    const QSizeF size(qMax(paperMm.width(), 10.0), qMax(paperMm.height(), 10.0));
    return QPageSize(size, QPageSize::Millimeter, QStringLiteral("Waybill"), QPageSize::ExactMatch);
}

class PdfJob : public PrintJob
{
public:
    PdfJob(const QString& file, const QString& title, const QSizeF& paperMm) : m_writer(file)
    {
        m_writer.setTitle(title);
        m_writer.setCreator(QStringLiteral("凯维快递单打印系统"));
        m_writer.setResolution(600);
        m_writer.setPageLayout(
            QPageLayout(customPage(paperMm), QPageLayout::Portrait, QMarginsF()));
        m_painter.begin(&m_writer);
    }
    bool started() const { return m_painter.isActive(); }
    QPainter& painter() override { return m_painter; }
    double dotsPerInchX() const override { return m_writer.logicalDpiX(); }
    double dotsPerInchY() const override { return m_writer.logicalDpiY(); }
    bool end() override { return m_painter.end(); }

private:
    QPdfWriter m_writer;
    QPainter m_painter;
};

class SystemJob : public PrintJob
{
public:
    SystemJob(const QString& printer, const QString& title, const QSizeF& paperMm)
        : m_printer(QPrinter::HighResolution)
    {
        m_printer.setPrinterName(printer);
        m_printer.setDocName(title);
        m_printer.setFullPage(true);
        m_printer.setPageLayout(
            QPageLayout(customPage(paperMm), QPageLayout::Portrait, QMarginsF()));
        m_painter.begin(&m_printer);
    }
    bool started() const { return m_painter.isActive(); }
    QPainter& painter() override { return m_painter; }
    double dotsPerInchX() const override { return m_printer.logicalDpiX(); }
    double dotsPerInchY() const override { return m_printer.logicalDpiY(); }
    bool end() override { return m_painter.end() && m_printer.printerState() != QPrinter::Error; }

private:
    QPrinter m_printer;
    QPainter m_painter;
};

class SystemPrinters : public PrinterBackend
{
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinter() override { return QPrinterInfo::defaultPrinterName(); }
    int queueLength(const QString& printer) override
    {
        cups_job_t* jobs = nullptr;
        const int count =
            cupsGetJobs(&jobs, printer.toUtf8().constData(), 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(count > 0 ? count : 0, jobs);
        return count < 0 ? -1 : count;
    }
    std::unique_ptr<PrintJob> beginJob(const QString& title, const QSizeF& paperMm) override
    {
        const QString printer = defaultPrinter();
        if (printer.isEmpty())
            return nullptr;
        auto job = std::make_unique<SystemJob>(printer, title, paperMm);
        if (!job->started())
            return nullptr;
        return job;
    }
};

} // namespace

PdfFilePrinters::PdfFilePrinters(QString folder) : m_folder(std::move(folder)) {}

QStringList PdfFilePrinters::printerNames()
{
    return {defaultPrinter()};
}

QString PdfFilePrinters::defaultPrinter()
{
    return QStringLiteral("PDF");
}

int PdfFilePrinters::queueLength(const QString&)
{
    return 0;
}

std::unique_ptr<PrintJob> PdfFilePrinters::beginJob(const QString& title, const QSizeF& paperMm)
{
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return nullptr;
    // Continue after the files already there, so no job replaces another.
    QString file;
    do {
        file =
            dir.filePath(QStringLiteral("waybill-%1.pdf").arg(++m_next, 5, 10, QLatin1Char('0')));
    } while (QFile::exists(file));
    auto job = std::make_unique<PdfJob>(file, title, paperMm);
    if (!job->started())
        return nullptr;
    m_lastFile = file;
    return job;
}

PrinterBackend& CurrentPrinters()
{
    if (g_installed)
        return *g_installed;
    const QString folder = qEnvironmentVariable("KWFAST_PDF_PRINTER");
    if (!folder.isEmpty()) {
        static PdfFilePrinters pdf(folder);
        return pdf;
    }
    static SystemPrinters system;
    return system;
}

void SetPrinterBackend(PrinterBackend* backend)
{
    g_installed = backend;
}

int DefaultPrinterJobs()
{
    PrinterBackend& printers = CurrentPrinters();
    const QString name = printers.defaultPrinter().left(80);
    if (name.isEmpty()) {
        CurrentPrompter().message(nullptr, Prompter::Icon::Warning, QStringLiteral("提示信息"),
                                  QStringLiteral("没有默认的打印机，不能打印"));
        return -1;
    }
    return printers.queueLength(name);
}

bool PrintersExist()
{
    return !CurrentPrinters().printerNames().isEmpty();
}
