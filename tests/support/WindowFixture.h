#pragma once

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Settings.h"
#include "support/AppFixture.h"
#include "ui/TreeModel.h"
#include "ui/frmMain.h"

namespace bw::test {

// Runs the event loop until `done` or `limitMs` have passed; whether `done` came.
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer t;
    for (t.start(); !done(); QThread::msleep(1)) {
        if (t.elapsed() > limitMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A left press at `from` on `w`, dragged to `to` and released there.
inline void Drag(QWidget* w, const QPointF& from, const QPointF& to) {
    QMouseEvent press(QEvent::MouseButtonPress, from, w->mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, {});
    QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton, {}, {});
    for (QMouseEvent* e : {&press, &move, &release}) QApplication::sendEvent(w, e);
}

// The main window over the fixture's prefix, with a copy of the sample library on C: and the
// settings naming its Runtime. A stray modal box stops the test at its time limit.
class WindowFixture : public AppFixture {
  protected:
    WindowFixture() {
        std::filesystem::copy(std::string(BRINDLEWOOD_EXAMPLES_DIR) + "/Poser4", c.host("Poser4"),
                              std::filesystem::copy_options::recursive);
        Write("Colors", "BackColor", "15136253");
        Write("Folder", "Runtime", "C:\\Poser4\\Runtime");
    }
    ~WindowFixture() override {
        if (window) window->Detach();
        app.reset();  // it speaks to the window to the last
    }
    void Write(const char* section, const char* key, const std::string& value) {
        WritePrivateProfileString(section, key, value, prefix.host("Brindlewood.ini"));
    }
    // Loads the settings and opens the window on them.
    void Start() {
        window = std::make_unique<frmMain>();
        app = std::make_unique<AppState>(
            *window, std::make_unique<FileSystem>(DriveMap::FromPrefix(prefix.path())));
        LoadSettings(*app, app->fs->WindowsPath(prefix.host("Brindlewood.ini")));
        window->Load(*app);
    }
    QAction* Cmd(const char* name) { return window->Command(name); }
    QAbstractItemModel* model() { return window->treMain()->model(); }
    // The first row under `parent` whose text starts with `start`; invalid when none.
    QModelIndex Find(const QModelIndex& parent, const std::string& start) {
        const QModelIndexList hits =
            model()->match(model()->index(0, 0, parent), Qt::DisplayRole,
                           QString::fromStdString(start), 1, Qt::MatchStartsWith);
        return hits.isEmpty() ? QModelIndex() : hits.first();
    }
    // Expands each row in turn through the view, as clicks on the expand signs would.
    QModelIndex Expand(const std::vector<std::string>& starts) {
        QModelIndex at;
        for (const auto& s : starts) {
            if (!(at = Find(at, s)).isValid()) return {};
            window->treMain()->expand(at);
        }
        return at;
    }
    // A left press and release on the row, scrolled into view first.
    void Click(const QModelIndex& index) {
        QTreeView* view = window->treMain();
        view->scrollTo(index);
        const QPointF at(view->visualRect(index).center()), to(view->viewport()->mapToGlobal(at));
        QMouseEvent press(QEvent::MouseButtonPress, at, to, Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, at, to, Qt::LeftButton, {}, {});
        QApplication::sendEvent(view->viewport(), &press);
        QApplication::sendEvent(view->viewport(), &release);
    }
    // A left press on one row, dragged to another and released there.
    void Drag(const QModelIndex& from, const QModelIndex& to) {
        QTreeView* view = window->treMain();
        test::Drag(view->viewport(), view->visualRect(from).center(),
                   view->visualRect(to).center());
    }
    // A key pressed on the tree.
    void Key(int key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(window->treMain(), &press);
    }
    // The node of the tree's highlighted row (its current row, when it is also selected).
    Node* Highlighted() {
        QTreeView* view = window->treMain();
        const QModelIndex i = view->currentIndex();
        return view->selectionModel()->isSelected(i) ? TreeModel::NodeOf(i) : nullptr;
    }
    std::vector<std::string> Texts(const QModelIndex& parent) {
        std::vector<std::string> out;
        for (int r = 0; r < model()->rowCount(parent); ++r)
            out.push_back(model()->index(r, 0, parent).data().toString().toStdString());
        return out;
    }

    std::unique_ptr<frmMain> window;
};

}  // namespace bw::test
