// Number fields of the forms: text that is not a number is refused when the edit loses the
// focus, with the framework's message and the application title, and the focus stays.

#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/NumberEdit.h"

using namespace ardelon;
using namespace ardelon::gui;

class NumberEditTest : public QObject {
    Q_OBJECT

    // A form with two edits; the first has the focus.
    struct Form {
        QWidget window;
        NumberEdit* first;
        NumberEdit* second;
        explicit Form(NumberEdit::Kind kind) {
            auto* layout = new QVBoxLayout(&window);
            first = new NumberEdit(kind);
            second = new NumberEdit(NumberEdit::Kind::Number);
            layout->addWidget(first);
            layout->addWidget(second);
            window.show();
            window.activateWindow();
            if (!QTest::qWaitForWindowActive(&window))
                qFatal("window not active");
            first->setFocus(Qt::OtherFocusReason);
        }
        void tabAway() { second->setFocus(Qt::TabFocusReason); }
    };

  private Q_SLOTS:
    void textThatIsNotANumberIsRefusedAndKeepsTheFocus() {
        testing::MessageRecorder recorder;
        Form form(NumberEdit::Kind::Number);
        QSignalSpy committed(form.first, &NumberEdit::committed);
        QTest::keyClicks(form.first, QStringLiteral("12a"));
        form.tabAway();
        QCOMPARE(testing::onlyMessage(recorder), QStringLiteral("Ardelon: Please enter a number."));
        QCOMPARE(recorder.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(QApplication::focusWidget(), form.first);
        QCOMPARE(committed.count(), 0);
        QVERIFY(!form.first->number());
    }

    void integerFieldRefusesAFraction() {
        testing::MessageRecorder recorder;
        Form form(NumberEdit::Kind::Integer);
        form.first->setText(QStringLiteral("2.5"));
        form.tabAway();
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Ardelon: Please enter an integer."));
        QCOMPARE(QApplication::focusWidget(), form.first);
    }

    void rangeIsNamedInTheMessage() {
        testing::MessageRecorder recorder;
        Form form(NumberEdit::Kind::Number);
        form.first->setRange(0, 100);
        form.first->setText(QStringLiteral("120"));
        form.tabAway();
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Ardelon: Please enter a number between 0 and 100."));
    }

    void validNumberCommitsAndMovesOn() {
        testing::MessageRecorder recorder;
        Form form(NumberEdit::Kind::Number);
        QSignalSpy committed(form.first, &NumberEdit::committed);
        QTest::keyClicks(form.first, QStringLiteral("6.25"));
        form.tabAway();
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(committed.count(), 1);
        QCOMPARE(QApplication::focusWidget(), form.second);
        QCOMPARE(form.first->number(), std::optional<double>(6.25));
    }

    void shownNumbersReadBackExactly() {
        NumberEdit edit;
        edit.setNumber(13200.000000000002);
        QCOMPARE(edit.number(), std::optional<double>(13200.000000000002));
        edit.setInteger(-4);
        QCOMPARE(edit.text(), QStringLiteral("-4"));
    }
};

QTEST_MAIN(NumberEditTest)
#include "NumberEditTest.moc"
