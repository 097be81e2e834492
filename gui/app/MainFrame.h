#pragma once

#include "app/WindowPlacement.h"

#include <QMainWindow>

#include <map>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QShortcut;
class QToolBar;

namespace kestrel {

class CBarCodeView;
class SaveCommands;
struct ApplicationContext;

// The main window: menus, toolbar, status bar and the one view. It enables
// the output commands from the document's state and keeps the window's
// placement in the profile from one run to the next.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    enum class Command {
        Print,
        PrintSetup,
        Save,
        SaveAs,
        Exit,
        CodeInput,
        Comment,
        Colours,
        Options,
        Copy,
        ToolBar,
        StatusBar,
        HelpContents,
        About,
    };

    explicit CMainFrame(ApplicationContext& context, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Shows the window where it was last left. A show command other than
    // normal overrides the stored one.
    void ActivateFrame(unsigned showCommand = WindowPlacement::ShowNormal);

    CBarCodeView* View() const { return view_; }
    QAction* Action(Command command) const;
    // The keyboard accelerator of a command, if it has one.
    QShortcut* Accelerator(Command command) const;
    QToolBar* ToolBar() const { return toolBar_; }

public slots:
    // The four editing commands of the Edit menu and the toolbar.
    void OnCodeInput();
    void OnCommentInput();
    void OnColourSettings();
    void OnOptionSettings();

    void OnFilePrintSetup();
    void OnHelpContents();
    void OnAppAbout();

    // Save, Save As, Print and Copy need something to output.
    void UpdateCommandState();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QAction* AddCommand(Command command, const char16_t* text, const char16_t* prompt);
    void AddAccelerator(Command command, const QKeySequence& key);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void SyncViewToggles();
    void SavePlacement();
    // The client size of a first start, when no placement is stored.
    QSize FirstStartSize() const;
    void ApplyNormalRect(const ScreenRect& frame);
    void FinishNormalRect();
    ScreenRect NormalFrameRect() const;

    ApplicationContext& context_;
    CBarCodeView* view_ = nullptr;
    SaveCommands* saveCommands_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    std::map<Command, QAction*> actions_;
    std::map<Command, QShortcut*> accelerators_;
    // The stored frame rectangle, until the window system has told us the
    // size of its frame and the client size can be set to match it.
    std::optional<ScreenRect> pendingFrame_;
};

}  // namespace kestrel
