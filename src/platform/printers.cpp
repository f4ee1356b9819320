#include "platform/printers.h"

#include "platform/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QThreadPool>
#include <atomic>
#include <utility>

namespace {

PrinterBackend* g_installed = nullptr;

QPageSize customPage(const QSizeF& paperMm)
{
    // Printers refuse pages of nothing; a waybill is never below 10 mm.
    const QSizeF size(qMax(paperMm.width(), 10.0), qMax(paperMm.height(), 10.0));
    return QPageSize(size, QPageSize::Millimeter, QStringLiteral("Waybill"), QPageSize::ExactMatch);
}

// Answers what a page of the job will measure, without a device behind it.
class PageMetrics : public QPaintDevice
{
public:
    PageMetrics(const QPageLayout& layout, int dpi)
        : m_layout(layout), m_dots(layout.paintRectPixels(dpi).size()), m_dpi(dpi)
    {
    }
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_dots.width();
        case PdmHeight:
            return m_dots.height();
        case PdmWidthMM:
            return qRound(m_layout.paintRect(QPageLayout::Millimeter).width());
        case PdmHeightMM:
            return qRound(m_layout.paintRect(QPageLayout::Millimeter).height());
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    QPageLayout m_layout;
    QSize m_dots;
    int m_dpi;
};

bool writePdf(const QString& file, const QString& title, const QPageLayout& layout,
              const PrintJob::Paint& paint)
{
    QPdfWriter writer(file);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("凯维快递单打印系统"));
    writer.setResolution(600);
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    paint(painter);
    return painter.end();
}

// No printer at all: a tool without a desktop, or a desk before the system's
// printers were installed.
class NoPrinters : public PrinterBackend
{
public:
    QStringList printerNames() override { return {}; }
    QString defaultPrinter() override { return {}; }
    int queueLength(const QString&) override { return -1; }
    std::unique_ptr<PrintJob> beginJob(const QString&, const QSizeF&) override { return nullptr; }
};

PrinterBackend* g_system = nullptr;

} // namespace

struct PdfFilePrinters::Spool
{
    QThreadPool pool;
    std::atomic<int> waiting{0};
    std::atomic<bool> failed{false};
};

namespace {

class SpooledPdfJob : public PrintJob
{
public:
    SpooledPdfJob(QString file, QString title, const QSizeF& paperMm, PdfFilePrinters::Spool& spool)
        : m_file(std::move(file)), m_title(std::move(title)), m_layout(WaybillPageLayout(paperMm)),
          m_metrics(m_layout, 600), m_spool(spool)
    {
    }
    const QPaintDevice& metrics() const override { return m_metrics; }
    bool print(const Paint& paint) override
    {
        ++m_spool.waiting;
        m_spool.pool.start(
            [file = m_file, title = m_title, layout = m_layout, paint, &spool = m_spool] {
                if (!writePdf(file, title, layout, paint)) {
                    QFile::remove(file);
                    spool.failed = true;
                }
                --spool.waiting;
            });
        return true;
    }

private:
    QString m_file;
    QString m_title;
    QPageLayout m_layout;
    PageMetrics m_metrics;
    PdfFilePrinters::Spool& m_spool;
};

} // namespace

PdfFilePrinters::PdfFilePrinters(QString folder)
    : m_folder(std::move(folder)), m_spool(std::make_unique<Spool>())
{
}

PdfFilePrinters::~PdfFilePrinters()
{
    waitUntilWritten();
}

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
    return m_spool->waiting;
}

std::unique_ptr<PrintJob> PdfFilePrinters::beginJob(const QString& title, const QSizeF& paperMm)
{
    // A file that could not be written fails the next job, as a printer in
    // error refuses the next one.
    if (m_spool->failed.exchange(false))
        return nullptr;
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return nullptr;
    // Continue after the files already there, so no job replaces another;
    // the empty file holds the name until the spooler writes it.
    QString file;
    do {
        file =
            dir.filePath(QStringLiteral("waybill-%1.pdf").arg(++m_next, 5, 10, QLatin1Char('0')));
    } while (QFile::exists(file));
    QFile claim(file);
    if (!claim.open(QIODevice::WriteOnly))
        return nullptr;
    claim.close();
    m_lastFile = file;
    return std::make_unique<SpooledPdfJob>(file, title, paperMm, *m_spool);
}

void PdfFilePrinters::waitUntilWritten()
{
    m_spool->pool.waitForDone();
}

QString PdfFilePrinters::lastFile()
{
    waitUntilWritten();
    return m_lastFile;
}

double PrintJob::dotsPerInchX() const
{
    return metrics().logicalDpiX();
}

double PrintJob::dotsPerInchY() const
{
    return metrics().logicalDpiY();
}

PrinterBackend& CurrentPrinters()
{
    if (g_installed)
        return *g_installed;
    const QString folder = qEnvironmentVariable("KWFAST_PDF_PRINTER");
    if (!folder.isEmpty()) {
        static PdfFilePrinters pdf(folder);
        // Files still spooling are finished while the fonts are still there.
        static const bool waits = [] {
            if (QCoreApplication::instance())
                QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                                 [] { pdf.waitUntilWritten(); });
            return true;
        }();
        Q_UNUSED(waits);
        return pdf;
    }
    static NoPrinters none;
    return g_system ? *g_system : none;
}

void SetSystemPrinters(PrinterBackend* backend)
{
    g_system = backend;
}

QPageLayout WaybillPageLayout(const QSizeF& paperMm)
{
    return QPageLayout(customPage(paperMm), QPageLayout::Portrait, QMarginsF());
}

PrinterBackend* SetPrinterBackend(PrinterBackend* backend)
{
    return std::exchange(g_installed, backend);
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
