#pragma once

#include <QPixmap>
#include <QString>

#include <utility>

namespace tilava {

// A skin picture of the main widget at the screen's density, decoded when it is first needed.
// One that cannot be decoded becomes a plain fill of its main colour and the widget goes on.
class WidgetPicture {
public:
    explicit WidgetPicture(QString name = {}) : name_(std::move(name)) {}

    const QPixmap& operator()() {
        if (pixmap_.isNull())
            pixmap_ = Load(name_);
        return pixmap_;
    }

    // Decodes the picture `name` now.
    static QPixmap Load(const QString& name);

private:
    QString name_;
    QPixmap pixmap_;
};

} // namespace tilava
