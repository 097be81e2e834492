#include "options/UpDownEdit.h"

#include "document/FieldExchange.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <climits>

namespace kestrel {

UpDownEdit::UpDownEdit(int low, int high, QWidget* parent)
    : QAbstractSpinBox(parent), low_(low), high_(high), position_(low)
{
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

void UpDownEdit::SetPosition(int position)
{
    position_ = std::clamp(position, low_, high_);
}

int UpDownEdit::Current() const
{
    constexpr IntegerField anyNumber{IntegerField::Kind::Signed, INT_MIN, INT_MAX};
    const FieldReading reading = ReadIntegerField(Text().toStdString(), anyNumber);
    return reading.Ok() ? reading.value : position_;
}

void UpDownEdit::stepBy(int steps)
{
    const long long next = static_cast<long long>(Current()) + steps;
    position_ = static_cast<int>(std::clamp<long long>(next, low_, high_));
    SetText(QString::number(position_));
    selectAll();
}

QAbstractSpinBox::StepEnabled UpDownEdit::stepEnabled() const
{
    const int current = Current();
    StepEnabled enabled = StepNone;
    if (current < high_) {
        enabled |= StepUpEnabled;
    }
    if (current > low_) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

// Every text is kept: the page's reading decides, with its message.
QValidator::State UpDownEdit::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

void UpDownEdit::fixup(QString&) const {}

// Room for the largest number and a little more, plus the arrows.
QSize UpDownEdit::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics = fontMetrics();
    const int width = metrics.horizontalAdvance(QString::number(high_) + QStringLiteral("00"));
    const int height = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, QSize(width, height), this);
}

QSize UpDownEdit::minimumSizeHint() const
{
    return sizeHint();
}

}  // namespace kestrel
