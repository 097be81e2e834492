#include "widgets/UpDownEdit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

namespace kestrel {

UpDownEdit::UpDownEdit(const IntegerField& field, QWidget* parent)
    : QAbstractSpinBox(parent), field_(field)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    setWrapping(false);
}

QString UpDownEdit::Text() const
{
    return lineEdit()->text();
}

void UpDownEdit::SetText(const QString& text)
{
    lineEdit()->setText(text);
}

void UpDownEdit::stepBy(int steps)
{
    position_ = UpDownStepped(Text().toStdString(), position_, steps, field_);
    SetText(QString::number(position_));
    selectAll();
}

// Every text is kept: the dialog's reading decides, with its message.
QValidator::State UpDownEdit::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

void UpDownEdit::fixup(QString&) const {}

QSize UpDownEdit::sizeHint() const
{
    ensurePolished();
    const QString low = QString::number(field_.low);
    const QString high = QString::number(field_.high);
    const QString widest = (low.size() > high.size() ? low : high) + u'0';
    // The text, the cursor, and the edit box's own margins.
    const QMargins margins = lineEdit()->textMargins();
    const QSize text(fontMetrics().horizontalAdvance(widest) + 2 + margins.left() + margins.right(),
                     lineEdit()->sizeHint().height());
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

}  // namespace kestrel
