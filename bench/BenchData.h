// The benchmarks run on the data files of the source tree, with settings in
// a scratch folder, as the installed program would run on its own.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <filesystem>

#include "AppInfo.h"
#include "AppState.h"
#include "SettingsStore.h"
#include "clsEnvironment.h"

// Points the settings at `settings`, loads `env` from data/Environment.txt
// and makes it the program's, and sets the program and map folders to data/.
inline void UseBundledData(const QTemporaryDir& settings, clsEnvironment& env) {
    plat::SettingsStore::SetFolder(settings.path());
#ifdef KAL_BENCH_DATA
    const std::filesystem::path data = KAL_BENCH_DATA;
#else
    const std::filesystem::path data = std::filesystem::path(__FILE__).parent_path() / ".." / "data";
#endif
    const QString folder = QString::fromStdString(data.lexically_normal().string());
    env.setFileName(folder + QStringLiteral("/Environment.txt"));
    env.Load();
    gvEnvironment = &env;
    plat::SetAppPath(folder);
    gvMapFolder = folder + QStringLiteral("/maps");
}
