#include "render/PrintSizeTab.h"

#include "print/PrintTexts.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace kestrel {

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QRadioButton* MakeRadio(const char* text, const char* name, QWidget* parent)
{
    auto* button = new QRadioButton(Text(text), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

constexpr double MicrometresPerMillimetre = 1000.0;

}  // namespace

PrintSizeTab::PrintSizeTab(PrintSizeModel& model, PreviewRunner preview, QWidget* parent)
    : QWidget(parent), model_(model), preview_(std::move(preview)),
      oneDot_(MakeRadio(texts::print::OneDotPerPixel, "oneDotPerPixel", this)),
      module_(MakeRadio(texts::print::ModuleWidth, "moduleWidth", this)),
      fit_(MakeRadio(texts::print::FitPageWidth, "fitPageWidth", this)),
      millimetres_(new QDoubleSpinBox(this)), size_(new QLabel(this))
{
    setWindowTitle(Text(texts::print::TabTitle));

    millimetres_->setObjectName(QStringLiteral("millimetres"));
    millimetres_->setDecimals(3);
    millimetres_->setRange(PrintSizeModel::MinMicrometres / MicrometresPerMillimetre,
                           PrintSizeModel::MaxMicrometres / MicrometresPerMillimetre);
    millimetres_->setSingleStep(PrintSizeModel::StepMicrometres / MicrometresPerMillimetre);
    millimetres_->setSuffix(QLatin1Char(' ') + Text(texts::print::Millimetres));
    millimetres_->setValue(model_.Micrometres() / MicrometresPerMillimetre);
    size_->setObjectName(QStringLiteral("printedSize"));
    size_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* previewButton = new QPushButton(Text(texts::print::Preview), this);
    previewButton->setObjectName(QStringLiteral("preview"));

    auto* moduleRow = new QHBoxLayout;
    moduleRow->addWidget(module_);
    moduleRow->addWidget(millimetres_);
    moduleRow->addStretch();
    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(previewButton);
    previewRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(oneDot_);
    layout->addLayout(moduleRow);
    layout->addWidget(fit_);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addWidget(size_);
    layout->addLayout(previewRow);
    layout->addStretch();

    (model_.Mode() == PrintScaleMode::ModuleWidth    ? module_
     : model_.Mode() == PrintScaleMode::FitPageWidth ? fit_
                                                     : oneDot_)
        ->setChecked(true);
    connect(oneDot_, &QRadioButton::toggled, this,
            [this](bool on) { on ? SetMode(PrintScaleMode::OneDotPerPixel) : void(); });
    connect(module_, &QRadioButton::toggled, this,
            [this](bool on) { on ? SetMode(PrintScaleMode::ModuleWidth) : void(); });
    connect(fit_, &QRadioButton::toggled, this,
            [this](bool on) { on ? SetMode(PrintScaleMode::FitPageWidth) : void(); });
    connect(millimetres_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        model_.SetMicrometres(static_cast<int>(std::lround(value * MicrometresPerMillimetre)));
        Refresh();
    });
    connect(previewButton, &QPushButton::clicked, this, [this] {
        if (preview_) {
            preview_(model_.Choice(), this);
        }
    });
    Refresh();
}

void PrintSizeTab::SetMode(PrintScaleMode mode)
{
    model_.SetMode(mode);
    Refresh();
}

void PrintSizeTab::Refresh()
{
    millimetres_->setEnabled(model_.MillimetresEnabled());
    size_->setText(QString::fromStdString(model_.SizeText()));
}

}  // namespace kestrel
