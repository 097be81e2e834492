#include "clipboard/QtAutomationClipboard.h"

#include "text/Cp932.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kestrel {
namespace {

// The 8-bit clipboard text ends at its first zero byte.
QString UpToFirstNul(QString text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        text.truncate(nul);
    }
    return text;
}

std::string_view UpToFirstNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

}  // namespace

QtAutomationClipboard::QtAutomationClipboard(ClipboardRetry retry) : retry_(retry) {}

bool QtAutomationClipboard::Open()
{
    // QGuiApplication::clipboard() warns and gives nothing without a
    // QGuiApplication; a console QCoreApplication has no clipboard at all.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    clipboard_ = QGuiApplication::clipboard();
    return clipboard_ != nullptr;
}

bool QtAutomationClipboard::HoldsText()
{
    return Text().has_value();
}

std::string QtAutomationClipboard::ReadText()
{
    return Text().value_or(std::string());
}

bool QtAutomationClipboard::Empty()
{
    return OfferUntilKept([] { return new QMimeData; });
}

bool QtAutomationClipboard::PutText(std::string_view text)
{
    const QString shown = Cp932ToQString(UpToFirstNul(text));
    return OfferUntilKept([&shown] {
        auto* data = new QMimeData;
        data->setText(shown);
        return data;
    });
}

void QtAutomationClipboard::Close()
{
    clipboard_ = nullptr;
}

std::optional<std::string> QtAutomationClipboard::Text() const
{
    if (clipboard_ == nullptr) {
        return std::nullopt;
    }
    const QMimeData* data = clipboard_->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    std::string text;
    if (!QStringToCp932(UpToFirstNul(data->text()), text)) {
        return std::nullopt;
    }
    return text;
}

bool QtAutomationClipboard::Offer(QMimeData* data)
{
    clipboard_->setMimeData(data);
    // The clipboard hands back our own data only while we own it; when
    // another program took it back, it hands back that program's. (On X11
    // ownsClipboard reports the attempt, not its outcome.)
    return clipboard_->mimeData() == data;
}

bool QtAutomationClipboard::OfferUntilKept(const std::function<QMimeData*()>& makeData)
{
    if (clipboard_ == nullptr) {
        return false;
    }
    // Each try offers fresh data: the clipboard deletes what it was given
    // once another owner replaces it.
    return retry_.Run([&] { return Offer(makeData()); });
}

}  // namespace kestrel
