// F1 in every form opens the user guide at that form's section, with its pictures.

#include <QTextBlock>
#include <QtTest>

#include "EveryForm.h"
#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/UserGuide.h"

using namespace ardelon;
using namespace ardelon::gui;

namespace {

// Presses F1 in `window` and returns the heading the guide opened at ("" when it did not open).
QString helpHeadingFor(QWidget& window) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return QStringLiteral("not active");
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

class UserGuideTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void f1OpensTheSectionOfTheFormInFocus() {
        for (const testing::FormCase& c : testing::everyForm()) {
            std::shared_ptr<void> keep;
            std::unique_ptr<FormBase> form = c.make(keep);
            const QString expected = guideSectionFor(form.get());
            QVERIFY2(expected != QStringLiteral("Ardelon User Guide"), c.name);
            QCOMPARE(helpHeadingFor(*form), expected);
        }
        QTemporaryDir directory;
        MainWindow window(directory.filePath(QStringLiteral("ardelon.ini")));
        window.startUp({});
        // The Help menu opens the guide at its start.
        window.findChild<QAction*>(QStringLiteral("actionUserGuide"))->trigger();
        auto* guide = window.findChild<UserGuideDialog*>();
        QVERIFY(guide != nullptr);
        QCOMPARE(guide->browser()->textCursor().block().text(),
                 QStringLiteral("Ardelon User Guide"));
    }

    void guidePicturesAreBuiltIn() {
        UserGuideDialog guide;
        const QString markdown = guide.browser()->toMarkdown();
        QVERIFY(markdown.contains(QStringLiteral("images/structure.png")));
        QVERIFY(!QImage(QStringLiteral(":/guide/images/structure.png")).isNull());
    }
};

QTEST_MAIN(UserGuideTest)
#include "UserGuideTest.moc"
