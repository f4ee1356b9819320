#include "app/application.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "data/record_set.h"
#include "frame/window_family.h"
#include "modal.h"
#include "model/courier.h"
#include "platform/clock.h"
#include "platform/printers.h"
#include "records/choice_dialogs.h"
#include "records/field_catalogue.h"
#include "records/main_form.h"
#include "scripted_prompter.h"
#include "seam_guards.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "waybill/courier_forms.h"
#include "waybill/courier_widgets.h"
#include "waybill/designer_form.h"
#include "waybill/preview_form.h"
#include "waybill/waybill_view.h"

#include <QButtonGroup>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

class DesignerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void addDragAndRemove();
    void slotFollowsTheStoredKey();
    void fontAndCharactersPerLine();
    void storedLayoutIsShown();
    void previewPrintsAndOffsetsComeBack();
    void openedFromTheMainWindow();
    void courierListKeepsItsColumn();

private:
    TestDatabase* m_db = nullptr;
    ScriptedPrompter* m_prompts = nullptr;
    TKWQuery* m_records = nullptr;
    TKWQuery* m_couriers = nullptr;
};

namespace {

const QPoint kOrigin = LayoutWaybillView::PictureOrigin();

void press(QWidget* w, Qt::MouseButton button, QPoint at)
{
    QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, {});
    QApplication::sendEvent(w, &e);
}

void drag(QWidget* w, QPoint from, QPoint to)
{
    press(w, Qt::LeftButton, from);
    QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &move);
    QMouseEvent up(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                   {});
    QApplication::sendEvent(w, &up);
}

QString fieldRow(const QString& key)
{
    return GetSQLValue(kDatabaseName,
                       QStringLiteral("SELECT printf('%g,%g,', FIELD_NAME_LEFT, FIELD_NAME_TOP) || "
                                      "FIELD_FONT_NAME || printf(',%d,%g', FIELD_FONT_SIZE, "
                                      "FIELD_FONT_NUMBER) FROM KW_FAST_NAME_PRINT_TABLE WHERE "
                                      "FIELD_RECORD_ID = '%1'")
                           .arg(key));
}

void chooseCatalogue(TSetFastNamePrintForm& designer, const QString& caption)
{
    const QList<QListWidgetItem*> items =
        designer.Catalogue()->findItems(caption, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    designer.Catalogue()->setCurrentItem(items.first());
}

// Answers the right-click chooser with option `item`.
void chooseOption(int item, std::function<void()> next = {})
{
    OnNextModal("TSelectItemQueryForm", [item, next](QWidget* w) {
        auto* form = static_cast<TSelectItemQueryForm*>(w);
        QCOMPARE(form->windowTitle(), QStringLiteral("操作选择"));
        const int preselected = form->Chosen();
        form->Group()->button(item)->click();
        if (next)
            next();
        form->accept();
        QCOMPARE(preselected, 1); // "设置字体大小"
    });
}

} // namespace

void DesignerTest::init()
{
    m_db = new TestDatabase;
    m_prompts = new ScriptedPrompter;
    AppGlobals.DBPath = m_db->dbPath();
    AppGlobals.UserName = QStringLiteral("王五");
    AppGlobals.UserID = QStringLiteral("A01");
    QVERIFY(EnsureDefaultCatalogue());
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_FAST_NAME_TABLE(FAST_ID,FAST_NAME,FAST_DEFAULT,"
                                  "FAST_NAME_HEIGHT,FAST_NAME_WIDTH,FAST_TOP,FAST_LEFT,FAST_BOTTOM)"
                                  " VALUES('A','甲快递','是',127,230,0,0,0)")));
    QVERIFY(
        RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                             "CLIENT_NAME,STATUS) VALUES('1','张三','未打单')")));
    m_records = new TKWQuery;
    m_records->SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    PrepareQuery(*m_records);
    m_records->OpenData();
    m_couriers = new TKWQuery;
    ConfigureCourierQuery(*m_couriers, AppGlobals.UserName, AppGlobals.WorkDate);
    m_couriers->OpenData();
}

void DesignerTest::cleanup()
{
    SetPrinterBackend(nullptr);
    delete m_couriers;
    delete m_records;
    delete m_prompts;
    delete m_db;
}

void DesignerTest::addDragAndRemove()
{
    TSetFastNamePrintForm designer(m_records, m_couriers);
    designer.show();
    const WaybillScale scale = ScreenWaybillScale();
    designer.AddField(); // nothing chosen: nothing happens
    QVERIFY(designer.Slot(0)->isHidden());

    chooseCatalogue(designer, QStringLiteral("收件人"));
    designer.Button(QStringLiteral("→"))->click();
    FieldCaption* first = designer.Slot(0);
    QVERIFY(first->isVisible());
    QCOMPARE(first->pos(), kOrigin + QPoint(40, 40));
    QCOMPARE(first->text(), QStringLiteral("收件人"));
    const QString mm40 = QString::number(qRound(40 / scale.x));
    QCOMPARE(fieldRow(first->Key),
             QStringLiteral("%1,%2,%3,10,25")
                 .arg(mm40, QString::number(qRound(40 / scale.y)), kNewFieldFontName));
    // The same field again, at the next point, with another key.
    designer.AddField();
    QCOMPARE(designer.Slot(1)->pos(), kOrigin + QPoint(60, 60));
    QVERIFY(designer.Slot(1)->Key != first->Key);

    // Dragging stores the new place in whole millimetres; the size stays.
    drag(first, QPoint(3, 3), QPoint(3 + 77, 3 + 38));
    QCOMPARE(first->pos(), kOrigin + QPoint(117, 78));
    QCOMPARE(fieldRow(first->Key).section(QLatin1Char(','), 0, 1),
             QStringLiteral("%1,%2").arg(qRound(117 / scale.x)).arg(qRound(78 / scale.y)));
    QVERIFY(first->Selected());
    QVERIFY(!designer.Slot(1)->Selected());

    // Twenty at most.
    for (int i = 2; i < TSetFastNamePrintForm::kSlots; ++i)
        designer.AddField();
    QVERIFY(m_prompts->shown.isEmpty());
    designer.AddField();
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("最多打印20个字段")});
    QCOMPARE(
        GetSQLValue(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM KW_FAST_NAME_PRINT_TABLE")),
        QStringLiteral("20"));

    // "←" removes the red one only.
    const QString key = first->Key;
    designer.Button(QStringLiteral("←"))->click();
    QVERIFY(first->isHidden());
    QVERIFY(fieldRow(key).isEmpty());
    designer.Button(QStringLiteral("←"))->click(); // none selected now
    QCOMPARE(
        GetSQLValue(kDatabaseName, QStringLiteral("SELECT COUNT(*) FROM KW_FAST_NAME_PRINT_TABLE")),
        QStringLiteral("19"));
}

void DesignerTest::slotFollowsTheStoredKey()
{
    FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 0)));
    QString firstKey;
    {
        TSetFastNamePrintForm designer(m_records, m_couriers);
        designer.show();
        chooseCatalogue(designer, QStringLiteral("收件人"));
        designer.AddField();
        firstKey = designer.Slot(0)->Key;
    }
    // Reopened within the same second: the add counter starts again.
    TSetFastNamePrintForm designer(m_records, m_couriers);
    designer.show();
    chooseCatalogue(designer, QStringLiteral("收件地址"));
    designer.AddField();
    FieldCaption* added = designer.Slot(1);
    const QString key = added->Key;
    QVERIFY(key != firstKey);
    QCOMPARE(GetSQLValue(kDatabaseName,
                         QStringLiteral("SELECT FIELD_NAME FROM KW_FAST_NAME_PRINT_TABLE WHERE "
                                        "FIELD_RECORD_ID = %1")
                             .arg(QuotedStr(key))),
             QStringLiteral("CLIENT_ADD"));
    // A drag and "←" act on the field added, never on the first.
    const QString first = fieldRow(firstKey);
    const QString before = fieldRow(key);
    drag(added, QPoint(3, 3), QPoint(3 + 80, 3 + 40));
    QVERIFY(fieldRow(key) != before);
    QCOMPARE(fieldRow(firstKey), first);
    designer.Button(QStringLiteral("←"))->click();
    QVERIFY(fieldRow(key).isEmpty());
    QCOMPARE(fieldRow(firstKey), first);
    QVERIFY(m_prompts->shown.isEmpty());
}

void DesignerTest::fontAndCharactersPerLine()
{
    TSetFastNamePrintForm designer(m_records, m_couriers);
    designer.show();
    chooseCatalogue(designer, QStringLiteral("发件单位"));
    designer.AddField();
    FieldCaption* caption = designer.Slot(0);
    QCOMPARE(caption->font().pointSize(), 9); // stored 10, shown a point smaller

    // A short face is stored as chosen; the size is the chosen one.
    m_prompts->fonts.enqueue(QFont(QStringLiteral("黑体"), 14));
    chooseOption(1);
    press(caption, Qt::RightButton, QPoint(2, 2));
    QCOMPARE(fieldRow(caption->Key).section(QLatin1Char(','), 2, 3), QStringLiteral("黑体,14"));
    QCOMPARE(caption->font().pointSize(), 13);
    // A face too long for the column is kept under a short name that resolves to it.
    m_prompts->fonts.enqueue(QFont(QStringLiteral("Noto Serif CJK SC"), 12));
    chooseOption(1);
    press(caption, Qt::RightButton, QPoint(2, 2));
    QCOMPARE(fieldRow(caption->Key).section(QLatin1Char(','), 2, 3), QStringLiteral("宋体,12"));

    // Characters per line: 2 refused, 3 stored.
    chooseOption(2, [] {
        OnNextModal("TSelectFontNumberForm", [](QWidget* w) {
            auto* dialog = static_cast<TSelectFontNumberForm*>(w);
            QCOMPARE(dialog->Number()->text(), QStringLiteral("25"));
            dialog->Number()->setText(QStringLiteral("2"));
            QTest::keyClick(dialog, Qt::Key_F3);
            QVERIFY(dialog->isVisible());
            dialog->Number()->setText(QStringLiteral("3"));
            QTest::keyClick(dialog, Qt::Key_F3);
        });
    });
    press(caption, Qt::RightButton, QPoint(2, 2));
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("每行打印汉字数量不能小于3")});
    QCOMPARE(fieldRow(caption->Key).section(QLatin1Char(','), 4), QStringLiteral("3"));
}

void DesignerTest::storedLayoutIsShown()
{
    const WaybillScale scale = ScreenWaybillScale();
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_FAST_NAME_PRINT_TABLE(FIELD_RECORD_ID,FAST_ID,"
                                  "FIELD_NAME,FIELD_DISPLAY_NAME,FIELD_FONT_NAME,FIELD_FONT_SIZE,"
                                  "FIELD_NAME_LEFT,FIELD_NAME_TOP,FIELD_FONT_NUMBER) VALUES "
                                  "('k1','A','CLIENT_NAME','收件人','宋体',4,30,20,10),"
                                  "('k2','A','CLIENT_ADD','收件地址','宋体',12,10,-5,10)")));
    TSetFastNamePrintForm designer(m_records, m_couriers);
    designer.show();
    FieldCaption* small = designer.Slot(0);
    QCOMPARE(small->Key, QStringLiteral("k1"));
    QCOMPARE(small->pos(), kOrigin + QPoint(qRound(30 * scale.x), qRound(20 * scale.y)));
    QCOMPARE(small->font().pointSize(), 8);
    // Dragged above the picture before: shown at the placement point.
    QCOMPARE(designer.Slot(1)->pos().y(), kOrigin.y() + 40);
    QCOMPARE(designer.Slot(1)->font().pointSize(), 11);
    // A drag stores the size the field prints at.
    drag(small, QPoint(1, 1), QPoint(1, 1));
    QCOMPARE(fieldRow(QStringLiteral("k1")).section(QLatin1Char(','), 2, 3),
             QStringLiteral("宋体,9"));
}

void DesignerTest::previewPrintsAndOffsetsComeBack()
{
    QTemporaryDir out;
    PdfFilePrinters pdf(out.path());
    PrinterBackendGuard printers(&pdf);
    TSetFastNamePrintForm designer(m_records, m_couriers);
    designer.show();
    chooseCatalogue(designer, QStringLiteral("收件人"));
    designer.AddField();
    OnNextModal("TFastPrintPreviewForm", [](QWidget* w) {
        auto* preview = static_cast<TFastPrintPreviewForm*>(w);
        QCOMPARE(preview->View()->runs().size(), 1);
        QCOMPARE(preview->View()->runs().first().text, QStringLiteral("张三"));
        TKWLComboEdit* top = preview->Offsets()->Edit(QStringLiteral("上边距"));
        top->setFocus();
        top->selectAll();
        QTest::keyClicks(top, QStringLiteral("-3"));
        preview->PrintButton()->click();
        preview->reject();
    });
    designer.Button(QStringLiteral("打印预览"))->click();
    QCOMPARE(designer.Sizes()->Edit(QStringLiteral("上边距"))->text(), QStringLiteral("-3"));
    QCOMPARE(QFileInfo(pdf.lastFile()).fileName(), QStringLiteral("waybill-00001.pdf"));
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT STATUS FROM KW_CLIENT_TABLE")),
             QStringLiteral("已打单"));

    m_records->CloseData();
    m_records->SQL = QStringLiteral("SELECT * FROM KW_CLIENT_TABLE WHERE 1 = 0");
    m_records->OpenData();
    designer.Button(QStringLiteral("打印预览"))->click();
    QCOMPARE(m_prompts->takeTexts(),
             QStringList{QStringLiteral("没有客户快件记录,不能打印预览快递单")});
}

void DesignerTest::openedFromTheMainWindow()
{
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("DELETE FROM KW_FAST_NAME_TABLE")));
    AppGlobals.IsSysUser = true;
    TMainForm main;
    main.show();
    QPushButton* design = nullptr;
    for (QPushButton* b : main.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("快递单打印设置"))
            design = b;
    QVERIFY(design && design->isEnabled());
    design->click();
    QCOMPARE(m_prompts->takeTexts(), QStringList{QStringLiteral("您没有编辑快递名称资料的权限")});

    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_RIGHT_TABLE(USE_ID,COMPOSE_ID,"
                                                 "PROGRAM_ID,ADD_RIGHT,BROWSE_RIGHT,PRINT_RIGHT) "
                                                 "VALUES('A01',1,2,'是','是','是')")));
    // No courier yet: said so, and the courier editor opens to add the first.
    OnNextModal("TSelectFastNameEditForm", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    design->click();
    QCOMPARE(m_prompts->takeTexts(),
             QStringList{QStringLiteral("没有快递名称资料，不可以设置快件记录打印")});
}

void DesignerTest::courierListKeepsItsColumn()
{
    TSetFastNamePrintForm designer(m_records, m_couriers);
    designer.show();
    auto headers = [](const TKWQueryModel* model) {
        QStringList names;
        for (int c = 0; c < model->columnCount(); ++c)
            names << model->headerData(c, Qt::Horizontal).toString();
        return names;
    };
    // The editor shows the list it borrows with its own columns; the designer
    // behind it keeps the names alone, then and after.
    QStringList behind, inEditor;
    OnNextModal("TSelectFastNameEditForm", [&](QWidget* w) {
        behind = headers(designer.CourierList()->model());
        inEditor = headers(static_cast<TSelectFastNameEditForm*>(w)->Grid()->model());
        static_cast<QDialog*>(w)->reject();
    });
    designer.Button(QStringLiteral("增加新快递名称"))->click();
    QCOMPARE(inEditor.size(), 8);
    QCOMPARE(inEditor.at(1), QStringLiteral("标准收费"));
    QCOMPARE(behind, QStringList{QStringLiteral("快递名称")});
    QCOMPARE(headers(designer.CourierList()->model()), QStringList{QStringLiteral("快递名称")});
}

// Refusals abort their handler; the program's application catches that.
int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    DesignerTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_designer.moc"
