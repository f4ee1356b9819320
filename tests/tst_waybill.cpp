#include "data/connection.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "model/courier.h"
#include "model/renderer.h"
#include "pdf_text.h"
#include "platform/printers.h"
#include "scripted_prompter.h"
#include "seam_guards.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "waybill/waybill_view.h"

#include <QLabel>
#include <cmath>
#include <csignal>
#include <sys/resource.h>

#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class WaybillTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void breakFieldText_data();
    void breakFieldText();
    void positionsAndOffsets();
    void fontSizeAndLineLength_data();
    void fontSizeAndLineLength();
    void postcodes();
    void fixedCorner();
    void paper();
    void printsAndMarksTheRecord();
    void printedTextReadsAsTyped_data();
    void printedTextReadsAsTyped();
    void printRefusals();
    void pictures();
    void defaultCourierRule();
    void catalogueAndPlacement();
    void viewOfTheWaybill();
};

namespace {

WaybillCourier courier()
{
    WaybillCourier c;
    c.fastId = QStringLiteral("240301000000");
    c.name = QStringLiteral("顺丰速运");
    c.widthMm = 230;
    c.heightMm = 127;
    c.topMm = 2.5;
    c.leftMm = -1.5;
    c.bottomMm = 4;
    return c;
}

WaybillField field(const char* name, double left, double top, double size = 10, double number = 25)
{
    WaybillField f;
    f.fieldName = QString::fromLatin1(name);
    f.tableName = QStringLiteral("SYS_CLIENT_FIELD_TABLE");
    f.fontName = QStringLiteral("宋体");
    f.fontSize = size;
    f.leftMm = left;
    f.topMm = top;
    f.fontNumber = number;
    return f;
}

WaybillValue values(QHash<QString, QString> v)
{
    return [v](const WaybillField& f) { return v.value(f.fieldName); };
}

// A 600 dpi page to measure fonts on, like the PDF printer.
struct Page
{
    QTemporaryDir dir;
    QPdfWriter writer{dir.filePath(QStringLiteral("m.pdf"))};
    Page() { writer.setResolution(600); }
};

void insertPrintField(const QString& fastId, const char* id, const char* name, double left,
                      double top, const char* table = "SYS_CLIENT_FIELD_TABLE",
                      const QString& font = QStringLiteral("仿宋"))
{
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_FAST_NAME_PRINT_TABLE(FIELD_RECORD_ID,FAST_ID,"
                                  "FIELD_NAME,FIELD_TABLE_NAME,FIELD_FONT_NAME,FIELD_FONT_SIZE,"
                                  "FIELD_NAME_LEFT,FIELD_NAME_TOP,FIELD_FONT_NUMBER) VALUES("
                                  "'%1','%2','%3','%4','%7',12,%5,%6,25)")
                       .arg(QString::fromLatin1(id), fastId, QString::fromLatin1(name),
                            QString::fromLatin1(table))
                       .arg(left)
                       .arg(top)
                       .arg(font)));
}

// Files may not grow past `bytes` while it lives: a full disk, which root
// cannot write past either.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

void WaybillTest::breakFieldText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("lines");
    QTest::newRow("ascii") << "ABCDEFGHIJKLMNOPQRSTUVWXYZ" << 10 << "ABCDEFGHIJ|KLMNOPQRST|UVWXYZ";
    QTest::newRow("chinese") << "北京市海淀区中关村大街一号院" << 10
                             << "北京市海淀|区中关村大|街一号院";
    QTest::newRow("one byte more")
        << "A北京市海淀区中关村大街" << 10 << "A北京市海淀|区中关村大|街";
    QTest::newRow("m + 1 bytes stay") << "ABCDEFGHIJK" << 10 << "ABCDEFGHIJK";
    QTest::newRow("never inside a character") << "A北京市海淀1号楼" << 10 << "A北京市海淀|1号楼";
    QTest::newRow("fifty bytes") << QString(30, QChar(0x4E2D)) << 50
                                 << QString(25, QChar(0x4E2D)) + "|" + QString(5, QChar(0x4E2D));
}

void WaybillTest::breakFieldText()
{
    QFETCH(QString, value);
    QFETCH(int, bytes);
    QFETCH(QString, lines);
    QCOMPARE(BreakFieldText(value, bytes).replace(QStringLiteral("\r\n"), QStringLiteral("|")),
             lines);
}

void WaybillTest::positionsAndOffsets()
{
    Page page;
    const WaybillCourier c = courier();
    const QList<WaybillField> fields{field("CLIENT_NAME", 30, 40)};
    const auto v = values({{QStringLiteral("CLIENT_NAME"), QStringLiteral("张三")}});
    const WaybillScale printer = WaybillScale::printer(600, 600);
    QList<WaybillRun> runs =
        ComputeWaybillRuns(c, fields, v, printer, WaybillMode::Printer, &page.writer);
    QCOMPARE(runs.size(), 1);
    // 40 mm + 2.5 mm down, 30 mm − 1.5 mm right, each rounded on its own.
    QCOMPARE(runs[0].topLeft, QPoint(709 - 35, 945 + 59));
    QCOMPARE(runs[0].text, QStringLiteral("张三"));
    QCOMPARE(runs[0].pointSize, 10);

    // The screen draws at 25 pixels per inch-millimetre and never adds offsets.
    runs = ComputeWaybillRuns(c, fields, v, WaybillScale::screen(96, 96), WaybillMode::Preview,
                              &page.writer);
    QCOMPARE(runs[0].topLeft, QPoint(115, 154));
    QCOMPARE(runs[0].pointSize, 9);
}

void WaybillTest::fontSizeAndLineLength_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("expectedSize");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("firstLineChars");
    QTest::newRow("printer 4 pt") << int(WaybillMode::Printer) << 4.0 << 9 << 25.0 << 50;
    QTest::newRow("screen 5 pt") << int(WaybillMode::Preview) << 5.0 << 9 << 5.0 << 10;
    QTest::newRow("screen 6 pt") << int(WaybillMode::Preview) << 6.0 << 5 << 4.0 << 10;
    QTest::newRow("no characters per line") << int(WaybillMode::Printer) << 10.0 << 10 << 0.0 << 10;
}

void WaybillTest::fontSizeAndLineLength()
{
    QFETCH(int, mode);
    QFETCH(double, size);
    QFETCH(int, expectedSize);
    QFETCH(double, number);
    QFETCH(int, firstLineChars);
    Page page;
    const auto v = values({{QStringLiteral("TEXT_NOTE"), QString(80, QLatin1Char('x'))}});
    // A small scale keeps the right edge far away: only the byte rule breaks.
    const QList<WaybillRun> runs =
        ComputeWaybillRuns(courier(), {field("TEXT_NOTE", 1, 1, size, number)}, v,
                           WaybillScale{1, 1}, WaybillMode(mode), &page.writer);
    QVERIFY(!runs.isEmpty());
    QCOMPARE(runs[0].pointSize, expectedSize);
    QCOMPARE(runs[0].text.size(), firstLineChars);
}

void WaybillTest::postcodes()
{
    Page page;
    WaybillField code = field("CLIENT_POSTCODE", 10, 10);
    const WaybillScale dots360 = WaybillScale::printer(360, 360);
    auto v = values({{QStringLiteral("CLIENT_POSTCODE"), QStringLiteral("100086")},
                     {QStringLiteral("CLIENT_POSTCODE_WIDTH"), QStringLiteral("5")}});
    WaybillCourier c = courier();
    c.leftMm = 0;
    QList<WaybillRun> runs =
        ComputeWaybillRuns(c, {code}, v, dots360, WaybillMode::Printer, &page.writer);
    QCOMPARE(runs.size(), 6);
    const int x = 142; // round(10 mm × 14.173)
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(runs[k - 1].topLeft.x(), x + k * 71);
    QCOMPARE(runs[5].text, QStringLiteral("6"));

    // The screen spaces them alike, in its own pixels.
    runs = ComputeWaybillRuns(c, {code}, v, WaybillScale::screen(96, 96), WaybillMode::ScreenFull,
                              &page.writer);
    QCOMPARE(runs.size(), 6);
    QCOMPARE(runs[1].topLeft.x() - runs[0].topLeft.x(), 19); // round(5 mm × 3.84)

    v = values({{QStringLiteral("CLIENT_POSTCODE"), QString()}});
    QVERIFY(
        ComputeWaybillRuns(c, {code}, v, dots360, WaybillMode::Printer, &page.writer).isEmpty());
    // Spacing 0 puts every digit at x.
    code.fieldName = QStringLiteral("COMPANY_POSTCODE");
    code.tableName = QStringLiteral("SYS_COMPANY_TABLE");
    v = values({{QStringLiteral("COMPANY_POSTCODE"), QStringLiteral("200")}});
    runs = ComputeWaybillRuns(c, {code}, v, dots360, WaybillMode::Printer, &page.writer);
    QCOMPARE(runs.size(), 3);
    QCOMPARE(runs[2].topLeft.x(), x);
}

void WaybillTest::fixedCorner()
{
    Page page; // A4 at 600 dpi: 4961 × 7016 dots
    const auto v = values({{QStringLiteral("CLIENT_NAME"), QStringLiteral("张三")}});
    WaybillCourier c = courier();
    c.leftMm = 0;
    c.topMm = 0;
    const WaybillScale dots600 = WaybillScale::printer(600, 600);
    // On paper the rectangle reaches the page's far corner, not 2500 dots (105.8 mm).
    QCOMPARE(ComputeWaybillRuns(c, {field("CLIENT_NAME", 150, 10)}, v, dots600,
                                WaybillMode::Printer, &page.writer)
                 .size(),
             1);
    QVERIFY(ComputeWaybillRuns(c, {field("CLIENT_NAME", 211, 10)}, v, dots600, WaybillMode::Printer,
                               &page.writer)
                .isEmpty());
    // A last line only partly inside the rectangle is dropped.
    QVERIFY(ComputeWaybillRuns(c, {field("CLIENT_NAME", 10, 296.5)}, v, dots600,
                               WaybillMode::Printer, &page.writer)
                .isEmpty());
    // On screen the corner is 2500 pixels, 5000 for the print window's full drawing.
    const WaybillScale five{5, 5};
    QVERIFY(ComputeWaybillRuns(c, {field("CLIENT_NAME", 700, 10)}, v, five, WaybillMode::Preview,
                               &page.writer)
                .isEmpty());
    QCOMPARE(ComputeWaybillRuns(c, {field("CLIENT_NAME", 700, 10)}, v, five,
                                WaybillMode::ScreenFull, &page.writer)
                 .size(),
             1);
}

void WaybillTest::paper()
{
    const WaybillCourier c = courier();
    QCOMPARE(ApplyWaybillPaper(c, PaperVariant::Single), QSizeF(250, 151));
    QCOMPARE(ApplyWaybillPaper(c, PaperVariant::Batch), QSizeF(230, 131));
}

void WaybillTest::printsAndMarksTheRecord()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QTemporaryDir out;
    PdfFilePrinters pdf(out.path());
    PrinterBackendGuard printers(&pdf);
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,"
                                                 "COMPANY_NAME,COMPANY_POSTCODE,"
                                                 "COMPANY_POSTCODE_WIDTH) VALUES('000001',"
                                                 "'凯维','200000',4)")));
    QVERIFY(
        RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                             "CLIENT_NAME,STATUS) VALUES('1','张三','未打单')")));
    const WaybillCourier c = courier();
    insertPrintField(c.fastId, "f1", "CLIENT_NAME", 30, 40);
    insertPrintField(c.fastId, "f2", "COMPANY_NAME", 30, 20, "SYS_COMPANY_TABLE");

    TKWQuery records;
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    records.VerifyName = QStringLiteral("王五");
    records.VerifyDate = QStringLiteral("2024-03-05");
    records.OpenData();
    QVERIFY(PrintOneWaybill(records, c, ReadSenderRow(), PaperVariant::Single));
    QCOMPARE(QFileInfo(pdf.lastFile()).fileName(), QStringLiteral("waybill-00001.pdf"));
    QCOMPARE(
        GetSQLValue(kDatabaseName, QStringLiteral("SELECT STATUS || VERIFY_NAME || VERIFY_DATE "
                                                  "FROM KW_CLIENT_TABLE")),
        QStringLiteral("已打单王五2024-03-05"));
    // The page is the single-print paper in true millimetres: 250 × 151 mm.
    QFile file(pdf.lastFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = file.readAll();
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"))
            .match(QString::fromLatin1(pdfBytes));
    QVERIFY(box.hasMatch());
    QVERIFY(qAbs(box.captured(1).toDouble() - 250 / 25.4 * 72) < 1);
    QVERIFY(qAbs(box.captured(2).toDouble() - 151 / 25.4 * 72) < 1);

    // Printed already: asked; No prints nothing.
    prompts.answers.enqueue(false);
    QVERIFY(!PrintOneWaybill(records, c, ReadSenderRow(), PaperVariant::Single));
    QCOMPARE(prompts.takeTexts(),
             QStringList{QStringLiteral("该快递单的打单状态是 已打单，是否打印 ?")});
    // The batch asks nothing and writes the next file.
    QVERIFY(PrintOneWaybill(records, c, ReadSenderRow(), PaperVariant::Batch));
    QCOMPARE(QFileInfo(pdf.lastFile()).fileName(), QStringLiteral("waybill-00002.pdf"));
    QVERIFY(prompts.shown.isEmpty());
}

void WaybillTest::printedTextReadsAsTyped_data()
{
    QTest::addColumn<QString>("font");
    QTest::newRow("宋体") << QStringLiteral("宋体");
    QTest::newRow("黑体") << QStringLiteral("黑体");
    QTest::newRow("仿宋_GB231") << QStringLiteral("仿宋_GB231");
}

void WaybillTest::printedTextReadsAsTyped()
{
    QFETCH(QString, font);
    TestDatabase db;
    ScriptedPrompter prompts;
    QTemporaryDir out;
    PdfFilePrinters pdf(out.path());
    PrinterBackendGuard printers(&pdf);
    // Each of 大 广 门 胶 shares its glyph with a radical or a rarer
    // character of a lower code point in one of the installed faces.
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,"
                                                 "COMPANY_PROVINCE) VALUES('000001','广东')")));
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CLIENT_ADD,STATUS) VALUES('1','北京市海淀区"
                                                 "中关村大街27号东门胶州路','未打单')")));
    const WaybillCourier c = courier();
    insertPrintField(c.fastId, "f1", "CLIENT_ADD", 30, 40, "SYS_CLIENT_FIELD_TABLE", font);
    insertPrintField(c.fastId, "f2", "COMPANY_PROVINCE", 30, 20, "SYS_COMPANY_TABLE", font);
    TKWQuery records;
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    records.OpenData();
    QVERIFY(PrintOneWaybill(records, c, ReadSenderRow(), PaperVariant::Batch));
    pdf.waitUntilWritten();
    const QString text = PdfText(pdf.lastFile());
    QVERIFY2(text.contains(QStringLiteral("北京市海淀区中关村大街27号东门胶州路")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("广东")), qPrintable(text));
}

void WaybillTest::printRefusals()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    class NoPrinters : public PdfFilePrinters
    {
    public:
        using PdfFilePrinters::PdfFilePrinters;
        QStringList printerNames() override { return {}; }
        QString defaultPrinter() override { return {}; }
    };
    QTemporaryDir out;
    NoPrinters none(out.path());
    PrinterBackendGuard printers(&none);
    QVERIFY(!PrintersExist());
    QCOMPARE(DefaultPrinterJobs(), -1);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("没有默认的打印机，不能打印")});

    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "STATUS) VALUES('1','未打单')")));
    TKWQuery records;
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    records.OpenData();
    QVERIFY(!PrintOneWaybill(records, courier(), {}, PaperVariant::Single));
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("没有安装打印机")});

    // A field the record lacks stops the print; nothing is written, the status stays.
    PdfFilePrinters pdf(out.path());
    PrinterBackendGuard printers2(&pdf);
    insertPrintField(courier().fastId, "f1", "NO_SUCH_FIELD", 10, 10);
    QVERIFY_THROWS_EXCEPTION(KWError, PrintOneWaybill(records, courier(), {}, PaperVariant::Batch));
    QVERIFY(QDir(out.path()).isEmpty());
    QCOMPARE(records.FieldText(QStringLiteral("STATUS")), QStringLiteral("未打单"));
}

void WaybillTest::pictures()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.DBPath = db.dbPath();
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, QStringLiteral("王五"), QStringLiteral("2024-03-05"));
    couriers.OpenData();
    couriers.AppendData();
    couriers.SetFieldText(QStringLiteral("FAST_NAME"), QStringLiteral("顺丰"));
    couriers.SaveData();
    const QString fastId = couriers.FieldText(QStringLiteral("FAST_ID"));

    QTemporaryDir dir;
    QImage blank(40, 20, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const QString jpeg = dir.filePath(QStringLiteral("form.jpeg"));
    const QString bmp = dir.filePath(QStringLiteral("form.Bmp"));
    const QString gif = dir.filePath(QStringLiteral("form.gif"));
    QVERIFY(blank.save(jpeg, "JPEG"));
    QVERIFY(blank.save(bmp, "BMP"));
    QFile(bmp).copy(gif);
    // A text file named like a scan.
    const QString fake = dir.filePath(QStringLiteral("fake.jpg"));
    QFile fakeFile(fake);
    QVERIFY(fakeFile.open(QIODevice::WriteOnly));
    fakeFile.write("not a picture");
    fakeFile.close();
    // A good scan too large for the disk.
    QImage noise(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x * y) % 256));
    const QString large = dir.filePath(QStringLiteral("large.jpg"));
    QVERIFY(noise.save(large, "JPEG", 100));
    QVERIFY(QFileInfo(large).size() > 16384);

    struct Case
    {
        QString file;
        QString stored;
        QStringList messages;
        rlim_t diskBytes = RLIM_INFINITY;
    };
    // Every refusal keeps the picture stored before it.
    const Case cases[] = {
        {jpeg, QStringLiteral(".JPEG"), {}},
        {bmp, QStringLiteral(".BMP"), {}},
        {gif, QStringLiteral(".BMP"), {QStringLiteral("图片格式必须是: BMP 、JPG 或 JPEG 格式")}},
        {fake, QStringLiteral(".BMP"), {QStringLiteral("快递单图片装载过程发生错误")}},
        {large, QStringLiteral(".BMP"), {QStringLiteral("图片文件保存过程发生错误")}, 16384},
    };
    for (const Case& c : cases) {
        prompts.paths.enqueue(c.file);
        {
            const FileSizeLimit disk(c.diskBytes);
            LoadCourierPicture(couriers, AppGlobals.DBPath);
        }
        QCOMPARE(prompts.takeTexts(), c.messages);
        QCOMPARE(couriers.FieldText(QStringLiteral("PICTURE_EXTNAME")), c.stored);
        QCOMPARE(ReadCourierPicture(CourierFromRow(couriers), AppGlobals.DBPath).size(),
                 QSize(40, 20));
        QCOMPARE(prompts.takeTexts(), QStringList());
    }
    // Nothing is left beside the picture.
    QCOMPARE(QDir(db.dbPath()).entryList({fastId + QLatin1Char('*')}, QDir::Files),
             QStringList{fastId});
    // A picture that cannot be decoded is reported.
    QFile broken(CourierPicturePath(AppGlobals.DBPath, fastId));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a bitmap");
    broken.close();
    bool failed = false;
    QVERIFY(ReadCourierPicture(CourierFromRow(couriers), AppGlobals.DBPath, &failed).isNull());
    QVERIFY(failed);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("快递单图片装载过程发生错误")});
    DeleteCourierPicture(AppGlobals.DBPath, fastId);
    QVERIFY(ReadCourierPicture(CourierFromRow(couriers), AppGlobals.DBPath).isNull());
    QVERIFY(prompts.shown.isEmpty());
}

void WaybillTest::defaultCourierRule()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, QStringLiteral("王五"), QStringLiteral("2024-03-05"));
    couriers.OpenData();
    const QString names[] = {QStringLiteral("顺丰"), QStringLiteral("圆通")};
    for (int i = 0; i < 2; ++i) {
        couriers.AppendData();
        QCOMPARE(couriers.FieldText(QStringLiteral("FAST_DEFAULT")), QStringLiteral("否"));
        QCOMPARE(couriers.FieldText(QStringLiteral("FAST_NAME_WIDTH")), QStringLiteral("220"));
        couriers.SetFieldText(QStringLiteral("FAST_NAME"), names[i]);
        couriers.SetFieldText(QStringLiteral("FAST_ID"), QString::number(i + 1));
        couriers.SetFieldText(QStringLiteral("FAST_DEFAULT"), QStringLiteral("是"));
        if (i == 0) {
            couriers.SaveData();
        } else {
            QVERIFY_THROWS_EXCEPTION(SilentAbort, couriers.SaveData());
            QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("只能有一个默认的快递")});
            QCOMPARE(couriers.State(), TDataSetState::dsInsert);
            couriers.SetFieldText(QStringLiteral("FAST_DEFAULT"), QStringLiteral("否"));
            couriers.SaveData();
        }
    }
    QCOMPARE(DefaultCourierName(), QStringLiteral("顺丰"));
    couriers.AppendData();
    couriers.SetFieldText(QStringLiteral("FAST_NAME"), QStringLiteral("圆通"));
    couriers.SetFieldText(QStringLiteral("FAST_ID"), QStringLiteral("3"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, couriers.SaveData());
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("快递名称名称重复")});
    couriers.CancelData();
}

void WaybillTest::catalogueAndPlacement()
{
    TestDatabase db;
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_CLIENT_FIELD_TABLE(FIELD_NAME,"
                                                 "FIELD_DISPLAY_NAME,FIELD_ORDER) VALUES "
                                                 "('CLIENT_ADD','收件地址',2),"
                                                 "('CLIENT_NAME','收件人',1)")));
    const QList<PrintableField> catalogue = PrintableFieldCatalogue();
    QCOMPARE(catalogue.size(), 10);
    QCOMPARE(catalogue[0].displayName, QStringLiteral("收件人"));
    QCOMPARE(catalogue[1].fieldName, QStringLiteral("CLIENT_ADD"));
    QCOMPARE(catalogue[2].fieldName, QStringLiteral("COMPANY_EMPLOYEE_NAME"));
    QCOMPARE(catalogue[9].displayName, QStringLiteral("发件省份"));
    QCOMPARE(catalogue[9].tableName, QStringLiteral("SYS_COMPANY_TABLE"));

    QPoint point(20, 20);
    QCOMPARE(NextAutoPlacement(point), QPoint(40, 40));
    for (int i = 0; i < 13; ++i)
        NextAutoPlacement(point);
    QCOMPARE(point, QPoint(300, 300));
    QCOMPARE(NextAutoPlacement(point), QPoint(30, 30));
}

void WaybillTest::viewOfTheWaybill()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.DBPath = db.dbPath();
    const WaybillScale scale = ScreenWaybillScale();
    LayoutWaybillView view;
    view.resize(1200, 800);
    view.show();
    WaybillCourier c = courier();
    c.pictureExt = QStringLiteral(".BMP");
    view.ShowCourier(c);
    const int pw = qRound(230 * scale.x);
    const int ph = qRound(127 * scale.y);
    QCOMPARE(view.panel()->size(), QSize(pw + 10, ph + 10));
    QCOMPARE(view.overlay()->geometry(), QRect(5, 5, pw, ph));
    QVERIFY(!view.picture()->isVisible()); // no picture file: a blank waybill
    const QSize viewport = view.viewport()->size();
    // Centred, halves rounded to even like every screen conversion.
    const auto half = [](int room) { return int(std::nearbyint(room / 2.0)); };
    QCOMPARE(view.panel()->pos(), QPoint(qMax(0, half(viewport.width() - pw - 10)),
                                         qMax(0, half(viewport.height() - ph - 10) - 5)));

    QImage blank(100, 50, QImage::Format_RGB32);
    blank.fill(Qt::gray);
    QVERIFY(blank.save(CourierPicturePath(AppGlobals.DBPath, c.fastId), "BMP"));
    view.ShowCourier(c);
    QVERIFY(view.picture()->isVisible());
    QCOMPARE(view.picture()->geometry(), QRect(5, 5, pw, ph)); // stretched to the waybill

    const auto v = values({{QStringLiteral("CLIENT_NAME"), QStringLiteral("张三")}});
    view.DrawRecord({field("CLIENT_NAME", 30, 40)}, v, WaybillMode::ScreenFull);
    QCOMPARE(view.runs().size(), 1);
    QCOMPARE(view.runs()[0].topLeft, QPoint(qRound(30 * scale.x), qRound(40 * scale.y)));
    view.ClearOverlay();
    QVERIFY(view.runs().isEmpty());
    QVERIFY(prompts.shown.isEmpty());
}

QTEST_MAIN(WaybillTest)
#include "tst_waybill.moc"
