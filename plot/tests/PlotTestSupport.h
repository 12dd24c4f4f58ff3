// Helpers of the plot tests.
#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <functional>

#include "AppError.h"
#include "Clock.h"
#include "FileOps.h"
#include "MessageBox.h"
#include "TestSupport.h"

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

// ImageMagick's view of a file ("width height depth class colourspace")
// and the number of pixels in which it differs from the reference picture:
// "W H 8 PseudoClass sRGB differing 0". Empty when ImageMagick is missing.
inline QString IdentifyAndCompare(const QString& file, const QImage& reference) {
    const QString png = file + QStringLiteral(".ref.png");
    reference.save(png);
    const auto id = RunTool(QStringLiteral("identify"), {"-format", "%w %h %z %r", file});
    const auto cmp = RunTool(QStringLiteral("compare"), {"-metric", "AE", file, png, "null:"});
    if (!id.found || !cmp.found) return {};
    return id.output.trimmed() + QStringLiteral(" differing ") + cmp.output.trimmed();
}

// Saves three times while the next write fails with a full disk, the user
// answering the file-error box: skip (the result is the error's number),
// cancel (the error goes on, `source` at the head of its source), retry
// (written). The file, "old" at first, stays until the retry.
inline void CheckFileErrorAnswers(const std::function<int32_t()>& save, const QString& path, const QString& source) {
    testsupport::WriteBytes(path, "old");
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    for (const int answer : {plat::IdNo, plat::IdCancel, plat::IdYes}) {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(name, answer);
        plat::AtomicFileWriter::FailNextWriteWith(ENOSPC);
        try {
            const int32_t r = save();
            EXPECT_NE(answer, plat::IdCancel) << "a cancelled file error goes on to the caller";
            EXPECT_EQ(r, answer == plat::IdNo ? plat::ErrDiskFull : 0);
        } catch (const plat::AppError& e) {
            EXPECT_EQ(answer, plat::IdCancel);
            EXPECT_EQ(e.number(), plat::ErrDiskFull);
            EXPECT_TRUE(e.source().startsWith(source)) << e.source().toStdString();
        }
        EXPECT_EQ(testsupport::ReadBytes(path) == "old", answer != plat::IdYes) << answer;
    }
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
