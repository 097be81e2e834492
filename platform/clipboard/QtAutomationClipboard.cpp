#include "clipboard/QtAutomationClipboard.h"

#include "clipboard/X11ClipboardText.h"
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

std::optional<std::string> QtAutomationClipboard::ReadText()
{
    return Text();
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
    QString unicode;
    // Our own text is at hand; another program's is asked of it with a
    // bound on the wait, on X11. Elsewhere Qt's clipboard answers.
    const X11ClipboardText x11 = !clipboard_->ownsClipboard()
                                         && QGuiApplication::platformName() == QLatin1String("xcb")
                                     ? ReadX11ClipboardText(ReadWait)
                                     : X11ClipboardText{};
    if (x11.x11) {
        if (!x11.utf8) {
            return std::nullopt;
        }
        unicode = QString::fromUtf8(x11.utf8->data(), static_cast<qsizetype>(x11.utf8->size()));
    } else {
        const QMimeData* data = clipboard_->mimeData();
        if (data == nullptr || !data->hasText()) {
            return std::nullopt;
        }
        unicode = data->text();
    }
    std::string text;
    if (!QStringToCp932(UpToFirstNul(unicode), text)) {
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
