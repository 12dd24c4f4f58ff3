// The entries of a drop-down list of the figure dialogs and pickers: each
// row carries the number it stands for (district code, thing number, area
// group, category), so that a chosen row gives its own number even when two
// rows read the same.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class QComboBox;

struct ChoiceList {
    QStringList texts;
    std::vector<int32_t> numbers;
    int selected = -1;  // row, -1 none

    void clear() {
        texts.clear();
        numbers.clear();
        selected = -1;
    }
    void add(const QString& text, int32_t number) {
        texts.append(text);
        numbers.push_back(number);
    }
    int size() const { return static_cast<int>(numbers.size()); }
    bool isEmpty() const { return numbers.empty(); }
    // The first row of the number, else row 0; none when the list is empty.
    void selectNumber(int32_t number);
    // The first row whose text equals text exactly, else row 0.
    void selectText(const QString& text);
    // A row the user chose becomes the selected one; False (nothing
    // changes) for a row outside the list.
    bool choose(int row) {
        if (row < 0 || row >= size()) return false;
        selected = row;
        return true;
    }
    // The number of a row; `none` outside the list.
    int32_t numberAt(int row, int32_t none = -1) const {
        return row >= 0 && row < size() ? numbers[static_cast<size_t>(row)] : none;
    }
    int32_t selectedNumber(int32_t none = -1) const { return numberAt(selected, none); }
};

// Fills a combo box with the rows (each row's number as its item data) and
// selects the selected row, without signals.
void FillCombo(QComboBox* combo, const ChoiceList& list);
// The number of the combo box's current row; `none` when no row is current.
int32_t ComboNumber(const QComboBox* combo, int32_t none = -1);
