// Prints 1 000 waybills of 20 fields each (Chinese addresses with line
// breaks, two postcodes) through the PDF-file printer, one job per waybill,
// and reports the rate.
#include "bench_setup.h"

#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "platform/config.h"
#include "platform/printers.h"
#include "platform/prompts.h"
#include "model/courier.h"
#include "model/demo_data.h"
#include "model/renderer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// A smaller run for profiling: BENCH_WAYBILLS=50.
const int kWaybills = qEnvironmentVariableIntValue("BENCH_WAYBILLS") > 0
                          ? qEnvironmentVariableIntValue("BENCH_WAYBILLS")
                          : 1000;
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir home;
    if (!OpenBenchDatabase(home, true))
        return 1;

    RunSQL(kDatabaseName,
           QStringLiteral(
               "INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,COMPANY_NAME,COMPANY_EMPLOYEE_NAME,"
               "COMPANY_ADDRESS,COMPANY_POSTCODE,COMPANY_PHONE,COMPANY_POSTCODE_WIDTH) "
               "VALUES('000001',"
               "'凯维贸易有限公司','李四','上海市徐汇区漕溪北路88号圣爱大厦1808室','200030',"
               "'021-64871234',3)"));
    // The demo layout has 15 fields; five more make the 20 of a full form.
    const QString fastId = QStringLiteral("240101090000");
    const char* extra[] = {"CLIENT_NAME", "CLIENT_ADD", "FAST_NAME", "FAST_ID", "TEXT_FIELD1"};
    for (int i = 0; i < 5; ++i)
        RunSQL(kDatabaseName,
               QStringLiteral("INSERT INTO KW_FAST_NAME_PRINT_TABLE(FIELD_RECORD_ID,FAST_ID,"
                              "FIELD_NAME,FIELD_FONT_NAME,FIELD_FONT_SIZE,FIELD_NAME_LEFT,"
                              "FIELD_NAME_TOP,FIELD_FONT_NUMBER) VALUES('bench%1','%2','%3',"
                              "'宋体',9,%4,%5,12)")
                   .arg(i)
                   .arg(fastId, QString::fromLatin1(extra[i]))
                   .arg(120 + i * 20)
                   .arg(108));
    // 1 000 records made from the demo ones.
    for (int i = 0; i < kWaybills / 30 + 1; ++i)
        RunSQL(kDatabaseName,
               QStringLiteral("INSERT INTO KW_CLIENT_TABLE SELECT 'B%1' || SUBSTR(CLIENT_RECORD_ID,"
                              " 2), CLIENT_ORDER_ID, CLIENT_ORDER_DATE, CLIENT_NAME, CLIENT_PHONE,"
                              " CLIENT_HANDSET_PHONE, CLIENT_ADD || '东门传达室转交', "
                              "CLIENT_POSTCODE, FAST_NAME, FAST_ID, FAST_MONEY, "
                              "CLIENT_EMPLOYEE_NAME, DATE_FIELD1, DATE_FIELD2, DATE_FIELD3, "
                              "TEXT_FIELD1, TEXT_FIELD2, TEXT_FIELD3, TEXT_FIELD4, TEXT_FIELD5, "
                              "TEXT_FIELD6, TEXT_FIELD7, TEXT_FIELD8, TEXT_FIELD9, TEXT_NOTE, "
                              "NUMBER_FIELD1, NUMBER_FIELD2, NUMBER_FIELD3, "
                              "CLIENT_POSTCODE_WIDTH, '未打单', NULL, NULL, EDIT_NAME, EDIT_DATE,"
                              " CREATE_NAME, CREATE_DATE FROM KW_CLIENT_TABLE WHERE "
                              "CLIENT_RECORD_ID NOT LIKE 'B%'")
                   .arg(i, 3, 10, QLatin1Char('0')));

    TKWQuery records;
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    records.SQL = QStringLiteral("SELECT * FROM KW_CLIENT_TABLE WHERE CLIENT_RECORD_ID LIKE 'B%'");
    records.VerifyName = QStringLiteral("王五");
    records.VerifyDate = QStringLiteral("2024-03-05");
    records.OpenData();
    const WaybillCourier courier = CourierByName(QStringLiteral("顺丰速运"));
    const auto sender = ReadSenderRow();
    std::printf("fields per waybill: %lld, records: %d\n",
                static_cast<long long>(ReadPrintFields(courier.fastId).size()),
                records.RecordCount());

    const QString out = home.filePath(QStringLiteral("pdf"));
    PdfFilePrinters pdf(out);
    SetPrinterBackend(&pdf);
    QElapsedTimer timer;
    // The drawing alone, without the status written back to the database.
    const QList<WaybillField> fields = ReadPrintFields(courier.fastId);
    timer.start();
    records.First();
    for (int i = 0; i < qMin(200, kWaybills); ++i, records.Next()) {
        auto job =
            pdf.beginJob(QStringLiteral("bench"), ApplyWaybillPaper(courier, PaperVariant::Batch));
        const QList<WaybillRun> runs = ComputeWaybillRuns(
            courier, fields, RecordValues(records, sender),
            WaybillScale::printer(job->dotsPerInchX(), job->dotsPerInchY()), WaybillMode::Printer,
            &job->metrics());
        job->print([runs](QPainter& painter) { PaintWaybillRuns(painter, runs, Qt::black); });
    }
    pdf.waitUntilWritten();
    std::printf("drawing only: %.2f ms per waybill\n", timer.nsecsElapsed() / 1e6 / 200);
    timer.start();
    for (int i = 0; i < 200; ++i)
        pdf.beginJob(QStringLiteral("bench"), ApplyWaybillPaper(courier, PaperVariant::Batch))
            ->print([](QPainter&) {});
    pdf.waitUntilWritten();
    std::printf("empty pages: %.2f ms per waybill\n", timer.nsecsElapsed() / 1e6 / 200);
    {
        QPdfWriter metrics(home.filePath(QStringLiteral("metrics.pdf")));
        metrics.setResolution(600);
        timer.start();
        for (int i = 0; i < 200; ++i)
            ComputeWaybillRuns(courier, fields, RecordValues(records, sender),
                               WaybillScale::printer(600, 600), WaybillMode::Printer, &metrics);
        std::printf("placing the text only: %.2f ms per waybill\n",
                    timer.nsecsElapsed() / 1e6 / 200);
    }

    timer.start();
    int printed = 0;
    for (records.First(); printed < kWaybills; records.Next()) {
        PrintOneWaybill(records, courier, sender, PaperVariant::Batch);
        ++printed;
    }
    pdf.waitUntilWritten();
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%d waybills in %.2f s; last file %s\n", printed, seconds,
                qPrintable(QDir(out).relativeFilePath(pdf.lastFile())));
    if (argc > 1) // keep one sample: bench_waybills FILE
        QFile::copy(pdf.lastFile(), QString::fromLocal8Bit(argv[1]));
    std::printf("waybills_per_s=%.0f\n", printed / seconds);
    SetPrinterBackend(nullptr);
    CloseKWfastDataBase();
    return 0;
}
