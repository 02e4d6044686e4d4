#include "gui/PdfReportForm.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace ardelon::gui {
namespace {

constexpr const char* kGroup = "PdfReport";
constexpr int kMaxTextLength = 200;

QString& settingsFileName() {
    static QString name;
    return name;
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

PdfReportForm::PdfReportForm(const ReportDetails& details, QWidget* parent)
    : QDialog(parent),
      title_(new QLineEdit),
      description_(new QPlainTextEdit),
      client_(new QLineEdit),
      engineer_(new QLineEdit) {
    setWindowTitle(QString::fromLatin1(kCaption));
    const ReportDetails shown = details.empty() ? remembered() : details;
    title_->setText(q(shown.title));
    description_->setPlainText(q(shown.description));
    client_->setText(q(shown.client));
    engineer_->setText(q(shown.engineer));
    for (QLineEdit* edit : {title_, client_, engineer_})
        edit->setMaxLength(kMaxTextLength);
    description_->setTabChangesFocus(true);
    description_->setMaximumHeight(90);
    title_->setPlaceholderText(QStringLiteral("Pavement Design Report"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Title:"), title_);
    form->addRow(QStringLiteral("&Description:"), description_);
    form->addRow(QStringLiteral("&Client:"), client_);
    form->addRow(QStringLiteral("&Engineer:"), engineer_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        remember(this->details());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

ReportDetails PdfReportForm::details() const {
    return {title_->text().trimmed().toStdString(),
            description_->toPlainText().trimmed().toStdString(),
            client_->text().trimmed().toStdString(), engineer_->text().trimmed().toStdString()};
}

void PdfReportForm::setSettingsFile(const QString& path) {
    settingsFileName() = path;
}

QSettings PdfReportForm::settings() {
    if (!settingsFileName().isEmpty())
        return QSettings(settingsFileName(), QSettings::IniFormat);
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ardelon"),
                     QStringLiteral("ardelon"));
}

ReportDetails PdfReportForm::remembered() {
    QSettings s = settings();
    s.beginGroup(QString::fromLatin1(kGroup));
    return {s.value(QStringLiteral("Title")).toString().toStdString(),
            s.value(QStringLiteral("Description")).toString().toStdString(),
            s.value(QStringLiteral("Client")).toString().toStdString(),
            s.value(QStringLiteral("Engineer")).toString().toStdString()};
}

void PdfReportForm::remember(const ReportDetails& d) {
    QSettings s = settings();
    s.beginGroup(QString::fromLatin1(kGroup));
    s.setValue(QStringLiteral("Title"), q(d.title));
    s.setValue(QStringLiteral("Description"), q(d.description));
    s.setValue(QStringLiteral("Client"), q(d.client));
    s.setValue(QStringLiteral("Engineer"), q(d.engineer));
}

}  // namespace ardelon::gui
