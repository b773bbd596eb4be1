#include "app/WindowSystemGuard.h"

#include "core/Utf8.h"
#include "platform/StandardOutput.h"

#include <QByteArray>
#include <QMessageLogger>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace tilava {

namespace {

std::atomic<WindowSystemGuard*> current{nullptr};

std::string VariableText(const char* name) {
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
        return std::string("premenná ") + name + " nie je nastavená";
    return std::string(name) + "=„" + value.toStdString() + "“";
}

} // namespace

WindowSystemGuard::WindowSystemGuard(int argc, char* argv[]) {
    // The platform Qt is told to use, if any: the last "-platform NAME" wins over the
    // environment, as in Qt.
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platform = argv[++i];
    }
    std::string detail = VariableText("DISPLAY") + ", " + VariableText("WAYLAND_DISPLAY");
    if (!platform.isEmpty())
        detail += ", platforma „" + platform.toStdString() + "“";
    report_ = PrintableText(
        "tilava: widget sa nedá zobraziť – program sa nepripojil k obrazovke (" + detail +
        ").\nBez obrazovky fungujú voľby --export-ics, --import-vcard a --sync "
        "(pozri „tilava --help“).\n");
    current = this;
    previous_ = qInstallMessageHandler(&WindowSystemGuard::Hold);
}

WindowSystemGuard::~WindowSystemGuard() {
    Release();
}

void WindowSystemGuard::Hold(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
    WindowSystemGuard* guard = current;
    if (guard == nullptr)
        return;
    if (type == QtFatalMsg) {
        // Qt would abort right after this: the report is all the user gets, and nothing of
        // the user's has been opened yet.
        WriteStandard(StandardStream::Error, guard->report_);
        std::_Exit(1);
    }
    const std::lock_guard lock(guard->mutex_);
    guard->held_.push_back(
        {type, context.file, context.line, context.function, context.category, text});
}

void WindowSystemGuard::Release() {
    if (released_)
        return;
    released_ = true;
    qInstallMessageHandler(previous_);
    current = nullptr;
    const std::lock_guard lock(mutex_);
    for (const HeldMessage& message : held_) {
        const QMessageLogger logger(
            message.file.constData(), message.line, message.function.constData(),
            message.category.isNull() ? nullptr : message.category.constData());
        const QByteArray text = message.text.toUtf8();
        switch (message.type) {
        case QtDebugMsg:
            logger.debug("%s", text.constData());
            break;
        case QtInfoMsg:
            logger.info("%s", text.constData());
            break;
        case QtWarningMsg:
            logger.warning("%s", text.constData());
            break;
        default:
            logger.critical("%s", text.constData());
            break;
        }
    }
    held_.clear();
}

} // namespace tilava
