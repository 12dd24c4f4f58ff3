// Helpers of the plot tests.
#pragma once

#include <QDir>
#include <QImage>
#include <QString>

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
