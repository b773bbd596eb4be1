#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>
#include <QWidget>

namespace tilava::test {

// The control of `window` with that object name; a test cannot go on without it.
template <typename T = QWidget> T* Control(QWidget& window, const QString& name) {
    auto* w = window.findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// Types `text` one character at a time (QTest::keyClicks aborts on a non-ASCII character).
inline void TypeText(QWidget* w, const QString& text) {
    for (const QChar typed : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(typed), Qt::NoModifier);
}

// The bytes of the file on disk, or "(missing)" when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Replaces the file with exactly these bytes.
inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(f.write(bytes) == bytes.size());
}

} // namespace tilava::test
