// Every form as a user meets it: Enter in a field presses the form's own default button (OK, Accept
// Changes, Leave Module) and nothing else; Escape closes the form keeping nothing; F1 opens the
// user guide at that form's section, with its pictures; every number field tells, when the pointer
// rests on it, its quantity, its unit and the values it takes.

#include <QApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include "EveryForm.h"
#include "GuiTestSupport.h"
#include "design/DepthResponseModel.h"
#include "gui/MainWindow.h"
#include "gui/ThicknessSearchForm.h"
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

// "<quantity>[, <unit>]: <range>[ (<note>)]", the range bounded, open or any number.
const QRegularExpression kHint(QStringLiteral(
    R"(^[A-Z][^:]+: (-?[0-9.e+]+ to -?[0-9.e+]+|[0-9.]+ or more|more than [0-9.]+|any number))"
    R"(( \(.+\))?$)"));

// The number of visible number edits of `form`; each must carry a hint.
int checkHints(FormBase& form, const char* name) {
    form.show();
    int seen = 0;
    for (NumberEdit* edit : form.findChildren<NumberEdit*>()) {
        if (!edit->isVisible())
            continue;
        ++seen;
        if (!kHint.match(edit->toolTip()).hasMatch()) {
            qWarning("%s: %s has the hint \"%s\"", name, qPrintable(edit->objectName()),
                     qPrintable(edit->toolTip()));
            return -1;
        }
    }
    return seen;
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

    void f1OpensTheSectionOfTheFormInFocusAndEveryFieldHasAHint() {
        int fields = 0;
        for (const FormCase& c : testing::everyForm()) {
            std::shared_ptr<void> keep;
            std::unique_ptr<FormBase> form = c.make(keep);
            const int seen = checkHints(*form, c.name);
            QVERIFY2(seen >= 0, c.name);
            fields += seen;
            const QString expected = guideSectionFor(form.get());
            QVERIFY2(expected != QStringLiteral("Ardelon User Guide"), c.name);
            QCOMPARE(helpHeadingFor(*form), expected);
        }
        CThicknessSearchDlg search(testing::interstateProject(), testing::depthModel());
        ThicknessSearchForm searchForm(search);
        const int seen = checkHints(searchForm, "thickness search");
        QVERIFY(seen > 0);
        // Structure 14, load spectra 66, vehicle types 40 and the rest: no form was skipped.
        QVERIFY2(fields + seen > 150, qPrintable(QString::number(fields + seen)));
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
