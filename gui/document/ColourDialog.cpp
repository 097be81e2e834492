#include "document/ColourDialog.h"

#include "document/CommentColourTexts.h"

#include <QColor>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

struct ColourButton {
    ColourSlot slot;
    const char* text;
    const char* name;
    int row;
    int column;
};

// In tab order: the left column, then the right.
constexpr ColourButton Buttons[] = {
    {ColourSlot::Bar, texts::ColourBar, "colourBar", 0, 0},
    {ColourSlot::Background, texts::ColourBackground, "colourBackground", 1, 0},
    {ColourSlot::CodeText, texts::ColourCodeText, "colourCodeText", 2, 0},
    {ColourSlot::Comment1, texts::ColourComment1, "colourComment1", 0, 1},
    {ColourSlot::Comment2, texts::ColourComment2, "colourComment2", 1, 1},
};

QPushButton* Button(const char* text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

CColorDlg::CColorDlg(const ColourSettings& initial, QWidget* parent)
    : QDialog(parent), settings_(initial)
{
    setObjectName(QStringLiteral("CColorDlg"));
    setWindowTitle(QString::fromUtf8(texts::ColourTitle));

    auto* colours = new QGridLayout;
    QWidget* previous = nullptr;
    for (const ColourButton& entry : Buttons) {
        QPushButton* button = Button(entry.text, entry.name, this);
        colours->addWidget(button, entry.row, entry.column);
        connect(button, &QPushButton::clicked, this, [this, slot = entry.slot] { OnPick(slot); });
        if (previous != nullptr) {
            setTabOrder(previous, button);
        }
        previous = button;
    }

    QPushButton* ok = Button(texts::DialogOk, "colourOk", this);
    QPushButton* cancel = Button(texts::DialogCancel, "colourCancel", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CColorDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CColorDlg::reject);
    setTabOrder(previous, ok);
    setTabOrder(ok, cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(colours);
    layout->addSpacing(fontMetrics().height());
    layout->addLayout(buttons);
}

Colour CColorDlg::PickColor(Colour current, QWidget* parent)
{
    QColorDialog chooser(QColor(RedOf(current), GreenOf(current), BlueOf(current)), parent);
    if (chooser.exec() != QDialog::Accepted) {
        return current;
    }
    const QColor chosen = chooser.selectedColor();
    if (!chosen.isValid()) {
        return current;
    }
    return MakeColour(chosen.red(), chosen.green(), chosen.blue());
}

void CColorDlg::OnPick(ColourSlot slot)
{
    settings_.Pick(slot, chooser_(settings_.Shown(slot), this));
}

}  // namespace kestrel
