#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/settings.h"
#include "modal.h"
#include "records/choice_dialogs.h"
#include "records/field_catalogue.h"
#include "records/field_settings.h"
#include "records/main_form.h"
#include "scripted_prompter.h"
#include "session/app_globals.h"
#include "test_database.h"
#include "typing.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class FieldSettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void inputModeRules();
    void placeChanges_data();
    void placeChanges();
    void configurationWindow();
    void settingsRebuildTheMainWindow();
};

namespace {

QString rowText(const QString& field)
{
    return GetSQLValue(kDatabaseName,
                       QStringLiteral("SELECT FIELD_ORDER || '|' || FIELD_DISPLAY_NAME || '|' || "
                                      "FIELD_FIND_TYPE || '|' || COALESCE(FIELD_ORDER_TYPE,'') "
                                      "FROM SYS_CLIENT_FIELD_TABLE WHERE FIELD_NAME = '%1'")
                           .arg(field));
}

QStringList headers(const TMainForm& main)
{
    QStringList out;
    const QAbstractItemModel* model = main.Grid()->view()->model();
    for (int i = 0; i < model->columnCount(); ++i)
        out << model->headerData(i, Qt::Horizontal).toString();
    return out;
}

void clickButton(QWidget* window, const QString& caption)
{
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == caption)
            return b->click();
    QFAIL("no such button");
}

} // namespace

void FieldSettingsTest::inputModeRules()
{
    const QString typed = kTypedInput;
    const QString picked = kPickedInput;
    QCOMPARE(StartingInputMode(QString(), QString()).fixed, false);
    QCOMPARE(StartingInputMode(QStringLiteral("CLIENT_NAME"), QStringLiteral("DT")).mode, typed);
    QVERIFY(StartingInputMode(QStringLiteral("CLIENT_NAME"), QStringLiteral("DT")).fixed);
    QCOMPARE(StartingInputMode(QStringLiteral("FAST_NAME"), QStringLiteral("T")).mode, picked);
    QCOMPARE(StartingInputMode(QStringLiteral("TEXT_FIELD2"), QStringLiteral("DT")).mode, picked);
    QVERIFY(!StartingInputMode(QStringLiteral("TEXT_FIELD2"), QStringLiteral("DT")).fixed);
    QVERIFY(StartingInputMode(QStringLiteral("DATE_FIELD1"), QStringLiteral("D")).fixed);

    QCOMPARE(InputModeForChoice(QStringLiteral("2日期字段")), picked);
    QCOMPARE(InputModeForChoice(QStringLiteral("发货人字段")), picked);
    QCOMPARE(InputModeForChoice(QStringLiteral("收货人字段")), typed);
    QCOMPARE(InputModeForChoice(QStringLiteral("3数据字段")), typed);
    QVERIFY(!InputModeForChoice(QStringLiteral("5字符字段")));
}

void FieldSettingsTest::placeChanges_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("oldField");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("message");
    // FIELD=row afterwards ("order|caption|kind|sort"), empty for no row.
    QTest::addColumn<QStringList>("rows");

    const QString typed = kTypedInput;
    const QString picked = kPickedInput;
    QTest::newRow("clearing removes the row")
        << 7 << "CLIENT_POSTCODE"
        << " "
        << "邮编字段" << typed << "" << QStringList{"CLIENT_POSTCODE="};
    QTest::newRow("a key field keeps its caption")
        << 1 << "CLIENT_ORDER_ID"
        << ""
        << "订单编号字段" << typed << "该字段是关键字段,必须输入字段名称"
        << QStringList{"CLIENT_ORDER_ID=1|订单编号|T|"};
    QTest::newRow("picked text writes DT")
        << 13 << ""
        << "客户类别"
        << "4字符字段" << picked << "" << QStringList{"TEXT_FIELD4=13|客户类别|DT|否"};
    QTest::newRow("renaming to its own caption")
        << 3 << "CLIENT_NAME"
        << "收件人"
        << "收货人字段" << typed << "" << QStringList{"CLIENT_NAME=3|收件人|T|否"};
    QTest::newRow("another field's caption")
        << 3 << "CLIENT_NAME"
        << "收件城市"
        << "收货人字段" << typed << "字段名称重复" << QStringList{"CLIENT_NAME=3|收件人|T|"};
    // Refused: the place keeps the field it had.
    QTest::newRow("field placed elsewhere")
        << 5 << "CLIENT_HANDSET_PHONE"
        << "城市"
        << "3字符字段" << typed << "该字段已被定义为：收件城市\r\n不能重复定义"
        << QStringList{"CLIENT_HANDSET_PHONE=5|收件手机|T|", "TEXT_FIELD3=9|收件城市|T|"};
    QTest::newRow("moving a place to another field, caption kept")
        << 5 << "CLIENT_HANDSET_PHONE"
        << "收件手机"
        << "5字符字段" << typed << ""
        << QStringList{"CLIENT_HANDSET_PHONE=", "TEXT_FIELD5=5|收件手机|T|否"};
    QTest::newRow("note only on the last place")
        << 5 << "CLIENT_HANDSET_PHONE"
        << "备注2"
        << "备注字段" << typed << "最后一个字段才能是\"备注字段\""
        << QStringList{"CLIENT_HANDSET_PHONE=5|收件手机|T|"};
    QTest::newRow("numbering only first") << 3 << "CLIENT_NAME"
                                          << "编号"
                                          << "编号字段" << typed << "第一个字段才能是\"编号字段\""
                                          << QStringList{"CLIENT_NAME=3|收件人|T|"};
    QTest::newRow("unknown choice") << 13 << ""
                                    << "甲"
                                    << "10字符字段" << typed << "字段类别错误" << QStringList{};
    QTest::newRow("no choice") << 13 << ""
                               << "甲"
                               << "" << typed << "必须选择一个字段" << QStringList{};
    QTest::newRow("the note line moves to its place")
        << kNotePlace << "TEXT_NOTE"
        << "O'Neil 附注"
        << "备注字段" << typed << "" << QStringList{"TEXT_NOTE=26|O'Neil 附注|T|否"};
}

void FieldSettingsTest::placeChanges()
{
    QFETCH(int, place);
    QFETCH(QString, oldField);
    QFETCH(QString, caption);
    QFETCH(QString, choice);
    QFETCH(QString, mode);
    QFETCH(QString, message);
    QFETCH(QStringList, rows);
    TestDatabase db;
    QVERIFY(EnsureDefaultCatalogue());
    PlaceFieldChange change;
    change.place = place;
    change.oldField = oldField;
    change.caption = caption;
    change.choice = choice;
    change.inputMode = mode;
    change.choiceUsable = place != 1 && place != kAddressPlace && place != kNotePlace;
    const PlaceFieldOutcome outcome = ApplyPlaceFieldChange(change);
    QCOMPARE(outcome.message, message);
    QCOMPARE(outcome.accepted, message.isEmpty());
    for (const QString& expected : rows)
        QCOMPARE(rowText(expected.section(QLatin1Char('='), 0, 0)),
                 expected.section(QLatin1Char('='), 1));
}

void FieldSettingsTest::configurationWindow()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    QVERIFY(EnsureDefaultCatalogue());
    TSetClientFieldForm form;
    QCOMPARE(form.PlaceButton(1)->text(), QStringLiteral("订单编号"));
    QCOMPARE(form.PlaceButton(13)->text(), QStringLiteral("未定义"));
    QCOMPARE(form.PlaceButton(kNotePlace)->text(), QStringLiteral("备注"));
    QVERIFY(form.PlacePreview(7) && !form.PlacePreview(7)->isEnabled());
    QVERIFY(!form.Changed());

    // Closing the dialog unchanged still marks the window as changed.
    OnNextModal("TSelectClientFieldForm", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    form.PlaceButton(2)->click();
    QVERIFY(form.Changed());

    // A key place: the choice cannot be changed, the input mode is fixed.
    OnNextModal("TSelectClientFieldForm", [](QWidget* w) {
        auto* dialog = static_cast<TSelectClientFieldForm*>(w);
        QVERIFY(!dialog->Choice()->isEnabled());
        QCOMPARE(dialog->Choice()->currentText(), QStringLiteral("收货地址字段"));
        QVERIFY(!dialog->InputMode()->isEnabled());
        dialog->Caption()->clear();
        clickButton(dialog, QStringLiteral("确定"));
        dialog->reject();
    });
    form.PlaceButton(kAddressPlace)->click();
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("该字段是关键字段,必须输入字段名称")});

    // A free place gets a picked text field; the preview moves in.
    OnNextModal("TSelectClientFieldForm", [](QWidget* w) {
        auto* dialog = static_cast<TSelectClientFieldForm*>(w);
        QVERIFY(dialog->InputMode()->isEnabled());
        TypeText(dialog->Caption(), QStringLiteral("客户类别超长名字"));
        QCOMPARE(dialog->Caption()->text(), QStringLiteral("客户类别超长")); // 12 bytes
        dialog->Choice()->setCurrentText(QStringLiteral("1日期字段"));
        QVERIFY(!dialog->InputMode()->isEnabled());
        dialog->Choice()->setCurrentText(QStringLiteral("6字符字段"));
        QVERIFY(dialog->InputMode()->isEnabled());
        dialog->InputMode()->setCurrentText(kPickedInput);
        dialog->SortField()->setChecked(true);
        clickButton(dialog, QStringLiteral("确定"));
    });
    form.PlaceButton(13)->click();
    QCOMPARE(form.PlaceButton(13)->text(), QStringLiteral("客户类别超长"));
    QVERIFY(form.PlacePreview(13));
    QCOMPARE(rowText(QStringLiteral("TEXT_FIELD6")), QStringLiteral("13|客户类别超长|DT|是"));

    // Clearing the caption frees the place.
    OnNextModal("TSelectClientFieldForm", [](QWidget* w) {
        auto* dialog = static_cast<TSelectClientFieldForm*>(w);
        dialog->Caption()->clear();
        clickButton(dialog, QStringLiteral("确定"));
    });
    form.PlaceButton(7)->click();
    QCOMPARE(form.PlaceButton(7)->text(), QStringLiteral("未定义"));
    QVERIFY(!form.PlacePreview(7));
    QVERIFY(prompts.shown.isEmpty());
}

void FieldSettingsTest::settingsRebuildTheMainWindow()
{
    TestDatabase db;
    ScriptedPrompter prompts;
    AppGlobals.UserID = QStringLiteral("A01");
    AppGlobals.IsSysUser = false;
    TMainForm main;
    main.show();
    // The list's columns follow the catalogue's order.
    QCOMPARE(headers(main).mid(0, 6),
             (QStringList{"打单状态", "订单编号", "订单日期", "收件人", "收件单位", "收件手机"}));
    QAbstractButton* settings = main.ToolButton(QStringLiteral("设置"));
    settings->click();
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("只有系统管理员才能设置")});

    AppGlobals.IsSysUser = true;
    auto choose = [](int item) {
        OnNextModal("TSelectItemQueryForm", [item](QWidget* w) {
            auto* form = static_cast<TSelectItemQueryForm*>(w);
            form->Group()->button(item)->click();
            form->accept();
        });
    };
    // Remove the order date, the only date of the catalogue.
    choose(1);
    OnNextModal("TSetClientFieldForm", [](QWidget* w) {
        auto* form = static_cast<TSetClientFieldForm*>(w);
        OnNextModal("TSelectClientFieldForm", [](QWidget* d) {
            static_cast<TSelectClientFieldForm*>(d)->Caption()->clear();
            static_cast<QDialog*>(d)->accept();
        });
        form->PlaceButton(2)->click();
        form->reject();
    });
    settings->click();
    QVERIFY(!headers(main).contains(QStringLiteral("订单日期")));
    QVERIFY(headers(main).contains(QStringLiteral("收件人")));
    QCOMPARE(main.DateNodeField, QStringLiteral("CREATE_DATE"));
    QCOMPARE(main.DateNodeButton()->text(), QStringLiteral("日期范围节点按建挡日期"));
    QVERIFY(main.Records()->Active());
    QVERIFY(prompts.shown.isEmpty());

    choose(2);
    settings->click();
    QCOMPARE(prompts.takeTexts(), QStringList{QStringLiteral("没有日期字段,不能设置日期范围节点")});
}

QTEST_MAIN(FieldSettingsTest)
#include "tst_field_settings.moc"
