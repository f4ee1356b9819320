#include "app/application.h"
#include "data/connection.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "frame/error_handler.h"
#include "frame/error_msg_form.h"
#include "scripted_prompter.h"
#include "test_database.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

class ErrorsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void translation_data();
    void translation();
    void duplicateKeyFromTheEngine();
    void unhandledEventErrorReachesTheHandler();
    void messageLogSaves();
};

using C = DatabaseError::Condition;
Q_DECLARE_METATYPE(std::exception_ptr)

void ErrorsTest::translation_data()
{
    QTest::addColumn<std::exception_ptr>("error");
    QTest::addColumn<QStringList>("shown");
    auto db = [](C c) {
        return std::make_exception_ptr(DatabaseError(c, QStringLiteral("9"), QStringLiteral("x")));
    };
    QTest::newRow("referenced") << db(C::ReferencedRow)
                                << QStringList{"其它的数据库表中存在对该纪录的引用,纪录不能删除"};
    QTest::newRow("cannot open") << db(C::CannotOpen) << QStringList{"数据库打开过程发生错误"};
    QTest::newRow("duplicate") << db(C::DuplicateKey) << QStringList{"数据库主键重复"};
    QTest::newRow("changed") << db(C::RowChanged)
                             << QStringList{"数据已被其它用户修改,请重新查找刷新该记录,"
                                            "查看其它用户修改后的数据"};
    QTest::newRow("too long") << db(C::ValueTooLong) << QStringList{"数据太大,不能保存数据"};
    QTest::newRow("in use") << db(C::TableInUse) << QStringList{"有未关闭的数据表"};
    QTest::newRow("other") << std::make_exception_ptr(DatabaseError(
                                  C::Other, QStringLiteral("1"), QStringLiteral("near \"SELEC\"")))
                           << QStringList{"数据库操作错误",
                                          "DatabaseError:ErrorCode: (1)\tnear \"SELEC\"\r"};
    QTest::newRow("bad date") << std::make_exception_ptr(
                                     ConvertError(ConvertError::Kind::InvalidDate,
                                                  "'2024-13-45' is not a valid date"))
                              << QStringList{"请按格式YYYY-MM-DD 输入日期"};
    QTest::newRow("format") << std::make_exception_ptr(
                                   ConvertError(ConvertError::Kind::FormatMismatch, "x"))
                            << QStringList{"指定的格式与参数类型不匹配!"};
    QTest::newRow("other conversion")
        << std::make_exception_ptr(ConvertError(ConvertError::Kind::Other, "'abc' 不是数字"))
        << QStringList{"'abc' 不是数字"};
    QTest::newRow("range") << std::make_exception_ptr(RangeError(QStringLiteral("下标越界")))
                           << QStringList{"RangeError:下标越界"};
    QTest::newRow("anything else")
        << std::make_exception_ptr(std::runtime_error("boom")) << QStringList{"Exception:boom"};
    QTest::newRow("silent abort") << std::make_exception_ptr(SilentAbort()) << QStringList{};
}

void ErrorsTest::translation()
{
    QFETCH(std::exception_ptr, error);
    QFETCH(QStringList, shown);
    ScriptedPrompter prompts;
    HandleAppException(nullptr, error);
    QCOMPARE(prompts.takeTexts(), shown);
}

void ErrorsTest::duplicateKeyFromTheEngine()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    const QString insert = QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID) VALUES('A')");
    OpenSQL(kDatabaseName, insert);
    try {
        OpenSQL(kDatabaseName, insert);
    } catch (...) {
        HandleAppException(nullptr, std::current_exception());
    }
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("数据库主键重复")});
}

void ErrorsTest::unhandledEventErrorReachesTheHandler()
{
    ScriptedPrompter prompts;
    bool ranAfter = false;
    QTimer::singleShot(0, this, [] {
        throw DatabaseError(C::TableInUse, QStringLiteral("5"),
                            QStringLiteral("database is locked"));
    });
    QTimer::singleShot(0, this, [] { Abort(); });
    QTimer::singleShot(1, this, [&ranAfter] { ranAfter = true; });
    QTRY_VERIFY(ranAfter);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("有未关闭的数据表")});
}

void ErrorsTest::messageLogSaves()
{
    ScriptedPrompter prompts;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导入信息.txt"));
    prompts.paths.enqueue(path);

    TErrorMsgForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("信息显示窗口"));
    form.addLine(QStringLiteral("第1行: 收件人不能为空"));
    form.addLine(QStringLiteral("第2行: 快递费用不是数字"));
    form.show();
    QPushButton* save = nullptr;
    for (QPushButton* b : form.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("保存"))
            save = b;
    QVERIFY(save);
    QTest::mouseClick(save, Qt::LeftButton);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             QStringLiteral("第1行: 收件人不能为空\n第2行: 快递费用不是数字\n"));
    QVERIFY(form.Memo1->isReadOnly());
    QVERIFY(prompts.unexpected.isEmpty());
}

int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    ErrorsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errors.moc"
