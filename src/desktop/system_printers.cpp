#include "desktop/system_printers.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cups/cups.h>

namespace {

class SystemJob : public PrintJob
{
public:
    SystemJob(const QString& printer, const QString& title, const QSizeF& paperMm)
        : m_printer(QPrinter::HighResolution)
    {
        m_printer.setPrinterName(printer);
        m_printer.setDocName(title);
        m_printer.setFullPage(true);
        m_printer.setPageLayout(WaybillPageLayout(paperMm));
        m_painter.begin(&m_printer);
    }
    bool started() const { return m_painter.isActive(); }
    const QPaintDevice& metrics() const override { return m_printer; }
    bool print(const Paint& paint) override
    {
        paint(m_painter);
        return m_painter.end() && m_printer.printerState() != QPrinter::Error;
    }

private:
    QPrinter m_printer;
    QPainter m_painter;
};

} // namespace

QStringList SystemPrinters::printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString SystemPrinters::defaultPrinter()
{
    return QPrinterInfo::defaultPrinterName();
}

int SystemPrinters::queueLength(const QString& printer)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs(&jobs, printer.toUtf8().constData(), 0, CUPS_WHICHJOBS_ACTIVE);
    cupsFreeJobs(count > 0 ? count : 0, jobs);
    return count < 0 ? -1 : count;
}

std::unique_ptr<PrintJob> SystemPrinters::beginJob(const QString& title, const QSizeF& paperMm)
{
    const QString printer = defaultPrinter();
    if (printer.isEmpty())
        return nullptr;
    auto job = std::make_unique<SystemJob>(printer, title, paperMm);
    if (!job->started())
        return nullptr;
    return job;
}
