#include "document/CommentDialog.h"

#include "document/CommentColourTexts.h"
#include "resources/ProgramName.h"
#include "text/Cp932.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QLabel* Label(const char* text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* Box(const QString& text, const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// Selects the first character code page 932 cannot store, so the user sees
// which one to change; the whole text when none is found on its own.
void SelectFirstNotStorable(QLineEdit& box)
{
    const QString text = box.text();
    std::string ignored;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size()
                                         && text.at(at + 1).isLowSurrogate()
                                     ? 2
                                     : 1;
        if (!QStringToCp932(text.mid(at, length), ignored)) {
            box.setSelection(static_cast<int>(at), static_cast<int>(length));
            return;
        }
        at += length;
    }
    box.selectAll();
}

}  // namespace

CCommentDlg::CCommentDlg(const CommentSettings& initial, QWidget* parent)
    : QDialog(parent), settings_(initial)
{
    setObjectName(QStringLiteral("CCommentDlg"));
    setWindowTitle(QString::fromUtf8(texts::CommentTitle));

    line1Text_ = Box(Cp932ToQString(initial.line1Text), "commentLine1Text", this);
    line1Height_ = Box(QString::number(initial.line1Height), "commentLine1Height", this);
    line2Text_ = Box(Cp932ToQString(initial.line2Text), "commentLine2Text", this);
    line2Height_ = Box(QString::number(initial.line2Height), "commentLine2Height", this);

    // A line's text is about four times as wide as its height.
    auto* fields = new QGridLayout;
    fields->addWidget(Label(texts::CommentLine1, "commentLine1Label", this), 0, 0);
    fields->addWidget(Label(texts::CommentHeight, "commentLine1HeightLabel", this), 0, 1);
    fields->addWidget(line1Text_, 1, 0);
    fields->addWidget(line1Height_, 1, 1);
    fields->addWidget(Label(texts::CommentLine2, "commentLine2Label", this), 2, 0);
    fields->addWidget(Label(texts::CommentHeight, "commentLine2HeightLabel", this), 2, 1);
    fields->addWidget(line2Text_, 3, 0);
    fields->addWidget(line2Height_, 3, 1);
    fields->setColumnStretch(0, 4);
    fields->setColumnStretch(1, 1);

    auto* ok = new QPushButton(QString::fromUtf8(texts::DialogOk), this);
    auto* cancel = new QPushButton(QString::fromUtf8(texts::DialogCancel), this);
    ok->setObjectName(QStringLiteral("commentOk"));
    cancel->setObjectName(QStringLiteral("commentCancel"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CCommentDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CCommentDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(fontMetrics().height());
    layout->addLayout(buttons);

    // Row by row, as the boxes stand.
    setTabOrder(line1Text_, line1Height_);
    setTabOrder(line1Height_, line2Text_);
    setTabOrder(line2Text_, line2Height_);
    setTabOrder(line2Height_, ok);
    setTabOrder(ok, cancel);
    line1Text_->setFocus();
}

std::optional<std::string> CCommentDlg::LineOf(const QLineEdit& box,
                                               const std::string& stored) const
{
    if (box.text() == Cp932ToQString(stored)) {
        return stored;
    }
    std::string text;
    if (!QStringToCp932(box.text(), text)) {
        return std::nullopt;
    }
    return text;
}

QLineEdit* CCommentDlg::BoxOf(CommentField field) const
{
    switch (field) {
    case CommentField::Line1Text: return line1Text_;
    case CommentField::Line2Text: return line2Text_;
    case CommentField::Line1Height: return line1Height_;
    case CommentField::Line2Height: return line2Height_;
    }
    return line1Text_;
}

void CCommentDlg::accept()
{
    const CommentEntry entry{LineOf(*line1Text_, settings_.line1Text),
                             LineOf(*line2Text_, settings_.line2Text),
                             line1Height_->text().toStdString(),
                             line2Height_->text().toStdString()};
    const CommentAcceptance acceptance = AcceptCommentEntry(entry);
    if (!acceptance.Ok()) {
        QLineEdit* box = BoxOf(*acceptance.failedField);
        Warn(acceptance.textNotStorable ? QString::fromUtf8(texts::CommentNotStorable)
                                        : QString::fromStdString(FieldErrorMessage(
                                            acceptance.heightError, CommentHeightField)));
        box->setFocus(Qt::OtherFocusReason);
        if (acceptance.textNotStorable) {
            SelectFirstNotStorable(*box);
        } else {
            box->selectAll();
        }
        return;
    }
    settings_ = acceptance.settings;
    QDialog::accept();
}

void CCommentDlg::Warn(const QString& text)
{
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::warning(this, QString::fromUtf16(texts::ProgramName), text);
}

}  // namespace kestrel
