#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tilava::test {

// What a program run to its end left: its exit code (-1 when it crashed or was killed for
// taking too long), and its standard output and error read as UTF-8.
struct ProgramRun {
    int code;
    QString out;
    QString err;
};

// Starts `program` (its environment and folder set by the caller) and waits for its end; after
// `timeoutMs` it is killed.
inline ProgramRun RunToEnd(QProcess& program, const QString& path, const QStringList& arguments,
                           int timeoutMs) {
    program.start(path, arguments);
    if (!program.waitForFinished(timeoutMs)) {
        program.kill();
        program.waitForFinished();
        return {-1, QStringLiteral("timed out"), {}};
    }
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

} // namespace tilava::test
