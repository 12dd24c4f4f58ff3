// The text dialog "文字列図形プロパティ": a place name in both display
// languages at an anchor, placed at one of 25 positions round it and
// turned by an angle, with own show mode and colour, district and thing.
// OK may also make a point symbol at the same anchor (the pair); the
// pair's setting and thing stay for the next text. A paste of n
// coordinates makes n texts (each followed by its pair), and pasted name
// lists name them in order.
//
// European names are one byte per Latin-1 letter. Typed in the box, "&h"
// and two hexadecimal digits stand for one byte ("Z&hFCrich" is Zürich)
// and a vowel followed by "^" takes the circumflex ("Cha^teau").
#pragma once

#include <QByteArray>
#include <QGroupBox>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include "ChoiceList.h"
#include "FigPointDialog.h"
#include "clsMapText.h"

class QButtonGroup;
class QCheckBox;
class QRadioButton;
class QSlider;

// The pair setting, kept for the run.
struct TextPairMemory {
    bool PairSymbol = false;
    QString PairThingName;
};
TextPairMemory& TextPair();

class FigTextLogic : public FigPointLogic {
public:
    static constexpr long kHelpContext = 291005;
    static constexpr int32_t kFixCount = 25;

    explicit FigTextLogic(FigureDialogVars& vars);

    // The common load, the anchor, no pasted names, the pair as last set.
    bool Load();
    clsMapText& Text() const { return static_cast<clsMapText&>(Work()); }

    // -- names; lang 1 European, 2 Japanese
    // The European name as the box shows it: each byte as its Latin-1
    // letter, up to a 0 byte.
    QString EuropianText() const;
    QString JapaneseText() const { return Text().TextUnicode(2); }
    // The European box's text (a letter beyond Latin-1 becomes "?") with
    // its "&h" escapes resolved becomes the name.
    void CommitEuropian(const QString& typed);
    void CommitJapanese(const QString& typed) { Text().setTextUnicode(2, typed); }
    // Each "&h" or "&H" with the two characters after it becomes one byte
    // of the hexadecimal number they begin (a character that is no digit
    // ends it); an escape starting within the last three bytes is none,
    // and a byte made is never read as the start of another.
    static QByteArray ResolveEscapes(QByteArray bytes);
    // Names separated by commas and line breaks (double quotes group)
    // name the pasted texts in order; the first goes to the box and, when
    // not empty, becomes the figure's (True).
    bool PasteNames(int32_t lang, const QString& text);
    // PasteNames of the clipboard's text; nothing when it holds no text.
    bool NamePasteClick(int32_t lang);
    const QStringList& Names(int32_t lang) const { return lang == 1 ? europian_ : japanese_; }

    // -- placement and angle
    int32_t Fix() const { return Text().TextFix(); }
    void FixClick(int32_t index) { Text().setTextFix(index); }
    int32_t Angle() const { return Text().Angle(); }
    QString AngleText() const { return QString::number(Angle()); }
    // Angle text within ±180 degrees becomes the angle in whole degrees
    // (toward zero); beyond, the range message and False.
    bool CommitAngle(const QString& typed);
    void SliderScroll(int32_t value) { Text().setAngle(value); }

    // -- the pair
    bool PairOn() const { return pairOn_; }
    void setPairOn(bool on) { pairOn_ = on; }
    // The things of point symbols, the pair's selected (else the first).
    ChoiceList PairThingChoices() const;
    // A thing chosen for the pair ticks the pair on.
    void PairThingClick(const QString& name);
    void setPairThingName(const QString& name) { pairThing_ = name; }

    // The text, [its pair], then per pasted point 2..n a copy of the text
    // (named from the pasted lists) [and a copy of the pair]. A pair
    // without a thing of its own keeps the dialog open with a message.
    OkOutcome OkClick() override;

private:
    // The pair of the text, at its anchor.
    std::shared_ptr<clsMapSymbol> makePair() const;

    QStringList europian_{QString()};
    QStringList japanese_{QString()};
    bool pairOn_ = false;
    QString pairThing_;
};

// The placement picture: the sample word, its frame and guide lines, and
// one option button for each of the 25 positions of the anchor.
class TextFixPicture : public QGroupBox {
    Q_OBJECT
public:
    explicit TextFixPicture(QWidget* parent = nullptr);
    QRadioButton* optFix[FigTextLogic::kFixCount] = {};
    QButtonGroup* group = nullptr;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// The angle indicator: "ANGLE" drawn at the angle by the drawing layer.
class AngleIndicator : public QWidget {
    Q_OBJECT
public:
    explicit AngleIndicator(QWidget* parent = nullptr);
    void setAngle(int32_t angle);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage image_;
};

// The Qt window over FigTextLogic.
class frmFigText : public frmFigPoint {
    Q_OBJECT
public:
    // Loads at once; loaded() is False when there was nothing to edit.
    explicit frmFigText(FigureDialogVars& vars, QWidget* parent = nullptr);
    FigTextLogic& logic() const { return static_cast<FigTextLogic&>(pointLogic()); }

    QLineEdit* txtEuropian = nullptr;
    QLineEdit* txtJapanese = nullptr;
    QPushButton* cmdEpaste = nullptr;
    QPushButton* cmdJpaste = nullptr;
    TextFixPicture* fraFixPicture = nullptr;
    QSlider* sliAngle = nullptr;
    QLineEdit* txtAngle = nullptr;
    AngleIndicator* picAngle = nullptr;
    QCheckBox* chkSymbol = nullptr;
    QComboBox* choThingSymbol = nullptr;

protected:
    bool commitFields() override;

private:
    QWidget* buildNames();
    QWidget* buildFix();
    QWidget* buildAngle();
    QWidget* buildPair();
    void showAngle();

    bool angleBusy_ = false;
};

// Shows the text dialog modally over the variables.
void RunFigText(FigureDialogVars& vars);
// The pair setting as at start-up (tests).
void ResetTextPair();
