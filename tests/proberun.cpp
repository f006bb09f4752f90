#include "probe.h"

#include <QProcess>
#include <QRegularExpression>

ProbeRun runProbe(const QString &program, const QStringList &arguments,
                  const QProcessEnvironment &environment, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProbeRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.crashed = true;
    }
    run.crashed = run.crashed || process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    static const QRegularExpression boxReport(
            QStringLiteral("^BOX (.*?)\\nEND$"),
            QRegularExpression::MultilineOption | QRegularExpression::DotMatchesEverythingOption
                    | QRegularExpression::InvertedGreedinessOption);
    auto reports = boxReport.globalMatch(run.out);
    while (reports.hasNext())
        run.boxes << reports.next().captured(1);
    return run;
}
