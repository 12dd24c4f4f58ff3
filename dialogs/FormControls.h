// Small makers of the controls the dialog windows share.
#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace plat {
class FlexGrid;
} // namespace plat

// A push button with its object name and tooltip that never becomes the
// default button by focus (Enter is the dialog's to handle).
QPushButton* NamedButton(const QString& name, const QString& caption, const QString& tip, QWidget* parent);
// The colours, font name and size of a list grid from "Environment.txt".
void ApplyGridLook(plat::FlexGrid* grid);
