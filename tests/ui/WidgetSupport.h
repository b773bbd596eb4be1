#pragma once

#include "core/Clock.h"
#include "platform/MemoryHive.h"
#include "ui/desktop/Notifier.h"
#include "ui/windows/fMain.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tilava::test {

// Counts beeps and keeps the messages and questions instead of showing them; a question gets
// the answer the test scripted.
class RecordingNotifier final : public Notifier {
public:
    void Beep() override { ++beeps; }
    void Message(QWidget* parent, const QString& text) override {
        messages << text;
        parentShown << (parent && parent->isVisible());
    }

    int Ask(QWidget* parent, const QString& text, const QStringList& choices) override {
        questions << text;
        questionChoices << choices;
        questionParentShown << (parent && parent->isVisible());
        return answer ? answer(static_cast<int>(questions.size()))
                      : static_cast<int>(choices.size()) - 1;
    }

    bool Notify(QSystemTrayIcon* icon, const QString& text) override {
        notes << text;
        return icon != nullptr;
    }
    bool Warn(QSystemTrayIcon* icon, const QString& text) override {
        warnings << text;
        return icon != nullptr;
    }

    int beeps = 0;
    // The answer to the n-th question (1, 2, ...); without it the last choice is taken, so
    // that no test asks forever.
    std::function<int(int)> answer;
    QStringList questions;
    QList<QStringList> questionChoices;
    QList<bool> questionParentShown;
    QStringList messages;
    QList<bool> parentShown; // for each message: its window was on the screen
    QStringList notes;       // the short notes from the tray icon
    QStringList warnings;    // those with a warning icon
};

// What a main widget needs to start in a test: a fixed day, an in-memory settings hive with
// the start-up key, a temporary notes folder and a notifier that records.
class WidgetWorld {
public:
    explicit WidgetWorld(std::chrono::year_month_day today);

    std::unique_ptr<TfrmMain> Start();
    // Started and shown on the screen; a widget that never appears ends the test program.
    std::unique_ptr<TfrmMain> StartShown();

    // Writes the day file of day.month: UTF-8 lines turned into Windows-1250, CR LF after each.
    void WriteDay(int date, int monthNumber, const std::vector<std::string>& lines) const;
    // A listed day file with one entry per {kind code, year, text}.
    struct Entry {
        int kind;
        int rok;
        std::string text;
    };
    void WriteEntries(int date, int monthNumber, const std::vector<Entry>& entries) const;
    QString Subor(int date, int monthNumber) const;

    FixedClock clock;
    bool tray = false; // the desktop has a tray for the icon
    MemoryHive hive;
    QTemporaryDir folder;
    RecordingNotifier notifier;
};

} // namespace tilava::test
