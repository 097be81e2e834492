#pragma once

#include <QAbstractSpinBox>

namespace kestrel {

// An edit box for a number with an up-down control attached: the arrows, the
// Up and Down keys and the mouse wheel step the number within the range, but
// whatever the user types stays as typed, good or not, until the page reads
// it back and says what is wrong.
class UpDownEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    UpDownEdit(int low, int high, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    // Where stepping starts when the box holds no number; kept in range.
    int Position() const { return position_; }
    void SetPosition(int position);
    int Low() const { return low_; }
    int High() const { return high_; }

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    // The number in the box, or the position when the box holds none.
    int Current() const;

    int low_;
    int high_;
    int position_;
};

}  // namespace kestrel
