#include "clipboard/ClipboardRetry.h"
#include "render/BarCodeView.h"
#include "render/ViewTexts.h"

#include "ViewTestSupport.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <vector>

namespace kestrel {
namespace {

using namespace std::chrono_literals;
using testing::TestDocument;
using Ms = ClipboardRetry::Milliseconds;

// A view whose messages are recorded instead of shown.
struct CopyFixture {
    TestDocument document;
    CBarCodeView view{document.doc, document.profile};
    std::vector<QString> messages;

    explicit CopyFixture(const char* codeText = "4901234567894")
        : document("/usr/bin/kestrel", codeText)
    {
        view.SetMessageSink([this](const QString& text) { messages.push_back(text); });
    }
};

TEST(CopyCommand, PutsTheDrawnPictureOnTheClipboard)
{
    CopyFixture fixture;
    fixture.document.SetBackground(MakeColour(250, 250, 210));
    QGuiApplication::clipboard()->setText("before");
    QSignalSpy updated(&fixture.view, &CBarCodeView::Updated);

    fixture.view.OnEditCopy();

    const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(
        QImage::Format_RGB32);
    const QImage expected = fixture.document.Expected();
    ASSERT_EQ(copied.size(), QSize(300, 150));
    // The same pixels as DrawBarcode's, so the background covers it all and
    // no boundary is in it.
    EXPECT_TRUE(copied == expected);
    EXPECT_TRUE(fixture.messages.empty());
    EXPECT_EQ(updated.count(), 1);
}

TEST(CopyCommand, EmptyCodeTextLeavesTheClipboardAlone)
{
    CopyFixture fixture("");
    int writes = 0;
    fixture.view.SetClipboardWriter([&](const QImage&) { return ++writes, true; });
    QGuiApplication::clipboard()->setText("keep me");
    QSignalSpy updated(&fixture.view, &CBarCodeView::Updated);

    fixture.view.OnEditCopy();

    EXPECT_EQ(writes, 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "keep me");
    EXPECT_TRUE(fixture.messages.empty());
    EXPECT_EQ(updated.count(), 0);
}

TEST(CopyCommand, PictureTooLargeIsReportedAndNothingCopied)
{
    struct Size {
        int width;
        int height;
    };
    for (const Size size : {Size{40000, 10}, Size{20000, 20000}, Size{0, 150}, Size{300, -1}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        CopyFixture fixture;
        fixture.document.doc.Width = size.width;
        fixture.document.doc.Height = size.height;
        int writes = 0;
        fixture.view.SetClipboardWriter([&](const QImage&) { return ++writes, true; });

        fixture.view.OnEditCopy();

        EXPECT_EQ(writes, 0);
        ASSERT_EQ(fixture.messages.size(), 1U);
        EXPECT_EQ(fixture.messages[0], QString::fromUtf8(texts::BitmapNotCreated));
    }
}

// A hold shorter than the bound: the copy succeeds without a word.
TEST(CopyCommand, BriefHoldIsWaitedOut)
{
    CopyFixture fixture;
    fixture.view.SetClipboardRetry(ClipboardRetry(Ms{500}, Ms{5}));
    int tries = 0;
    QImage taken;
    fixture.view.SetClipboardWriter([&](const QImage& picture) {
        taken = picture;
        return ++tries >= 3;
    });

    fixture.view.OnEditCopy();

    EXPECT_EQ(tries, 3);
    EXPECT_EQ(taken.size(), QSize(300, 150));
    EXPECT_TRUE(fixture.messages.empty());
}

// A hold longer than the bound: the copy gives up in bounded time and says so,
// and the window is brought up to date as after any copy.
TEST(CopyCommand, LongHoldEndsInTheBusyMessage)
{
    CopyFixture fixture;
    fixture.view.SetClipboardRetry(ClipboardRetry(Ms{120}, Ms{10}));
    int tries = 0;
    fixture.view.SetClipboardWriter([&](const QImage&) { return ++tries, false; });
    QSignalSpy updated(&fixture.view, &CBarCodeView::Updated);
    QElapsedTimer clock;
    clock.start();

    fixture.view.OnEditCopy();

    const qint64 spent = clock.elapsed();
    EXPECT_GE(spent, 120);
    EXPECT_LT(spent, 2000);
    EXPECT_GT(tries, 2);
    ASSERT_EQ(fixture.messages.size(), 1U);
    EXPECT_EQ(fixture.messages[0], QString::fromUtf8(texts::ClipboardBusy));
    EXPECT_EQ(updated.count(), 1);
}

// The retry rule on a clock of the test's own: attempts, waits and the bound.
TEST(CopyRetry, TriesUntilSuccessOrTheBound)
{
    struct Row {
        const char* name;
        int failuresBeforeSuccess;  // -1: never succeeds
        Ms bound;
        Ms pause;
        bool succeeds;
        int attempts;
        Ms waited;
    };
    const Row rows[] = {
        {"free at once", 0, Ms{2000}, Ms{50}, true, 1, Ms{0}},
        {"held briefly", 4, Ms{2000}, Ms{50}, true, 5, Ms{200}},
        {"freed at the last try", 40, Ms{2000}, Ms{50}, true, 41, Ms{2000}},
        {"held for good", -1, Ms{2000}, Ms{50}, false, 41, Ms{2000}},
        {"pause not dividing the bound", -1, Ms{100}, Ms{30}, false, 5, Ms{100}},
        {"no bound: one try", -1, Ms{0}, Ms{50}, false, 1, Ms{0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Ms now{0};
        int attempts = 0;
        const ClipboardRetry retry(row.bound, row.pause);
        const bool succeeded = retry.Run(
            [&] {
                ++attempts;
                return row.failuresBeforeSuccess >= 0 && attempts > row.failuresBeforeSuccess;
            },
            [&](Ms pause) {
                EXPECT_GT(pause, Ms{0});
                EXPECT_LE(pause, row.pause);
                now += pause;
            },
            [&] { return now; });
        EXPECT_EQ(succeeded, row.succeeds);
        EXPECT_EQ(attempts, row.attempts);
        EXPECT_EQ(now, row.waited);
    }
}

}  // namespace
}  // namespace kestrel
