// Find Thicknesses in the desktop against `ardelon-cli design` on the same grid: the two-layer
// search of the perpetual interstate example (layer 1 from 4 to 16 in., layer 2 from 2 to 8 in.,
// step 0.5 in.; 5000 cycles, seed 1, one worker thread per core).
//
// The desktop case fills the search form with key presses, clicks Search and waits for the form to
// say the search ended, as an engineer would meet it; the command-line case runs the tool as a
// separate process. Run both in one invocation and judge by their ratio; the benchmark repeats
// the pair in alternating order so that the load of a shared machine falls on both alike.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <vector>

#include "design/CThicknessSearchDlg.h"
#include "gui/NumberEdit.h"
#include "gui/ThicknessSearchForm.h"
#include "project/ProjectJson.h"
#include "reliability/SolverResponseModel.h"

namespace {

using Control = ardelon::CThicknessSearchDlg::Control;
constexpr const char* kProject = ARDELON_EXAMPLES_DIR "/perpetual-interstate.json";

template <typename Widget>
Widget* controlOf(QWidget& form, Control c) {
    auto* found = form.findChild<Widget*>(QStringLiteral("control%1").arg(static_cast<int>(c)));
    if (found == nullptr)
        qFatal("the search form has no control %d", static_cast<int>(c));
    return found;
}

// Replaces the text of a number field by typing, then leaves it with Tab so its rule runs.
void type(QWidget& form, Control c, const char* text) {
    auto* edit = controlOf<ardelon::gui::NumberEdit>(form, c);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString::fromLatin1(text));
    QTest::keyClick(edit, Qt::Key_Tab);
}

double desktopSearchSeconds(const ardelon::CStenorDoc& project) {
    ardelon::CThicknessSearchDlg dialog(project, ardelon::layeredElasticResponses());
    ardelon::gui::ThicknessSearchForm form(dialog);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the search form was never shown");
    for (Control vary : {Control::Vary1, Control::Vary2}) {
        auto* box = controlOf<QCheckBox>(form, vary);
        if (!box->isChecked())
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    type(form, Control::Min1, "4");
    type(form, Control::Max1, "16");
    type(form, Control::Step1, "0.5");
    type(form, Control::Min2, "2");
    type(form, Control::Max2, "8");
    type(form, Control::Step2, "0.5");
    type(form, Control::Cycles, "5000");
    type(form, Control::Seed, "1");
    QSignalSpy ended(&form, &ardelon::gui::ThicknessSearchForm::searchEnded);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form.searchButton(), Qt::LeftButton);
    if (!ended.wait(3600 * 1000))
        qFatal("the desktop search did not end within an hour");
    const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    std::printf("  desktop: %s\n", qPrintable(form.summaryLabel()->text().section('\n', 0, 0)));
    return seconds;
}

double commandLineSearchSeconds() {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    tool.start(QStringLiteral(ARDELON_CLI_PATH),
               {QStringLiteral("design"), QString::fromLatin1(kProject), QStringLiteral("--vary"),
                QStringLiteral("1=4:16:0.5"), QStringLiteral("--vary"), QStringLiteral("2=2:8:0.5"),
                QStringLiteral("--cycles"), QStringLiteral("5000"), QStringLiteral("--seed"),
                QStringLiteral("1")});
    if (!tool.waitForFinished(3600 * 1000) || tool.exitCode() != 0)
        qFatal("ardelon-cli design failed");
    const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    for (const QString& line : out.split('\n')) {
        if (line.startsWith(QStringLiteral("Cheapest passing design")))
            std::printf("  command line: %s\n", qPrintable(line));
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 2;
    ardelon::CStenorDoc project;
    if (auto r = ardelon::loadProject(kProject, project); !r.ok()) {
        std::fprintf(stderr, "%s\n", r.error.c_str());
        return 1;
    }
    std::vector<double> desktop, commandLine;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which goes first, so that a change of load falls on both.
        if (round % 2 == 0) {
            desktop.push_back(desktopSearchSeconds(project));
            commandLine.push_back(commandLineSearchSeconds());
        } else {
            commandLine.push_back(commandLineSearchSeconds());
            desktop.push_back(desktopSearchSeconds(project));
        }
        std::printf("round %d: desktop %.1f s, command line %.1f s, ratio %.3f\n", round + 1,
                    desktop.back(), commandLine.back(), desktop.back() / commandLine.back());
    }
    double d = 0, c = 0;
    for (int i = 0; i < rounds; ++i) {
        d += desktop[static_cast<std::size_t>(i)];
        c += commandLine[static_cast<std::size_t>(i)];
    }
    std::printf("total: desktop %.1f s, command line %.1f s, ratio %.3f\n", d, c, d / c);
    return 0;
}
