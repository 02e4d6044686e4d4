#include "gui/TransferFunctionsForm.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <vector>

namespace ardelon::gui {

namespace {

// A formula drawn as a figure: pieces of text on the baseline, as subscripts, superscripts and
// subscripts of a superscript.
enum class Script { Base, Sub, Sup, SupSub };
struct Piece {
    QString text;
    Script script;
};

class FormulaPicture : public QWidget {
  public:
    FormulaPicture(std::vector<Piece> pieces, QString legend)
        : pieces_(std::move(pieces)), legend_(std::move(legend)) {
        setMinimumSize(360, 92);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(170, 170, 170));
        p.drawRect(rect().adjusted(0, 0, -1, -1));

        QFont base(QStringLiteral("serif"));
        base.setPointSizeF(17);
        QFont script = base;
        script.setPointSizeF(11);
        QFont nested = base;
        nested.setPointSizeF(8.5);
        const QFontMetricsF baseMetrics(base);
        const double ascent = baseMetrics.ascent();
        auto fontOf = [&](Script s) {
            return s == Script::Base ? base : s == Script::SupSub ? nested : script;
        };
        auto rise = [&](Script s) {
            switch (s) {
                case Script::Sub:
                    return -0.22 * ascent;
                case Script::Sup:
                    return 0.48 * ascent;
                case Script::SupSub:
                    return 0.30 * ascent;
                case Script::Base:
                    break;
            }
            return 0.0;
        };
        double width = 0;
        for (const Piece& piece : pieces_) {
            width += QFontMetricsF(fontOf(piece.script)).horizontalAdvance(piece.text);
        }
        const double baseline = height() * 0.52;
        double x = (this->width() - width) / 2;
        p.setPen(QColor(20, 20, 20));
        for (const Piece& piece : pieces_) {
            const QFont font = fontOf(piece.script);
            p.setFont(font);
            p.drawText(QPointF(x, baseline - rise(piece.script)), piece.text);
            x += QFontMetricsF(font).horizontalAdvance(piece.text);
        }
        QFont small = this->font();
        p.setFont(small);
        p.setPen(QColor(90, 90, 90));
        p.drawText(QRectF(6, baseline + 10, this->width() - 12, height() - baseline - 12),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, legend_);
    }

  private:
    std::vector<Piece> pieces_;
    QString legend_;
};

QWidget* fatiguePicture() {
    return new FormulaPicture(
        {{QStringLiteral("N"), Script::Base},
         {QStringLiteral("F"), Script::Sub},
         {QStringLiteral(" = K"), Script::Base},
         {QStringLiteral("1"), Script::Sub},
         {QStringLiteral(" \u00b7 (10"), Script::Base},
         {QStringLiteral("6"), Script::Sup},
         {QStringLiteral(" / \u03b5"), Script::Base},
         {QStringLiteral("t"), Script::Sub},
         {QStringLiteral(")"), Script::Base},
         {QStringLiteral("K"), Script::Sup},
         {QStringLiteral("2"), Script::SupSub}},
        QStringLiteral("\u03b5t: tensile horizontal strain, microstrain (magnitude)"));
}

QWidget* ruttingPicture() {
    return new FormulaPicture({{QStringLiteral("N"), Script::Base},
                               {QStringLiteral("R"), Script::Sub},
                               {QStringLiteral(" = K"), Script::Base},
                               {QStringLiteral("3"), Script::Sub},
                               {QStringLiteral(" \u00b7 (1 / \u03b5"), Script::Base},
                               {QStringLiteral("v"), Script::Sub},
                               {QStringLiteral(")"), Script::Base},
                               {QStringLiteral("K"), Script::Sup},
                               {QStringLiteral("4"), Script::SupSub}},
                              QStringLiteral("\u03b5v: compressive vertical strain, microstrain"));
}

}  // namespace

TransferFunctionsForm::TransferFunctionsForm(TransferFunctionsDialog& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    using Control = TransferFunctionsDialog::Control;
    setObjectName(QStringLiteral("transferFunctionsForm"));
    setWindowTitle(toQString(TransferFunctionsDialog::kCaption));

    const Control edits[] = {Control::K1, Control::K2, Control::K3, Control::K4};
    for (int i = 0; i < 4; ++i) {
        edits_[static_cast<std::size_t>(i)] = numberEdit(edits[i]);
        edits_[static_cast<std::size_t>(i)]->setMinimumWidth(130);
    }

    auto group = [&](std::string_view title, int first, Control reset, QWidget* picture) {
        auto* box = new QGroupBox(toQString(title));
        auto* fields = new QFormLayout;
        fields->addRow(QStringLiteral("K%1").arg(first + 1),
                       edits_[static_cast<std::size_t>(first)]);
        fields->addRow(QStringLiteral("K%1").arg(first + 2),
                       edits_[static_cast<std::size_t>(first + 1)]);
        auto* resetButton =
            bound(reset, new QPushButton(toQString(TransferFunctionsDialog::kResetButton)));
        fields->addRow(QString(), resetButton);
        auto* layout = new QHBoxLayout(box);
        layout->addLayout(fields);
        layout->addSpacing(12);
        layout->addWidget(picture, 1);
        return std::pair{box, resetButton};
    };
    auto [fatigue, resetFatigue] =
        group(TransferFunctionsDialog::kFatigueGroup, 0, Control::ResetFatigue, fatiguePicture());
    auto [rutting, resetRutting] =
        group(TransferFunctionsDialog::kRuttingGroup, 2, Control::ResetRutting, ruttingPicture());
    connect(resetFatigue, &QPushButton::clicked, this, [this] {
        dialog_.onResetFatigue();
        showMembers();
    });
    connect(resetRutting, &QPushButton::clicked, this, [this] {
        dialog_.onResetRutting();
        showMembers();
    });

    auto* buttons = new QDialogButtonBox;
    auto* ok = bound(Control::Ok, new QPushButton(QStringLiteral("OK")));
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(bound(Control::Cancel, cancelButton(QStringLiteral("Cancel"))),
                       QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &TransferFunctionsForm::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fatigue);
    layout->addWidget(rutting);
    auto* note = new QLabel(toQString(TransferFunctionsDialog::kStartingPointNote));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(buttons);
    showMembers();
    showFieldHints(dialog_);
}

void TransferFunctionsForm::showMembers() {
    for (std::size_t i = 0; i < 4; ++i)
        edits_[i]->setNumber(dialog_.coefficient[i]);
}

bool TransferFunctionsForm::readCoefficients() {
    if (!validateNumberEdits())
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        dialog_.coefficient[i] = *edits_[i]->number();
    return true;
}

void TransferFunctionsForm::accept() {
    if (readCoefficients())
        QDialog::accept();
}

bool runTransferFunctions(QWidget* parent, CStenorDoc& workingCopy) {
    const auto& k = workingCopy.transferCoefficient;
    TransferFunctionsDialog dialog(k[0], k[1], k[2], k[3]);
    TransferFunctionsForm form(dialog, parent);
    dialog.onInitDialog(form.host());
    if (form.exec() != QDialog::Accepted)
        return false;
    dialog.storeTo(workingCopy);
    return true;
}

}  // namespace ardelon::gui
