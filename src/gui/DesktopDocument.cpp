#include "gui/DesktopDocument.h"

#include <QDesktopServices>
#include <QProcess>

namespace ardelon::gui {
namespace {

OpenDocumentHandler& openDocumentHandler() {
    static OpenDocumentHandler handler;
    return handler;
}

}  // namespace

void setOpenDocumentHandler(OpenDocumentHandler handler) {
    openDocumentHandler() = std::move(handler);
}

void openDocument(const QUrl& document, QObject* context, std::function<void()> notOpened) {
    if (openDocumentHandler()) {
        if (!openDocumentHandler()(document))
            notOpened();
        return;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt reports success as soon as xdg-open starts; only its exit status tells whether a
    // program took the file (3 and 4: no program, or it failed).
    auto* opener = new QProcess(context);
    QObject::connect(opener, &QProcess::finished, context,
                     [opener, notOpened](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             notOpened();
                         opener->deleteLater();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, context,
                     [opener, notOpened](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             notOpened();
                             opener->deleteLater();
                         }
                     });
    opener->start(QStringLiteral("xdg-open"), {document.toLocalFile()});
#else
    (void)context;
    if (!QDesktopServices::openUrl(document))
        notOpened();
#endif
}

}  // namespace ardelon::gui
