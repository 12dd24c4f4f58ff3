// The help pages as the program ships them (data/help), read beside the
// windows that open them: what a page puts in ［...］ brackets is a control
// the user is told to find, so its window must show it.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace testsupport {

// The page of a context id; empty (and a failure) when there is none.
QString HelpPage(long contextId);
// What a page puts in ［...］ brackets, in order.
QStringList BracketedNames(const QString& page);
// A caption as a page names it: without its access key ("削除(&D)" and
// "スナップ(S)" are "削除" and "スナップ"), its colon, its arrows
// ("< 戻る(&B)") and the tree marks of a sub-list label.
QString PlainCaption(const QString& caption);
// Every caption the window has, shown or on a hidden page: buttons, check
// and option boxes, labels, frames, tabs and menu items, plain.
QStringList WindowCaptions(const QWidget& window);
// The names the page of a context id brackets that the window lacks.
QStringList NamesNotInWindow(long contextId, const QWidget& window);

} // namespace testsupport
