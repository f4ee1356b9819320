#include "app/application.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "data/record_set.h"
#include "model/courier.h"
#include "scripted_prompter.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "typing.h"
#include "waybill/courier_forms.h"
#include "waybill/courier_widgets.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class CourierFormsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pickListOnlyPicks();
    void editorKeepsOneDefaultCourier();
    void editorStartsNewCouriersAtTheWaybillSize_data();
    void editorStartsNewCouriersAtTheWaybillSize();
    void editorDeletesTheCourierWithItsLayoutAndPicture_data();
    void editorDeletesTheCourierWithItsLayoutAndPicture();
    void editorLoadsThePicture_data();
    void editorLoadsThePicture();
    void editorHandsTheListBackAsItWas();
    void listsKeepTheirColumnOrder_data();
    void listsKeepTheirColumnOrder();
    void charactersPerLine_data();
    void charactersPerLine();
    void paperSize_data();
    void paperSize();
};

namespace {

const QString kYes = QStringLiteral("是");
const QString kNo = QStringLiteral("否");

// Two couriers; the list orders them 圆通 (row 0), 顺丰 (row 1, the default).
void addTwoCouriers()
{
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_FAST_NAME_TABLE(FAST_ID,FAST_NAME,"
                                                 "FAST_STANDARD_MONEY,FAST_DEFAULT,FAST_NAME_WIDTH,"
                                                 "FAST_NAME_HEIGHT) VALUES"
                                                 "('1','顺丰速运',12,'是',230,127),"
                                                 "('2','圆通速递',8.5,'否',220,120)")));
}

// The designer's courier list, as the designer hands it over.
void openCourierList(TKWQuery& couriers)
{
    ConfigureCourierQuery(couriers, QStringLiteral("王五"), QStringLiteral("2024-03-05"));
    couriers.OpenData();
}

QString columnOf(const QString& fastId, const char* column)
{
    return GetSQLValue(kDatabaseName, QStringLiteral("SELECT %1 FROM KW_FAST_NAME_TABLE WHERE "
                                                     "FAST_ID = %2")
                                          .arg(QString::fromLatin1(column), QuotedStr(fastId)));
}

void showAndWait(QWidget* window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

} // namespace

void CourierFormsTest::pickListOnlyPicks()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    addTwoCouriers();
    TSelectFastNameForm list(nullptr);
    QCOMPARE(list.windowTitle(), QStringLiteral("快递名称录入编辑窗口"));
    // Driven without exec(): keys sent before the window is active would leave it open for good.
    list.open();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    // The record keys are dead: their buttons are hidden.
    for (Qt::Key key : {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9})
        QTest::keyClick(&list, key);
    QCOMPARE(list.Query()->State(), TDataSetState::dsBrowse);
    QCOMPARE(list.Query()->RecordCount(), 2);
    // The list has the keys: Down moves the choice.
    QCOMPARE(list.Query()->RecNo(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(list.Query()->RecNo(), 1);
    QTest::keyClick(&list, Qt::Key_F3);
    QCOMPARE(list.result(), int(QDialog::Accepted));
    QCOMPARE(list.ChosenName(), QStringLiteral("顺丰速运")); // ordered by name: 圆通 < 顺丰
    QCOMPARE(list.ChosenStandardMoney(), QStringLiteral("12"));
    QVERIFY(prompts.shown.isEmpty());
}

void CourierFormsTest::editorKeepsOneDefaultCourier()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    addTwoCouriers();
    TKWQuery couriers;
    openCourierList(couriers);
    TSelectFastNameEditForm editor(&couriers);
    showAndWait(&editor);
    QCOMPARE(editor.windowTitle(), QStringLiteral("快递名称录入编辑窗口"));
    for (const char* hidden : {"确定[F3]", "打印[F11]", "首条", "末条"})
        QVERIFY(!editor.Button(QString::fromUtf8(hidden))->isVisible());

    // The default courier's row stands out.
    auto colours = [&](int row) {
        QColor background(Qt::white), text(Qt::black);
        editor.Grid()->OnApplyCellAttr(row, QStringLiteral("FAST_NAME"), background, text);
        return background;
    };
    QCOMPARE(colours(1), kDefaultCourierBackground);
    QVERIFY(colours(0) != kDefaultCourierBackground);

    QCOMPARE(couriers.FieldText(QStringLiteral("FAST_NAME")), QStringLiteral("圆通速递"));
    QTest::keyClick(&editor, Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), editor.NameEdit());
    editor.DefaultBox()->setCurrentText(kYes);
    QTest::keyClick(&editor, Qt::Key_F8);
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("只能有一个默认的快递")});
    QCOMPARE(couriers.State(), TDataSetState::dsEdit);
    QTest::keyClick(&editor, Qt::Key_F9);
    QCOMPARE(columnOf(QStringLiteral("1"), "FAST_DEFAULT"), kYes);
    QCOMPARE(columnOf(QStringLiteral("2"), "FAST_DEFAULT"), kNo);

    // Once the first is no longer the default, the other may become it.
    couriers.Last();
    QTest::keyClick(&editor, Qt::Key_F6);
    editor.DefaultBox()->setCurrentText(kNo);
    QTest::keyClick(&editor, Qt::Key_F8);
    couriers.First();
    QTest::keyClick(&editor, Qt::Key_F6);
    editor.DefaultBox()->setCurrentText(kYes);
    QTest::keyClick(&editor, Qt::Key_F8);
    QCOMPARE(DefaultCourierName(), QStringLiteral("圆通速递"));
    QCOMPARE(colours(0), kDefaultCourierBackground);
    QVERIFY(prompts.shown.isEmpty());
}

void CourierFormsTest::editorStartsNewCouriersAtTheWaybillSize_data()
{
    QTest::addColumn<bool>("ownerSetsTheSize");
    // The designer's own insert rules name no size; the shared courier rules do.
    QTest::newRow("designer's rules") << false;
    QTest::newRow("courier rules") << true;
}

void CourierFormsTest::editorStartsNewCouriersAtTheWaybillSize()
{
    QFETCH(bool, ownerSetsTheSize);
    TestDatabase db;
    ScriptedPrompter prompts;
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, QStringLiteral("王五"), QStringLiteral("2024-03-05"));
    if (!ownerSetsTheSize) {
        couriers.SetInsertData(
            {InsertRule(QStringLiteral("FAST_ID"), QStringLiteral("T")),
             InsertRule(QStringLiteral("FAST_DEFAULT"), QStringLiteral("A"), kNo)});
        couriers.BeforePost = [&couriers] { CheckSingleDefaultCourier(couriers); };
    }
    couriers.OpenData();
    TSelectFastNameEditForm editor(&couriers);
    showAndWait(&editor);

    QTest::keyClick(&editor, Qt::Key_F5);
    QCOMPARE(couriers.State(), TDataSetState::dsInsert);
    QCOMPARE(QApplication::focusWidget(), editor.NameEdit());
    QCOMPARE(couriers.FieldText(QStringLiteral("FAST_NAME_HEIGHT")), QStringLiteral("120"));
    QCOMPARE(couriers.FieldText(QStringLiteral("FAST_NAME_WIDTH")), QStringLiteral("220"));
    QCOMPARE(editor.DefaultBox()->currentText(), kNo);
    TypeText(editor.NameEdit(), QStringLiteral("韵达快递"));
    QTest::keyClick(&editor, Qt::Key_F8);
    QCOMPARE(couriers.State(), TDataSetState::dsBrowse);
    const QString fastId = couriers.FieldText(QStringLiteral("FAST_ID"));
    QCOMPARE(columnOf(fastId, "FAST_NAME"), QStringLiteral("韵达快递"));
    QCOMPARE(ParseNumber(columnOf(fastId, "FAST_NAME_HEIGHT")), 120.0);
    QCOMPARE(ParseNumber(columnOf(fastId, "FAST_NAME_WIDTH")), 220.0);
    QCOMPARE(columnOf(fastId, "FAST_DEFAULT"), kNo);
    QVERIFY(prompts.shown.isEmpty());
}

void CourierFormsTest::editorDeletesTheCourierWithItsLayoutAndPicture_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("question");
    const QString plain = QStringLiteral("请确认是否删除 ?");
    const QString used = QStringLiteral("有2条快件记录使用该快递名称，是否删除 ?");
    QTest::newRow("confirmed") << true << 0 << plain;
    QTest::newRow("declined") << false << 0 << plain;
    QTest::newRow("used by records, confirmed") << true << 2 << used;
    QTest::newRow("used by records, declined") << false << 2 << used;
}

void CourierFormsTest::editorDeletesTheCourierWithItsLayoutAndPicture()
{
    QFETCH(bool, confirmed);
    QFETCH(int, records);
    QFETCH(QString, question);
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.DBPath = db.dbPath();
    addTwoCouriers();
    for (int i = 0; i < records; ++i)
        QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                     "FAST_NAME) VALUES('%1','顺丰速运')")
                                          .arg(i)));
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "FAST_NAME) VALUES('x','圆通速递')")));
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_FAST_NAME_PRINT_TABLE(FIELD_RECORD_ID,FAST_ID,"
                                  "FIELD_NAME) VALUES('a1','1','CLIENT_NAME'),"
                                  "('a2','1','CLIENT_ADD'),('b1','2','CLIENT_NAME')")));
    for (const char* fastId : {"1", "2"}) {
        QFile picture(CourierPicturePath(AppGlobals.DBPath, QString::fromLatin1(fastId)));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write("picture");
    }
    auto fieldsOf = [](const char* fastId) {
        return int(GetSQLNumber(kDatabaseName,
                                QStringLiteral("SELECT COUNT(*) FROM KW_FAST_NAME_PRINT_TABLE "
                                               "WHERE FAST_ID = '%1'")
                                    .arg(QString::fromLatin1(fastId))));
    };
    TKWQuery couriers;
    openCourierList(couriers);
    couriers.Last(); // 顺丰速运, FAST_ID 1
    TSelectFastNameEditForm editor(&couriers);
    showAndWait(&editor);

    prompts.answers.enqueue(confirmed);
    QTest::keyClick(&editor, Qt::Key_F7);
    QCOMPARE(prompts.takeTexts(), QStringList{question});
    QCOMPARE(couriers.RecordCount(), confirmed ? 1 : 2);
    QCOMPARE(columnOf(QStringLiteral("1"), "FAST_NAME").isEmpty(), confirmed);
    QCOMPARE(QFileInfo::exists(CourierPicturePath(AppGlobals.DBPath, QStringLiteral("1"))),
             !confirmed);
    QCOMPARE(fieldsOf("1"), confirmed ? 0 : 2);
    // The other courier keeps everything.
    QVERIFY(QFileInfo::exists(CourierPicturePath(AppGlobals.DBPath, QStringLiteral("2"))));
    QCOMPARE(fieldsOf("2"), 1);
    QVERIFY(prompts.unexpected.isEmpty());
}

void CourierFormsTest::editorLoadsThePicture_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("jpeg") << QStringLiteral("form.jpg") << QStringLiteral(".JPG") << QStringList();
    QTest::newRow("not a picture format")
        << QStringLiteral("form.gif") << QString()
        << QStringList{QStringLiteral("图片格式必须是: BMP 、JPG 或 JPEG 格式")};
}

void CourierFormsTest::editorLoadsThePicture()
{
    QFETCH(QString, fileName);
    QFETCH(QString, stored);
    QFETCH(QStringList, messages);
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.DBPath = db.dbPath();
    addTwoCouriers();
    QTemporaryDir dir;
    QImage blank(48, 24, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const QString file = dir.filePath(fileName);
    QVERIFY(blank.save(file, "JPEG"));

    TKWQuery couriers;
    openCourierList(couriers);
    TSelectFastNameEditForm editor(&couriers);
    int loaded = 0;
    editor.OnPictureLoaded = [&] { ++loaded; };
    showAndWait(&editor);
    QPushButton* load = editor.LoadPictureButton();
    QCOMPARE(load->text(), QStringLiteral("加载快递单图片"));
    QVERIFY(load->isVisible());

    // While a row is being edited the picture cannot be loaded.
    QTest::keyClick(&editor, Qt::Key_F6);
    QVERIFY(!load->isEnabled());
    QTest::keyClick(&editor, Qt::Key_F9);

    prompts.paths.enqueue(file);
    QTest::mouseClick(load, Qt::LeftButton);
    QCOMPARE(prompts.takeTexts(), messages);
    QCOMPARE(loaded, stored.isEmpty() ? 0 : 1);
    QCOMPARE(couriers.FieldText(QStringLiteral("PICTURE_EXTNAME")), stored);
    QCOMPARE(columnOf(QStringLiteral("2"), "PICTURE_EXTNAME"), stored);
    const QImage picture = ReadCourierPicture(CourierFromRow(couriers), AppGlobals.DBPath);
    QCOMPARE(picture.isNull(), stored.isEmpty());
    if (!stored.isEmpty())
        QCOMPARE(picture.size(), QSize(48, 24));
}

void CourierFormsTest::editorHandsTheListBackAsItWas()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    addTwoCouriers();
    // The designer's list: names only, and a name is required.
    TKWQuery couriers;
    ConfigureCourierQuery(couriers, QStringLiteral("王五"), QStringLiteral("2024-03-05"));
    TKWNDBGrid ownerGrid(&couriers);
    TFieldsData name{.FieldName = QStringLiteral("FAST_NAME"),
                     .DisplayLabel = QStringLiteral("快递名称"),
                     .DisplayWidth = 20};
    name.Required = true;
    ownerGrid.SetFieldsData({name});
    couriers.OpenData();
    QCOMPARE(ownerGrid.model()->columnCount(), 1);
    couriers.Last();
    {
        TSelectFastNameEditForm editor(&couriers);
        showAndWait(&editor);
        const TKWQueryModel* shown = editor.Grid()->model();
        QCOMPARE(shown->columnCount(), 8);
        QCOMPARE(shown->headerData(2, Qt::Horizontal).toString(), QStringLiteral("默认快递"));
        QCOMPARE(shown->headerData(3, Qt::Horizontal).toString(), QStringLiteral("备注"));
        // The owner's rule still holds here.
        QTest::keyClick(&editor, Qt::Key_F5);
        QTest::keyClick(&editor, Qt::Key_F8);
        QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("快递名称必须有一个值")});
        QTest::keyClick(&editor, Qt::Key_F9);
        QTest::keyClick(&editor, Qt::Key_F12);
        QVERIFY(!editor.isVisible());
    }
    QCOMPARE(couriers.DBNGride, static_cast<QObject*>(&ownerGrid));
    QCOMPARE(ownerGrid.model()->columnCount(), 1);
    // Still on the courier it was on.
    QCOMPARE(couriers.RecNo(), 1);
    QCOMPARE(ownerGrid.view()->currentIndex().row(), 1);
    QCOMPARE(couriers.FieldsData().size(), 1);
    QVERIFY(couriers.FieldsData().first().Required);
    // Saving through the list still reaches its own grid.
    couriers.EditData();
    couriers.SetFieldText(QStringLiteral("NOTE"), QStringLiteral("次日达"));
    couriers.SaveData();
    QCOMPARE(columnOf(couriers.FieldText(QStringLiteral("FAST_ID")), "NOTE"),
             QStringLiteral("次日达"));
}

void CourierFormsTest::listsKeepTheirColumnOrder_data()
{
    QTest::addColumn<bool>("editor");
    QTest::newRow("pick list") << false;
    QTest::newRow("courier editor") << true;
}

void CourierFormsTest::listsKeepTheirColumnOrder()
{
    QFETCH(bool, editor);
    TestDatabase db;
    ScriptedPrompter prompts;
    addTwoCouriers();
    TKWQuery couriers;
    openCourierList(couriers);
    // Moved to the front, closed, reopened.
    for (const bool reopened : {false, true}) {
        std::unique_ptr<QDialog> window;
        TKWNDBGrid* grid = nullptr;
        if (editor) {
            auto* list = new TSelectFastNameEditForm(&couriers);
            grid = list->Grid();
            window.reset(list);
        } else {
            auto* list = new TSelectFastNameForm(nullptr);
            grid = list->DBGrid();
            window.reset(list);
        }
        window->open();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QHeaderView* header = grid->view()->horizontalHeader();
        const QString first =
            grid->model()->headerData(header->logicalIndex(0), Qt::Horizontal).toString();
        QCOMPARE(first, reopened ? QStringLiteral("建档人员") : QStringLiteral("快递名称"));
        header->moveSection(
            header->visualIndex(grid->model()->columnOfField(QStringLiteral("CREATE_NAME"))), 0);
        QTest::keyClick(window.get(), Qt::Key_F12);
        QVERIFY(!window->isVisible());
    }
    QVERIFY(prompts.shown.isEmpty());
}

void CourierFormsTest::charactersPerLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QString() << QStringLiteral("必须输入每行打印汉字数量");
    QTest::newRow("no number") << QStringLiteral("#") << QStringLiteral("必须输入每行打印汉字数量");
    QTest::newRow("2") << QStringLiteral("2") << QStringLiteral("每行打印汉字数量不能小于3");
    QTest::newRow("3") << QStringLiteral("3") << QString();
    QTest::newRow("at most 4 characters") << QStringLiteral("123456") << QString();
}

void CourierFormsTest::charactersPerLine()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    ScriptedPrompter prompts;
    TSelectFontNumberForm dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("没行打印汉字数量"));
    dialog.Number()->setText(QStringLiteral("25")); // the field's current value, selected on show
    dialog.open();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.Number());
    if (typed.isEmpty())
        QTest::keyClick(dialog.Number(), Qt::Key_Backspace);
    else
        QTest::keyClicks(dialog.Number(), typed);
    QTest::keyClick(&dialog, Qt::Key_F3);
    if (message.isEmpty()) {
        QCOMPARE(prompts.takeTexts(), QStringList());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Number()->text(), typed.left(4));
        return;
    }
    QCOMPARE(prompts.takeTexts(), QStringList{message});
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(), dialog.Number());
    QTest::keyClick(&dialog, Qt::Key_F12);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void CourierFormsTest::paperSize_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("refusedField"); // 0 width, 1 height
    QTest::newRow("no width") << QString() << QStringLiteral("297")
                              << QStringLiteral("必须输入纸张宽度") << 0;
    QTest::newRow("no height") << QStringLiteral("210") << QString()
                               << QStringLiteral("必须输入纸张高度") << 1;
    QTest::newRow("zero width") << QStringLiteral("0") << QStringLiteral("297")
                                << QStringLiteral("必须输入纸张宽度") << 0;
    QTest::newRow("both") << QStringLiteral("210") << QStringLiteral("1234567") << QString() << -1;
}

void CourierFormsTest::paperSize()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, message);
    QFETCH(int, refusedField);
    ScriptedPrompter prompts;
    TSetPrintPaperForm dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("自定义纸张大小设置窗口"));
    dialog.open();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    // Enter goes from field to field and on to "确定", which Enter then presses.
    QCOMPARE(QApplication::focusWidget(), dialog.PaperWidth());
    QTest::keyClicks(dialog.PaperWidth(), width);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.PaperHeight());
    QTest::keyClicks(dialog.PaperHeight(), height);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    auto* ok = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("确定"));
    QTest::keyClick(ok, Qt::Key_Return);
    if (message.isEmpty()) {
        QCOMPARE(prompts.takeTexts(), QStringList());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.PaperWidth()->text(), width);
        QCOMPARE(dialog.PaperHeight()->text(), height);
        return;
    }
    QCOMPARE(prompts.takeTexts(), QStringList{message});
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(),
             refusedField == 0 ? dialog.PaperWidth() : dialog.PaperHeight());
    dialog.reject();
}

// Refusals abort the key's handler; the program's application catches that.
int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    CourierFormsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_courier_forms.moc"
