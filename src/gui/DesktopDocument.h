#pragma once
// Opening a written document (the workbook) with the program the desktop registers for it.

#include <QObject>
#include <QUrl>
#include <functional>

namespace ardelon::gui {

// Replaceable so that tests open nothing. Returns whether a program was started.
using OpenDocumentHandler = std::function<bool(const QUrl& document)>;
void setOpenDocumentHandler(OpenDocumentHandler handler);  // empty: the desktop's

// Opens `document`; `notOpened` runs (at once, or later on `context`'s thread once the desktop
// has answered) when no program could open it.
void openDocument(const QUrl& document, QObject* context, std::function<void()> notOpened);

}  // namespace ardelon::gui
