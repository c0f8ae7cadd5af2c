#pragma once

#include <QMainWindow>
#include <QPersistentModelIndex>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "core/Desktop.h"
#include "preview/PreviewSettings.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QToolBar;
class QTreeView;

namespace bw {

class AppState;
class frmCheck;
class ImageList;
class LibraryUsage;
class PreviewPane;
class TreeModel;

// The main window: toolbar, menus, the tree of drives, folders and files, and the scan panel.
// It is the core's Desktop.
class frmMain : public QMainWindow, public Desktop {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The load: connects the window to the program state, restores the placement, shows the
    // window, lists the drives, asks for the Runtime folder on first use and reopens the last
    // folder when wanted.
    void Load(AppState& app);
    // Lets go of the program state; call before the state goes, as the tree model refers to it.
    void Detach();

    QTreeView* treMain() const { return treMain_; }
    // The preview beside the tree; null before the load and after Detach.
    PreviewPane* picPreview() const { return picPreview_; }
    TreeModel* model() const { return model_.get(); }
    // A toolbar button (by key) or menu item (by name); null when there is none.
    QAction* Command(const std::string& name) const;

    // Where repairs keep the old bytes for Undo (host path); replaceable for tests.
    std::string journalRoot;

    // Desktop
    int ShowMsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                             const std::string& defaultText) override;
    void ShowSystemMessage(const std::string& prompt, const std::string& title) override;
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
    void SetBusy(bool busy) override;
    void DoEvents() override;
    std::string ChooseSaveFile(const std::string& title, const std::string& filter) override;
    std::string ChooseFolder(const std::string& title) override;
    void CommandsChanged() override;
    void PopupEditMenu() override;
    void EnsureVisible(Node* node) override;
    void SetScanMode(bool scanning) override;
    void SetScanCaption(const std::string& caption) override;
    void SetScanStatus(const std::string& status) override;
    void SetScanProgress(double fraction) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildToolbar();
    void BuildMenus();
    void BuildScanPanel();
    QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption,
                         const QKeySequence& key);
    void LayoutBody();
    void ApplyActionStates();
    void Unload();
    // While a scan or an expand-all runs, the tree takes no clicks or keys; true when the event
    // was one of those.
    bool HoldTreeInput(QEvent* event);
    // Puts the tree's highlight on CurrentNode. When CurrentNode has left the tree, the highlight
    // goes and the node commands are withdrawn until the next selection.
    void FollowCurrentNode();
    // "*" on the tree: opens the current row's whole branch, stoppable by Esc, a click or a
    // command.
    void ExpandAllFromCurrent();
    void CloseIfPending();
    // Shows or hides the preview pane and remembers the choice; reports a settings file that
    // cannot be written.
    void ShowPreview(bool on);
    // Puts CurrentNode in the preview pane when it is not already there, or `again` after a
    // command that may have changed its file. Nothing is read while the pane is hidden.
    void UpdatePreview(bool again);
    // Tools > Check Library: the report window, opened once and brought forward after.
    void ShowCheckLibrary();
    // Shows a library file (host path) in the tree and brings the window forward; false while a
    // scan or an expand-all holds the tree.
    bool RevealLibraryFile(const std::string& hostPath);
    // Edit > Undo Last Repair; the current node is read again when a file was put back.
    void UndoLastRepair();
    // After a repair or an undo wrote library files: the current node and an open report show
    // them anew.
    void ShowRepaired();
    // The current node and the preview, after library files were rewritten elsewhere.
    void ShowFilesRewritten();

    void RunToolbar(const std::string& key);
    void RunMenu(const std::string& item);
    void RunWindowAction(int action);
    void OnTreePress(QMouseEvent* event);
    void OnTreeRelease(QMouseEvent* event);
    void ClickAt(const QPoint& pos);
    void OnCurrentChanged(const QModelIndex& current);
    void OnSelectRequested(const QModelIndex& index);
    void OnExpanded(const QModelIndex& index);
    void OnCollapsed(const QModelIndex& index);

    AppState* app_ = nullptr;
    std::unique_ptr<ImageList> images_;
    std::unique_ptr<TreeModel> model_;
    QWidget* body_ = nullptr;
    QSplitter* splPreview_ = nullptr;  // the tree and the preview pane share the tree's place
    QTreeView* treMain_ = nullptr;
    QFrame* fraPreview_ = nullptr;  // holds the pane
    PreviewPane* picPreview_ = nullptr;
    PreviewSettings preview_;  // the user's choice; the pane is narrower when the window is
    QToolBar* tlbMain_ = nullptr;
    QMenu* mnuEdit_ = nullptr;
    QMenu* menus_[5] = {};
    QGroupBox* fraScan_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QFrame* pctBack_ = nullptr;
    QFrame* pctProgress_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QFrame* shpCancel_ = nullptr;
    QFrame* pctShadow_ = nullptr;

    std::map<std::string, QAction*> actions_;
    std::map<QAction*, bool> wanted_;  // availability the core asked for; the scan overrides it
    bool scanning_ = false;
    bool expandingAll_ = false;
    bool stopExpandAll_ = false;
    bool hadCurrent_ = false;  // CurrentNode was set when the highlight last followed it
    bool forwarding_ = false;  // a tree event is being handed to the view's own handling
    bool closePending_ = false;
    bool unloaded_ = false;
    bool mouseDown_ = false;
    bool keyboard_ = false;
    bool programSelect_ = false;
    double progress_ = 0;
    QPersistentModelIndex pressIndex_;
    std::chrono::steady_clock::time_point lastPump_{};
    std::unique_ptr<frmCheck> check_;
    std::unique_ptr<LibraryUsage> usage_;
};

}  // namespace bw
