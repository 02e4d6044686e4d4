#include "gui/InfoDialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ApplicationTexts.h"
#include "gui/QtDialogHost.h"
#include "output/CDisclaimerDlg.h"

namespace ardelon::gui {

namespace {

// The program's emblem: a cut through three pavement layers.
QPixmap emblem() {
    QPixmap pixmap(56, 56);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(2, 2, 52, 52), 8, 8);
    p.setClipPath(clip);
    p.fillRect(QRectF(2, 2, 52, 16), QColor(58, 58, 60));
    p.fillRect(QRectF(2, 18, 52, 16), QColor(214, 186, 140));
    p.fillRect(QRectF(2, 34, 52, 20), QColor(150, 112, 76));
    p.setClipping(false);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(2, 2, 52, 52), 8, 8);
    return pixmap;
}

QString plainLines(std::string_view text) {
    return toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(toQString(kAboutCaption));
    auto* icon = new QLabel;
    icon->setPixmap(emblem());
    icon->setAlignment(Qt::AlignTop);

    auto* program = new QLabel(toQString(kAboutProgram));
    program->setObjectName(QStringLiteral("program"));
    QFont big = program->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    program->setFont(big);
    auto* credit = new QLabel(toQString(kAboutCredit));
    credit->setObjectName(QStringLiteral("credit"));
    credit->setWordWrap(true);
    auto* release = new QLabel(toQString(kAboutRelease));
    release->setObjectName(QStringLiteral("release"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(program);
    texts->addWidget(credit);
    texts->addSpacing(6);
    texts->addWidget(release);
    texts->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 18, 24, 18);
    layout->setSpacing(16);
    layout->addWidget(icon);
    layout->addLayout(texts, 1);
    setFixedWidth(420);
}

DisclaimerDialog::DisclaimerDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("disclaimerDialog"));
    setWindowTitle(toQString(CDisclaimerDlg::kCaption));
    text_ = new QLabel(plainLines(kDisclaimerText));
    text_->setObjectName(QStringLiteral("disclaimerText"));
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(14);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace ardelon::gui
