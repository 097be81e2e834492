#pragma once

#include "document/FieldExchange.h"

#include <QAbstractSpinBox>

class QLineEdit;

namespace kestrel {

// An edit box for a number with an up-down control attached, as the code
// dialog and the options pages use it. Whatever the user types stays as
// typed, good or not, until the dialog reads it back and says what is
// wrong. The arrows, the Up and Down keys and the mouse wheel step the box's
// number, or the control's position when the box holds none, within the
// field's limits and write it into the box.
class UpDownEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit UpDownEdit(const IntegerField& field, QWidget* parent = nullptr);

    const IntegerField& Field() const { return field_; }
    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Edit() const { return lineEdit(); }

    // The up-down control's own position, where stepping starts when the
    // box holds no number. Setting it leaves the box's text alone, so a
    // value beyond the limits stays visible for the dialog to refuse.
    int Position() const { return position_; }
    // Puts the position where a value starts the control.
    void StartFrom(int value) { position_ = UpDownStartPosition(value); }

    void stepBy(int steps) override;
    // Room for the longest number within the limits and one digit more.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    // Both arrows always work: a press writes a number within the limits
    // even when the box holds none or one beyond them.
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    IntegerField field_;
    int position_ = 0;
};

}  // namespace kestrel
