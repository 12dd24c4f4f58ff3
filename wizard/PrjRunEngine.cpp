#include "PrjRunEngine.h"

#include "clsMapUnits.h"
#include "clsProjector.h"

std::optional<clsRect> ProjectorRunEngine::OutputBound() { return p_.OutputBound(); }

std::shared_ptr<clsMapUnits> ProjectorRunEngine::ExeProjection(clsMapUnits& units, const CellHandler& addElement) {
    // The handler is bound only while the run lasts, whichever way it ends.
    struct Bind {
        clsProjector& p;
        ~Bind() { p.AddElement = nullptr; }
    } bind{p_};
    p_.AddElement = addElement;
    return p_.ExeProjection(units);
}

int32_t ProjectorRunEngine::Progress() const { return p_.Progress(); }

int32_t ProjectorRunEngine::Remain() const { return p_.Remain(); }

void ProjectorRunEngine::RequestCancel() { p_.Cancel = true; }
