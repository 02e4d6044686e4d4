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
#include "gui/MainWindow.h"
#include "gui/ThicknessSearchForm.h"
#include "gui/UserGuide.h"
#include "support/DepthResponseModel.h"

using namespace ardelon;
using namespace ardelon::gui;
using ardelon::testing::FormCase;
using ardelon::testing::kSavedDistribution;

namespace {

// A value inside the range `edit`'s hint names, other than the one it shows: typed into it.
QString valueWithinHint(const NumberEdit* edit) {
    static const QRegularExpression range(QStringLiteral(
        R"(: (-?[0-9.e+]+) to (-?[0-9.e+]+)|: ([0-9.]+) or more|: more than ([0-9.]+))"));
    const QRegularExpressionMatch m = range.match(edit->toolTip());
    const double shown = edit->text().toDouble();
    double value = shown + 1;
    if (!m.captured(1).isEmpty()) {
        const double low = m.captured(1).toDouble();
        const double high = m.captured(2).toDouble();
        value = low + 0.37 * (high - low);
        if (high - low >= 10)
            value = std::round(value);
        if (value == shown)
            value = low + 0.61 * (high - low);
    } else if (!m.captured(3).isEmpty() || !m.captured(4).isEmpty()) {
        value = std::round(
            std::max(shown, m.captured(3).toDouble() + m.captured(4).toDouble()) * 1.3 + 2);
    }
    return value == std::round(value) ? QString::number(static_cast<qlonglong>(value))
                                      : QString::number(value, 'g', 4);
}

// What the user sees and what the form keeps after `text` is typed into the field
// `fieldIndex` and the form is left with Enter (or by clicking the default button): the form's
// result, its messages, the text of every field and label, and the project it hands back.
QString outcome(const FormCase& c, int fieldIndex, const QString& text, bool enter) {
    testing::MessageRecorder recorder;
    std::shared_ptr<void> keep;
    std::unique_ptr<FormBase> form = c.make(keep);
    testing::activate(*form);
    NumberEdit* edit = nullptr;
    int index = 0;
    for (NumberEdit* candidate : form->findChildren<NumberEdit*>()) {
        if (candidate->isVisible() && candidate->isEnabled() && index++ == fieldIndex)
            edit = candidate;
    }
    if (edit == nullptr)
        return {};
    edit->setFocus(Qt::TabFocusReason);  // as Tab would: its text selected
    QTest::keyClicks(edit, text);
    if (enter)
        QTest::keyClick(edit, Qt::Key_Return);
    else
        QTest::mouseClick(form->defaultButton(), Qt::LeftButton);
    QString seen = QStringLiteral("result %1\n").arg(form->result());
    for (const auto& message : recorder.messages)
        seen += message.caption + QStringLiteral(": ") + message.text + QLatin1Char('\n');
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            seen += line->text() + QLatin1Char('|');
        else if (auto* label = qobject_cast<QLabel*>(widget))
            seen += label->text() + QLatin1Char('|');
    }
    if (c.saved)
        seen += QString::fromStdString(c.saved(keep));
    return seen;
}

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

    // Every number field of every form: typing a value and pressing Enter keeps exactly what
    // typing it and clicking the accept button keeps (the field's own rule runs first: clamps and
    // their messages, recomputed moduli, axle groups per day, stored and shown percentages).
    void enterCommitsTheFocusedFieldBeforeTheFormAccepts() {
        int fields = 0;
        for (const FormCase& c : testing::everyForm()) {
            std::shared_ptr<void> keep;
            std::unique_ptr<FormBase> form = c.make(keep);
            testing::activate(*form);
            // The form opens ready for typing in a number field.
            auto* focused = qobject_cast<NumberEdit*>(QApplication::focusWidget());
            const QList<NumberEdit*> edits = form->findChildren<NumberEdit*>();
            QVERIFY2(focused != nullptr || edits.isEmpty(), c.name);
            if (auto* structure = dynamic_cast<StructureForm*>(form.get()))
                QCOMPARE(focused, structure->thicknessEdit(1));
            if (auto* spectra = dynamic_cast<LoadSpectraForm*>(form.get()))
                QCOMPARE(focused, spectra->aadtEdit());
            int index = 0;
            for (NumberEdit* edit : edits) {
                if (!edit->isVisible() || !edit->isEnabled())
                    continue;
                const QString text = valueWithinHint(edit);
                const QString byEnter = outcome(c, index, text, true);
                const QString byClick = outcome(c, index, text, false);
                QVERIFY2(byEnter == byClick,
                         qPrintable(QStringLiteral("%1, %2 = %3:\n%4\n----\n%5")
                                        .arg(QString::fromLatin1(c.name), edit->objectName(), text,
                                             byEnter.left(600), byClick.left(600))));
                ++index;
            }
            fields += index;
        }
        QVERIFY2(fields >= 130, qPrintable(QString::number(fields)));  // no form was skipped
    }

    // The interstate example as a user meets it: a value typed and Enter, with its exact
    // consequences.
    void enterKeepsTheTypedValueWithItsConsequences() {
        const CStenorDoc interstate = testing::interstateProject();
        auto typeAndEnter = [](FormBase& form, QLineEdit* edit, const QString& text) {
            testing::activate(form);
            edit->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
            return form.result() == QDialog::Accepted;
        };
        {
            CStructureDlg dialog;
            dialog.loadFrom(interstate);
            StructureForm form(dialog);
            auto* summer =
                testing::control<NumberEdit>(form, CStructureDlg::temperatureEdit(Summer));
            QVERIFY(typeAndEnter(form, summer, QStringLiteral("90")));
            CStenorDoc doc = interstate;
            dialog.storeTo(doc);
            QCOMPARE(doc.meanAirTemperature[Summer], 90.0);
            // Hotter, so softer than the 347863 psi of 80 F: the modulus 90 F gives at the depth
            // of layer 1.
            QCOMPARE(std::round(doc.seasonalModulus[0][Summer]), 235288.0);
        }
        {
            CStructureDlg dialog;
            dialog.loadFrom(interstate);
            StructureForm form(dialog);
            QVERIFY(typeAndEnter(form, form.thicknessEdit(1), QStringLiteral("9")));  // not 89
            CStenorDoc byEnter = interstate;
            dialog.storeTo(byEnter);
            QCOMPARE(byEnter.thickness[0], 9.0);
            QVERIFY(byEnter.seasonalModulus != interstate.seasonalModulus);
        }
        {
            testing::MessageRecorder recorder;
            CLoadingConditionsDlg dialog(interstate);
            LoadSpectraForm form(dialog);
            QVERIFY(typeAndEnter(form, form.percentTrucksEdit(), QStringLiteral("26")));
            CStenorDoc doc;
            dialog.copyToProject(doc);
            QCOMPARE(doc.axleGroupsPerDay, 10654);
        }
        {
            CLoadingConditionsDlg dialog(interstate);
            LoadSpectraForm form(dialog);
            QVERIFY(typeAndEnter(form, form.binEdit(0), QStringLiteral("1")));
            CStenorDoc doc;
            dialog.copyToProject(doc);
            QCOMPARE(doc.loadSpectra[Single][0], 1.0);
            QCOMPARE(dialog.shownLoadPercent[0], 1.0);
        }
        {
            testing::MessageRecorder recorder;
            CInputVariabilityDlg dialog;
            InputVariabilityForm form(dialog);
            QVERIFY(typeAndEnter(form, form.modulusCovEdit(), QStringLiteral("1500")));
            QCOMPARE(dialog.modulusCov, 1000.0);
            QCOMPARE(testing::onlyMessage(recorder),
                     QStringLiteral("Value Out of Range: The value has been set to the maximum."));
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
