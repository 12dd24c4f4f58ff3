// The general library: mouse-pointer stack, time stamps and version text,
// standard messages, file names and file tests, tokens and quoting, byte and
// text conversion, ranges, clamping and sorting.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "StdFont.h"

// Screen, time and version
int ScreenDPI();
// n >= 0 pushes the current pointer and sets n; n < 0 pops.
void ScreenMousePointer(int n);
int MousePointerDepth();                       // entries on the pointer stack
QString DateTimeStamp(const QString& sep);
QString VersionText();
plat::FontRef CloneFont(const plat::FontRef& font);
bool FontExists(const QString& name);

// Messages (modal; the title is the application's)
void MsgOutOfRange(const QString& detail = QString());
bool AskYesNo(const QString& question);
void MsgError(const QString& text);

// File names and files. Both "\" and "/" separate folders.
bool FileExists(const QString& path);
QString ChangeExt(const QString& path, const QString& ext);
QString FileNameOf(const QString& path);
QString FolderOf(const QString& path);
QString JoinPath(const QString& folder, const QString& name);
QString ShortenPath(const QString& path, int maxLen);
bool IsReadOnlyFile(const QString& path, bool showMessage);
QStringList FindFiles(const QString& pattern);

// Text
QStringList StrToTokens(const QString& line, int mode);
QString QuoteStr(const QString& text);
QString UnquoteStr(const QString& text);
QString TrimCtrlRight(const QString& text);
QString RemoveCtrlChars(const QString& text);
bool HasWideChar(const QString& text);
QString FormatStandardInt(double value);
// A QString is returned as it is; a QByteArray becomes one character per byte.
QString BytesToStr(const QVariant& value);
QByteArray StrToBytes(const QVariant& value);

// Ranges, comparison and sorting
inline bool InRange(int64_t v, int64_t lo, int64_t hi) { return lo <= v && v <= hi; }
inline int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v < hi ? v : hi); }
int32_t WrapRange(int32_t v, int32_t lo, int32_t hi);
int32_t RoundSignificant(int32_t v, int32_t digits);
template <class T>
bool Between(const T& v, const T& lo, const T& hi) { return lo <= v && v <= hi; }
template <class T>
T MinVar(const T& a, const T& b) { return a < b ? a : b; }
template <class T>
T MaxVar(const T& a, const T& b) { return a > b ? a : b; }
template <class T>
void SwapVar(T& a, T& b) { std::swap(a, b); }
int32_t SafeCLng(double x);
// Ascending in place. Equal elements are indistinguishable, so the order of
// equal ones cannot show and std::sort serves.
template <class T>
void SortArray(std::vector<T>& a) { std::sort(a.begin(), a.end()); }
void SortArray(QVariantList& a);
