// The window of the map-symbol dialog over MapSymbolModel: the unit list,
// the district and thing tabs with their grids and switches, OK, Cancel and
// Help. The controls are built at every opening; the model keeps the rest.
#pragma once

#include "DialogBase.h"
#include "MapSymbolLibrary.h"
#include "MapSymbolModel.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QAction;
class QMenu;
class QPoint;
class QPushButton;
class QStackedWidget;
class QTabBar;
class clsMapUnits;

namespace plat {
class FlexGrid;
} // namespace plat

class frmMapSymbol : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmMapSymbol(QWidget* parent = nullptr, MapSymbolModel& model = MapSymbol());
    ~frmMapSymbol() override;

    // The opening with the model's TargetUnits; false when there is nothing
    // to edit (the dialog is then not shown).
    bool loadControls();

    plat::FlexGrid* thingGrid() const { return flgThings_; }
    plat::FlexGrid* adminGrid() const { return flgAdmins_; }
    QComboBox* mapList() const { return choMap_; }
    QComboBox* pageList() const { return choPage_; }
    QComboBox* areaList() const { return choArea_; }
    QListWidget* dropPageList() const { return lstPage_; }
    QTabBar* tabs() const { return tbsExp_; }
    QCheckBox* unitSyncBox() const { return chkUnitSync_; }
    QCheckBox* previewBox() const { return chkPreview_; }
    QCheckBox* areaSyncBox() const { return chkAreaSync_; }
    QCheckBox* pageSyncBox() const { return chkPageSync_; }
    QCheckBox* dispAllBox() const { return chkDispAll_; }
    QPushButton* cancelButton() const { return cmdCancel_; }
    QPushButton* coloredMapButton() const { return cmdColoredMap_; }
    QPushButton* popupButton() const { return cmdPopup_; }
    QMenu* popupMenu() const { return mnuPopup_; }
    QComboBox* libraryList() const { return choLibrary_; }
    QPushButton* libOpenButton() const { return cmdLibOpen_; }
    QPushButton* libSaveButton() const { return cmdLibSave_; }
    QCheckBox* libShowBox() const { return chkLibShow_; }
    MapSymbolLibrary& library() { return library_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool eventFilter(QObject* o, QEvent* e) override;
    void build();
    void connectControls();
    void installEditors();
    void handler(const char* name, const std::function<void()>& f);
    // Shows the model in the controls; change signals raised meanwhile do
    // nothing.
    void refresh();
    void sizeColumns();
    void dropPageList(int32_t row);
    void hidePageList();
    void unload();
    void hookWheels(bool on);
    void buildPopup();
    void showPopup(const QPoint& global);
    QWidget* buildLibrary(QWidget* parent);
    void refreshLibrary();

    MapSymbolModel& model_;
    QComboBox* choMap_ = nullptr;
    QCheckBox* chkUnitSync_ = nullptr;
    QCheckBox* chkPreview_ = nullptr;
    QTabBar* tbsExp_ = nullptr;
    QStackedWidget* fraTab_ = nullptr;
    QComboBox* choArea_ = nullptr;
    QCheckBox* chkAreaSync_ = nullptr;
    plat::FlexGrid* flgAdmins_ = nullptr;
    QListWidget* lstPage_ = nullptr;
    QComboBox* choPage_ = nullptr;
    QCheckBox* chkPageSync_ = nullptr;
    QCheckBox* chkDispAll_ = nullptr;
    plat::FlexGrid* flgThings_ = nullptr;
    QPushButton* cmdColoredMap_ = nullptr;
    QPushButton* cmdPopup_ = nullptr;
    QMenu* mnuPopup_ = nullptr;
    QAction* mnuPopupPaste_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    MapSymbolLibrary library_{model_};
    QComboBox* choLibrary_ = nullptr;
    QPushButton* cmdLibOpen_ = nullptr;
    QPushButton* cmdLibSave_ = nullptr;
    QCheckBox* chkLibShow_ = nullptr;
    bool refreshing_ = false;
    bool loaded_ = false;
};

// The main window's map-symbol command: opens the dialog on `units` beside
// `mainWindow` (+1500, +600 twips on the first opening) and redraws the main
// window through the installed host when the user pressed OK. True for OK.
bool ShowMapSymbolDialog(QWidget* mainWindow, clsMapUnits* units);
