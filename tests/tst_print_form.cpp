#include "app/application.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/window_family.h"
#include "modal.h"
#include "model/courier.h"
#include "model/renderer.h"
#include "platform/printers.h"
#include "records/main_form.h"
#include "records/record_editor.h"
#include "scripted_prompter.h"
#include "seam_guards.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "waybill/batch_print_form.h"
#include "waybill/print_form.h"
#include "waybill/waybill_view.h"

#include <QDir>
#include <QPdfWriter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

class PrintFormTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void printWindow();
    void viewAfterAMoveShowsWhatPrints();
    void batchPrint();
    void batchFailures();
    void recordOfADeletedCourierIsNotPrinted();
    void openedFromTheMainWindow();
    void printedFromTheRecordEditor_data();
    void printedFromTheRecordEditor();

private:
    TestDatabase* m_db = nullptr;
    ScriptedPrompter* m_prompts = nullptr;
    QTemporaryDir* m_out = nullptr;
};

namespace {

// The PDF printer with a queue and a presence the test decides.
class ScriptedPrinters : public PdfFilePrinters
{
public:
    using PdfFilePrinters::PdfFilePrinters;
    QString defaultPrinter() override
    {
        return gone ? QString() : PdfFilePrinters::defaultPrinter();
    }
    int queueLength(const QString&) override { return queue; }
    std::unique_ptr<PrintJob> beginJob(const QString& title, const QSizeF& paper) override
    {
        return broken ? nullptr : PdfFilePrinters::beginJob(title, paper);
    }
    int queue = 0;
    bool gone = false;
    bool broken = false;
};

void addFixture(int records)
{
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_FAST_NAME_TABLE(FAST_ID,FAST_NAME,FAST_DEFAULT,"
                                  "FAST_NAME_HEIGHT,FAST_NAME_WIDTH,FAST_TOP,FAST_LEFT,FAST_BOTTOM)"
                                  " VALUES('A','甲快递','是',100,200,1.5,2,3),"
                                  "('B','乙快递','否',110,210,0,0,0)")));
    for (const char* courier : {"A", "B"})
        QVERIFY(RunSQL(kDatabaseName,
                       QStringLiteral("INSERT INTO KW_FAST_NAME_PRINT_TABLE(FIELD_RECORD_ID,"
                                      "FAST_ID,FIELD_NAME,FIELD_FONT_NAME,FIELD_FONT_SIZE,"
                                      "FIELD_NAME_LEFT,FIELD_NAME_TOP,FIELD_FONT_NUMBER) VALUES("
                                      "'f%1','%1','CLIENT_NAME','宋体',10,30,40,10)")
                           .arg(QLatin1String(courier))));
    const char* rows[][3] = {{"1", "乙快递", "未打单"},
                             {"2", "无此快递", "已打单"},
                             {"3", "甲快递", "未打单"},
                             {"4", "", "未打单"}};
    for (int i = 0; i < records; ++i)
        QVERIFY(RunSQL(kDatabaseName,
                       QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,CLIENT_NAME,"
                                      "FAST_NAME,STATUS) VALUES('%1','收件人%1','%2','%3')")
                           .arg(QString::fromUtf8(rows[i][0]), QString::fromUtf8(rows[i][1]),
                                QString::fromUtf8(rows[i][2]))));
}

void openRecords(TKWQuery& records)
{
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    records.SQL = QStringLiteral("SELECT * FROM KW_CLIENT_TABLE ORDER BY CLIENT_RECORD_ID");
    PrepareQuery(records);
    records.OpenData();
}

QString status(const char* id)
{
    return GetSQLValue(kDatabaseName,
                       QStringLiteral("SELECT STATUS || COALESCE(VERIFY_NAME,'') FROM "
                                      "KW_CLIENT_TABLE WHERE CLIENT_RECORD_ID = '%1'")
                           .arg(QLatin1String(id)));
}

int pdfCount(const QString& folder)
{
    return int(QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());
}

// The width of a PDF's page in millimetres.
double pdfPageWidthMm(const QString& pdfFile)
{
    QFile file(pdfFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"))
            .match(QString::fromLatin1(file.readAll()));
    return box.captured(1).toDouble() * 25.4 / 72;
}

} // namespace

void PrintFormTest::init()
{
    m_db = new TestDatabase;
    m_prompts = new ScriptedPrompter;
    m_out = new QTemporaryDir;
    AppGlobals.DBPath = m_db->dbPath();
    AppGlobals.UserName = QStringLiteral("王五");
    AppGlobals.UserID = QStringLiteral("A01");
}

void PrintFormTest::cleanup()
{
    SetPrinterBackend(nullptr);
    delete m_out;
    delete m_prompts;
    delete m_db;
}

void PrintFormTest::printWindow()
{
    addFixture(3);
    PdfFilePrinters pdf(m_out->path());
    PrinterBackendGuard printers(&pdf);
    TKWQuery records;
    openRecords(records);
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, AppGlobals.UserName, AppGlobals.WorkDate);
    couriers.OpenData();
    QCOMPARE(couriers.FieldText(QStringLiteral("FAST_NAME")), QStringLiteral("乙快递"));
    couriers.Last(); // 甲快递, not the record's courier

    TFastPrintForm form(&records, &couriers);
    form.show();
    // The record's courier is selected and drawn; filling the edits wrote nothing back.
    QCOMPARE(couriers.FieldText(QStringLiteral("FAST_NAME")), QStringLiteral("乙快递"));
    QCOMPARE(form.SizeEdit(QStringLiteral("高"))->text(), QStringLiteral("110"));
    QCOMPARE(form.SizeEdit(QStringLiteral("上边距"))->text(), QStringLiteral("0"));
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM KW_FAST_NAME_TABLE "
                                                       "WHERE EDIT_NAME IS NOT NULL")),
             QStringLiteral("0"));
    const WaybillScale scale = ScreenWaybillScale();
    QCOMPARE(form.View()->runs().size(), 1);
    QCOMPARE(form.View()->runs().first().text, QStringLiteral("收件人1"));
    QCOMPARE(form.View()->runs().first().topLeft,
             QPoint(qRound(30 * scale.x), qRound(40 * scale.y)));

    // A record of an unknown courier: the default courier.
    form.Button(QStringLiteral("下一单"))->click();
    QCOMPARE(couriers.FieldText(QStringLiteral("FAST_NAME")), QStringLiteral("甲快递"));
    QCOMPARE(form.SizeEdit(QStringLiteral("左边距"))->text(), QStringLiteral("2"));
    QCOMPARE(form.View()->runs().first().text, QStringLiteral("收件人2"));
    form.Button(QStringLiteral("首单"))->click();
    form.Button(QStringLiteral("前一单"))->click();
    form.Button(QStringLiteral("末单"))->click();
    form.Button(QStringLiteral("下一单"))->click();
    QCOMPARE(m_prompts->takeTexts(),
             (QStringList{QStringLiteral("已到第一个纪录"), QStringLiteral("已到最后一个纪录")}));
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("3"));

    // Calibration: a lone minus is not saved, the number after it is.
    TKWLComboEdit* top = form.SizeEdit(QStringLiteral("上边距"));
    top->setFocus();
    top->selectAll();
    QTest::keyClick(top, Qt::Key_Minus);
    QCOMPARE(
        GetSQLValue(kDatabaseName,
                    QStringLiteral("SELECT FAST_TOP FROM KW_FAST_NAME_TABLE WHERE FAST_ID='A'")),
        QStringLiteral("1.5"));
    QTest::keyClick(top, Qt::Key_2);
    QCOMPARE(
        GetSQLValue(kDatabaseName,
                    QStringLiteral("SELECT FAST_TOP FROM KW_FAST_NAME_TABLE WHERE FAST_ID='A'")),
        QStringLiteral("-2"));

    // One waybill: a PDF, the record marked with the user.
    form.Button(QStringLiteral("快递单据打印"))->click();
    QCOMPARE(QFileInfo(pdf.lastFile()).fileName(), QStringLiteral("waybill-00001.pdf"));
    QCOMPARE(status("3"), QStringLiteral("已打单王五"));
    // Printed already: asked first; Yes prints again.
    m_prompts->answers.enqueue(true);
    form.Button(QStringLiteral("快递单据打印"))->click();
    QCOMPARE(m_prompts->takeTexts(),
             QStringList{QStringLiteral("该快递单的打单状态是 已打单，是否打印 ?")});
    QCOMPARE(pdfCount(m_out->path()), 2);
}

void PrintFormTest::viewAfterAMoveShowsWhatPrints()
{
    addFixture(0);
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_FAST_NAME_PRINT_TABLE(FIELD_RECORD_ID,FAST_ID,"
                                  "FIELD_NAME,FIELD_FONT_NAME,FIELD_FONT_SIZE,FIELD_NAME_LEFT,"
                                  "FIELD_NAME_TOP,FIELD_FONT_NUMBER) VALUES('p','B',"
                                  "'CLIENT_POSTCODE','宋体',10,20,10,10)")));
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,CLIENT_NAME,"
                                  "FAST_NAME,STATUS,CLIENT_POSTCODE,CLIENT_POSTCODE_WIDTH) VALUES"
                                  "('1','甲','乙快递','未打单','100086',5),"
                                  "('2','乙','乙快递','未打单','200030',4)")));
    TKWQuery records;
    openRecords(records);
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, AppGlobals.UserName, AppGlobals.WorkDate);
    couriers.OpenData();
    TFastPrintForm form(&records, &couriers);
    form.show();
    form.Button(QStringLiteral("下一单"))->click(); // the same courier: only the text is redrawn
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("2"));

    // What the page gets, in millimetres: the courier has no offsets.
    QTemporaryDir dir;
    QPdfWriter page(dir.filePath(QStringLiteral("page.pdf")));
    page.setResolution(600);
    const WaybillScale dots = WaybillScale::printer(600, 600);
    const QList<WaybillRun> printed = ComputeWaybillRuns(
        CourierFromRow(couriers), ReadPrintFields(QStringLiteral("B")),
        RecordValues(records, ReadSenderRow()), dots, WaybillMode::Printer, &page);
    const QList<WaybillRun> shown = form.View()->runs();
    const WaybillScale screen = ScreenWaybillScale();
    QCOMPARE(printed.size(), 7); // the name and six digits
    QCOMPARE(shown.size(), printed.size());
    for (int i = 0; i < shown.size(); ++i) {
        QCOMPARE(shown[i].text, printed[i].text);
        QVERIFY(qAbs(shown[i].topLeft.x() / screen.x - printed[i].topLeft.x() / dots.x) < 0.5);
        QVERIFY(qAbs(shown[i].topLeft.y() / screen.y - printed[i].topLeft.y() / dots.y) < 0.5);
    }
}

void PrintFormTest::batchPrint()
{
    addFixture(4);
    ScriptedPrinters printers(m_out->path());
    PrinterBackendGuard installed(&printers);
    TKWQuery records;
    openRecords(records);
    const WaybillCourier courier = CourierByName(QStringLiteral("甲快递"));

    TPrintForm batch(&records, courier, ReadSenderRow(), true);
    batch.show(); // prints the first record at once
    QCOMPARE(batch.Progress()->maximum(), 4);
    QCOMPARE(batch.Sent(), 1);
    printers.queue = 2; // busy: nothing moves
    batch.Tick();
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("2"));
    QCOMPARE(batch.Sent() + batch.Skipped(), 1);
    printers.queue = 1;
    batch.Tick(); // record 2 was printed before: skipped
    QCOMPARE(batch.Skipped(), 1);
    batch.Button(QStringLiteral("停止打印"))->click();
    QVERIFY(!batch.Running());
    QVERIFY(batch.Button(QStringLiteral("继续打印"))->isEnabled());
    batch.Button(QStringLiteral("继续打印"))->click(); // record 3 at once
    QVERIFY(batch.Running());
    QCOMPARE(batch.Sent(), 2);
    batch.Tick(); // record 4, the last
    QVERIFY(!batch.Running());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("打印命令全部发送完毕")});
    QVERIFY(!batch.Button(QStringLiteral("停止打印"))->isEnabled());
    QVERIFY(!batch.Button(QStringLiteral("继续打印"))->isEnabled());
    batch.Tick();
    QCOMPARE(batch.Sent(), 3);
    QCOMPARE(batch.Progress()->value(), 4);
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("4"));
    printers.waitUntilWritten();
    QCOMPARE(pdfCount(m_out->path()), 3);
    for (const char* id : {"1", "3", "4"})
        QCOMPARE(status(id), QStringLiteral("已打单王五"));

    // Closing asks.
    m_prompts->answers.enqueue(false);
    batch.Button(QStringLiteral("关闭"))->click();
    QVERIFY(batch.isVisible());
    m_prompts->answers.enqueue(true);
    batch.Button(QStringLiteral("关闭"))->click();
    QVERIFY(!batch.isVisible());
    QCOMPARE(m_prompts->takeTexts(), QStringList(2, QStringLiteral("是否关闭 ?")));
}

void PrintFormTest::batchFailures()
{
    addFixture(4);
    ScriptedPrinters printers(m_out->path());
    PrinterBackendGuard installed(&printers);
    TKWQuery records;
    openRecords(records);
    records.SetRecNo(2);
    const WaybillCourier courier = CourierByName(QStringLiteral("甲快递"));

    // Mid-list: no total, the animation instead of the progress bar.
    printers.broken = true;
    TPrintForm batch(&records, courier, ReadSenderRow(), false);
    batch.show();
    QVERIFY(!batch.Progress()->isVisible());
    QVERIFY(batch.Animation()->isVisible());
    // A job the printer refuses: the record keeps its status, the cursor stays.
    QVERIFY(!batch.Running());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("打印过程发生错误")});
    QCOMPARE(status("3"), QStringLiteral("未打单"));
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("3"));

    printers.broken = false;
    batch.Button(QStringLiteral("继续打印"))->click();
    QCOMPARE(status("3"), QStringLiteral("已打单王五"));
    // The printer disappears mid-run.
    printers.gone = true;
    batch.Tick();
    QVERIFY(!batch.Running());
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("没有默认的打印机，不能打印")});
    QCOMPARE(status("4"), QStringLiteral("未打单"));
    QCOMPARE(batch.Sent(), 1);
    m_prompts->answers.enqueue(true);
    batch.reject();
}

void PrintFormTest::recordOfADeletedCourierIsNotPrinted()
{
    addFixture(3);
    // No default courier stands in for the deleted one of record 2.
    QVERIFY(
        RunSQL(kDatabaseName, QStringLiteral("UPDATE KW_FAST_NAME_TABLE SET FAST_DEFAULT = '否'")));
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("UPDATE KW_CLIENT_TABLE SET STATUS = '未打单'")));
    ScriptedPrinters printers(m_out->path());
    PrinterBackendGuard installed(&printers);
    TKWQuery records;
    openRecords(records);
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, AppGlobals.UserName, AppGlobals.WorkDate);
    couriers.OpenData();
    const QStringList refusal{QStringLiteral(
        "快件记录（收件人 收件人2）的快递名称“无此快递”已不存在，又没有默认快递，不能打印")};
    {
        TFastPrintForm form(&records, &couriers);
        form.show();
        form.Button(QStringLiteral("下一单"))->click(); // the list stays on 乙快递
        form.Button(QStringLiteral("快递单据打印"))->click();
        QCOMPARE(m_prompts->takeTexts(), refusal);
        QCOMPARE(pdfCount(m_out->path()), 0);
        QCOMPARE(status("2"), QStringLiteral("未打单"));
    }
    // A batch prints the record before it and stops there.
    records.First();
    TPrintForm batch(&records, CourierByName(QStringLiteral("乙快递")), ReadSenderRow(), true);
    batch.show();
    batch.Tick();
    QVERIFY(!batch.Running());
    QCOMPARE(m_prompts->takeTexts(), refusal);
    QCOMPARE(batch.Sent(), 1);
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_RECORD_ID")), QStringLiteral("2"));
    QCOMPARE(status("2"), QStringLiteral("未打单"));
    QVERIFY(batch.Button(QStringLiteral("继续打印"))->isEnabled());
    m_prompts->answers.enqueue(true);
    batch.reject();
}

void PrintFormTest::openedFromTheMainWindow()
{
    PdfFilePrinters pdf(m_out->path());
    PrinterBackendGuard printers(&pdf);
    AppGlobals.IsSysUser = true;
    TMainForm main;
    main.show();
    main.PrintButton()->click();
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("您没有浏览快递名称资料的权限")});
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,"
                                                 "PROGRAM_ID,ADD_RIGHT,BROWSE_RIGHT,PRINT_RIGHT) "
                                                 "VALUES('A01',1,2,'是','是','是')")));
    main.PrintButton()->click();
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("没有快件记录,不能打印快递单")});

    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CLIENT_NAME,STATUS,CREATE_DATE) VALUES('1','甲',"
                                                 "'未打单','2024-03-05')")));
    main.LoadDateNode(0);
    main.PrintButton()->click();
    QCOMPARE(m_prompts->takeTexts(),
             QStringList{QStringLiteral("没有快递名称资料，不可以打印快件记录")});

    addFixture(0);
    OnNextModal("TFastPrintForm", [](QWidget* w) {
        auto* form = static_cast<TFastPrintForm*>(w);
        form->Button(QStringLiteral("快递单据打印"))->click();
        form->Button(QStringLiteral("关闭"))->click();
    });
    main.PrintButton()->click();
    QCOMPARE(status("1"), QStringLiteral("已打单") + AppGlobals.UserName);
    // The list shows the new status.
    QCOMPARE(main.Records()->FieldText(QStringLiteral("STATUS")), QStringLiteral("已打单"));
    QVERIFY(m_prompts->shown.isEmpty());
}

void PrintFormTest::printedFromTheRecordEditor_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("withDefault");
    QTest::addColumn<int>("pageWidthMm"); // 0: nothing printed
    // 乙快递 is 210 mm wide, the default 甲快递 200; the single print adds 20.
    QTest::newRow("its own courier") << "1" << true << 230;
    QTest::newRow("no courier: the default's form") << "4" << true << 220;
    QTest::newRow("no courier and no default") << "4" << false << 0;
}

void PrintFormTest::printedFromTheRecordEditor()
{
    QFETCH(QString, record);
    QFETCH(bool, withDefault);
    QFETCH(int, pageWidthMm);
    addFixture(4);
    if (!withDefault)
        QVERIFY(RunSQL(kDatabaseName,
                       QStringLiteral("UPDATE KW_FAST_NAME_TABLE SET FAST_DEFAULT = '否'")));
    PdfFilePrinters pdf(m_out->path());
    PrinterBackendGuard printers(&pdf);
    TKWQuery records;
    openRecords(records);
    records.SetRecNo(record.toInt() - 1);
    TRights rights;
    rights.Add = rights.Browse = rights.Print = true;
    TEditClientForm editor(&records, rights, nullptr);
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QTest::keyClick(&editor, Qt::Key_F11);
    if (pageWidthMm == 0) {
        QCOMPARE(
            m_prompts->takeTexts(),
            QStringList{QStringLiteral("该快递记录没有快递名称,也没有默认快递,不能打印快递单")});
        QCOMPARE(pdfCount(m_out->path()), 0);
        QCOMPARE(status(qPrintable(record)), QStringLiteral("未打单"));
        return;
    }
    QCOMPARE(pdfCount(m_out->path()), 1);
    QCOMPARE(qRound(pdfPageWidthMm(pdf.lastFile())), pageWidthMm);
    QCOMPARE(status(qPrintable(record)), QStringLiteral("已打单王五"));
    QVERIFY(m_prompts->shown.isEmpty());
}

// Refusals abort their handler; the program's application catches that.
int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    PrintFormTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_print_form.moc"
