// Helpers of the plot tests.
#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "Clock.h"

namespace plottest {

// Keeps a picture for a person to look at when KAL_TEST_PICTURES names a
// folder; does nothing otherwise.
inline void KeepPicture(const QImage& img, const QString& name) {
    const QString dir = qEnvironmentVariable("KAL_TEST_PICTURES");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    img.save(dir + QLatin1Char('/') + name);
}

// An outside program's run: found (false when not installed), its exit
// code and its standard output and error together.
struct ToolRun {
    bool found = false;
    int exitCode = -1;
    QString output;
};

inline ToolRun RunTool(const QString& name, const QStringList& args) {
    ToolRun r;
    const QString exe = QStandardPaths::findExecutable(name);
    if (exe.isEmpty()) return r;
    r.found = true;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(exe, args);
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitCode();
    r.output = QString::fromLocal8Bit(p.readAll());
    return r;
}

// Makes every Rnd() of its lifetime return one value.
class FixedRandom : public plat::RandomSource {
public:
    explicit FixedRandom(double v) : v_(v) { old_ = plat::SetRandom(this); }
    ~FixedRandom() override { plat::SetRandom(old_); }
    double next() override { return v_; }

private:
    double v_;
    plat::RandomSource* old_;
};

} // namespace plottest
