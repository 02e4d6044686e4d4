// Every form and the main window fit the screen they open on. ctest runs this on two emulated
// screens: 1366 x 768 at 100 % and 1920 x 1080 at 150 % scaling, each less a 40-pixel task bar
// (1366 x 728 and, in logical pixels, 1280 x 693). A form fits when the smallest size its
// layout allows and the size it opens with, plus the window's title bar and frame, lie within the
// screen's free area.

#include <QScreen>
#include <QtTest>

#include "EveryForm.h"
#include "GuiTestSupport.h"
#include "gui/ChartsView.h"
#include "gui/MainWindow.h"

using namespace ardelon;
using namespace ardelon::gui;

namespace {

// The title bar and frame the window manager adds around a window, logical pixels.
constexpr QSize kWindowFrame{16, 40};

void verifyFits(QWidget& window, const char* name) {
    const QSize area = window.screen()->availableGeometry().size() - kWindowFrame;
    const QSize smallest = window.minimumSizeHint().expandedTo(window.minimumSize());
    for (const QSize& size : {smallest, window.size()}) {
        QVERIFY2(size.width() <= area.width() && size.height() <= area.height(),
                 qPrintable(QStringLiteral("%1: %2 x %3 on a free area of %4 x %5")
                                .arg(QString::fromLatin1(name))
                                .arg(size.width())
                                .arg(size.height())
                                .arg(area.width())
                                .arg(area.height())));
    }
}

}  // namespace

class WindowFitTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void screenIsOneOfTheTwo() {
        const QSize free = QGuiApplication::primaryScreen()->availableGeometry().size();
        QVERIFY2(free == QSize(1366, 728) || free == QSize(1280, 693),
                 qPrintable(QStringLiteral("%1 x %2").arg(free.width()).arg(free.height())));
    }

    void everyFormAndTheMainWindowFit() {
        for (const testing::FormCase& c : testing::everyForm()) {
            std::shared_ptr<void> keep;
            std::unique_ptr<FormBase> form = c.make(keep);
            form->show();
            verifyFits(*form, c.name);
        }
        QTemporaryDir directory;
        MainWindow window(directory.filePath(QStringLiteral("ardelon.ini")));
        window.startUp({});
        window.show();
        verifyFits(window, "main window");
        // The Charts view, with as many charts as a run of the example draws.
        RunFigures figures;
        figures.depthProfiles.resize(4);
        figures.loadShares.resize(5);
        figures.distributions.resize(4);
        for (ResponseDistribution& d : figures.distributions)
            d.limits.resize(1);
        ChartsView charts(std::move(figures), English);
        charts.show();
        verifyFits(charts, "charts");
    }
};

QTEST_MAIN(WindowFitTest)
#include "WindowFitTest.moc"
