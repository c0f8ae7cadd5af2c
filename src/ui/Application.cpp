#include "ui/Application.h"

#include <QIcon>
#include <QWidget>

namespace bw {

namespace {

// The window an event went to, by its name ("frmMain"), for the error report.
std::string WindowName(const QObject* receiver) {
    const QObject* named = receiver;
    if (receiver && receiver->isWidgetType())
        named = static_cast<const QWidget*>(receiver)->window();
    if (!named) return "Brindlewood";
    const QString name = named->objectName();
    return (name.isEmpty() ? QString(named->metaObject()->className()) : name).toStdString();
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    return trap_.Run([&] { return QApplication::notify(receiver, event); }, WindowName(receiver));
}

void SetUpApplication(QApplication& application) {
    application.setApplicationName("Brindlewood");
    application.setWindowIcon(QIcon(":/app/brindlewood.png"));
}

}  // namespace bw
