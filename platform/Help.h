// Help pages: HTML files in the folder "help" beside the program, one page a
// topic, opened with the desktop's browser.
#pragma once

#include <QString>

namespace plat {

// The page of a context id: help/<id>.html, or the index when it is missing.
QString HelpPageOf(long contextId);
// Each returns false when the page could not be opened.
bool ShowHelpTopic(long contextId);
bool ShowHelpContents();
bool ShowHelpIndex();
// Forgets the pages it opened (an external browser cannot be closed from
// here; the program only stops tracking them).
void CloseAllHelp();
int OpenHelpPageCount();

} // namespace plat
