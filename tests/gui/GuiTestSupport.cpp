#include "GuiTestSupport.h"

#include <QApplication>
#include <QSet>
#include <QTest>
#include <QTimer>

#include "project/ProjectJson.h"
#include "reliability/RunPreparation.h"

namespace ardelon::testing {

MessageRecorder::MessageRecorder() {
    gui::setMessageHandler([this](QWidget*, const gui::MessageRequest& request) {
        messages.append(request);
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return request.buttons == MessageButtons::Ok || request.buttons == MessageButtons::OkCancel
                   ? MessageAnswer::Ok
                   : MessageAnswer::Yes;
    });
    gui::setFileHandler([this](QWidget*, const gui::FileRequest&) -> std::optional<QString> {
        if (files.empty())
            return std::nullopt;
        // Copied out as a plain string: GCC at -O1 takes a copied optional for uninitialised.
        const bool chosen = files.front().has_value();
        const QString name = files.front().value_or(QString());
        files.pop_front();
        return chosen ? std::optional<QString>(name) : std::nullopt;
    });
}

MessageRecorder::~MessageRecorder() {
    gui::setMessageHandler({});
    gui::setFileHandler({});
}

void whenDialogOpens(std::function<void(QDialog*)> inspect) {
    // Polls until the modal dialog is up: exec() starts its own event loop, which runs the timer.
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect = std::move(inspect)] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            inspect(dialog);
            if (dialog->isVisible())
                dialog->reject();  // unless the inspection closed it
            timer->deleteLater();
        }
    });
    timer->start();
}

void activate(QWidget& form) {
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("form not active");
}

void typeAndLeave(QLineEdit* edit, const QString& text, QWidget* next) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->setText(text);
    next->setFocus(Qt::TabFocusReason);
}

QString onlyMessage(const MessageRecorder& recorder) {
    if (recorder.messages.size() != 1)
        return QStringLiteral("%1 messages").arg(recorder.messages.size());
    return recorder.messages[0].caption + QStringLiteral(": ") + recorder.messages[0].text;
}

int colourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    }
    return static_cast<int>(colours.size());
}

CStenorDoc interstateProject() {
    CStenorDoc project;
    const FileResult loaded = loadProject(
        std::string(ARDELON_SOURCE_DIR) + "/examples/perpetual-interstate.json", project);
    if (!loaded.ok())
        qFatal("example project not readable: %s", loaded.error.c_str());
    prepareViewOutput(project);
    return project;
}

}  // namespace ardelon::testing
