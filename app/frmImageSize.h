// The image size dialog "画像サイズ": the size of the map view in pixels,
// the size of the canvas in dots, inches or millimetres, the output
// resolution and the switch that keeps the canvas the size of the view.
// The dialog edits a working copy; only OK writes it to the canvas.
//
// Sizes in inches are shown truncated to a tenth, in millimetres truncated
// to whole ones; typed sizes are rounded half to even to dots. The smallest
// canvas side in a range message is rounded up instead, so the bound the
// message names is itself accepted.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

#include "DialogBase.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class clsCanvas;

class MapSizeLogic {
public:
    enum Unit : int16_t { Dots = 0, Inches = 1, Millimetres = 2 };
    static constexpr int32_t kMinSide = 32;
    static constexpr int32_t kMinDpi = 48;
    static constexpr int32_t kMaxDpi = 1440;

    clsCanvas* Canvas = nullptr;   // set by the caller, released after
    bool OK = false;

    // The position the dialog reopens at, for the program's life.
    static plat::DialogPosition& Remembered();
    // The printer's resolution in dots per inch, for the resolution text
    // "printer"; the default asks the system's default printer.
    using PrinterDpiSource = std::function<int32_t()>;
    static PrinterDpiSource SetPrinterDpiSource(PrinterDpiSource source);

    // The opening: the working copy from the canvas, the unit chosen last.
    void Load();
    bool Synchro() const { return synchro_; }
    int32_t Dpi() const { return dpi_; }
    int32_t CanvasSide(int index) const { return canvas_[size_t(index & 1)]; }
    int32_t ViewSide(int index) const { return view_[size_t(index & 1)]; }
    int16_t UnitIndex() const { return unit_; }

    // Dots as text in the chosen unit; roundUp for a lower bound.
    QString ToText(int32_t dots, bool roundUp = false) const;
    // Text in the chosen unit as dots; 0 for a text that is no number.
    int32_t FromText(const QString& text) const;

    void SetSynchro(bool on) { synchro_ = on; }
    void SetUnit(int16_t unit);
    // The checks of the text boxes: true when the value was taken; a
    // refusal has shown the range message and leaves the value as it was.
    bool SetDpiText(const QString& text);
    bool SetCanvasText(int index, const QString& text);
    bool SetViewText(int index, const QString& text);

    // OK: the working copy to the canvas (the canvas sides only with the
    // switch off).
    void Apply();

private:
    bool synchro_ = true;
    int32_t dpi_ = 96;
    std::array<int32_t, 2> canvas_{kMinSide, kMinSide};
    std::array<int32_t, 2> view_{kMinSide, kMinSide};
    int16_t unit_ = Dots;
};

class frmMapSize : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmMapSize(MapSizeLogic& logic, QWidget* parent = nullptr);

    QCheckBox* synchroBox() const { return chkSynchro_; }
    QLineEdit* viewSizeBox(int index) const { return txtViewSize_[size_t(index & 1)]; }
    QLineEdit* canvasSizeBox(int index) const { return txtCanvasSize_[size_t(index & 1)]; }
    QLineEdit* dpiBox() const { return txtDPI_; }
    QComboBox* unitList() const { return choUnit_; }
    QPushButton* cancelButton() const { return cmdCancel_; }

private:
    // The controls from the working copy.
    void toControl();
    bool checked(bool ok);

    MapSizeLogic& logic_;
    bool refreshing_ = false;
    QCheckBox* chkSynchro_ = nullptr;
    std::array<QLineEdit*, 2> txtViewSize_{};
    QGroupBox* fraCanvasSize_ = nullptr;
    std::array<QLineEdit*, 2> txtCanvasSize_{};
    QComboBox* choUnit_ = nullptr;
    QLineEdit* txtDPI_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};
