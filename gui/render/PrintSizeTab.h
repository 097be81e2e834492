#pragma once

#include "print/PrintSizeModel.h"

#include <QWidget>

#include <functional>

class QDoubleSpinBox;
class QLabel;
class QRadioButton;

namespace kestrel {

// The "印刷サイズ" tab of the print dialog, bound to a `PrintSizeModel`: the
// three sizes, the module width box (usable only with its button), the
// printed size, and a preview button. The window title is the tab's caption.
//
// Object names, for tests and scripts: "oneDotPerPixel", "moduleWidth",
// "millimetres", "fitPageWidth", "printedSize", "preview".
class PrintSizeTab : public QWidget {
    Q_OBJECT

public:
    // Shows the page as the choice would print it, over `parent`.
    using PreviewRunner = std::function<void(const PrintChoice&, QWidget* parent)>;

    PrintSizeTab(PrintSizeModel& model, PreviewRunner preview, QWidget* parent = nullptr);

private:
    void SetMode(PrintScaleMode mode);
    void Refresh();

    PrintSizeModel& model_;
    PreviewRunner preview_;
    QRadioButton* oneDot_;
    QRadioButton* module_;
    QRadioButton* fit_;
    QDoubleSpinBox* millimetres_;
    QLabel* size_;
};

}  // namespace kestrel
