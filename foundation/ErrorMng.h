// Error reporting: every failure climbs the call chain, collecting one
// "object.procedure/" step per level, up to a window's handler, which ends
// it with the fatal stop. File operations first get the file-error box.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "AppError.h"

using plat::AppError;

// The program's own error numbers.
constexpr int32_t ErrGeneral = static_cast<int32_t>(0x800403E9);      // classes
constexpr int32_t ErrLibrary = static_cast<int32_t>(0x800403EA);      // library modules
constexpr int32_t ErrFormUnload = static_cast<int32_t>(0x800403EB);
constexpr int32_t ErrFormLoad = static_cast<int32_t>(0x800403EC);
constexpr int32_t ErrRegistry = static_cast<int32_t>(0x800403ED);
constexpr int32_t ErrMapVersion = static_cast<int32_t>(0x800403EE);   // unsupported map file version
constexpr int32_t ErrMapRecord = static_cast<int32_t>(0x800403EF);    // bad figure record
constexpr int32_t ErrWarning = static_cast<int32_t>(0x8004270F);

// Set while the fatal stop runs; the file-error box then stays silent.
extern bool gvFatalStop;

bool IsFileError(const AppError& e);
// Inside a catch block: the error being handled.
bool IsFileError();

// Adds "object.procedure/" in front of the source and "comment/" in front of
// the description (when the comment is not empty); a number of 0 becomes
// `number`, any other is kept.
void AppendErrorSource(AppError& e, int32_t number, const QString& objectName, const QString& procedureName,
                       const QString& comment);

// Inside a catch block: appends this level to the error being handled and
// throws it on. Never returns.
[[noreturn]] void RaiseError(int32_t number, const QString& objectName, const QString& procedureName,
                             const QString& comment = QString());
[[noreturn]] void RaiseError(AppError e, int32_t number, const QString& objectName, const QString& procedureName,
                             const QString& comment = QString());

// The text of the fatal report for an error, and the file it is written to.
QString FatalReportText(const AppError& e, const QString& comment, const QString& reportFile);
QString FatalReportFileName();

// Shows the fatal report and writes it beside the program (errors ignored).
void ReportFatalError(const AppError& e, const QString& comment);

// The orderly shutdown the main window installs; the default does nothing.
void SetWindupHook(std::function<void()> hook);
// How the program ends after the fatal stop; the default exits the process.
// Tests install a hook that returns instead.
void SetProgramEndHook(std::function<void()> hook);

// Reports the error, runs the orderly shutdown and ends the program.
void StopOnFatalError(const AppError& e, const QString& comment);
// The error of the fatal stop under way (the orderly shutdown asks it).
const AppError& FatalStopError();
// Inside a catch block: the same for the error being handled.
void StopOnFatalError(const QString& comment);

// Runs an event handler of the window `formName`: nothing above a handler
// could handle an error, so one escaping it gets "formName.procName/" in
// front of its source (and 0x800403EB when it has no number) and stops the
// program with the comment "by StopError".
void RunHandler(const QString& formName, const QString& procName, const std::function<void()>& handler);

// The file-error box. 0 retry, 1 skip, 2 cancel, 3 not a file error.
int ShowFileError(const AppError& e, const QString& fileName);
// Inside a catch block: the same for the error being handled.
int ShowFileError(const QString& fileName);

// Runs `op`; on a file error shows the box and retries while the user asks
// to. Returns 0 when op succeeded, else the box's answer (1 skip, 2 cancel,
// 3 not a file error); the error of answers 2 and 3 is in *err when given.
int WithFileRetry(const std::function<void()>& op, const QString& fileName, AppError* err = nullptr);
