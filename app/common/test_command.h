// Tests: runs a command (no shell) and collects what it printed.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace vt::common {

// True when the command ran and exited with 0; output, when given, gets its
// standard output and error together.
inline bool RunTestCommand(const QStringList &argv, QString *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(argv.first(), argv.mid(1));
    process.waitForFinished(120000);
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace vt::common
