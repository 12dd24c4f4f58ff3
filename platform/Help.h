// Help pages: HTML files in the folder "help" beside the program, one page a
// topic, opened with the desktop's browser. Pages are numbered by context id
// (help/<id>.html); help/index.html is the contents and help/keywords.html
// the index.
#pragma once

#include <QString>

#include <functional>

namespace plat {

// The page of a context id: help/<id>.html, or the contents when it is
// missing.
QString HelpPageOf(long contextId);
// Each returns false when the page could not be opened.
bool ShowHelpTopic(long contextId);
bool ShowHelpContents();
bool ShowHelpIndex();
// Opens a help page; a handle above 0 for the opened page, 0 on failure.
long OpenHelpPage(const QString& page);
// Closes the browsers the program started for its pages (a page handed to a
// browser that was already running stays open there) and forgets them all.
void CloseAllHelp();
int OpenHelpPageCount();

// Tests and headless runs replace the browser: the launcher gets the page
// path and returns false on failure; the closer is called by CloseAllHelp.
struct HelpBrowser {
    std::function<bool(const QString& page)> open;
    std::function<void()> closeAll;
};
HelpBrowser SetHelpBrowser(HelpBrowser browser);

} // namespace plat
