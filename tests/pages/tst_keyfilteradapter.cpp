#include "pages/keyfilteradapter.h"
#include "typing.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>

namespace {

void drop(QWidget *target, const QString &text, const QPoint &at)
{
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
}

// Opens the field's context menu at its centre and chooses the paste entry.
void pasteFromContextMenu(QWidget *target)
{
    const QPoint centre = target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, centre, target->mapToGlobal(centre));
    QCoreApplication::sendEvent(target, &event);
    QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction *paste = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text().startsWith(QLatin1String("&Paste")))
            paste = action;
    }
    QVERIFY(paste);
    paste->trigger();
    menu->close();
}

} // namespace

class TestKeyFilterAdapter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete m_window; }

    void typedKeys_data();
    void typedKeys();
    void editingKeysReachTheField();
    void pasteIsFilteredAndCut_data();
    void pasteIsFilteredAndCut();
    void pasteFromContextMenuIsFiltered();
    void dropIsFiltered();
    void inputMethodTextIsFiltered();
    void multiLineFieldTakesNoEnterAndHonoursItsLimit();

private:
    QLineEdit *lineField(KeyFilter filter, int maxLength = 16);

    QWidget *m_window = nullptr;
};

void TestKeyFilterAdapter::init()
{
    m_window = new QWidget;
    m_window->resize(300, 200);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

QLineEdit *TestKeyFilterAdapter::lineField(KeyFilter filter, int maxLength)
{
    auto *field = new QLineEdit(m_window);
    field->setGeometry(10, 10, 200, 24);
    field->setMaxLength(maxLength);
    attachKeyFilter(field, filter);
    field->show();
    field->setFocus();
    return field;
}

void TestKeyFilterAdapter::typedKeys_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");

    QTest::newRow("fax number takes no plus")
        << int(KeyFilter::Digits) << QStringLiteral("+49 89-1") << QStringLiteral("49891");
    QTest::newRow("phone number takes a plus")
        << int(KeyFilter::PhoneNumber) << QStringLiteral("+49 89-1") << QStringLiteral("+49891");
    QTest::newRow("password takes no digits")
        << int(KeyFilter::Letters) << QStringLiteral("abc123 d") << QStringLiteral("abc d");
    QTest::newRow("umlaut swallowed in a name")
        << int(KeyFilter::Letters) << QStringLiteral("Jörg") << QStringLiteral("Jrg");
    QTest::newRow("umlaut folded in SMS text")
        << int(KeyFilter::SmsText) << QStringLiteral("Grüße @>") << QStringLiteral("Grue ");
    QTest::newRow("unit name") << int(KeyFilter::PlainText) << QStringLiteral("Kessel=1 (Nord)!")
                               << QStringLiteral("Kessel=1 Nord");
}

void TestKeyFilterAdapter::typedKeys()
{
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, text);

    QLineEdit *field = lineField(KeyFilter(filter));
    typing::typeText(field, typed);
    QCOMPARE(field->text(), text);
}

void TestKeyFilterAdapter::editingKeysReachTheField()
{
    QLineEdit *field = lineField(KeyFilter::Digits);
    int enters = 0;
    connect(field, &QLineEdit::returnPressed, this, [&enters] { ++enters; });
    QTest::keyClicks(field, "1234");
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->text(), QStringLiteral("23"));
    QCOMPARE(enters, 1); // Enter inserts nothing, but the field's own Enter handling still runs
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(field->selectedText(), QStringLiteral("23"));

    // Ctrl held with another modifier types the character, so it goes through the filter.
    field->clear();
    QTest::sendKeyEvent(QTest::Press, field, Qt::Key_Asterisk, QStringLiteral("*"),
        Qt::ControlModifier | Qt::KeypadModifier);
    QTest::sendKeyEvent(QTest::Press, field, Qt::Key_Plus, QStringLiteral("+"),
        Qt::ControlModifier | Qt::MetaModifier);
    QTest::sendKeyEvent(QTest::Press, field, Qt::Key_5, QStringLiteral("5"),
        Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(field->text(), QStringLiteral("5"));
}

void TestKeyFilterAdapter::pasteIsFilteredAndCut_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("after");

    QTest::newRow("fax number") << int(KeyFilter::Digits) << 16 << QString()
                                << QStringLiteral("+49 (89) 12-34") << QStringLiteral("49891234");
    QTest::newRow("phone number") << int(KeyFilter::PhoneNumber) << 16 << QString()
                                  << QStringLiteral("+49 (89) 12-34") << QStringLiteral("+49891234");
    QTest::newRow("cut to the maximum length") << int(KeyFilter::Digits) << 4 << QStringLiteral("1")
                                               << QStringLiteral("98x765") << QStringLiteral("1987");
    QTest::newRow("nothing acceptable leaves the field")
        << int(KeyFilter::Letters) << 8 << QStringLiteral("abc") << QStringLiteral("123")
        << QStringLiteral("abc");
    QTest::newRow("SMS text folds umlauts") << int(KeyFilter::SmsText) << 16 << QString()
                                            << QStringLiteral("Tür\r\nauf") << QStringLiteral("Turauf");
}

void TestKeyFilterAdapter::pasteIsFilteredAndCut()
{
    QFETCH(int, filter);
    QFETCH(int, maxLength);
    QFETCH(QString, before);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);

    for (const QKeySequence &paste : QKeySequence::keyBindings(QKeySequence::Paste)) {
        QLineEdit *field = lineField(KeyFilter(filter), maxLength);
        field->setText(before);
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keySequence(field, paste);
        QCOMPARE(field->text(), after);
        delete field;
    }
}

void TestKeyFilterAdapter::pasteFromContextMenuIsFiltered()
{
    QLineEdit *field = lineField(KeyFilter::PhoneNumber);
    QGuiApplication::clipboard()->setText(QStringLiteral("Tel. +41 44 123"));
    pasteFromContextMenu(field);
    QCOMPARE(field->text(), QStringLiteral("+4144123"));
}

void TestKeyFilterAdapter::dropIsFiltered()
{
    QLineEdit *field = lineField(KeyFilter::Digits, 6);
    field->setText(QStringLiteral("12"));
    drop(field, QStringLiteral("a3b4c5d6e7"), QPoint(190, 12));
    QCOMPARE(field->text(), QStringLiteral("123456"));

    // Text of which nothing is accepted is not taken at all.
    field->setText(QStringLiteral("12"));
    drop(field, QStringLiteral("abc"), QPoint(190, 12));
    QCOMPARE(field->text(), QStringLiteral("12"));
}

void TestKeyFilterAdapter::inputMethodTextIsFiltered()
{
    QLineEdit *field = lineField(KeyFilter::SmsText);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ä@b"));
    QCoreApplication::sendEvent(field, &composed);
    QCOMPARE(field->text(), QStringLiteral("ab"));
}

void TestKeyFilterAdapter::multiLineFieldTakesNoEnterAndHonoursItsLimit()
{
    auto *field = new QPlainTextEdit(m_window);
    field->setGeometry(10, 40, 200, 100);
    attachKeyFilter(field, KeyFilter::SmsText, 10);
    field->show();
    field->setFocus();

    typing::typeText(field, QStringLiteral("Öl"));
    QTest::keyClick(field, Qt::Key_Return);
    typing::typeText(field, QStringLiteral("an"));
    QCOMPARE(field->toPlainText(), QStringLiteral("Olan"));

    QGuiApplication::clipboard()->setText(QStringLiteral("Heizung aus\nsofort"));
    QTest::keySequence(field, QKeySequence::Paste);
    QCOMPARE(field->toPlainText(), QStringLiteral("OlanHeizun"));

    field->clear();
    pasteFromContextMenu(field->viewport());
    QCOMPARE(field->toPlainText(), QStringLiteral("Heizung au"));

    field->clear();
    drop(field->viewport(), QStringLiteral("Pumpe>1"), QPoint(5, 5));
    QCOMPARE(field->toPlainText(), QStringLiteral("Pumpe1"));
}

QTEST_MAIN(TestKeyFilterAdapter)
#include "tst_keyfilteradapter.moc"
