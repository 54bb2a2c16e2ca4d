#include "gui/replay/ChooseLapForReport.h"

#include "gui/platform/Cp1252.h"
#include "gui/widgets/LiteralText.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vra {

namespace {

std::array<QString, 5> FromCp1252(const std::array<std::string, 5>& texts) {
    std::array<QString, 5> decoded;
    for (std::size_t i = 0; i < texts.size(); ++i) decoded[i] = Cp1252ToQString(texts[i]);
    return decoded;
}

}  // namespace

ChooseLapForReport::ChooseLapForReport(std::string_view title, const std::array<std::string, 5>& texts,
                                       Prompts& prompts, QWidget* parent)
    : ChooseLapForReport(title, std::span<const QString, 5>(FromCp1252(texts)), prompts, parent) {}

ChooseLapForReport::ChooseLapForReport(std::string_view title, std::span<const QString, 5> texts, Prompts& prompts,
                                       QWidget* parent)
    : QDialog(parent), prompts_(prompts), group_(new QButtonGroup(this)) {
    setWindowTitle(Cp1252ToQString(title));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(tr("Loaded Files"), this);
    auto* boxLayout = new QVBoxLayout(box);
    for (int i = 0; i < 5; ++i) {
        const QString& text = texts[static_cast<std::size_t>(i)];
        auto* button = new QRadioButton(LiteralCaption(text), box);
        buttons_[static_cast<std::size_t>(i)] = button;
        group_->addButton(button, i);
        boxLayout->addWidget(button);
        if (i >= 2 && text.isEmpty()) {
            button->setEnabled(false);
            button->hide();
        }
    }
    layout->addWidget(box);
    auto* okCancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(okCancel);
    connect(okCancel, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(okCancel, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) { choice_ = id; });
}

void ChooseLapForReport::accept() {
    if (choice_ < 0) {
        prompts_.alert(kNoChoiceText);
        return;
    }
    QDialog::accept();
}

}  // namespace vra
