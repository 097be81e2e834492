#include "clipboard/QtAutomationClipboard.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrel {
namespace {

using Ms = ClipboardRetry::Milliseconds;

// What the clipboard offers, and the code page 932 text the messages see.
TEST(QtAutomationClipboard, ReadsPlainTextAsCodePage932)
{
    const struct {
        const char* name;
        std::optional<QString> offered;  // the text, if any
        bool picture;                    // a picture besides
        bool holdsText;
        std::string text;
    } cases[] = {
        {"digits", QStringLiteral("4901234567894"), false, true, "4901234567894"},
        // Shift-JIS (JIS X 0208 row 5 and 1, JIS X 0201): バ 83 6F, ー 81 5B, ｱ B1.
        {"Japanese", QString::fromUtf8(u8"バーｱ"), false, true, "\x83\x6F\x81\x5B\xB1"},
        {"empty text is text", QString(""), false, true, ""},
        // The 8-bit text ends at its first zero.
        {"text with a zero", QString::fromUtf16(u"12\u000034", 5), false, true, "12"},
        // Hangul has no code in code page 932: no text, not a crash
        // and not a text with question marks.
        {"Hangul", QString::fromUtf8(u8"12한"), false, false, ""},
        {"a picture only", std::nullopt, true, false, ""},
        {"nothing", std::nullopt, false, false, ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        auto* data = new QMimeData;
        if (row.offered) {
            data->setText(*row.offered);
        }
        if (row.picture) {
            data->setImageData(QImage(4, 4, QImage::Format_RGB32));
        }
        QGuiApplication::clipboard()->setMimeData(data);
        QtAutomationClipboard clipboard;
        ASSERT_TRUE(clipboard.Open());
        const std::optional<std::string> read = clipboard.ReadText();
        EXPECT_EQ(read.has_value(), row.holdsText);
        EXPECT_EQ(read.value_or(""), row.text);
        clipboard.Close();
        // Closed, it offers nothing.
        EXPECT_FALSE(clipboard.ReadText());
    }
}

TEST(QtAutomationClipboard, EmptiedThenGivenTextOffersOnlyThatText)
{
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    QtAutomationClipboard clipboard;
    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(clipboard.Empty());
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
    EXPECT_FALSE(clipboard.ReadText());

    ASSERT_TRUE(clipboard.PutText("-1,1,-1,2"));
    clipboard.Close();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("-1,1,-1,2"));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());

    // Code page 932 goes out as the characters it stands for.
    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(clipboard.Empty());
    ASSERT_TRUE(clipboard.PutText("\x83\x6F\x81\x5B"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(u8"バー"));
    clipboard.Close();

    // Not open, nothing is touched.
    EXPECT_FALSE(clipboard.Empty());
    EXPECT_FALSE(clipboard.PutText("x"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(u8"バー"));
}

// Another program that takes the clipboard back each time we take it: as
// on X11, where nothing locks it, it wins for as long as it keeps trying.
class Thief : public QObject {
public:
    explicit Thief(int takes) : takesLeft_(takes)
    {
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
            if (takesLeft_ == 0 || QGuiApplication::clipboard()->mimeData() == mine_) {
                return;
            }
            --takesLeft_;
            mine_ = new QMimeData;
            mine_->setText(QStringLiteral("the other program's"));
            QGuiApplication::clipboard()->setMimeData(mine_);
        });
    }

private:
    int takesLeft_;  // -1: for ever
    QMimeData* mine_ = nullptr;
};

TEST(QtAutomationClipboard, EmptyingGivesUpAfterItsBoundWhileAnotherProgramKeepsTheClipboard)
{
    const struct {
        int takes;
        bool emptied;
    } cases[] = {{0, true}, {3, true}, {-1, false}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.takes);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QtAutomationClipboard clipboard(ClipboardRetry(Ms{150}, Ms{5}));
        ASSERT_TRUE(clipboard.Open());
        QElapsedTimer clock;
        clock.start();
        bool emptied = false;
        {
            Thief thief(row.takes);
            emptied = clipboard.Empty();
        }
        EXPECT_EQ(emptied, row.emptied);
        // Bounded: the retry's 150 ms and a little more, never for ever.
        EXPECT_LT(clock.elapsed(), 1500);
        if (!row.emptied) {
            EXPECT_GE(clock.elapsed(), 150);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("the other program's"));
        } else {
            EXPECT_FALSE(clipboard.ReadText());
        }
        clipboard.Close();
    }
}

}  // namespace
}  // namespace kestrel
