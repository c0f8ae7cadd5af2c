#pragma once

#include <QMainWindow>
#include <chrono>
#include <memory>

#include "app/Desktop.h"

class QTreeView;

namespace bw {

class AppState;
class ImageList;
class TreeModel;

// The main window: the tree of drives, folders and files. It is the core's Desktop.
class frmMain : public QMainWindow, public Desktop {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Connects the window to the program state and lists the drives.
    void Load(AppState& app);

    QTreeView* treMain() const { return treMain_; }
    TreeModel* model() const { return model_.get(); }

    // Desktop
    int ShowMsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                             const std::string& defaultText) override;
    void ShowSystemMessage(const std::string& prompt, const std::string& title) override;
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
    void SetBusy(bool busy) override;
    void DoEvents() override;

private:
    void OnExpanded(const QModelIndex& index);
    void OnCollapsed(const QModelIndex& index);

    AppState* app_ = nullptr;
    std::unique_ptr<ImageList> images_;
    std::unique_ptr<TreeModel> model_;
    QTreeView* treMain_ = nullptr;
    std::chrono::steady_clock::time_point lastPump_{};
};

}  // namespace bw
