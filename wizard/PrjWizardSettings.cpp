#include "PrjWizardSettings.h"

#include <memory>

#include "basGlobe.h"
#include "clsProjector.h"

PrjWizardSettings PrjWizardSettings::Initial() {
    PrjWizardSettings s;
    s.Grid.setUnitMode(1);
    s.Grid.Vertical = true;
    s.Grid.Horizontal = true;
    s.Grid.Zone = true;
    s.MapScale = MapScaleMax / 10;
    return s;
}

void PrjWizardSettings::GetProjector(clsProjector& p) {
    p.SetAuto();
    Field = *p.Field();   // not Copy(): that would put west before east
    CenterLon = p.CenterLon();
    CenterLat = p.CenterLat();
    AzimuthLine = p.AzimuthLine;
    Grid = p.Grid()->Copy();
    TextSlant = p.TextSlant;
    PrjIndex = p.PrjIndex();
    FieldWorld = p.FieldWorld;
    FieldFrame = p.FieldFrame;
    ShadowFrame = p.ShadowFrame;
    poler = p.poler();
    Cone = p.Cone();
    Secant = p.Secant();
    Light = p.Light();
    MapScale = p.MapScale();
    Division = p.Division();
    AutoProjection = false;
    RightAxis = false;
}

void PrjWizardSettings::SetProjector(clsProjector& p) const {
    // Copies: the projector keeps the objects it is given.
    p.setField(std::make_shared<clsRect>(Field));
    p.setGrid(std::make_shared<ProjectorGrid>(Grid.Copy()));
    p.FieldWorld = FieldWorld;
    p.FieldFrame = FieldFrame;
    p.setCenterLon(CenterLon);
    p.setCenterLat(CenterLat);
    p.AzimuthLine = AzimuthLine;
    p.TextSlant = TextSlant;
    p.AutoProjection = AutoProjection;
    p.setPrjIndex(PrjIndex);
    p.RightAxis = RightAxis;
    p.ShadowFrame = ShadowFrame;
    p.setPoler(poler);
    p.setCone(Cone);
    p.setSecant(Secant);
    p.setLight(Light);
    p.setMapScale(MapScale);
    p.setDivision(Division);
    p.SetAuto();
}
