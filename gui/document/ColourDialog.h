#pragma once

#include "document/ColourSettings.h"

#include <QDialog>

#include <functional>

namespace kestrel {

// "色の設定": one button per colour, each opening the colour chooser on that
// colour. The picks are kept in the dialog; the caller stores them only when
// the dialog ends with OK.
class CColorDlg : public QDialog {
    Q_OBJECT

public:
    explicit CColorDlg(const ColourSettings& initial, QWidget* parent = nullptr);

    // The colours with every pick made so far.
    const ColourSettings& Settings() const { return settings_; }

    // Opens Qt's colour chooser on `current`; the chosen colour on OK,
    // `current` unchanged otherwise.
    static Colour PickColor(Colour current, QWidget* parent);

    // Tests replace the chooser.
    using ColourChooser = std::function<Colour(Colour current, QWidget* parent)>;
    void SetColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

private:
    void OnPick(ColourSlot slot);

    ColourSettings settings_;
    ColourChooser chooser_ = &CColorDlg::PickColor;
};

}  // namespace kestrel
