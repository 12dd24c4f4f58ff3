// Joins the projection wizard to the application: the main window's
// choosers, the snapshot writer and the global X/Y map unit set.
#pragma once

// Once at start-up.
void InstallPrjWizardHost();
