// Measures the shipment record set on a table of 100 000 rows: opening all
// rows, saving a new row with the main window's rules, and the memory the
// open rows cost; compares the opening with the sqlite3 program reading the
// same rows.
#include "bench_setup.h"

#include "session/app_globals.h"
#include "data/connection.h"
#include "data/record_set.h"
#include "platform/clock.h"
#include "platform/config.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kRows = 100000;
constexpr int kSaves = 200;


void fillTable()
{
    QSqlDatabase db = QSqlDatabase::database(kDatabaseName);
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO KW_CLIENT_TABLE (CLIENT_RECORD_ID, CLIENT_ORDER_ID, CLIENT_ORDER_DATE, "
        "CLIENT_NAME, CLIENT_PHONE, CLIENT_HANDSET_PHONE, CLIENT_ADD, CLIENT_POSTCODE, FAST_NAME, "
        "FAST_ID, FAST_MONEY, CLIENT_EMPLOYEE_NAME, TEXT_FIELD1, TEXT_FIELD2, TEXT_FIELD3, "
        "TEXT_NOTE, CLIENT_POSTCODE_WIDTH, STATUS, VERIFY_NAME, VERIFY_DATE, CREATE_NAME, "
        "CREATE_DATE) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QDateTime start(QDate(2022, 1, 1), QTime(8, 0));
    for (int i = 0; i < kRows; ++i) {
        const QDateTime at = start.addSecs(qint64(i) * 900);
        const QString date = at.date().toString(QStringLiteral("yyyy-MM-dd"));
        const QVariant values[] = {
            at.toString(QStringLiteral("yyMMddHHmmss")),
            at.toString(QStringLiteral("yyyyMM")) +
                QString::number(i % 10000).rightJustified(4, u'0'),
            date,
            QStringLiteral("收件人%1").arg(i),
            QStringLiteral("021-6%1").arg(i, 7, 10, QLatin1Char('0')),
            QStringLiteral("139%1").arg(i, 8, 10, QLatin1Char('0')),
            QStringLiteral("上海市浦东新区世纪大道%1号金茂大厦%2室").arg(i % 2000).arg(i % 97),
            QStringLiteral("200120"),
            i % 3 ? QStringLiteral("顺丰速运") : QStringLiteral("圆通快递"),
            QStringLiteral("SF%1").arg(i, 10, 10, QLatin1Char('0')),
            12.5 + i % 20,
            QStringLiteral("李四"),
            QStringLiteral("凯维贸易有限公司"),
            QStringLiteral("上海"),
            QStringLiteral("上海"),
            i % 5 ? QString() : QStringLiteral("易碎品，请轻放"),
            3.0,
            i % 4 ? QStringLiteral("已打单") : QStringLiteral("未打单"),
            QStringLiteral("王五"),
            date,
            QStringLiteral("王五"),
            date,
        };
        for (const QVariant& v : values)
            insert.addBindValue(v);
        insert.exec();
    }
    db.commit();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    if (!OpenBenchDatabase(home, false))
        return 1;
    const QString folder = home.filePath(QStringLiteral("data"));
    CountingPrompter prompts;
    SetPrompter(&prompts);

    QElapsedTimer timer;
    timer.start();
    fillTable();
    std::printf("rows=%d generated in %.2f s\n", kRows, timer.elapsed() / 1000.0);

    double sqliteSeconds = 0;
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (!sqlite3.isEmpty()) {
        QProcess cli;
        cli.setStandardOutputFile(QProcess::nullDevice());
        timer.start();
        cli.start(sqlite3,
                  {SqliteFilePath(folder), QStringLiteral("SELECT * FROM KW_CLIENT_TABLE")});
        cli.waitForFinished(-1);
        sqliteSeconds = timer.nsecsElapsed() / 1e9;
        std::printf("sqlite3 read: %.3f s\n", sqliteSeconds);
    }

    const double rssBefore = residentMb();
    TKWQuery query;
    query.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    timer.start();
    query.OpenData();
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    const double rss = residentMb();
    std::printf("OpenData: %d rows in %.3f s, resident %.1f MB (%.1f MB for the rows)\n",
                query.RecordCount(), openSeconds, rss, rss - rssBefore);

    query.YearMonth = QStringLiteral("202403");
    query.Day = QStringLiteral("20240305");
    query.SetInsertData(
        {InsertRule(QStringLiteral("CREATE_NAME"), QStringLiteral("A"), QStringLiteral("王五")),
         InsertRule(QStringLiteral("CREATE_DATE"), QStringLiteral("A"),
                    QStringLiteral("2024-03-05")),
         InsertRule(QStringLiteral("CLIENT_ORDER_DATE"), QStringLiteral("A"),
                    QStringLiteral("2024-03-05")),
         InsertRule(QStringLiteral("CLIENT_RECORD_ID"), QStringLiteral("T"), QString(), 12),
         InsertRule(QStringLiteral("STATUS"), QStringLiteral("A"), QStringLiteral("未打单")),
         InsertRule(QStringLiteral("CLIENT_POSTCODE_WIDTH"), QStringLiteral("A"),
                    QStringLiteral("3")),
         InsertRule(QStringLiteral("CLIENT_ORDER_ID"), QStringLiteral("M"), QString(), 10)});
    query.SetCheckData(
        {UniqueCheck(QStringLiteral("KW_CLIENT_TABLE"), QStringLiteral("CLIENT_RECORD_ID"),
                     QStringLiteral("纪录编号重复")),
         UniqueCheck(QStringLiteral("KW_CLIENT_TABLE"), QStringLiteral("CLIENT_ORDER_ID"),
                     QStringLiteral("订单编号重复"))});
    QDateTime now(QDate(2024, 3, 5), QTime(9, 0));
    timer.start();
    for (int i = 0; i < kSaves; ++i) {
        now = now.addSecs(1);
        SetFixedDateTime(now);
        query.AppendData();
        query.SetFieldText(QStringLiteral("CLIENT_NAME"), QStringLiteral("新收件人"));
        query.SaveData();
    }
    const double saveMs = timer.nsecsElapsed() / 1e6 / kSaves;
    std::printf("AppendData+SaveData: %.2f ms per row (%d rows)\n", saveMs, kSaves);
    if (prompts.shown > 0) {
        std::fprintf(stderr, "unexpected messages: %d\n", prompts.shown);
        return 1;
    }
    const double ratio = sqliteSeconds > 0 ? openSeconds / sqliteSeconds : 0;
    std::printf("open_ratio=%.2f save_ms=%.2f rss_mb=%.1f\n", ratio, saveMs, rss);
    SetPrompter(nullptr);
    CloseKWfastDataBase();
    return 0;
}
