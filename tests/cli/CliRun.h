#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <gtest/gtest.h>

namespace cli_test {

// What a run of drivolex-cli gave: its exit status (-1 when it crashed) and output.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs drivolex-cli with the arguments, as a script runs it, in the environment given
// (the test's own without one).
inline CliRun
runCli(const QStringList& arguments,
       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(DRIVOLEX_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    CliRun run;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

} // namespace cli_test
