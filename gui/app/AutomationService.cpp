#include "app/AutomationService.h"

#include "app/ApplicationContext.h"
#include "app/MainFrame.h"
#include "app/TypedAutomation.h"
#include "dbus/AutomationBus.h"
#include "document/BarCodeDoc.h"
#include "document/SaveTexts.h"
#include "document/StoredStyle.h"
#include "export/SaveBitmap.h"
#include "profile/ProfileSchema.h"
#include "render/BarCodeView.h"
#include "render/QtRasterFallback.h"
#include "resources/ProgramName.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QMessageBox>

#include <cstdio>

namespace kestrel {

AutomationService::AutomationService(ApplicationContext& context, CMainFrame& frame,
                                     QObject* parent)
    : QObject(parent), context_(context), frame_(frame),
      automation_(
          context.doc, context.profile, clipboard_, [&frame] { frame.View()->OnEditCopy(); },
          [this] { return SaveBesideProgram(); }),
      queue_([this](const AutomationCallQueue::Call& call) {
          const std::optional<std::int32_t> result = automation_.Dispatch(call.message, call.wParam,
                                                                          call.lParam);
          // A message may have given the document its first code text, or
          // taken it away: Save, Print and Copy follow.
          frame_.UpdateCommandState();
          emit CallFinished();
          return result;
      })
{
}

AutomationService::~AutomationService()
{
    if (published_) {
        // Gone before the window and the document. The name goes first, so
        // that no new call reaches this instance; calls already on their way
        // are answered that the program is quitting; then the object goes.
        // A client thus sees either the quitting error or, once the program
        // is gone, that no instance answers, never a call left unanswered.
        quitting_ = true;
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterService(QString::fromLatin1(automation_bus::ServiceName));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        bus.unregisterObject(QString::fromLatin1(automation_bus::ObjectPath));
    }
}

void AutomationService::BeginQuit()
{
    quitting_ = true;
}

bool AutomationService::RefuseWhileQuitting(const QDBusMessage& request, QDBusConnection& bus) const
{
    if (!quitting_) {
        return false;
    }
    bus.send(request.createErrorReply(QString::fromLatin1(automation_bus::QuittingError),
                                      QStringLiteral("Kestrel is quitting; nothing was done")));
    return true;
}

void AutomationService::OnNameAcquired(const QString& name)
{
    if (name == QLatin1String(automation_bus::ServiceName) && nameAcquired_) {
        nameAcquired_();
    }
}

QString AutomationService::ProgramPath() const
{
    return QFile::decodeName(QByteArray::fromStdString(context_.programPath));
}

uint AutomationService::ProcessId() const
{
    return static_cast<uint>(QCoreApplication::applicationPid());
}

bool AutomationService::Publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "kestrel: no session bus, automation is not available: %s\n",
                     qPrintable(bus.lastError().message()));
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(automation_bus::ObjectPath), this,
                            QDBusConnection::ExportScriptableSlots
                                | QDBusConnection::ExportScriptableProperties)) {
        std::fprintf(stderr, "kestrel: automation is not available: %s is taken\n",
                     automation_bus::ObjectPath);
        return false;
    }
    // Before the name: a client the bus started the program for finds both.
    PublishTypedAutomation(*this, bus);
    // The bus tells the one connection that gets the name, now or on
    // hand-over; a queued instance hears nothing until then.
    bus.connect(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameAcquired"), this,
                SLOT(OnNameAcquired(QString)));
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &AutomationService::BeginQuit);
    // Queued rather than refused: the first instance keeps answering, and
    // when it exits the bus passes the name to the next one.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(QString::fromLatin1(automation_bus::ServiceName),
                                         QDBusConnectionInterface::QueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        bus.unregisterObject(QString::fromLatin1(automation_bus::ObjectPath));
        std::fprintf(stderr, "kestrel: automation is not available: %s\n",
                     qPrintable(reply.error().message()));
        return false;
    }
    published_ = true;
    return true;
}

void AutomationService::Submit(const AutomationCallQueue::Call& call,
                               AutomationCallQueue::Reply reply)
{
    queue_.Submit(call, std::move(reply));
}

void AutomationService::RunInTurn(std::function<void()> work)
{
    queue_.SubmitTask([this, work = std::move(work)] {
        work();
        frame_.UpdateCommandState();
        emit CallFinished();
    });
}

QString AutomationService::UnknownMessageText(std::uint32_t message)
{
    return QStringLiteral("0x%1 is not an automation message (0x%2 to 0x%3); nothing was changed")
        .arg(message, 0, 16)
        .arg(static_cast<std::uint32_t>(UM_CLIPTEXT), 0, 16)
        .arg(static_cast<std::uint32_t>(UM_OUTPUT), 0, 16);
}

int AutomationService::SendMessage(uint message, uint wParam, int lParam)
{
    const AutomationCallQueue::Call call{message, wParam, lParam};
    if (!calledFromDBus()) {
        std::optional<std::int32_t> result;
        Submit(call, [&result](std::optional<std::int32_t> answer) { result = answer; });
        return result.value_or(-1);
    }
    // Answered through the queue: at once when nothing is running, otherwise
    // after the running call, while this slot has long returned.
    setDelayedReply(true);
    QDBusConnection caller = connection();
    if (RefuseWhileQuitting(this->message(), caller)) {
        return 0;
    }
    Submit(call, [this, request = this->message(), bus = connection(),
                  message](std::optional<std::int32_t> result) mutable {
        if (RefuseWhileQuitting(request, bus)) {
            return;
        }
        bus.send(result ? request.createReply(QVariant::fromValue<int>(*result))
                        : request.createErrorReply(
                            QString::fromLatin1(automation_bus::UnknownMessageError),
                            UnknownMessageText(message)));
    });
    return 0;  // not sent: the reply above is
}

int AutomationService::SaveBesideProgram()
{
    const std::string fileName = SaveFileNameBesideProgram(context_.programPath);
    if (fileName.empty()) {
        return 0;
    }
    PictureCanvasFactory canvases;
    SaveProblem problem = SaveProblem::None;
    const int bitmapChoice = profile::Read(context_.profile, profile::Bitmap);
    if (SaveBitmap(ReadDrawing(context_.doc, context_.profile), bitmapChoice, canvases, fileName,
                   &problem)
        == 1) {
        return 1;
    }
    // Only a picture that could not be made is worth stopping the caller
    // for; a file that cannot be written (the program's folder is often not
    // writable) and an empty code text are answered -1 without a word, as
    // the automation messages fail everywhere else.
    if (problem == SaveProblem::NoPicture) {
        Warn(QString::fromUtf8(texts::SaveFailed) + QLatin1Char('\n')
             + QFile::decodeName(QByteArray::fromStdString(fileName)));
    }
    return 0;
}

void AutomationService::Warn(const QString& text)
{
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::warning(&frame_, QString::fromUtf16(texts::ProgramName), text);
}

}  // namespace kestrel
