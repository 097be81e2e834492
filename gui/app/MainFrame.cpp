#include "app/MainFrame.h"

#include "app/AboutDialog.h"
#include "app/ApplicationContext.h"
#include "app/HelpContents.h"
#include "app/Texts.h"
#include "document/BarCodeDoc.h"
#include "document/CodeInputCommand.h"
#include "document/ColorSettingCommand.h"
#include "document/CommentInputCommand.h"
#include "document/OptionsCommand.h"
#include "document/SaveCommands.h"
#include "document/SaveTexts.h"
#include "keyboard/LockKeyIndicators.h"
#include "profile/ProfileSchema.h"
#include "render/BarCodeView.h"
#include "resources/Icons.h"
#include "resources/ProgramName.h"
#include "widgets/LockKeyPanes.h"
#include "widgets/PromptMenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QSizeGrip>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace kestrel {

namespace {

// How long the status bar shows where a save went.
constexpr int SavedMessageMilliseconds = 5000;

ScreenRect ToScreenRect(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

std::vector<ScreenRect> WorkAreas()
{
    std::vector<ScreenRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        areas.push_back(ToScreenRect(primary->availableGeometry()));
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            areas.push_back(ToScreenRect(screen->availableGeometry()));
        }
    }
    return areas;
}

}  // namespace

CMainFrame::CMainFrame(ApplicationContext& context, QWidget* parent)
    : QMainWindow(parent,
                  // Title, system menu, minimise and close; the window has no
                  // maximise button.
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                      | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                      | Qt::WindowCloseButtonHint),
      context_(context)
{
    setWindowTitle(QString::fromUtf16(texts::ProgramName));
    setWindowIcon(icons::Program());

    view_ = new CBarCodeView(context.doc, context.profile, this);
    setCentralWidget(view_);
    saveCommands_ = new SaveCommands(context.doc, context.profile, this, context.programPath, this);

    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    connect(view_, &CBarCodeView::Updated, this, &CMainFrame::UpdateCommandState);
    UpdateCommandState();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::AddCommand(Command command, const char16_t* text, const char16_t* prompt)
{
    auto* action = new QAction(QString::fromUtf16(text), this);
    if (prompt) {
        action->setStatusTip(texts::PromptLine(prompt));
        action->setToolTip(texts::PromptTip(prompt));
    }
    actions_[command] = action;
    return action;
}

void CMainFrame::AddAccelerator(Command command, const QKeySequence& key)
{
    // A shortcut of its own rather than the action's: the menus then show the
    // accelerator text exactly as written in the item text (none for "I").
    QAction* action = actions_.at(command);
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setEnabled(action->isEnabled());
    connect(shortcut, &QShortcut::activated, action, [action] {
        if (action->isEnabled()) {
            action->trigger();
        }
    });
    connect(action, &QAction::enabledChanged, shortcut, &QShortcut::setEnabled);
    accelerators_[command] = shortcut;
}

QAction* CMainFrame::Action(Command command) const
{
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

QShortcut* CMainFrame::Accelerator(Command command) const
{
    const auto found = accelerators_.find(command);
    return found == accelerators_.end() ? nullptr : found->second;
}

void CMainFrame::CreateMenus()
{
    using namespace texts;

    // Menus of our own, which prompt for greyed items too.
    const auto addMenu = [this](const char16_t* title) {
        auto* menu = new PromptMenu(QString::fromUtf16(title), this);
        menuBar()->addMenu(menu);
        return menu;
    };

    QMenu* file = addMenu(FileMenu);
    file->addAction(AddCommand(Command::Print, FilePrint, PromptPrint));
    file->addAction(AddCommand(Command::PrintSetup, FilePrintSetup, PromptPrintSetup));
    file->addSeparator();
    file->addAction(AddCommand(Command::Save, FileSave, PromptSave));
    file->addAction(AddCommand(Command::SaveAs, FileSaveAs, PromptSaveAs));
    file->addSeparator();
    file->addAction(AddCommand(Command::Exit, AppExit, PromptExit));

    QMenu* edit = addMenu(EditMenu);
    edit->addAction(AddCommand(Command::CodeInput, CodeInput, PromptCodeInput));
    edit->addAction(AddCommand(Command::Comment, CommentInput, PromptComment));
    edit->addSeparator();
    edit->addAction(AddCommand(Command::Colours, ColourSettings, PromptColours));
    edit->addAction(AddCommand(Command::Options, OptionSettings, PromptOptions));
    edit->addSeparator();
    edit->addAction(AddCommand(Command::Copy, EditCopy, PromptCopy));

    QMenu* view = addMenu(ViewMenu);
    QAction* toolBar = AddCommand(Command::ToolBar, ViewToolBar, PromptToolBar);
    QAction* statusBar = AddCommand(Command::StatusBar, ViewStatusBar, PromptStatusBar);
    for (QAction* toggle : {toolBar, statusBar}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
        view->addAction(toggle);
    }

    QMenu* help = addMenu(HelpMenu);
    help->addAction(AddCommand(Command::HelpContents, HelpContents, nullptr));
    help->addAction(AddCommand(Command::About, AppAbout, PromptAbout));

    for (QMenu* menu : {file, edit, view, help}) {
        // What the commands may do can change without the view updating
        // (a dialog, another instance); menus always show the current state.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandState);
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::SyncViewToggles);
    }

    connect(Action(Command::Print), &QAction::triggered, view_, &CBarCodeView::OnFilePrint);
    connect(Action(Command::PrintSetup), &QAction::triggered, this, &CMainFrame::OnFilePrintSetup);
    connect(Action(Command::Save), &QAction::triggered, saveCommands_, &SaveCommands::OnSaveBitmap);
    // Where the file went, for a few seconds; then the idle text again.
    connect(saveCommands_, &SaveCommands::Saved, this, [this](const QString& shownName) {
        this->statusBar()->showMessage(QString::fromUtf8(texts::SavedTo).arg(shownName),
                                       SavedMessageMilliseconds);
    });
    connect(Action(Command::SaveAs), &QAction::triggered, saveCommands_,
            &SaveCommands::OnSaveBitmapAs);
    connect(Action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connect(Action(Command::CodeInput), &QAction::triggered, this, &CMainFrame::OnCodeInput);
    connect(Action(Command::Comment), &QAction::triggered, this, &CMainFrame::OnCommentInput);
    connect(Action(Command::Colours), &QAction::triggered, this, &CMainFrame::OnColourSettings);
    connect(Action(Command::Options), &QAction::triggered, this, &CMainFrame::OnOptionSettings);
    connect(Action(Command::Copy), &QAction::triggered, view_, &CBarCodeView::OnEditCopy);
    connect(Action(Command::HelpContents), &QAction::triggered, this, &CMainFrame::OnHelpContents);
    connect(Action(Command::About), &QAction::triggered, this, &CMainFrame::OnAppAbout);

    AddAccelerator(Command::Copy, QKeySequence(Qt::CTRL | Qt::Key_C));
    AddAccelerator(Command::CodeInput, QKeySequence(Qt::Key_I));
    AddAccelerator(Command::Print, QKeySequence(Qt::CTRL | Qt::Key_P));
    AddAccelerator(Command::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
}

void CMainFrame::CreateToolBar()
{
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("mainToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    // The View menu is the one place to hide it, so that its check mark and
    // the toolbar cannot disagree.
    toolBar_->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    // A right click on the bars would offer only that greyed toggle, with
    // no name: no pop-up at all, as the View menu is where bars are shown.
    setContextMenuPolicy(Qt::PreventContextMenu);

    Action(Command::CodeInput)->setIcon(icons::CodeInput());
    Action(Command::Comment)->setIcon(icons::Comment());
    Action(Command::Colours)->setIcon(icons::Colours());
    Action(Command::Copy)->setIcon(icons::Copy());
    Action(Command::Print)->setIcon(icons::Print());
    Action(Command::About)->setIcon(icons::About());

    toolBar_->addAction(Action(Command::CodeInput));
    toolBar_->addAction(Action(Command::Comment));
    toolBar_->addSeparator();
    toolBar_->addAction(Action(Command::Colours));
    toolBar_->addSeparator();
    toolBar_->addAction(Action(Command::Copy));
    toolBar_->addAction(Action(Command::Print));
    toolBar_->addSeparator();
    toolBar_->addAction(Action(Command::About));

    connect(Action(Command::ToolBar), &QAction::toggled, toolBar_, &QWidget::setVisible);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    // The idle text is a normal widget: a status tip hides it while shown and
    // it comes back when the tip is cleared.
    auto* ready = new QLabel(QString::fromUtf16(texts::Ready), bar);
    ready->setObjectName(QStringLiteral("readyPane"));
    bar->addWidget(ready, 1);

    new LockKeyPanes(bar, MakeSystemLockKeyIndicators());

    connect(Action(Command::StatusBar), &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::SyncViewToggles()
{
    Action(Command::ToolBar)->setChecked(!toolBar_->isHidden());
    Action(Command::StatusBar)->setChecked(!statusBar()->isHidden());
}

// Not const, though the compiler would allow it: it changes what the window
// offers.
void CMainFrame::UpdateCommandState()  // NOLINT(readability-make-member-function-const)
{
    const bool hasOutput = context_.doc.HasCodeText();
    for (const Command command : {Command::Save, Command::SaveAs, Command::Print, Command::Copy}) {
        Action(command)->setEnabled(hasOutput);
    }
}

// Each editing command runs its dialog; the view redraws only when the
// command says the barcode changed.
void CMainFrame::OnCodeInput()
{
    if (RunCodeInput(context_, this)) {
        view_->OnUpdate();
    }
}

void CMainFrame::OnCommentInput()
{
    if (RunCommentInput(context_, this)) {
        view_->OnUpdate();
    }
}

void CMainFrame::OnColourSettings()
{
    if (RunColorSetting(context_, this)) {
        view_->OnUpdate();
    }
}

void CMainFrame::OnOptionSettings()
{
    if (RunOptionsCommand(context_, this)) {
        view_->OnUpdate();
    }
}

// The set-up changes the printer the view prints on, so the next Print
// starts from the printer, paper and orientation the user chose here.
void CMainFrame::OnFilePrintSetup()
{
    view_->OnFilePrintSetup();
}

// The manual in the user's browser; where no browser takes it, the short
// help says where the manual is.
void CMainFrame::OnHelpContents()
{
    const ManualLocator manual = ManualLocator::ForThisProgram();
    const QString message = OpenManual(manual.Find(), manual.Candidates(), [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    });
    if (!message.isEmpty()) {
        QMessageBox::information(this, QString::fromUtf16(texts::HelpTitle), message);
    }
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::ActivateFrame(unsigned showCommand)
{
    const std::string stored = profile::Read(context_.profile, profile::WindowPos);
    const StartPlacement plan = PlanStart(WindowPlacement::Parse(stored), showCommand, WorkAreas());
    if (plan.normal) {
        ApplyNormalRect(*plan.normal);
    } else {
        resize(FirstStartSize());
    }
    if (plan.minimized) {
        setWindowState(plan.maximized ? Qt::WindowMinimized | Qt::WindowMaximized
                                      : Qt::WindowMinimized);
        show();
    } else if (plan.maximized) {
        showMaximized();
    } else {
        show();
        raise();
        activateWindow();
    }
}

QSize CMainFrame::FirstStartSize() const
{
    // Menus, toolbar, status bar and the picture whole, but never more than
    // most of the screen, where a large picture scrolls instead.
    QSize size = sizeHint().expandedTo(minimumSizeHint());
    // The main window's own hint leaves the bars to shrink; give each its
    // whole width, so no menu, button or indicator is cut off.
    for (const QWidget* bar :
         {static_cast<const QWidget*>(menuBar()), static_cast<const QWidget*>(toolBar_),
          static_cast<const QWidget*>(statusBar())}) {
        size.setWidth(std::max(size.width(), bar->sizeHint().width()));
    }
    // A prompt is drawn over the ready pane and cut at the lock-key panes:
    // the ready pane takes the width of the longest prompt.
    if (const auto* ready = statusBar()->findChild<QLabel*>(QStringLiteral("readyPane"))) {
        const QFontMetrics metrics = statusBar()->fontMetrics();  // the bar draws prompts
        int longestPrompt = 0;
        for (const auto& [command, action] : actions_) {
            longestPrompt = std::max(longestPrompt, metrics.horizontalAdvance(action->statusTip()));
        }
        int barWidth = statusBar()->sizeHint().width();
        // The size grip joins the bar only when the window shows.
        const auto* grip = statusBar()->findChild<QSizeGrip*>();
        if (grip && grip->isHidden() && statusBar()->isSizeGripEnabled()) {
            barWidth += grip->sizeHint().width() + statusBar()->layout()->spacing();
        }
        const int overhang = 4;  // of the last glyph, and rounding
        size.setWidth(std::max(size.width(),
                               barWidth - ready->sizeHint().width() + longestPrompt + overhang));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    return size;
}

void CMainFrame::ApplyNormalRect(const ScreenRect& frame)
{
    pendingFrame_ = frame;
    FinishNormalRect();
    if (pendingFrame_) {
        // The frame's size is not known yet: place the window by its frame
        // now and trim the client size when the window system tells it.
        move(frame.left, frame.top);
        resize(frame.Width(), frame.Height());
    }
}

void CMainFrame::FinishNormalRect()
{
    if (!pendingFrame_ || windowHandle() == nullptr) {
        return;
    }
    const QMargins margins = windowHandle()->frameMargins();
    // Not known yet, or a window without a frame: nothing to trim. Resizing a
    // maximised or minimised window would restore it on some window systems:
    // wait until it is restored.
    if (margins.isNull() || windowState() != Qt::WindowNoState) {
        return;
    }
    const ScreenRect frame = *pendingFrame_;
    pendingFrame_.reset();
    resize(QSize(frame.Width(), frame.Height()).shrunkBy(margins));
    move(frame.left, frame.top);
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        FinishNormalRect();
    }
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    FinishNormalRect();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FinishNormalRect();
}

ScreenRect CMainFrame::NormalFrameRect() const
{
    const Qt::WindowStates state = windowState();
    if (!(state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        return ToScreenRect(frameGeometry());
    }
    if (pendingFrame_) {
        // Never restored since the stored rectangle was applied: it is still
        // the restored place, and Qt's own would be off by the frame.
        return *pendingFrame_;
    }
    const QRect restored = normalGeometry();
    if (restored.isValid() && !restored.isEmpty()) {
        const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        return ToScreenRect(restored.marginsAdded(margins));
    }
    return ToScreenRect(frameGeometry());
}

void CMainFrame::SavePlacement()
{
    const Qt::WindowStates state = windowState();
    const WindowPlacement placement = WindowPlacement::AtClose(state.testFlag(Qt::WindowMinimized),
                                                               state.testFlag(Qt::WindowMaximized),
                                                               NormalFrameRect());
    profile::Write(context_.profile, profile::WindowPos, placement.Format());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SavePlacement();
    QMainWindow::closeEvent(event);
}

}  // namespace kestrel
