#pragma once

#include <QDialog>

namespace kestrel {

// The version box: program icon, product line, version and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace kestrel
