// The pick menu as the user sees it: mnuPick with its items and the
// submenus of the marks and the target units, prepared from
// FigurePickMenu each time it pops up.
#pragma once

#include <QMenu>

#include <array>
#include <functional>

#include "FigurePickMenu.h"

// Where a popup of the size opens for a screen point: below and right of it
// where it fits, else above or left of it, and always inside the screen's
// usable area (a taller popup starts at its top).
QPoint PopupPlace(const QPoint& at, const QSize& size, const QRect& area);

class FigurePickMenuUi : public QMenu {
public:
    // guard runs a command as an event handler of the main window (an error
    // stops the program in order).
    using Guard = std::function<void(const char* handler, const std::function<void()>& fn)>;
    FigurePickMenuUi(FigurePickMenu& logic, Guard guard, QWidget* parent = nullptr);

    // mnuPick_Click: every item set from the pick.
    void Prepare();
    // Prepares, pops up at a screen point (where it fits) and returns once
    // the menu closed.
    void ExecAt(const QPoint& global);

    QAction *mnuPickRetouch = nullptr, *mnuPickDraw = nullptr, *mnuPickList = nullptr, *mnuPickDelete = nullptr,
            *mnuPickGap = nullptr, *mnuPickConnect = nullptr, *mnuPickHide = nullptr, *mnuPickRem = nullptr,
            *mnuPickText = nullptr, *mnuPickCenter = nullptr, *mnuPickLength = nullptr, *mnuPickArea = nullptr;
    QMenu *mnuPickMark = nullptr, *mnuPickMove = nullptr, *mnuPickCopy = nullptr;
    std::array<QAction*, 9> mnuPickMarkItem{};
    std::array<QAction*, 4> mnuPickSeek{};

private:
    QAction* add(QMenu* menu, const char* caption, const char* handler, std::function<void()> fn);
    // Unit items 1..n after the "取り消し(&0)" item.
    void fillUnits(QMenu* menu, const FigurePickState& s, bool move);

    FigurePickMenu& logic_;
    Guard guard_;
};
