// The start-up yardstick: a bare frameless Qt window of the widget's size with a tray icon and
// nothing else. With TILAVA_EXIT_AFTER_PAINT set it ends right after its first paint, exactly as
// the program does, so the start-up benchmark can time both the same way.

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace {

class BareWindow final : public QWidget {
public:
    BareWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0xA6, 0xCA, 0xF0));
        if (!hotovo_ && koncit_) {
            hotovo_ = true;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
    }

private:
    bool hotovo_ = false;
    bool koncit_ = qEnvironmentVariableIsSet("TILAVA_EXIT_AFTER_PAINT");
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setFixedSize(170, 85);
    QSystemTrayIcon* tray = nullptr;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QPixmap ikona(32, 32);
        ikona.fill(QColor(0x15, 0x30, 0x6A));
        tray = new QSystemTrayIcon(QIcon(ikona), &window);
        tray->show();
    }
    window.show();
    return QApplication::exec();
}
