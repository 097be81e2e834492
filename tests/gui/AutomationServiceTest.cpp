#include "app/AutomationService.h"
#include "app/AutomationCallQueue.h"

#include "MainFrameTestSupport.h"
#include "symbology/CodeValidator.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace kestrel {
namespace {

using Call = AutomationCallQueue::Call;
constexpr int TopLevel = -1;

// Calls reaching the queue from the event loop, some of them while another
// call's handler runs a nested loop (a message box): those must wait for the
// running call and be answered after it, in the order they came.
TEST(AutomationCallQueue, RunsOneCallAtATimeInArrivalOrder)
{
    const struct {
        const char* name;
        // For each call, the call during whose handler it arrives.
        std::vector<int> arrivesDuring;
        std::vector<int> expectedOrder;
    } cases[] = {
        {"one after another", {TopLevel, TopLevel, TopLevel}, {0, 1, 2}},
        {"one during a box", {TopLevel, 0}, {0, 1}},
        {"two during one box", {TopLevel, 0, 0}, {0, 1, 2}},
        {"a box in the waiting call", {TopLevel, 0, 1}, {0, 1, 2}},
        {"another after the box", {TopLevel, 0, TopLevel}, {0, 1, 2}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        std::vector<int> runs;
        std::vector<int> replies;
        int depth = 0;
        int deepest = 0;
        AutomationCallQueue* queuePtr = nullptr;
        std::vector<int> repliesWhenTopLevelReturned;

        auto submit = [&](int index) {
            queuePtr->Submit(Call{0x466, static_cast<std::uint32_t>(index), 0},
                             [&replies, index](std::optional<std::int32_t> result) {
                                 ASSERT_TRUE(result.has_value());
                                 EXPECT_EQ(*result, index * 10);
                                 replies.push_back(index);
                             });
        };
        AutomationCallQueue queue([&](const Call& call) -> std::optional<std::int32_t> {
            const int index = static_cast<int>(call.wParam);
            deepest = std::max(deepest, ++depth);
            runs.push_back(index);
            // The nested loop of this call's message box delivers these.
            for (std::size_t later = 0; later < row.arrivesDuring.size(); ++later) {
                if (row.arrivesDuring[later] == index) {
                    submit(static_cast<int>(later));
                    EXPECT_TRUE(queuePtr->Busy());
                }
            }
            --depth;
            return index * 10;
        });
        queuePtr = &queue;

        for (std::size_t index = 0; index < row.arrivesDuring.size(); ++index) {
            if (row.arrivesDuring[index] == TopLevel) {
                submit(static_cast<int>(index));
                // Back in the event loop: everything that came so far is answered.
                EXPECT_EQ(queue.Waiting(), 0U);
                EXPECT_FALSE(queue.Busy());
                EXPECT_EQ(replies.size(), runs.size());
            }
        }
        EXPECT_EQ(deepest, 1);
        EXPECT_EQ(runs, row.expectedOrder);
        EXPECT_EQ(replies, row.expectedOrder);
    }
}

TEST(AutomationCallQueue, AHandlerThatThrowsDoesNotBlockLaterCalls)
{
    bool throwNext = true;
    AutomationCallQueue queue([&](const Call&) -> std::optional<std::int32_t> {
        if (throwNext) {
            throwNext = false;
            throw std::runtime_error("handler failed");
        }
        return 0;
    });
    EXPECT_THROW(queue.Submit(Call{}, [](std::optional<std::int32_t>) {}), std::runtime_error);
    EXPECT_FALSE(queue.Busy());
    std::optional<std::int32_t> answer;
    queue.Submit(Call{}, [&](std::optional<std::int32_t> result) { answer = result; });
    EXPECT_EQ(answer, 0);
}

// The service over a real frame and document, called without a bus.
struct ServiceWorld : test::FrameWorld {
    AutomationService service{context, frame};
    std::vector<QString> messages;

    ServiceWorld()
    {
        service.SetMessageSink([this](const QString& text) { messages.push_back(text); });
    }

    std::optional<std::int32_t> Send(std::uint32_t message, std::uint32_t wParam,
                                     std::int32_t lParam)
    {
        std::optional<std::int32_t> answer;
        bool answered = false;
        service.Submit(Call{message, wParam, lParam}, [&](std::optional<std::int32_t> result) {
            answer = result;
            answered = true;
        });
        EXPECT_TRUE(answered);
        return answer;
    }
};

TEST(AutomationService, NumbersThatAreNotMessagesAreRefusedAndChangeNothing)
{
    ServiceWorld world;
    CBarCodeDoc& doc = world.doc;
    doc.CodeText = "4901234567894";
    doc.Encode(CodabarOptions{});
    const auto fields = [&doc] {
        return std::tuple(doc.CodeType, doc.CodeText, doc.Width, doc.Height, doc.NWidth,
                          doc.CodeHigh, doc.Check);
    };
    const auto before = fields();
    const ModuleSequence sequence = doc.ModuleSequence;
    QGuiApplication::clipboard()->setText(QStringLiteral("keep me"));
    for (const std::uint32_t message : {0U, 0x400U, 0x464U, 0x46AU, 0x80000465U, 0xFFFFFFFFU}) {
        SCOPED_TRACE(message);
        // Every selector a real message has, and a few it has not.
        for (const std::uint32_t wParam : {0U, 1U, 4U, 10U, 12U}) {
            EXPECT_EQ(world.Send(message, wParam, 150), std::nullopt);
        }
        const QString text = AutomationService::UnknownMessageText(message);
        EXPECT_TRUE(text.contains(QString::number(message, 16))) << text.toStdString();
    }
    EXPECT_EQ(fields(), before);
    EXPECT_TRUE(doc.ModuleSequence == sequence);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("keep me"));
}

// What the service adds to the handlers: the window's commands follow the
// document, and the copy and the save it was given are the real ones.
TEST(AutomationService, MessagesReachTheDocumentTheCommandsTheClipboardAndTheFile)
{
    ServiceWorld world;
    QAction* save = world.frame.Action(CMainFrame::Command::Save);
    QAction* copy = world.frame.Action(CMainFrame::Command::Copy);
    ASSERT_FALSE(save->isEnabled());

    // UM_SETVALUE 10 gives the document a code text (and answers -1).
    EXPECT_EQ(world.Send(0x468, 10, 123456), -1);
    EXPECT_EQ(world.doc.CodeText, "123456");
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(copy->isEnabled());

    // UM_OUTPUT 0: Code 128 takes the digits, and the view's copy puts them
    // on the clipboard as a picture of the document's size.
    EXPECT_EQ(world.Send(0x466, 11, 0), 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    EXPECT_EQ(world.Send(0x469, 0, 0), 0);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(world.doc.Width, world.doc.Height));

    // UM_OUTPUT 1: BarCode.bmp beside the program; a folder that cannot take
    // it answers -1 without stopping the caller with a message box.
    const QString folder = QFileInfo(QString::fromStdString(world.programPath)).absolutePath();
    QDir(folder).removeRecursively();
    EXPECT_EQ(world.Send(0x469, 1, 0), -1);
    EXPECT_TRUE(world.messages.empty());
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(world.Send(0x469, 1, 0), 0);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/BarCode.bmp")));
    QDir(folder).removeRecursively();
}

}  // namespace
}  // namespace kestrel
