#include "ChoiceList.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

void ChoiceList::selectNumber(int32_t number) {
    if (isEmpty()) {
        selected = -1;
        return;
    }
    const auto it = std::find(numbers.begin(), numbers.end(), number);
    selected = it == numbers.end() ? 0 : static_cast<int>(it - numbers.begin());
}

void ChoiceList::selectText(const QString& text) {
    if (isEmpty()) {
        selected = -1;
        return;
    }
    const qsizetype row = texts.indexOf(text);
    selected = row < 0 ? 0 : static_cast<int>(row);
}

void FillCombo(QComboBox* combo, const ChoiceList& list) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (int i = 0; i < list.size(); ++i) combo->addItem(list.texts[i], list.numbers[static_cast<size_t>(i)]);
    combo->setCurrentIndex(list.selected);
}

int32_t ComboNumber(const QComboBox* combo, int32_t none) {
    const QVariant v = combo->currentData();
    return v.isValid() ? v.toInt() : none;
}
