// Keys in every form: Enter in a field presses the form's own default button (OK, Accept Changes,
// Leave Module) and nothing else; Escape closes the form keeping nothing; F1 opens the user guide
// at that form's section, with its pictures.

#include <QApplication>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include "EveryForm.h"
#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/UserGuide.h"

using namespace ardelon;
using namespace ardelon::gui;
using ardelon::testing::FormCase;
using ardelon::testing::kSavedDistribution;

namespace {

// Presses `key` in the form's first field and returns the form's result; `nested` tells whether
// another dialog opened meanwhile (it is closed so that the test goes on).
int press(FormBase& form, Qt::Key key, bool& nested) {
    form.show();
    QWidget* field = &form;
    for (QWidget* child : form.findChildren<QLineEdit*>()) {
        if (child->isVisible() && child->isEnabled() &&
            !static_cast<QLineEdit*>(child)->isReadOnly()) {
            field = child;
            break;
        }
    }
    field->setFocus();
    nested = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            open && open != &form) {
            nested = true;
            open->reject();
        }
    });
    closer.start(20);
    QTest::keyClick(field, key);
    return form.result();
}

// Presses F1 in `window` and returns the heading the guide opened at ("" when it did not open).
QString helpHeadingFor(QWidget& window) {
    testing::activate(window);
    QTest::keyClick(&window, Qt::Key_F1);
    auto* guide = window.findChild<UserGuideDialog*>();
    if (guide == nullptr)
        return {};
    const QTextBlock block = guide->browser()->textCursor().block();
    const QString heading = block.blockFormat().headingLevel() > 0 ? block.text() : QString();
    guide->close();
    return heading;
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void enterAcceptsAndEscapeCancelsEveryForm() {
        for (const FormCase& c : testing::everyForm()) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
                testing::MessageRecorder recorder;
                std::shared_ptr<void> keep;
                std::unique_ptr<FormBase> form = c.make(keep);
                QPushButton* button = form->defaultButton();
                QVERIFY2(button != nullptr, c.name);
                bool nested = false;
                const int result = press(*form, key, nested);
                const int expected = key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected;
                QVERIFY2(result == expected && !nested, c.name);
                QVERIFY2(recorder.messages.isEmpty(),
                         qPrintable(QString::fromLatin1(c.name) + QStringLiteral(": ") +
                                    recorder.messages.value(0).text));
                if (QString::fromLatin1(c.name) == QStringLiteral("layer criteria")) {
                    auto* criteria = static_cast<LayerCriteriaDialog*>(keep.get());
                    QCOMPARE(criteria->slots[slotIndex(1, Bottom)].distribution,
                             kSavedDistribution);
                }
            }
        }
    }

    void f1OpensTheSectionOfTheFormInFocus() {
        for (const FormCase& c : testing::everyForm()) {
            std::shared_ptr<void> keep;
            std::unique_ptr<FormBase> form = c.make(keep);
            const QString expected = guideSectionFor(form.get());
            QVERIFY2(expected != QStringLiteral("Ardelon User Guide"), c.name);
            QCOMPARE(helpHeadingFor(*form), expected);
        }
        QTemporaryDir directory;
        MainWindow window(directory.filePath(QStringLiteral("ardelon.ini")));
        window.startUp({});
        // The Help menu opens the guide at its start, with its pictures built in.
        window.findChild<QAction*>(QStringLiteral("actionUserGuide"))->trigger();
        auto* guide = window.findChild<UserGuideDialog*>();
        QVERIFY(guide != nullptr);
        QCOMPARE(guide->browser()->textCursor().block().text(),
                 QStringLiteral("Ardelon User Guide"));
        QVERIFY(guide->browser()->toMarkdown().contains(QStringLiteral("images/structure.png")));
        QVERIFY(!QImage(QStringLiteral(":/guide/images/structure.png")).isNull());
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
