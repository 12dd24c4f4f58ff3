// The bundled thing and district catalogues, filled through the program's
// own catalogue classes from the style tables (WorldStyles.h) and the
// districts (WorldMaps.h), so that what they write is what the program reads.
#pragma once

#include "WorldMaps.h"
#include "WorldStyles.h"

#include <QString>

#include <vector>

class clsAdmins;
class clsThings;

namespace worldsrc {

// The comment, the category names and the things with their pages: every
// page alike, but for the paged land thing, whose page k takes the land
// colour k. Throws WorldSourceError when the catalogue refuses a value (a
// style out of the kind's range, a number taken twice).
void FillThings(clsThings& things, const CatalogueStyle& style);

// The comment, the names of the areas the districts use, and the districts,
// shown and searched, on their pages. Throws WorldSourceError when the
// catalogue refuses a district.
void FillAdmins(clsAdmins& admins, const std::vector<District>& districts, const QString& comment);

} // namespace worldsrc
