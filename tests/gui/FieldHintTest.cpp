// Every number field of every form tells, when the pointer rests on it, its quantity, its unit
// and the values it takes; a hint that depends on the form's state follows it.

#include <QComboBox>
#include <QRegularExpression>
#include <QtTest>

#include "EveryForm.h"
#include "GuiTestSupport.h"
#include "design/DepthResponseModel.h"
#include "gui/ThicknessSearchForm.h"

using namespace ardelon;
using namespace ardelon::gui;

namespace {

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

template <typename Widget, typename Control>
Widget* control(QWidget& form, Control c) {
    return form.findChild<Widget*>(QStringLiteral("control%1").arg(static_cast<int>(c)));
}

}  // namespace

class FieldHintTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyVisibleNumberFieldNamesItsUnitAndRange() {
        int fields = 0;
        for (const testing::FormCase& c : testing::everyForm()) {
            std::shared_ptr<void> keep;
            std::unique_ptr<FormBase> form = c.make(keep);
            const int seen = checkHints(*form, c.name);
            QVERIFY2(seen >= 0, c.name);
            fields += seen;
        }
        CThicknessSearchDlg search(testing::interstateProject(), testing::depthModel());
        ThicknessSearchForm searchForm(search);
        const int seen = checkHints(searchForm, "thickness search");
        QVERIFY(seen > 0);
        // Structure 14, load spectra 66, vehicle types 40 and the rest: no form was skipped.
        QVERIFY2(fields + seen > 150, qPrintable(QString::number(fields + seen)));
    }

    void aModulusHintFollowsTheMaterialChosen() {
        testing::MessageRecorder recorder;
        CStructureDlg dialog;
        dialog.loadFrom(CStenorDoc{});
        StructureForm form(dialog);
        form.show();
        using Control = CStructureDlg::Control;
        auto* modulus = control<NumberEdit>(form, Control::Modulus2);
        auto* material = control<QComboBox>(form, Control::Material2);
        QVERIFY(modulus && material);
        const QString before = modulus->toolTip();
        const int rock = materialIndexOf(2, MaterialType::Rock);
        material->setCurrentIndex(rock);
        Q_EMIT material->activated(rock);
        QCOMPARE(modulus->toolTip(), QString::fromStdString(dialog.hint(Control::Modulus2).text));
        QVERIFY2(modulus->toolTip() != before, qPrintable(before));
    }
};

QTEST_MAIN(FieldHintTest)
#include "FieldHintTest.moc"
