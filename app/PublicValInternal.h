// Shared by the files of the application state; not for other callers.
#pragma once

#include <QString>

namespace publicval {

// The module name errors of the application state carry.
extern const QString kModule;
// True once start-up has read the "PUBLIC" settings.
extern bool gPublicRead;

} // namespace publicval
