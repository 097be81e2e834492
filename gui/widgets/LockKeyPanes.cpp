#include "widgets/LockKeyPanes.h"

#include "app/Texts.h"

#include <QLabel>
#include <QStatusBar>

namespace kestrel {

namespace {

struct PaneName {
    LockKey key;
    const char16_t* text;
};

constexpr std::array<PaneName, 4> paneNames{{
    {LockKey::Kana, texts::IndicatorKana},
    {LockKey::Caps, texts::IndicatorCaps},
    {LockKey::Num, texts::IndicatorNum},
    {LockKey::Scroll, texts::IndicatorScroll},
}};

// Pane(key) finds a pane by the key's number.
static_assert([] {
    for (std::size_t i = 0; i < paneNames.size(); ++i) {
        if (static_cast<std::size_t>(paneNames[i].key) != i) {
            return false;
        }
    }
    return true;
}());

}  // namespace

LockKeyPanes::LockKeyPanes(QStatusBar* bar, std::unique_ptr<LockKeyIndicators> lights)
    : QObject(bar), lights_(std::move(lights))
{
    for (std::size_t i = 0; i < paneNames.size(); ++i) {
        auto* pane = new QLabel(QString::fromUtf16(paneNames[i].text), bar);
        pane->setObjectName(QStringLiteral("indicator"));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // As wide as its name also while it is empty, so the panes never
        // shift as keys change.
        pane->setFixedWidth(pane->sizeHint().width());
        bar->addPermanentWidget(pane);
        panes_[i] = pane;
    }
    connect(lights_.get(), &LockKeyIndicators::Changed, this, &LockKeyPanes::Refresh);
    Refresh();
}

LockKeyPanes::~LockKeyPanes() = default;

QLabel* LockKeyPanes::Pane(LockKey key) const
{
    return panes_[static_cast<std::size_t>(key)];
}

void LockKeyPanes::Refresh()
{
    for (std::size_t i = 0; i < paneNames.size(); ++i) {
        const std::optional<bool> on = lights_->State(paneNames[i].key);
        QLabel* pane = panes_[i];
        pane->setEnabled(on.has_value());
        pane->setText(on.value_or(true) ? QString::fromUtf16(paneNames[i].text) : QString());
    }
}

}  // namespace kestrel
