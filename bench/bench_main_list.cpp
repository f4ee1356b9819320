// Measures the main window's shipment list on 100 000 records spread over
// two years: choosing "全部快递" and "本月快递" in the date tree until the
// first rows are painted, scrolling the whole list page by page, and the
// resident memory. Ends with `all_ms=… month_ms=…`.
#include "bench_setup.h"

#include "session/app_globals.h"
#include "controls/grid.h"
#include "controls/tree.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "data/record_set.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "records/date_nodes.h"
#include "records/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRepeats = 3;
constexpr double kStallMs = 50;


double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QStringList chars(const char* utf8)
{
    QStringList out;
    for (QChar c : QString::fromUtf8(utf8))
        out << QString(c);
    return out;
}

struct Place
{
    const char* province;
    const char* city;
    const char* area; // telephone area code
    const char* postcode;
    const char* districts[3];
    const char* streets[3];
};

const Place kPlaces[] = {
    {"北京市", "北京市", "010", "100020", {"朝阳区", "海淀区", "东城区"},
     {"建国路", "中关村大街", "东直门内大街"}},
    {"上海市", "上海市", "021", "200120", {"浦东新区", "徐汇区", "静安区"},
     {"世纪大道", "漕溪北路", "南京西路"}},
    {"广东省", "广州市", "020", "510620", {"天河区", "越秀区", "海珠区"},
     {"天河路", "中山五路", "新港中路"}},
    {"广东省", "深圳市", "0755", "518057", {"南山区", "福田区", "宝安区"},
     {"科技园南路", "深南大道", "新安六路"}},
    {"浙江省", "杭州市", "0571", "310012", {"西湖区", "滨江区", "拱墅区"},
     {"文三路", "江南大道", "莫干山路"}},
    {"江苏省", "南京市", "025", "210008", {"鼓楼区", "玄武区", "建邺区"},
     {"中山北路", "珠江路", "江东中路"}},
    {"四川省", "成都市", "028", "610041", {"武侯区", "锦江区", "青羊区"},
     {"人民南路", "春熙路", "蜀都大道"}},
    {"湖北省", "武汉市", "027", "430071", {"武昌区", "洪山区", "江汉区"},
     {"中南路", "珞喻路", "解放大道"}},
    {"山东省", "济南市", "0531", "250011", {"历下区", "市中区", "槐荫区"},
     {"泉城路", "经十路", "纬二路"}},
    {"陕西省", "西安市", "029", "710061", {"雁塔区", "碑林区", "未央区"},
     {"长安南路", "南大街", "凤城八路"}},
};

const char* const kBuildings[] = {"大厦", "花园", "小区", "广场", "公寓", "科技园", "商务中心"};
const char* const kCompanies[] = {"", "",         "华信电子有限公司", "东方贸易公司",
                                  "", "宏达机械厂", "新世纪书店",       "",
                                  "", "金桥物流",   "明珠服装店",       "天成软件有限公司"};
const char* const kNotes[] = {"易碎品，请轻放", "周末不收件", "到付", "请先电话联系", "放门卫室"};
const char* const kSenders[] = {"李四", "王五", "赵六"};

struct Courier
{
    const char* name;
    const char* prefix;
};
const Courier kCouriers[] = {{"顺丰速运", "SF"}, {"圆通速递", "YT"}, {"中通快递", "7"},
                             {"申通快递", "77"}, {"韵达快递", "43"}, {"EMS", "E"}};

QString personName(int i)
{
    static const QStringList surnames =
        chars("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余"
              "杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛段雷侯龙");
    static const QStringList given =
        chars("伟芳娜敏静丽强磊军洋勇艳杰娟涛明超兰霞平刚英华建国志海燕晓东红梅丹玉鹏飞宇浩然子轩"
              "欣怡佳琪雨婷俊杰");
    const int g = int(given.size());
    QString name = surnames[(i * 7) % surnames.size()] + given[(i * 13) % g];
    if (i % 3)
        name += given[(i / 3 * 17 + 5) % g];
    return name;
}

// Dates run from two years ago to `today`, in the order the records were made.
void fillTable(const QDate& today, const QString& user)
{
    QSqlDatabase db = QSqlDatabase::database(kDatabaseName);
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO KW_CLIENT_TABLE (CLIENT_RECORD_ID, CLIENT_ORDER_ID, CLIENT_ORDER_DATE, "
        "CLIENT_NAME, CLIENT_PHONE, CLIENT_HANDSET_PHONE, CLIENT_ADD, CLIENT_POSTCODE, FAST_NAME, "
        "FAST_ID, FAST_MONEY, CLIENT_EMPLOYEE_NAME, TEXT_FIELD1, TEXT_FIELD2, TEXT_FIELD3, "
        "TEXT_NOTE, CLIENT_POSTCODE_WIDTH, STATUS, VERIFY_NAME, VERIFY_DATE, EDIT_NAME, EDIT_DATE, "
        "CREATE_NAME, CREATE_DATE) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QDate first = today.addDays(-729);
    const QString iso = QStringLiteral("yyyy-MM-dd");
    for (int i = 0; i < kRows; ++i) {
        const QDate created = first.addDays(qint64(i) * 730 / kRows);
        const QDate ordered = created.addDays(-(i % 3));
        const Place& place = kPlaces[(i * 31 / 7) % std::size(kPlaces)];
        const Courier& courier = kCouriers[(i * 5 / 3) % std::size(kCouriers)];
        // Recent records still wait for their waybill; old ones are nearly all printed.
        const bool printed = created.daysTo(today) > 10 ? i % 50 != 0 : i % 5 >= 2;
        const QString createdText = created.toString(iso);
        QString address = QString::fromUtf8(place.province);
        if (qstrcmp(place.province, place.city) != 0)
            address += QString::fromUtf8(place.city);
        address += QString::fromUtf8(place.districts[i % 3]) +
                   QString::fromUtf8(place.streets[(i / 3) % 3]) +
                   QStringLiteral("%1号").arg(1 + (i * 37) % 480) +
                   QString::fromUtf8(kBuildings[(i / 7) % std::size(kBuildings)]) +
                   QStringLiteral("%1栋%2室").arg(1 + i % 12).arg(101 + (i * 13) % 30 * 100 + i % 8);
        const QVariant values[] = {
            created.toString(QStringLiteral("yyMMdd")) +
                QString::number(i).rightJustified(6, u'0'),
            QStringLiteral("DD") + ordered.toString(QStringLiteral("yyyyMMdd")) +
                QString::number(i).rightJustified(6, u'0'),
            ordered.toString(iso),
            personName(i),
            i % 4 ? QVariant() : QVariant(QString::fromLatin1(place.area) + QLatin1Char('-') +
                                          QString::number(60000000 + (i * 7919) % 39999999)),
            QStringLiteral("1%1%2")
                .arg(QLatin1Char("358"[i % 3]))
                .arg((qint64(i) * 104729) % 1000000000, 9, 10, QLatin1Char('0')),
            address,
            QString::fromLatin1(place.postcode),
            QString::fromUtf8(courier.name),
            QString::fromLatin1(courier.prefix) +
                QString::number(qint64(312000000000) + qint64(i) * 7919),
            8.0 + (i * 7) % 23 + (i % 2 ? 0.5 : 0.0),
            QString::fromUtf8(kSenders[i % std::size(kSenders)]),
            QString::fromUtf8(kCompanies[i % std::size(kCompanies)]),
            QString::fromUtf8(place.province),
            QString::fromUtf8(place.city),
            i % 6 ? QVariant() : QVariant(QString::fromUtf8(kNotes[(i / 6) % std::size(kNotes)])),
            3.0,
            printed ? QStringLiteral("已打单") : QStringLiteral("未打单"),
            printed ? QVariant(user) : QVariant(),
            printed ? QVariant(created.addDays(1).toString(iso)) : QVariant(),
            i % 20 ? QVariant() : QVariant(user),
            i % 20 ? QVariant() : QVariant(createdText),
            user,
            createdText,
        };
        for (int v = 0; v < int(std::size(values)); ++v)
            insert.bindValue(v, values[v]);
        if (!insert.exec()) {
            std::fprintf(stderr, "insert failed at row %d\n", i);
            break;
        }
    }
    db.commit();
}

// The enrolled administrator with every right, as enrolment leaves them.
void logOn(const QString& id, const QString& name)
{
    RunSQL(kDatabaseName,
           QStringLiteral("INSERT INTO SYS_COMPANY_TABLE(COMPANY_ID,COMPANY_NAME,"
                          "COMPANY_EMPLOYEE_NAME,COMPANY_ADDRESS,COMPANY_POSTCODE,COMPANY_PHONE,"
                          "COMPANY_POSTCODE_WIDTH) VALUES('000001','凯维贸易有限公司','李四',"
                          "'上海市徐汇区漕溪北路88号圣爱大厦1808室','200030','021-64871234',3)"));
    RunSQL(kDatabaseName,
           QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_PASSWORD,USE_ID,USE_NAME,SYS_USER,"
                          "STOP_RIGHT,CREATE_NAME,CREATE_DATE) VALUES('1',%1,%2,'是','有效',%2,%3)")
               .arg(QuotedStr(id), QuotedStr(name), QuotedStr(AppGlobals.WorkDate)));
    const int programs[][2] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}};
    for (const auto& p : programs)
        RunSQL(kDatabaseName,
               QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,PROGRAM_ID,ADD_RIGHT,"
                              "EDIT_RIGHT,DELETE_RIGHT,BROWSE_RIGHT,PRINT_RIGHT,VERIFY_RIGHT,"
                              "CURRENCY_RIGHT) VALUES(%1,%2,%3,'是','是','是','是','是','是','是')")
                   .arg(QuotedStr(id))
                   .arg(p[0])
                   .arg(p[1]));
    AppGlobals.UserID = id;
    AppGlobals.UserName = name;
    AppGlobals.IsSysUser = true;
    AppGlobals.CompanyName = QStringLiteral("凯维贸易有限公司");
}

struct Choice
{
    double loadMs = 0;  // the tree's selection until the records are read
    double paintMs = 0; // the window's pending paint: first rows and footer
    double rowsMs = 0;  // a second paint of the rows alone
    double restMs = 0;  // the events left after it
    int rows = 0;
};

// Selects a date node the way a click does and waits for the first rows.
Choice choose(TMainForm& main, int node)
{
    QTableView* view = main.Grid()->view();
    Choice c;
    QElapsedTimer timer;
    timer.start();
    main.Tree()->setCurrentItem(main.Tree()->topLevelItem(node));
    c.loadMs = timer.nsecsElapsed() / 1e6;
    view->viewport()->repaint();
    c.paintMs = timer.nsecsElapsed() / 1e6 - c.loadMs;
    timer.start();
    QCoreApplication::processEvents();
    c.restMs = timer.nsecsElapsed() / 1e6;
    timer.start();
    view->viewport()->repaint();
    c.rowsMs = timer.nsecsElapsed() / 1e6;
    c.rows = main.Records()->RecordCount();
    return c;
}

struct Scroll
{
    int pages = 0;
    double totalMs = 0;
    double worstMs = 0;
    int stalls = 0;
};

void step(Scroll& s, QScrollBar* bar, QWidget* viewport, int value)
{
    QElapsedTimer timer;
    timer.start();
    bar->setValue(value);
    viewport->repaint();
    QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    ++s.pages;
    s.totalMs += ms;
    s.worstMs = qMax(s.worstMs, ms);
    s.stalls += ms > kStallMs;
}

Scroll scrollDown(QTableView* view)
{
    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(0);
    QCoreApplication::processEvents();
    Scroll s;
    for (int value = 0; value < bar->maximum();) {
        value = qMin(value + bar->pageStep(), bar->maximum());
        step(s, bar, view->viewport(), value);
    }
    return s;
}

Scroll scrollAcross(QTableView* view)
{
    QScrollBar* bar = view->horizontalScrollBar();
    bar->setValue(0);
    QCoreApplication::processEvents();
    Scroll s;
    for (int value = 0; value < bar->maximum();) {
        value = qMin(value + qMax(1, bar->pageStep()), bar->maximum());
        step(s, bar, view->viewport(), value);
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    // Apart from a running program and from parallel runs.
    qputenv("KWFAST_INSTANCE", home.path().toUtf8().toHex().right(16));
    if (!OpenBenchDatabase(home, false))
        return 1;
    CountingPrompter prompts;
    SetPrompter(&prompts);

    // The 20th of this month: "本月快递" then holds about 2 700 records.
    const QDate now = QDate::currentDate();
    const QDate today(now.year(), now.month(), 20);
    SetFixedDateTime(QDateTime(today, QTime(10, 0)));
    AppGlobals.WorkDate = today.toString(QStringLiteral("yyyy-MM-dd"));
    logOn(QStringLiteral("A01"), QStringLiteral("王五"));

    QElapsedTimer timer;
    timer.start();
    fillTable(today, AppGlobals.UserName);
    std::printf("rows=%d generated in %.2f s, today %s\n", kRows, timer.elapsed() / 1000.0,
                qPrintable(AppGlobals.WorkDate));

    const int allNode = int(DateNodeNames().indexOf(QStringLiteral("全部快递")));
    const int monthNode = int(DateNodeNames().indexOf(QStringLiteral("本月快递")));
    const int todayNode = int(DateNodeNames().indexOf(QStringLiteral("今日快递")));

    timer.start();
    TMainForm main;
    main.resize(1280, 800);
    const double createMs = timer.nsecsElapsed() / 1e6;
    timer.start();
    main.show();
    QCoreApplication::processEvents();
    main.Grid()->view()->viewport()->repaint();
    const double showMs = timer.nsecsElapsed() / 1e6;
    std::printf("window made in %.1f ms, shown and painted with all %d rows in %.1f ms, "
                "resident %.1f MB\n",
                createMs, main.Records()->RecordCount(), showMs, residentMb());

    std::vector<double> all, month, allLoad, monthLoad, allPaint, monthPaint, allRest, monthRest,
        allRowsOnly, monthRowsOnly;
    int allRows = 0;
    int monthRows = 0;
    for (int i = 0; i < kRepeats; ++i) {
        // From another node each time, so the tree reports a change.
        choose(main, todayNode);
        Choice c = choose(main, monthNode);
        month.push_back(c.loadMs + c.paintMs);
        monthLoad.push_back(c.loadMs);
        monthPaint.push_back(c.paintMs);
        monthRest.push_back(c.restMs);
        monthRowsOnly.push_back(c.rowsMs);
        monthRows = c.rows;
        c = choose(main, allNode);
        all.push_back(c.loadMs + c.paintMs);
        allLoad.push_back(c.loadMs);
        allPaint.push_back(c.paintMs);
        allRest.push_back(c.restMs);
        allRowsOnly.push_back(c.rowsMs);
        allRows = c.rows;
    }
    // "paint" is the whole window's pending paint (footer included); "rows" a
    // second paint of the grid's rows alone.
    std::printf("全部快递: %d rows, median %.1f ms (read %.1f, paint %.1f, rows %.1f; then %.1f "
                "ms of events)\n",
                allRows, median(all), median(allLoad), median(allPaint), median(allRowsOnly),
                median(allRest));
    std::printf("本月快递: %d rows, median %.1f ms (read %.1f, paint %.1f, rows %.1f; then %.1f "
                "ms of events)\n",
                monthRows, median(month), median(monthLoad), median(monthPaint),
                median(monthRowsOnly), median(monthRest));

    // The footers under the columns, as painted after each load.
    TKWNDBGrid* grid = main.Grid();
    timer.start();
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        grid->GetFooterText(column);
    std::printf("footer texts of all columns: %.1f ms\n", timer.nsecsElapsed() / 1e6);

    const Scroll down = scrollDown(grid->view());
    std::printf("scrolled %d rows: pages=%d total %.0f ms, worst page %.1f ms, stalls (>%.0f ms) "
                "%d\n",
                main.Records()->RecordCount(), down.pages, down.totalMs, down.worstMs, kStallMs,
                down.stalls);
    const Scroll across = scrollAcross(grid->view());
    std::printf("scrolled across: steps=%d total %.0f ms, worst step %.1f ms, stalls %d\n",
                across.pages, across.totalMs, across.worstMs, across.stalls);
    std::printf("resident %.1f MB\n", residentMb());
    if (prompts.shown > 0)
        std::fprintf(stderr, "unexpected messages: %d\n", prompts.shown);

    main.hide();
    SetPrompter(nullptr);
    SetFixedDateTime({});
    std::printf("all_ms=%.1f month_ms=%.1f\n", median(all), median(month));
    std::fflush(stdout);
    return prompts.shown > 0 ? 1 : 0;
}
