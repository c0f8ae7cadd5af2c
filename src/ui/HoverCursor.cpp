#include "ui/HoverCursor.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace bw {

namespace {

// Watches one button: the hand while the mouse rests over it; the normal cursor from the moment
// it is pressed or clicked, so whatever the click starts (another window, long work) shows the
// normal pointer; the hand again once the mouse moves over it with no button held.
class HoverFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button) return false;
        switch (event->type()) {
            case QEvent::Enter:
                ShowHand(*button);
                break;
            case QEvent::MouseMove:
                if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) ShowHand(*button);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease:
                button->unsetCursor();
                break;
            default:
                break;
        }
        return false;
    }

  private:
    static void ShowHand(QAbstractButton& button) {
        if (!button.testAttribute(Qt::WA_SetCursor)) button.setCursor(HoverHandCursor());
    }
};

}  // namespace

QCursor HoverHandCursor() { return QCursor(Qt::PointingHandCursor); }

void InstallHoverCursor(QAbstractButton& button) {
    auto* filter = new HoverFilter(&button);
    button.installEventFilter(filter);
    button.setMouseTracking(true);
    button.setCursor(HoverHandCursor());
    // Keyboard clicks go the same way as mouse clicks.
    QObject::connect(&button, &QAbstractButton::pressed, &button,
                     [&button] { button.unsetCursor(); });
    QObject::connect(&button, &QAbstractButton::clicked, &button,
                     [&button] { button.unsetCursor(); });
}

void InstallHoverCursor(QWidget& window) {
    // Command buttons only: check and option boxes, and toolbar buttons, keep the normal cursor.
    for (QPushButton* button : window.findChildren<QPushButton*>()) InstallHoverCursor(*button);
}

}  // namespace bw
