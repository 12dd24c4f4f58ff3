#include "ControlUtil.h"

#include <QComboBox>
#include <QListWidget>

namespace plat {

int32_t ParentScaleX(const QWidget* control) { return control ? control->width() : 0; }
int32_t ParentScaleY(const QWidget* control) { return control ? control->height() : 0; }

void SelectListText(QComboBox* list, const QString& text) {
    if (!list || list->count() == 0) return;
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == text) {
            list->setCurrentIndex(i);
            return;
        }
    }
    list->setCurrentIndex(0);
}

void SelectListText(QListWidget* list, const QString& text) {
    if (!list || list->count() == 0) return;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == text) {
            list->setCurrentRow(i);
            return;
        }
    }
    list->setCurrentRow(0);
}

} // namespace plat
