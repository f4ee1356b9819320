#include "controls/edits.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/child_frame.h"
#include "test_database.h"
#include "typing.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

class EditsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typing_data();
    void typing();
    void typingOverTheWholeText();
    void inputMethodsAndColours();
    void buttonAndCaptionEdits();
    void enterRunsTheSelectHandler();
    void altDownBelongsToTheControl();
    void boundComboBox();
    void everyTextChangeReachesTheRecord_data();
    void everyTextChangeReachesTheRecord();
    void escapePutsBackTheFieldsValue();
    void fieldsTakeNoMoreThanTheirColumn_data();
    void fieldsTakeNoMoreThanTheirColumn();
};

Q_DECLARE_METATYPE(TEditTypes)

void EditsTest::typing_data()
{
    QTest::addColumn<TEditTypes>("type");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("integer refuses letters") << TEditTypes::etInteger << "1a2b"
                                             << "12";
    QTest::newRow("integer minus once") << TEditTypes::etInteger << "-12-"
                                        << "-12";
    QTest::newRow("integer marks") << TEditTypes::etInteger << "5%"
                                   << "5%";
    QTest::newRow("integer no blank") << TEditTypes::etInteger << "1 2"
                                      << "12";
    QTest::newRow("float comma is the point") << TEditTypes::etFloat << "3,5"
                                              << "3.5";
    QTest::newRow("float one separator") << TEditTypes::etFloat << "3.5.1,2"
                                         << "3.512";
    QTest::newRow("date") << TEditTypes::etDate << "2024/3/5x"
                          << "2024/3/5";
    QTest::newRow("date ten characters") << TEditTypes::etDate << "2024-03-0512"
                                         << "2024-03-05";
    QTest::newRow("time") << TEditTypes::etTime << "12:3a0"
                          << "12:30";
    QTest::newRow("text takes all") << TEditTypes::etString << "a-1 b"
                                    << "a-1 b";
}

void EditsTest::typing()
{
    QFETCH(TEditTypes, type);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    TKWEdit edit;
    edit.SetEditType(type);
    edit.show();
    edit.setFocus();
    QTest::keyClicks(&edit, keys);
    QCOMPARE(edit.text(), shown);
}

void EditsTest::typingOverTheWholeText()
{
    TKWEdit edit;
    edit.SetEditType(TEditTypes::etInteger);
    edit.setText(QStringLiteral("123"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_X, Qt::NoModifier);
    QCOMPARE(edit.text(), QStringLiteral("x")); // the selection began the text: unfiltered
    QTest::keyClick(&edit, Qt::Key_Y, Qt::NoModifier);
    QCOMPARE(edit.text(), QStringLiteral("x"));
}

void EditsTest::inputMethodsAndColours()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* text = new TKWEdit;
    auto* number = new TKWEdit;
    number->SetEditType(TEditTypes::etFloat);
    layout->addWidget(text);
    layout->addWidget(number);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(text->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(!number->testAttribute(Qt::WA_InputMethodEnabled));
    const QColor rest = number->palette().color(QPalette::Base);
    number->setFocus();
    QCOMPARE(number->palette().color(QPalette::Base), number->ColorOnFocus);
    QCOMPARE(number->maxLength(), 16);
    text->setFocus();
    QCOMPARE(number->palette().color(QPalette::Base), rest);
}

void EditsTest::buttonAndCaptionEdits()
{
    TKWComboEdit edit;
    int clicks = 0;
    edit.OnButtonClick = [&clicks] { ++clicks; };
    edit.resize(160, 24);
    edit.show();
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(clicks, 1);
    QTest::mouseClick(edit.Button(), Qt::LeftButton);
    QCOMPARE(clicks, 2);
    edit.SetDirectInput(false);
    QTest::keyClicks(&edit, "abc");
    QCOMPARE(edit.text(), QString());
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(clicks, 3); // the button still works
    QVERIFY(edit.Button()->geometry().right() < edit.width());

    TKWLComboEdit millimetres(QStringLiteral("毫米"));
    millimetres.SetEditType(TEditTypes::etFloat);
    millimetres.resize(120, 24);
    millimetres.show();
    QCOMPARE(millimetres.CaptionLabel()->text(), QStringLiteral("毫米"));
    QVERIFY(millimetres.CaptionLabel()->geometry().right() <= millimetres.width());
    QVERIFY(millimetres.textMargins().right() >= millimetres.CaptionLabel()->width());
}

void EditsTest::enterRunsTheSelectHandler()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* courier = new TKWEdit;
    auto* next = new TKWEdit;
    layout->addWidget(courier);
    layout->addWidget(next);
    TKWChild child(&window, nullptr);
    child.StartChild();
    bool keep = true;
    int selects = 0;
    courier->OnSelect = [&](bool& keepFocus) {
        ++selects;
        keepFocus = keep;
    };
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    courier->setFocus();
    QTest::keyClick(courier, Qt::Key_Return);
    QCOMPARE(selects, 1);
    QCOMPARE(QApplication::focusWidget(), courier);
    keep = false;
    QTest::keyClick(courier, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), next);
}

void EditsTest::altDownBelongsToTheControl()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* date = new TKWComboEdit;
    auto* status = new TKWComboBox;
    status->addItems({QStringLiteral("未打单"), QStringLiteral("已打单")});
    auto* plain = new TKWEdit;
    auto* last = new TKWEdit;
    for (QWidget* w : std::initializer_list<QWidget*>{date, status, plain, last})
        layout->addWidget(w);
    TKWChild child(&window, nullptr);
    child.StartChild();
    int clicks = 0;
    date->OnButtonClick = [&clicks] { ++clicks; };
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // In a child window as alone: the button is pressed, the list opens, the caret stays.
    date->setFocus();
    QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(clicks, 1);
    QCOMPARE(QApplication::focusWidget(), date);
    status->setFocus();
    QTest::keyClick(status, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(status->view()->isVisible());
    status->hidePopup();
    QCOMPARE(QApplication::focusWidget(), status);
    plain->setFocus();
    QTest::keyClick(plain, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), plain);
    // Down alone still moves on.
    QTest::keyClick(plain, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), last);
}

void EditsTest::boundComboBox()
{
    TestDatabase db;
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO SYS_USER_TABLE(USE_ID,STOP_RIGHT) "
                                                 "VALUES('A','有效')")));
    TKWQuery users;
    users.SetTableName(QStringLiteral("SYS_USER_TABLE"));
    TKWDBComboBox state(&users, QStringLiteral("STOP_RIGHT"));
    state.addItems({QStringLiteral("有效"), QStringLiteral("停用")});
    users.OpenData();
    QCOMPARE(state.currentText(), QStringLiteral("有效"));
    state.setCurrentIndex(1); // browsing: the field stays
    QCOMPARE(users.FieldText(QStringLiteral("STOP_RIGHT")), QStringLiteral("有效"));
    users.EditData();
    QCOMPARE(state.currentText(), QStringLiteral("有效"));
    state.setCurrentIndex(1);
    users.SaveData();
    QCOMPARE(GetSQLValue(kDatabaseName, QStringLiteral("SELECT STOP_RIGHT FROM SYS_USER_TABLE")),
             QStringLiteral("停用"));

    // Items that arrive after binding show the record's value and change nothing.
    for (const TDataSetState state : {TDataSetState::dsBrowse, TDataSetState::dsEdit}) {
        if (state == TDataSetState::dsEdit)
            users.EditData();
        TKWDBComboBox late(&users, QStringLiteral("STOP_RIGHT"));
        late.addItems({QStringLiteral("有效"), QStringLiteral("停用")});
        QCOMPARE(late.currentText(), QStringLiteral("停用"));
        QCOMPARE(users.FieldText(QStringLiteral("STOP_RIGHT")), QStringLiteral("停用"));
    }
    users.CancelData();
}

enum class Setter { AccessibleValue, AccessibleReplace, SetText };
Q_DECLARE_METATYPE(Setter)

void EditsTest::everyTextChangeReachesTheRecord_data()
{
    QTest::addColumn<Setter>("setter");
    QTest::newRow("screen reader value") << Setter::AccessibleValue;
    QTest::newRow("on-screen keyboard replace") << Setter::AccessibleReplace;
    QTest::newRow("setText") << Setter::SetText;
}

void EditsTest::everyTextChangeReachesTheRecord()
{
    QFETCH(Setter, setter);
    TestDatabase db;
    QVERIFY(RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                                 "CLIENT_NAME) VALUES('1','甲'),('2','乙')")));
    TKWQuery records;
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    const QString field = QStringLiteral("CLIENT_NAME");
    TKWDBEdit name(&records, field);
    name.show();
    auto put = [&](const QString& text) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&name);
        switch (setter) {
        case Setter::AccessibleValue:
            accessible->setText(QAccessible::Value, text);
            break;
        case Setter::AccessibleReplace:
            accessible->editableTextInterface()->replaceText(0, int(name.text().size()), text);
            break;
        case Setter::SetText:
            name.setText(text);
            break;
        }
    };
    // Showing the records and moving through them writes nothing.
    records.OpenData();
    records.Next();
    QCOMPARE(name.text(), records.FieldText(field));
    QCOMPARE(records.State(), TDataSetState::dsBrowse);
    // While browsing the field shows the record and nothing else.
    const QString shown = name.text();
    put(QStringLiteral("丙"));
    QCOMPARE(name.text(), shown);
    QCOMPARE(records.State(), TDataSetState::dsBrowse);

    records.EditData();
    put(QStringLiteral("丙"));
    QCOMPARE(records.FieldText(field), QStringLiteral("丙"));
    records.SaveData();
    QCOMPARE(name.text(), QStringLiteral("丙"));
    QCOMPARE(GetSQLValue(kDatabaseName,
                         QStringLiteral("SELECT COUNT(*) FROM KW_CLIENT_TABLE WHERE CLIENT_NAME = "
                                        "'丙' AND CLIENT_RECORD_ID = '%1'")
                             .arg(records.FieldText(QStringLiteral("CLIENT_RECORD_ID")))),
             QStringLiteral("1"));
}

void EditsTest::escapePutsBackTheFieldsValue()
{
    TestDatabase db;
    QVERIFY(
        RunSQL(kDatabaseName, QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID,"
                                             "CLIENT_NAME,CLIENT_PHONE) VALUES('1','甲','1')")));
    TKWQuery records;
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* name = new TKWDBEdit(&records, QStringLiteral("CLIENT_NAME"));
    auto* phone = new TKWDBEdit(&records, QStringLiteral("CLIENT_PHONE"));
    layout->addWidget(name);
    layout->addWidget(phone);
    records.OpenData();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    records.EditData();
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "x");
    phone->setFocus();
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "y");
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_NAME")), QStringLiteral("甲xy"));
    // What the field held when the caret came in, into the field and the record.
    QTest::keyClick(name, Qt::Key_Escape);
    QCOMPARE(name->text(), QStringLiteral("甲x"));
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_NAME")), QStringLiteral("甲x"));
    QCOMPARE(name->selectedText(), QStringLiteral("甲x"));
    QVERIFY(window.isVisible()); // the window never saw the key
    QCOMPARE(records.State(), TDataSetState::dsEdit);
    // While browsing Esc is the window's.
    records.CancelData();
    QTest::keyClick(name, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

enum class Entry { Keys, Paste, InputMethod };
Q_DECLARE_METATYPE(Entry)

void EditsTest::fieldsTakeNoMoreThanTheirColumn_data()
{
    // CLIENT_POSTCODE is 10 bytes wide; a Chinese character takes two.
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("kept");
    QTest::newRow("ASCII typed") << Entry::Keys << "12345678901"
                                 << "1234567890";
    QTest::newRow("Chinese typed") << Entry::Keys << "一二三四五六"
                                   << "一二三四五";
    QTest::newRow("mixed typed") << Entry::Keys << "a一二三四五"
                                 << "a一二三四";
    QTest::newRow("pasted, fits") << Entry::Paste << "一二三四五"
                                  << "一二三四五";
    QTest::newRow("pasted, too long") << Entry::Paste << "一二三四五六" << QString();
    QTest::newRow("input method, fits") << Entry::InputMethod << "北京市海淀"
                                        << "北京市海淀";
    QTest::newRow("input method, too long") << Entry::InputMethod << "北京市海淀区" << QString();
}

void EditsTest::fieldsTakeNoMoreThanTheirColumn()
{
    QFETCH(Entry, entry);
    QFETCH(QString, input);
    QFETCH(QString, kept);
    TestDatabase db;
    QVERIFY(RunSQL(kDatabaseName,
                   QStringLiteral("INSERT INTO KW_CLIENT_TABLE(CLIENT_RECORD_ID) VALUES('1')")));
    TKWQuery records;
    records.SetTableName(QStringLiteral("KW_CLIENT_TABLE"));
    TKWDBEdit postcode(&records, QStringLiteral("CLIENT_POSTCODE"));
    records.OpenData();
    postcode.show();
    postcode.setFocus();
    records.EditData();
    switch (entry) {
    case Entry::Keys:
        TypeText(&postcode, input);
        break;
    case Entry::Paste:
        QGuiApplication::clipboard()->setText(input);
        postcode.paste();
        break;
    case Entry::InputMethod: {
        QInputMethodEvent commit;
        commit.setCommitString(input);
        QApplication::sendEvent(&postcode, &commit);
        break;
    }
    }
    QCOMPARE(postcode.text(), kept);
    QCOMPARE(records.FieldText(QStringLiteral("CLIENT_POSTCODE")), kept);
    records.SaveData(); // what was kept fits
}

QTEST_MAIN(EditsTest)
#include "tst_edits.moc"
