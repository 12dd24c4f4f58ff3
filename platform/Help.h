// Help pages: HTML files in the folder "help" beside the program, one page a
// topic, shown in the program's own help window (HelpWindow.h). Pages are
// numbered by context id (help/<id>.html); help/index.html is the contents
// and help/keywords.html the index.
#pragma once

#include <QString>

class QUrl;

namespace plat {

// What the user is told when a page cannot be shown; the page's file name or
// the context id follows it.
QString HelpFailedText();

// The page of a context id: help/<id>.html, or the contents when it is
// missing.
QString HelpPageOf(long contextId);
// The contents and the index beside a page.
QString HelpContentsBeside(const QString& page);
QString HelpIndexBeside(const QString& page);
// The page a link of `fromPage` leads to (its fragment dropped); empty when
// the link does not lead to a local file.
QString HelpLinkTarget(const QString& fromPage, const QUrl& link);

// Shows a page in the help window; a handle above 0, or 0 after telling the
// user (HelpFailedText and `failText`) that the page could not be shown.
long ShowHelpPage(const QString& page, const QString& failText);
// Each false after telling the user that the page could not be shown.
bool ShowHelpTopic(long contextId);
bool ShowHelpContents();
bool ShowHelpIndex();
// Closes the help window.
void CloseAllHelp();

} // namespace plat
