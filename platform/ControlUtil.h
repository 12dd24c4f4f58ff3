// Helpers of the general library that work on controls. They live here
// because the foundation libraries never include widgets.
#pragma once

#include <QString>

#include <cstdint>

class QWidget;
class QComboBox;
class QListWidget;

namespace plat {

// A control's width and height in pixels (Qt widgets measure in pixels already).
int32_t ParentScaleX(const QWidget* control);
int32_t ParentScaleY(const QWidget* control);

// Selects the first item whose text equals text exactly, else item 0; a
// control without items is left alone.
void SelectListText(QComboBox* list, const QString& text);
void SelectListText(QListWidget* list, const QString& text);

} // namespace plat
