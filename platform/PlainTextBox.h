// The program's multi-line text box.
//
// Qt 6.4's text control reads the first format of pasted data without
// looking whether there is one, so a paste (Ctrl+V, Shift+Insert, the middle
// button) from a clipboard that offers no format at all crashes it; X11
// reports a clipboard nobody owns just so. Such a paste does nothing here.
#pragma once

#include <QPlainTextEdit>

namespace plat {

class PlainTextBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace plat
